// The data module: its shared datasets with their look-ups and calculated fields, the reset of the
// shared department and employee queries, and a failed connection.
#include "data_module.h"
#include "test_database.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace kelvork;
using kelvork::testdb::TestDatabase;

class DataModule : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        tdb_ = std::make_unique<TestDatabase>(GetParam());
        if (!tdb_->available()) GTEST_SKIP() << tdb_->skipReason().toStdString();
        ASSERT_TRUE(tdb_->ok()) << tdb_->error().toStdString();
        const DbStatus st = dm_.open(tdb_->connectionString());
        ASSERT_TRUE(st.ok()) << st.message().toStdString();
        for (const char* sql : {
                 "insert into Dept (Deptname, SupDeptid) values ('HQ', 0)",
                 "insert into Dept (Deptname, SupDeptid) values ('Sales', 1)",
                 "insert into Userinfo (Userid, Name, Deptid) values ('12', 'Li', 2)",
                 "insert into Userinfo (Userid, Name, Deptid) values ('A12', 'Wu', 1)",
                 "insert into Userinfo (Userid, Name, Deptid) values ('9', 'Ma', 7)"})
            ASSERT_TRUE(db().exec(sql).ok()) << sql;
    }
    Database& db() { return dm_.db(); }
    // Column `column` of every row of `m`, joined by '|'.
    static std::string column(DatasetModel* m, const char* column)
    {
        m->fetchAll();
        QStringList values;
        for (int r = 0; r < m->rowCount(); ++r) values << m->valueAt(r, column).toString();
        return values.join('|').toStdString();
    }
    std::unique_ptr<TestDatabase> tdb_;
    TDM dm_;
};

TEST_P(DataModule, EmployeeListLooksUpDepartmentsAndNumbers)
{
    dm_.resetDeptAndUserQueries();
    EXPECT_TRUE(dm_.QryDept->isOpen());
    EXPECT_FALSE(dm_.QryUser->isOpen());
    dm_.QryUser->setStatement("select * from Userinfo order by Userid");
    ASSERT_TRUE(dm_.QryUser->open().ok());
    EXPECT_EQ(column(dm_.QryUser, "Userid"), "12|9|A12");
    EXPECT_EQ(column(dm_.QryUser, "DeptName"), "Sales||HQ");
    EXPECT_EQ(column(dm_.QryUser, "Userid_int"), "12|9|");
    EXPECT_TRUE(dm_.QryUser->valueAt(2, "Userid_int").isNull());
    // The headers carry the program's names on both engines.
    EXPECT_EQ(dm_.QryUser->headerData(dm_.QryUser->columnIndex("employdate"), Qt::Horizontal).toString(), "EmployDate");
    EXPECT_EQ(dm_.QryUser->headerData(dm_.QryUser->columnCount() - 1, Qt::Horizontal).toString(), "Userid_int");

    // After a department is renamed, the reset makes the look-ups current.
    ASSERT_TRUE(db().exec("update Dept set Deptname='Field sales' where Deptid=2").ok());
    dm_.resetDeptAndUserQueries();
    ASSERT_TRUE(dm_.QryUser->open().ok());
    EXPECT_EQ(dm_.QryUser->statement(), "select * from Userinfo");
    EXPECT_EQ(dm_.QryUser->valueAt(0, "DeptName").toString(), "Field sales");
}

TEST_P(DataModule, RecordAndEditLogListsNameThePunchTypes)
{
    for (const char* type : {"I", "o", "X"})
        ASSERT_TRUE(db().exec("insert into Checkinout (Userid, Checktime, Checktype) values ('12', :T, :C)",
                              {{"T", QString("2004-01-31 08:00:0%1").arg(type == QString("I") ? 1 : type == QString("o") ? 2 : 3)},
                               {"C", type}}).ok());
    dm_.Qryrecord->setStatement("select * from Checkinout order by Checktime");
    ASSERT_TRUE(dm_.Qryrecord->open().ok());
    EXPECT_EQ(column(dm_.Qryrecord, "Typename"), QString::fromUtf8("上班签到|加班退|X").toStdString());
    EXPECT_EQ(column(dm_.Qryrecord, "Username"), "Li|Li|Li");
    EXPECT_EQ(column(dm_.Qryrecord, "Deptname"), "Sales|Sales|Sales");
    EXPECT_EQ(column(dm_.Qryrecord, "Checktime"), "2004-01-31 08:00:01|2004-01-31 08:00:02|2004-01-31 08:00:03");

    for (int flag : {1, 3, 5})
        ASSERT_TRUE(db().exec("insert into CheckLog (Userid, Checktime, Checktype, OPFlag) values ('A12', '2004-01-31 08:00:00', :C, :F)",
                              {{"C", flag == 1 ? "I" : "X"}, {"F", flag}}).ok());
    dm_.QryRlog->setStatement("select * from CheckLog order by Logid");
    ASSERT_TRUE(dm_.QryRlog->open().ok());
    EXPECT_EQ(column(dm_.QryRlog, "Typename"), QString::fromUtf8("上班签到||").toStdString());
    EXPECT_EQ(column(dm_.QryRlog, "Edittype"), QString::fromUtf8("增加|删除|").toStdString());
    EXPECT_EQ(column(dm_.QryRlog, "Username"), "Wu|Wu|Wu");
    EXPECT_EQ(column(dm_.QryRlog, "Deptname"), "HQ|HQ|HQ");
}

