#include "operation_log.h"
#include "operation_log_point.h"
#include "rights.h"
#include "test_database.h"
#include "texts.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kelvork;

namespace {

class OperationLog : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (!tdb_.available()) GTEST_SKIP() << tdb_.skipReason().toStdString();
        ASSERT_TRUE(tdb_.ok()) << tdb_.error().toStdString();
        texts::configure(textsDir_.path(), 1);
        operators::CZY() = {};
    }
    void TearDown() override { operators::CZY() = {}; }

    struct Row {
        int opid;
        QString text;
        QString optime;
    };
    std::vector<Row> rows()
    {
        std::vector<Row> out;
        Query q = tdb_.db().query("select OPid, OPlog, Optime from OPLog order by Logid");
        while (q.next()) out.push_back({q.integer("OPid"), q.text("OPlog"), q.text("Optime")});
        EXPECT_TRUE(q.ok()) << q.error().toStdString();
        return out;
    }

    testdb::TestDatabase tdb_{GetParam()};
    QTemporaryDir textsDir_;
};

TEST_P(OperationLog, EntriesCarryTheLoggedInOperatorAndZeroBeforeLogin)
{
    ASSERT_TRUE(oplog::write(tdb_.db(), oplog::WriteOPLog2()).ok());
    operators::CZY().loggedIn = true;
    operators::CZY().Opid = 7;
    ASSERT_TRUE(oplog::write(tdb_.db(), oplog::WriteOPLog7()).ok());

    const auto r = rows();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].opid, 0);
    EXPECT_EQ(r[0].text, "初始化系统");
    EXPECT_EQ(r[1].opid, 7);
    EXPECT_EQ(r[1].text, "操作系统参数设定");
    // The database stamps the moment of insertion in the stored text form.
    EXPECT_EQ(r[1].optime.size(), 19) << r[1].optime.toStdString();
    EXPECT_EQ(r[1].optime.left(10), QDate::currentDate().toString("yyyy-MM-dd"));
}

TEST_P(OperationLog, AnOverlongTextIsCutToTheColumnAndKept)
{
    const QString path = "/data/" + QString(300, 'x') + ".db";
    ASSERT_TRUE(oplog::write(tdb_.db(), oplog::WriteOPLog1(path)).ok());
    const auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].text.size(), oplog::kMaxEntryLength);
    EXPECT_TRUE(r[0].text.startsWith("将数据库连接到：/data/xxx"));
}

INSTANTIATE_TEST_SUITE_P(Engines, OperationLog, ::testing::ValuesIn(testdb::allEngines()), testdb::engineName);

TEST(OperationLogCatalogue, TextsAreCompletedAsTheCatalogueSays)
{
    QTemporaryDir dir;
    texts::configure(dir.path(), 1);   // no language file: the built-in texts
    struct Case {
        QString got;
        const char* want;
    };
    const Case cases[] = {
        {oplog::WriteOPLog1("/srv/Rud2003.db"), "将数据库连接到：/srv/Rud2003.db"},
        {oplog::WriteOPLog3("Li"), "删除管理员 Li"},
        {oplog::WriteOPLog4("Li"), "增加管理员 Li"},
        {oplog::WriteOPLog5("财务部"), "删除部门 财务部"},
        {oplog::WriteOPLog6(), "进行员工维护，删除员工"},
        {oplog::WriteOPLog8(), "操作节假日设定"},
        {oplog::WriteOPLog9("/tmp/p %1.txt"), "由文件“ /tmp/p %1.txt ”导入考勤记录"},
        {oplog::WriteOPLog10("u.xls"), "由文件“ u.xls ”导入员工"},
        {oplog::WriteOPLog11(), "操作公出/请假处理"},
        {oplog::WriteOPLog12("2004-01-31"), "清除 “ 2004-01-31 ” 之前的数据"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, QString::fromUtf8(c.want));

    // A language file's text wins, and the completion still applies.
    QFile file(dir.filePath("Kelvork.en"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Resource]\nWriteOPLog12=Data before %s cleared\n");
    file.close();
    texts::configure(dir.path(), 2);
    EXPECT_EQ(oplog::WriteOPLog12("2004-01-31"), "Data before 2004-01-31 cleared");
}

} // namespace
