#include "frm_oplog.h"
#include "language_check.h"
#include "message_box.h"
#include "operation_log.h"
#include "oplog_model.h"
#include "rights.h"
#include "test_database.h"
#include "texts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace kelvork;
using kelvork::oplog::TFrmOpLog;

namespace {

class FrmOpLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tdb_.ok()) << tdb_.error().toStdString();
        texts::configure(textsDir_.path(), 1);
        operators::CZY() = {};
        lina_ = addOperator("Lina");   // listed before Li
        li_ = addOperator("Li");
        zhang_ = addOperator("zhang");
    }

    Database& db() { return tdb_.db(); }
    int addOperator(const QString& name)
    {
        EXPECT_TRUE(db().exec("insert into OPinfo (Name, Pwd, Authority) values (:N, '', '')", {{"N", name}}).ok());
        return int(db().lastInsertId());
    }
    void addEntry(int opid, const QString& optime, const QString& text)
    {
        ASSERT_TRUE(db().exec("insert into OPLog (OPid, Optime, OPlog) values (:I, :T, :L)",
                              {{"I", opid}, {"T", optime}, {"L", text}}).ok());
    }
    static QStringList shown(const TFrmOpLog& screen, int column)
    {
        QStringList out;
        const auto* m = screen.model();
        for (int r = 0; r < m->rowCount(); ++r) out << m->index(r, column).data().toString();
        return out;
    }
    static void setSpan(TFrmOpLog& screen, const char* from, const char* to)
    {
        const QDateTime f = QDateTime::fromString(from, "yyyy-MM-dd HH:mm:ss");
        const QDateTime t = QDateTime::fromString(to, "yyyy-MM-dd HH:mm:ss");
        screen.S_Date->setDate(f.date());
        screen.S_Time->setTime(f.time());
        screen.E_Date->setDate(t.date());
        screen.E_Time->setTime(t.time());
    }

    testdb::TestDatabase tdb_{Engine::SQLite};
    QTemporaryDir textsDir_;
    QStringList messages_;
    ui::ScopedMessageBoxHook hook_{[this](ui::MessageKind, const QString&, const QString& text) {
        messages_ << text;
        return true;
    }};
    int li_ = 0, lina_ = 0, zhang_ = 0;
};

TEST_F(FrmOpLog, OpensWithEverybodyAndTheLastThirtyDaysAndAnEmptyList)
{
    addEntry(li_, QDate::currentDate().toString("yyyy-MM-dd") + " 08:00:00", "x");
    TFrmOpLog screen(db());
    EXPECT_EQ(screen.U_Code->count(), 4);
    EXPECT_EQ(screen.U_Code->currentText(), "全部");
    EXPECT_EQ(screen.U_Code->itemText(1), "Lina");
    EXPECT_EQ(screen.S_Date->date(), QDate::currentDate().addDays(-30));
    EXPECT_EQ(screen.E_Date->date(), QDate::currentDate());
    EXPECT_EQ(screen.S_Time->time(), QTime(0, 0, 1));
    EXPECT_EQ(screen.E_Time->time(), QTime(23, 59, 59));
    EXPECT_EQ(screen.model()->rowCount(), 0);   // nothing until the first search
    EXPECT_TRUE(screen.DB_Oplog->alternatingRowColors());
    EXPECT_EQ(screen.DB_Oplog->palette().color(QPalette::AlternateBase), QColor(0, 255, 255));
}

TEST_F(FrmOpLog, SearchListsTheSpanNewestFirstWithNames)
{
    addEntry(0, "2004-01-10 09:00:00", "before login");
    addEntry(li_, "2004-01-10 10:00:00", "li 1");
    addEntry(zhang_, "2004-01-11 00:00:00", "zhang");
    addEntry(li_, "2004-01-12 00:00:00", "after the span");
    addEntry(lina_, "2004-01-09 23:59:59", "before the span");
    TFrmOpLog screen(db());
    setSpan(screen, "2004-01-10 00:00:01", "2004-01-11 00:00:00");
    screen.S_Search->click();
    EXPECT_EQ(shown(screen, oplog::OpLogModel::ColOPlog), QStringList({"zhang", "li 1", "before login"}));
    EXPECT_EQ(shown(screen, oplog::OpLogModel::ColOPname), QStringList({"zhang", "Li", ""}));
    EXPECT_EQ(shown(screen, oplog::OpLogModel::ColLogid), QStringList({"3", "2", "1"}));
}

TEST_F(FrmOpLog, ChoosingLiShowsTheEntriesOfLinaTheFirstNameBeginningWithLi)
{
    addEntry(li_, "2004-01-10 10:00:00", "by Li");
    addEntry(lina_, "2004-01-10 11:00:00", "by Lina");
    TFrmOpLog screen(db());
    setSpan(screen, "2004-01-01 00:00:01", "2004-01-31 23:59:59");
    screen.U_Code->setCurrentText("Li");
    ASSERT_EQ(screen.U_Code->currentIndex(), 2);
    screen.S_Search->click();
    EXPECT_EQ(shown(screen, oplog::OpLogModel::ColOPlog), QStringList({"by Lina"}));
}

TEST_F(FrmOpLog, AStartLaterThanTheEndDoesNothing)
{
    addEntry(zhang_, "2004-01-10 10:00:00", "kept");
    TFrmOpLog screen(db());
    setSpan(screen, "2004-01-01 00:00:01", "2004-01-31 23:59:59");
    screen.S_Search->click();
    ASSERT_EQ(shown(screen, oplog::OpLogModel::ColOPlog), QStringList({"kept"}));

    addEntry(zhang_, "2004-01-20 10:00:00", "new");
    setSpan(screen, "2004-01-31 23:59:59", "2004-01-31 23:59:58");
    screen.S_Search->click();
    EXPECT_EQ(shown(screen, oplog::OpLogModel::ColOPlog), QStringList({"kept"}));
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(FrmOpLog, LanguageFilesHoldTheScreensTexts)
{
    TFrmOpLog screen(db());
    EXPECT_EQ(languages::missingScreenKeys(&screen, "FrmOpLog"), QStringList());
}

} // namespace
