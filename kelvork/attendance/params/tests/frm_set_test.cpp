#include "frm_set.h"
#include "language_check.h"
#include "message_box.h"
#include "parameter_store.h"
#include "rights.h"
#include "test_database.h"
#include "texts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace kelvork;
using namespace kelvork::params;

namespace {

class FrmSet : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tdb_.ok()) << tdb_.error().toStdString();
        texts::configure(textsDir_.path(), 1);
        operators::CZY() = {};
        ASSERT_TRUE(loadAtStart(db(), "总公司", params_).ok());
    }

    Database& db() { return tdb_.db(); }
    std::unique_ptr<TFrmSet> open() { return std::make_unique<TFrmSet>(db(), params_); }
    QVariant stored(const QString& sql, const Params& p = {}) { return db().scalar(sql, p); }
    QVariant item(const char* column, const char* name)
    {
        return stored(QStringLiteral("select %1 from Statitems where Itemname=:N").arg(column), {{"N", name}});
    }

    testdb::TestDatabase tdb_{Engine::SQLite};
    QTemporaryDir textsDir_;
    engine::AttendanceParameters params_;
    QStringList messages_;
    bool confirmAnswer_ = true;
    ui::ScopedMessageBoxHook hook_{[this](ui::MessageKind, const QString&, const QString& text) {
        messages_ << text;
        return confirmAnswer_;
    }};
};

TEST_F(FrmSet, EveryOpeningWritesOneLogEntry)
{
    open()->S_Exit->click();
    operators::CZY().loggedIn = true;
    operators::CZY().Opid = 3;
    open()->S_OK->click();
    Query q = db().query("select OPid, OPlog from OPLog order by Logid");
    QStringList rows;
    while (q.next()) rows << QString::number(q.integer("OPid")) + " " + q.text("OPlog");
    EXPECT_EQ(rows, QStringList({"0 操作系统参数设定", "3 操作系统参数设定"}));
}

TEST_F(FrmSet, OpensWithTheRecordsAndTheFirstItem)
{
    params_.basePar.WOvertime = 1.5;
    params_.basePar.Twoday = 1;
    params_.basePar.Latetime = 0;   // outside 1..480: the box keeps it in range
    auto s = open();
    EXPECT_EQ(s->B_name->text(), "总公司");
    EXPECT_EQ(s->Overtime_1->text(), "1.5");
    EXPECT_EQ(s->Overtime_2->text(), "1");
    EXPECT_TRUE(s->B_day2->isChecked());
    EXPECT_EQ(s->T_latetime->value(), 1);
    EXPECT_EQ(s->T_xm->currentRow(), 0);
    EXPECT_EQ(s->shownItem(), 0);
    EXPECT_EQ(s->T_count->text(), "1.0");
    EXPECT_TRUE(s->T_sr3->isChecked());
}

TEST_F(FrmSet, TheShownItemIsStoredWhenAnotherIsChosenAndStaysAfterExit)
{
    auto s = open();
    s->T_xm->setCurrentRow(1);   // Late
    s->T_name->setCurrentIndex(1);   // hours
    s->T_sr2->setChecked(true);
    s->B_name->setText("never stored");
    s->T_xm->setCurrentRow(2);   // Early
    EXPECT_EQ(s->shownItem(), 2);
    s->S_Exit->click();
    EXPECT_EQ(item("Units", "Late").toInt(), 1);
    EXPECT_EQ(item("SRControl", "Late").toInt(), 1);
    EXPECT_EQ(params_.items[engine::ItemLate].Units, 1);
    EXPECT_EQ(stored("select Company from BasePara").toString(), "总公司");
}