TEST_P(DataModule, LeavesCyclesPeriodsAndOperatorLog)
{
    ASSERT_TRUE(db().exec("insert into LeaveClass (Classname) values ('Sick')").ok());
    const qint64 sick = db().lastInsertId();
    int day = 0;
    for (qint64 cls : {qint64(0), sick, qint64(99)})
        ASSERT_TRUE(db().exec("insert into UserLeave (Userid, BeginTime, EndTime, LeaveClassid) values ('12', :B, :E, :C)",
                              {{"B", QString("2004-01-0%1 08:00:00").arg(++day)}, {"E", "2004-01-20 17:00:00"}, {"C", cls}}).ok());
    dm_.TabFree->setStatement("select * from UserLeave order by Lsh");
    ASSERT_TRUE(dm_.TabFree->open().ok());
    EXPECT_EQ(column(dm_.TabFree, "LeaveType"), QString::fromUtf8("公出|Sick|").toStdString());
    EXPECT_EQ(column(dm_.TabFree, "Username"), "Li|Li|Li");
    ASSERT_TRUE(dm_.QryFree->open().ok());
    EXPECT_EQ(dm_.QryFree->rowCount(), 0);

    for (int units : {0, 1, 2, 3})
        ASSERT_TRUE(db().exec("insert into Schedule (Schname, Cycles, Units) values (:N, 1, :U)",
                              {{"N", QString("C%1").arg(units)}, {"U", units}}).ok());
    ASSERT_TRUE(dm_.TabClass->open().ok());
    EXPECT_EQ(column(dm_.TabClass, "Unitsname"), QString::fromUtf8("天|周|月|").toStdString());

    ASSERT_TRUE(db().exec("insert into TimeTable (Timename) values ('Night')").ok());
    ASSERT_TRUE(db().exec("insert into SchTime (Schid, BeginDay, Timeid) values (1, 1, 1)").ok());
    ASSERT_TRUE(db().exec("insert into SchTime (Schid, BeginDay, Timeid) values (1, 0, 1)").ok());
    dm_.QryClasstime->setStatement(dm_.QryClasstime->statement(), {{"Schid", 1}});
    ASSERT_TRUE(dm_.QryClasstime->open().ok());
    EXPECT_EQ(column(dm_.QryClasstime, "BeginDay"), "0|1");
    EXPECT_EQ(column(dm_.QryClasstime, "Timename"), "Night|Night");

    ASSERT_TRUE(db().exec("insert into Usershift (Userid, Schid, BeginDate, EndDate) values ('12', 2, '2004-01-01', '2004-12-31')").ok());
    ASSERT_TRUE(dm_.QryBClass->open().ok());
    EXPECT_EQ(column(dm_.QryBClass, "Classname"), "C1");

    ASSERT_TRUE(db().exec("insert into OPinfo (Name) values ('Admin')").ok());
    ASSERT_TRUE(db().exec("insert into OPLog (OPid, OPlog) values (1, 'x')").ok());
    dm_.QryOlog->setStatement("select * from OPLog");
    ASSERT_TRUE(dm_.QryOlog->open().ok());
    EXPECT_EQ(column(dm_.QryOlog, "OPname"), "Admin");
}

TEST_P(DataModule, UserClassNamesTodaysCycleUnlessSuppressed)
{
    for (const char* name : {"Early", "Late", "Old"})
        ASSERT_TRUE(db().exec("insert into Schedule (Schname) values (:N)", {{"N", name}}).ok());
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    const QString past = QDate::currentDate().addDays(-30).toString("yyyy-MM-dd");
    const QString soon = QDate::currentDate().addDays(30).toString("yyyy-MM-dd");
    const QString yesterday = QDate::currentDate().addDays(-1).toString("yyyy-MM-dd");
    struct Row { const char* userid; int schid; QString from, to; };
    const Row rows[] = {{"12", 1, past, soon}, {"12", 2, today, today}, {"9", 3, past, yesterday}};
    for (const Row& r : rows)
        ASSERT_TRUE(db().exec("insert into Usershift (Userid, Schid, BeginDate, EndDate) values (:U, :S, :B, :E)",
                              {{"U", r.userid}, {"S", r.schid}, {"B", r.from}, {"E", r.to}}).ok());
    dm_.QryUserClass->setStatement("select * from Userinfo order by Userid");
    ASSERT_TRUE(dm_.QryUserClass->open().ok());
    EXPECT_EQ(column(dm_.QryUserClass, "UserClass"), "Late||");   // the latest-starting assignment wins
    EXPECT_EQ(column(dm_.QryUserClass, "Deptname"), "Sales||HQ");

    dm_.setUserClassSuppressed(true);
    ASSERT_TRUE(dm_.QryUserClass->refresh().ok());
    EXPECT_EQ(column(dm_.QryUserClass, "UserClass"), "||");
    dm_.setUserClassSuppressed(false);
    EXPECT_EQ(dm_.userClass("12", today), "Late");
}

INSTANTIATE_TEST_SUITE_P(Engines, DataModule, ::testing::ValuesIn(kelvork::testdb::allEngines()), kelvork::testdb::engineName);

TEST(DataModuleConnection, AFailedOpenLeavesTheModuleUnconnected)
{
    TDM dm;
    const DbStatus st = dm.open("Provider=SQLite;Data Source=/no/such/folder/Rud2003.db");
    EXPECT_FALSE(st.ok());
    EXPECT_FALSE(dm.isConnected());
    EXPECT_FALSE(dm.QryUser->open().ok());
    EXPECT_EQ(dm.QryUser->rowCount(), 0);
    EXPECT_EQ(dm.userClass("12", "2004-01-01"), "");
}
