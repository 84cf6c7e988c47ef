#include "frm_op.h"
#include "operation_log_point.h"
#include "language_check.h"
#include "operator_fixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>

using namespace kelvork;
using namespace kelvork::operators;
using kelvork::operators::test::OperatorFixture;

namespace {

class Frmop : public OperatorFixture {
protected:
    void SetUp() override
    {
        OperatorFixture::SetUp();
        addDept("总公司", 0);  // 1
        addDept("生产部", 1);  // 2
        addDept("财务部", 1);  // 3
        admin_ = addOperator("Admin", "", kAllRights, "A1ZA2ZA3Z");
        zhang_ = addOperator("zhang", "1", "YNYNNNNNNNNNNNNNNNNNNNNNNNNNNNNN", "A2Z");
        li_ = addOperator("li", "2", "", "A3Z");
        CZY().loggedIn = true;
        CZY().Opid = admin_;
        CZY().name = "Admin";
        CZY().rights = kAllRights;
        CZY().setDeptRights("A1ZA2ZA3Z");
        ASSERT_TRUE(dm_.open(tdb_.connectionString()).ok());
        previousWriter_ = setOperationLogWriter([this](const QString& text) { log_ << text; });
    }
    void TearDown() override
    {
        setOperationLogWriter(previousWriter_);
        OperatorFixture::TearDown();
    }

    void choose(TFrmop& screen, int row)
    {
        const int nameColumn = dm_.QryOP->columnIndex("Name");
        screen.DB_OP->setCurrentIndex(dm_.QryOP->index(row, nameColumn));
    }
    static QString checks(const QListWidget* list)
    {
        QString out;
        for (int i = 0; i < list->count(); ++i)
            out += list->item(i)->checkState() == Qt::Checked ? 'Y' : 'N';
        return out;
    }
    static void setChecks(QListWidget* list, const QString& pattern)
    {
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setCheckState(i < pattern.size() && pattern[i] == 'Y' ? Qt::Checked : Qt::Unchecked);
    }
    static bool browsing(const TFrmop& s)
    {
        return s.T_Insert->isEnabled() && s.T_Del->isEnabled() && s.T_Edit->isEnabled()
            && s.DB_OP->isEnabled() && !s.T_Save->isEnabled() && !s.T_Cancel->isEnabled()
            && !s.C_limit->isEnabled();
    }

    TDM dm_;
    int admin_ = 0, zhang_ = 0, li_ = 0;
    QStringList log_;
    OperationLogWriter previousWriter_;
};

} // namespace

TEST_F(Frmop, ShowsEachOperatorsNameChecksAndMarks)
{
    TFrmop screen(dm_);
    screen.show();
    EXPECT_EQ(screen.mode(), 0);
    EXPECT_TRUE(browsing(screen));
    ASSERT_EQ(screen.C_limit->count(), 16);
    ASSERT_EQ(screen.DeptList->count(), 3);
    EXPECT_EQ(screen.DeptList->item(1)->text().trimmed(), "生产部");
    EXPECT_EQ(screen.U_Name->text(), "Admin");
    EXPECT_EQ(checks(screen.C_limit), QString(16, 'Y'));
    EXPECT_EQ(checks(screen.DeptList), "YYY");

    choose(screen, 1);
    EXPECT_EQ(screen.U_Name->text(), "zhang");
    EXPECT_EQ(checks(screen.C_limit), "YNYNNNNNNNNNNNNN");
    EXPECT_EQ(checks(screen.DeptList), "NYN");

    choose(screen, 2);  // an empty Authority counts as every right
    EXPECT_EQ(checks(screen.C_limit), QString(16, 'Y'));
    EXPECT_EQ(checks(screen.DeptList), "NNY");
}

TEST_F(Frmop, AddingStoresTheDefaultPasswordAndLogsTheNewName)
{
    TFrmop screen(dm_);
    screen.show();
    choose(screen, 1);  // zhang's checks and marks are the new operator's start
    screen.T_Insert->trigger();
    EXPECT_EQ(screen.mode(), 1);
    EXPECT_TRUE(screen.U_Name->text().isEmpty());
    EXPECT_FALSE(screen.DB_OP->isEnabled());
    EXPECT_TRUE(screen.T_Save->isEnabled() && screen.T_Cancel->isEnabled() && screen.C_limit->isEnabled());
    EXPECT_FALSE(screen.T_Insert->isEnabled() || screen.T_Del->isEnabled() || screen.T_Edit->isEnabled());
    EXPECT_EQ(checks(screen.C_limit), "YNYNNNNNNNNNNNNN");

    screen.U_Name->setText("王五");
    screen.S_None->click();
    setChecks(screen.C_limit, "NNNYYNNNNNNNNNNY");
    screen.SpeedButton1->click();
    screen.DeptList->item(0)->setCheckState(Qt::Unchecked);
    screen.T_Save->trigger();

    EXPECT_EQ(screen.mode(), 2);
    EXPECT_TRUE(browsing(screen));
    const auto stored = findOperatorByName(db(), "王五");
    ASSERT_TRUE(stored);
    EXPECT_EQ(unscramblePassword(stored->pwd), "517306");
    EXPECT_EQ(stored->authority, "NNNYYNNNNNNNNNNY" + QString(16, 'N'));
    EXPECT_EQ(stored->deptpower, "A2ZA3Z");
    EXPECT_EQ(log_, QStringList{"增加管理员 王五"});
    EXPECT_EQ(screen.U_Name->text(), "王五");  // the new row is the current one

    choose(screen, 2);  // another row shows its own values again
    EXPECT_EQ(screen.U_Name->text(), "li");
    EXPECT_EQ(checks(screen.DeptList), "NNY");
}