TEST_F(FrmSet, TheMinimumIsReadAsANumberWithZeroStoredAsOne)
{
    struct Case {
        const char* typed;
        bool stored;
        double want;
    };
    const Case cases[] = {{"0", true, 1}, {"0.5", true, 0.5}, {"2", true, 2},
                          {"abc", false, 0}, {"", false, 0}, {"-1", false, 0}, {"0.0", false, 0}};
    for (const Case& c : cases) {
        ASSERT_TRUE(db().exec("update Statitems set MinUnit=7 where Itemname='Late'").ok());
        params_.items[engine::ItemLate].MinUnit = 7;
        messages_.clear();
        auto s = open();
        s->T_xm->setCurrentRow(1);
        s->T_count->setText(c.typed);
        s->T_xm->setCurrentRow(3);
        if (c.stored) {
            EXPECT_TRUE(messages_.isEmpty()) << c.typed;
            EXPECT_DOUBLE_EQ(item("MinUnit", "Late").toDouble(), c.want) << c.typed;
            EXPECT_EQ(s->T_xm->currentRow(), 3);
        } else {
            EXPECT_EQ(messages_.size(), 1) << c.typed;
            EXPECT_DOUBLE_EQ(item("MinUnit", "Late").toDouble(), 7) << c.typed;
            EXPECT_EQ(s->T_xm->currentRow(), 1) << c.typed;   // the item stays shown
            EXPECT_EQ(s->shownItem(), 1);
        }
    }
}

TEST_F(FrmSet, AStoredMinimumIsShownWithOneDecimalAndStoredSo)
{
    ASSERT_TRUE(db().exec("update Statitems set MinUnit=0.33 where Itemname='Absent'").ok());
    params_.items[engine::ItemAbsent].MinUnit = 0.33;
    auto s = open();
    s->T_xm->setCurrentRow(engine::ItemAbsent);
    EXPECT_EQ(s->T_count->text(), "0.3");
    s->S_OK->click();
    EXPECT_DOUBLE_EQ(item("MinUnit", "Absent").toDouble(), 0.3);
}

TEST_F(FrmSet, CountingByOccurrencesClearsRoundingAfterAccumulating)
{
    auto s = open();
    s->T_lj->setChecked(true);
    s->T_ac->setChecked(true);
    EXPECT_FALSE(s->T_lj->isChecked());
    for (QWidget* w : std::initializer_list<QWidget*>{s->T_name, s->T_count, s->T_sr1, s->T_sr3, s->T_lj})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    s->T_xm->setCurrentRow(1);
    EXPECT_TRUE(item("Istimes", "Normal").toBool());
    EXPECT_FALSE(item("Isaddup", "Normal").toBool());
    EXPECT_TRUE(s->T_name->isEnabled());   // Late is not counted
    s->T_xm->setCurrentRow(0);
    EXPECT_TRUE(s->T_ac->isChecked());
    EXPECT_FALSE(s->T_name->isEnabled());
    s->T_ac->setChecked(false);
    EXPECT_TRUE(s->T_lj->isEnabled());
}

TEST_F(FrmSet, OkStoresTheParametersAndRenamesTheFirstDepartment)
{
    ASSERT_TRUE(db().exec("insert into Dept (Deptname, SupDeptid) values ('生产部', 1)").ok());
    auto s = open();
    s->B_name->setText("Acme 有限公司");
    s->T_daylong->setValue(510);
    s->C_Noin->setChecked(true);
    s->T_latetime->setValue(45);
    s->B_day2->setChecked(true);
    s->Overtime_3->setText("3");
    s->S_OK->click();
    EXPECT_EQ(s->result(), QDialog::Accepted);
    EXPECT_EQ(stored("select Deptname from Dept order by Deptid").toString(), "Acme 有限公司");
    EXPECT_EQ(stored("select Company from BasePara").toString(), "Acme 有限公司");
    EXPECT_EQ(stored("select Workdaylong from BasePara").toInt(), 510);
    EXPECT_EQ(stored("select Twoday from BasePara").toInt(), 1);
    EXPECT_EQ(params_.basePar.Latetime, 45);
    EXPECT_TRUE(params_.basePar.Noclockin);
    EXPECT_DOUBLE_EQ(params_.basePar.FOvertime, 3);
}

TEST_F(FrmSet, ARateThatIsNotANumberStopsOkAndStoresNoParameter)
{
    auto s = open();
    s->B_name->setText("Changed");
    s->Overtime_2->setText("1,5x");
    s->S_OK->click();
    EXPECT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_.value(0).contains("1,5x"));
    EXPECT_NE(s->result(), QDialog::Accepted);
    EXPECT_EQ(stored("select Company from BasePara").toString(), "总公司");
    EXPECT_EQ(params_.basePar.Company, "总公司");
}

TEST_F(FrmSet, LeaveClassesAreAddedEditedAndDeletedWithDistinctNames)
{
    auto s = open();
    s->T_Insert->trigger();
    EXPECT_EQ(s->leaveMode(), 1);
    EXPECT_FALSE(s->DB_Leave->isEnabled());
    s->L_name->setText("事假");
    s->L_Color->setCurrentIndex(9);   // red
    s->L_Show->setText("事");
    s->T_Save->trigger();
    EXPECT_EQ(s->leaveMode(), 2);
    EXPECT_TRUE(s->T_Insert->isEnabled());
    EXPECT_EQ(stored("select ViewColor from LeaveClass where Classname='事假'").toInt(), 0x0000FF);
    ASSERT_EQ(params_.leaveClasses.size(), 1u);

    // Names that would clash as statistics columns are refused and the entry stays open.
    for (const char* name : {"事假", "Absenttime", ""}) {
        messages_.clear();
        s->T_Insert->trigger();
        s->L_name->setText(name);
        s->T_Save->trigger();
        EXPECT_EQ(messages_.size(), 1) << name;
        EXPECT_TRUE(s->T_Save->isEnabled()) << name;
        s->T_Cancel->trigger();
    }
    EXPECT_EQ(stored("select count(*) from LeaveClass").toInt(), 1);

    s->T_Edit->trigger();
    s->L_Show->setText("S");
    s->T_Save->trigger();   // its own name again: accepted
    EXPECT_EQ(stored("select Showas from LeaveClass").toString(), "S");

    confirmAnswer_ = false;
    s->T_Del->trigger();
    EXPECT_EQ(stored("select count(*) from LeaveClass").toInt(), 1);
    confirmAnswer_ = true;
    s->T_Del->trigger();
    EXPECT_EQ(messages_.last(), "确定要删除选中的假类吗？");
    EXPECT_EQ(stored("select count(*) from LeaveClass").toInt(), 0);
    EXPECT_TRUE(params_.leaveClasses.empty());
}

TEST_F(FrmSet, ASelectedLeaveClassShowsItsNameColourAndSymbol)
{
    ASSERT_TRUE(db().exec("insert into LeaveClass (Classname, ViewColor, Showas) values ('病假', 1193046, '病')").ok());
    ASSERT_TRUE(db().exec("insert into LeaveClass (Classname, ViewColor, Showas) values ('婚假', 255, '婚')").ok());
    auto s = open();
    EXPECT_EQ(s->L_name->text(), "病假");
    EXPECT_EQ(s->L_Color->currentData().toInt(), 1193046);   // a colour outside the list is kept
    s->DB_Leave->setCurrentIndex(s->DB_Leave->model()->index(1, 0));
    EXPECT_EQ(s->L_name->text(), "婚假");
    EXPECT_EQ(s->L_Show->text(), "婚");
    EXPECT_EQ(s->DB_Leave->model()->index(0, 1).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(0x56, 0x34, 0x12));
}

TEST_F(FrmSet, FieldValuesAreListedAddedOnceAndDeleted)
{
    ASSERT_TRUE(db().exec("insert into DefineField (Fieldname, FieldValue) values ('Field2', '本科')").ok());
    auto s = open();
    EXPECT_EQ(s->Z_List->count(), 0);   // 职务
    s->Z_type->setCurrentIndex(1);      // 学历
    ASSERT_EQ(s->Z_List->count(), 1);
    s->Z_Text->setText("硕士");
    s->Z_Add->click();
    s->Z_Text->setText("本科");
    s->Z_Add->click();
    EXPECT_EQ(messages_, QStringList{"输入的字段值已经存在，请重新输入！"});
    EXPECT_TRUE(s->Z_Text->text().isEmpty());
    EXPECT_EQ(stored("select count(*) from DefineField where Fieldname='Field2'").toInt(), 2);

    s->Z_List->item(0)->setSelected(true);
    s->Z_Del->click();
    EXPECT_EQ(s->Z_List->count(), 1);
    EXPECT_EQ(stored("select FieldValue from DefineField where Fieldname='Field2'").toString(), "硕士");
}

TEST_F(FrmSet, LanguageFilesHoldTheScreensTexts)
{
    auto s = open();
    EXPECT_EQ(languages::missingScreenKeys(s.get(), "FrmSet"), QStringList());
}

} // namespace