TEST_F(Frmop, EditingStoresWithoutLogAndCancelDropsTheChanges)
{
    TFrmop screen(dm_);
    screen.show();
    choose(screen, 1);
    screen.T_Edit->trigger();
    EXPECT_EQ(screen.mode(), 2);
    EXPECT_EQ(screen.U_Name->text(), "zhang");
    screen.U_Name->setText("zhang2");
    screen.C_limit->item(1)->setCheckState(Qt::Checked);
    screen.T_Save->trigger();
    EXPECT_EQ(findOperatorById(db(), zhang_)->name, "zhang2");
    EXPECT_EQ(findOperatorById(db(), zhang_)->authority, "YYYNNNNNNNNNNNNN" + QString(16, 'N'));
    EXPECT_EQ(unscramblePassword(findOperatorById(db(), zhang_)->pwd), "1");
    EXPECT_TRUE(log_.isEmpty());

    screen.T_Edit->trigger();
    screen.U_Name->setText("changed");
    screen.C_limit->item(0)->setCheckState(Qt::Unchecked);
    screen.T_Cancel->trigger();
    EXPECT_TRUE(browsing(screen));
    EXPECT_EQ(screen.U_Name->text(), "zhang2");
    EXPECT_EQ(checks(screen.C_limit), "YYYNNNNNNNNNNNNN");
    EXPECT_EQ(findOperatorById(db(), zhang_)->name, "zhang2");
}

TEST_F(Frmop, EditingOneselfRefreshesTheLoggedInRecord)
{
    TFrmop screen(dm_);
    QSignalSpy changed(&screen, &TFrmop::loggedInOperatorChanged);
    screen.show();
    choose(screen, 0);
    screen.T_Edit->trigger();
    screen.U_Name->setText("Boss");
    screen.C_limit->item(3)->setCheckState(Qt::Unchecked);
    screen.DeptList->item(2)->setCheckState(Qt::Unchecked);
    screen.T_Save->trigger();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(CZY().name, "Boss");
    EXPECT_EQ(CZY().rights, "YYYNYYYYYYYYYYYY" + QString(16, 'N'));
    EXPECT_EQ(CZY().deptList, "1,2");
    EXPECT_EQ(CZY().password, "");
    EXPECT_FALSE(hasRight(4));

    choose(screen, 1);  // someone else: the record stays
    screen.T_Edit->trigger();
    screen.T_Save->trigger();
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(Frmop, DeletingAsksAndNobodyDeletesHimself)
{
    TFrmop screen(dm_);
    screen.show();
    choose(screen, 0);
    screen.T_Del->trigger();
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_EQ(messages_[0].kind, ui::MessageKind::Warning);
    EXPECT_EQ(messages_[0].text, "管理员不能删除自己的资料！");
    EXPECT_TRUE(findOperatorById(db(), admin_));

    choose(screen, 1);
    confirmAnswer_ = false;
    screen.T_Del->trigger();
    EXPECT_EQ(messages_.last().kind, ui::MessageKind::Confirmation);
    EXPECT_EQ(messages_.last().text, " 确定要删除该管理员吗？");
    EXPECT_TRUE(findOperatorById(db(), zhang_));
    EXPECT_TRUE(log_.isEmpty());

    confirmAnswer_ = true;
    screen.T_Del->trigger();
    EXPECT_FALSE(findOperatorById(db(), zhang_));
    EXPECT_EQ(log_, QStringList{"删除管理员 zhang"});
    EXPECT_EQ(dm_.QryOP->rowCount(), 2);
    EXPECT_EQ(screen.U_Name->text(), "li");  // the row after the deleted one
}

TEST_F(Frmop, ClosingWithAnOpenEntryAsksToSave)
{
    TFrmop screen(dm_);
    screen.show();
    choose(screen, 2);
    screen.T_Edit->trigger();
    screen.U_Name->setText("li2");
    screen.reject();
    EXPECT_EQ(texts().last(), "数据已改动，是否要保存？");
    EXPECT_EQ(findOperatorById(db(), li_)->name, "li2");
    EXPECT_FALSE(screen.isVisible());
}

TEST_F(Frmop, TextsComeFromFrmopAndTheActionsFromFrmUser)
{
    writeLanguageFile("[Frmop]\nFrmop.Caption=Operators\nLabel1.Caption=Functions:\n"
                      "DB_OPColumn1.Caption=Name\nC_limit.Items.Text=Operators and log\\r\\nParameters\n"
                      "[FrmUser]\nT_Insert.Caption=&Add\n");
    TFrmop screen(dm_);
    screen.show();
    EXPECT_EQ(screen.windowTitle(), "Operators");
    EXPECT_EQ(screen.Label1->text(), "Functions:");
    EXPECT_EQ(dm_.QryOP->headerData(dm_.QryOP->columnIndex("Name"), Qt::Horizontal).toString(), "Name");
    EXPECT_EQ(screen.C_limit->item(1)->text(), "Parameters");
    EXPECT_EQ(screen.C_limit->item(2)->text(), "部门管理");
    EXPECT_EQ(screen.T_Insert->text(), "&Add");
    EXPECT_EQ(screen.T_Del->text(), "删除(&D)");
}

TEST_F(Frmop, LanguageFilesHoldEveryTextOfTheScreen)
{
    TFrmop screen(dm_);
    EXPECT_EQ(languages::missingScreenKeys(&screen, "Frmop"), QStringList());
}
