// The layout of a new database: every table and column, the keys and unique rules, the defaults,
// the view V_Class, and the stored forms outside programs rely on.
#include "database.h"
#include "schema.h"
#include "test_database.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace kelvork;
using kelvork::testdb::TestDatabase;

namespace {

// Every table with every column, as the program and outside tools name them.
const std::pair<const char*, const char*> kLayout[] = {
    {"Dept", "Deptid Deptname SupDeptid"},
    {"Userinfo", "Userid Name Sex Pwd Deptid Nation Brithday EmployDate Telephone Duty NativePlace IDCard Address "
                 "Mobile Educated Polity Specialty IsAtt Isovertime Isrest Remark MgFlag Cardnum Groupid UserFlag"},
    {"OPinfo", "Opid Name Pwd Authority Deptpower"},
    {"OPLog", "Logid OPid Optime OPlog"},
    {"Checkinout", "Userid Checktime Checktype Sensorid Checked WorkType"},
    {"CheckLog", "Logid Userid Checktime Checktype Sensorid OPFlag Whys OPname DTime"},
    {"TimeTable", "Timeid Timename Intime Outtime BIntime EIntime BOuttime EOuttime Latetime Leavetime WorkDays "
                  "Longtime MustIn MustOut IsFreetime IsOvertime"},
    {"Schedule", "Schid Schname Cycles Units AutoClass"},
    {"SchTime", "Schid BeginDay Timeid"},
    {"Usershift", "Userid Schid BeginDate EndDate"},
    {"UserTempshift", "Userid Timeid Workdate Isovertime"},
    {"Holiday", "Holidayid Name BDate Days"},
    {"UserLeave", "Lsh Userid BeginTime EndTime LeaveClassid Whys"},
    {"LeaveClass", "Classid Classname ViewColor Showas"},
    {"BasePara", "Company Twoday Noclockin Noclockout Isovertime Latetime Leavetime Overtime Workdaylong WOvertime "
                 "HOvertime FOvertime OvertimeIn IsovertimeIn DeductIn DeductOut"},
    {"Statitems", "Itemname Units MinUnit SRControl Isaddup Istimes"},
    {"DefineField", "Fieldid Fieldname FieldValue"},
    {"AddTimeSet", "Userid [date] TimeID AddTime"},
    {"OutProg", "Progid ProgName ProgPath"},
};

} // namespace

class Schema : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        tdb_ = std::make_unique<TestDatabase>(GetParam());
        if (!tdb_->available()) GTEST_SKIP() << tdb_->skipReason().toStdString();
        ASSERT_TRUE(tdb_->ok()) << tdb_->error().toStdString();
    }
    Database& db() { return tdb_->db(); }
    std::unique_ptr<TestDatabase> tdb_;
};

TEST_P(Schema, HasEveryTableAndColumn)
{
    QStringList tables;
    for (const auto& [table, columns] : kLayout) {
        tables << table;
        const QString list = QString(columns).split(' ').join(", ");
        Query q = db().query(QString("select %1 from %2").arg(list, table));
        EXPECT_TRUE(q.ok()) << table << ": " << q.error().toStdString();
        // Column names read back in the program's own spelling, and no column more.
        QStringList names;
        for (int i = 0; i < q.columnCount(); ++i) names << q.columnName(i);
        EXPECT_EQ(names.join(' '), QString(columns).remove('[').remove(']')) << table;
        Query all = db().query(QString("select * from %1").arg(table));
        EXPECT_EQ(all.columnCount(), QString(columns).split(' ').size()) << table;
    }
    EXPECT_EQ(schemaTableNames(), tables);
}

TEST_P(Schema, KeysAndUniqueRulesRefuseRepeats)
{
    struct Case { const char* what; const char* first; const char* repeat; const char* allowed; };
    const Case cases[] = {
        {"department name", "insert into Dept (Deptname, SupDeptid) values ('Sales', 0)",
         "insert into Dept (Deptname, SupDeptid) values ('Sales', 1)", "insert into Dept (Deptname, SupDeptid) values ('Sales 2', 1)"},
        {"punch", "insert into Checkinout (Userid, Checktime, Checktype) values ('12', '2004-01-31 08:00:00', 'I')",
         "insert into Checkinout (Userid, Checktime, Checktype) values ('12', '2004-01-31 08:00:00', 'O')",
         "insert into Checkinout (Userid, Checktime, Checktype) values ('13', '2004-01-31 08:00:00', 'I')"},
        {"employee", "insert into Userinfo (Userid, Name) values ('12', 'a')", "insert into Userinfo (Userid, Name) values ('12', 'b')",
         "insert into Userinfo (Userid, Name) values ('012', 'c')"},
        {"leave", "insert into UserLeave (Userid, BeginTime, EndTime, LeaveClassid) values ('12', '2004-01-05 08:00:00', '2004-01-05 17:00:00', 1)",
         "insert into UserLeave (Userid, BeginTime, EndTime, LeaveClassid) values ('12', '2004-01-05 08:00:00', '2004-01-05 17:00:00', 2)",
         "insert into UserLeave (Userid, BeginTime, EndTime, LeaveClassid) values ('12', '2004-01-06 08:00:00', '2004-01-06 17:00:00', 1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(db().exec(c.first).ok());
        const DbStatus st = db().exec(c.repeat);
        EXPECT_FALSE(st.ok());
        EXPECT_FALSE(st.message().isEmpty());
        EXPECT_TRUE(db().exec(c.allowed).ok());
    }
}

TEST_P(Schema, CountersNumberNewRows)
{
    for (const char* table : {"Dept", "OPinfo", "OPLog", "CheckLog", "TimeTable", "Schedule", "Holiday", "UserLeave",
                              "LeaveClass", "DefineField", "OutProg"}) {
        ASSERT_TRUE(db().exec(QString("insert into %1 default values").arg(table)).ok()) << table;
        const qint64 first = db().lastInsertId();
        ASSERT_TRUE(db().exec(QString("insert into %1 default values").arg(table)).ok()) << table;
        EXPECT_EQ(db().lastInsertId(), first + 1) << table;
        EXPECT_GE(first, 1) << table;
    }
}

TEST_P(Schema, DefaultsFillWhatTheWritersLeaveOut)
{
    ASSERT_TRUE(db().exec("insert into Statitems (Itemname) values ('Late')").ok());
    Query item = db().query("select * from Statitems");
    ASSERT_TRUE(item.next());
    EXPECT_DOUBLE_EQ(item.number("MinUnit"), 1.0);
    EXPECT_EQ(item.integer("Units"), 0);
    EXPECT_EQ(item.integer("SRControl"), 2);
    EXPECT_EQ(item.value("Isaddup"), QVariant(0));

    ASSERT_TRUE(db().exec("insert into BasePara (Company) values ('HQ')").ok());
    Query para = db().query("select * from BasePara");
    ASSERT_TRUE(para.next());
    EXPECT_DOUBLE_EQ(para.number("WOvertime"), 1.0);
    EXPECT_EQ(para.integer("OvertimeIn"), 0);
    EXPECT_EQ(para.value("DeductOut"), QVariant(0));

    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
    ASSERT_TRUE(db().exec("insert into OPLog (OPid, OPlog) values (1, 'x')").ok());
    ASSERT_TRUE(db().exec("insert into CheckLog (Userid, OPFlag) values ('1', 1)").ok());
    ASSERT_TRUE(db().exec("insert into OPinfo (Name) values ('Clerk')").ok());
    const QDateTime after = QDateTime::currentDateTime().addSecs(2);
    static const QRegularExpression form("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$");
    for (const char* sql : {"select Optime from OPLog", "select DTime from CheckLog"}) {
        const QString moment = db().scalar(sql).toString();
        EXPECT_TRUE(form.match(moment).hasMatch()) << moment.toStdString();
        const QDateTime t = QDateTime::fromString(moment, "yyyy-MM-dd HH:mm:ss");
        EXPECT_TRUE(t >= before.addMSecs(-before.time().msec()) && t <= after) << moment.toStdString();
    }
    EXPECT_EQ(db().scalar("select Deptpower from OPinfo").toString(), "");
    EXPECT_FALSE(db().scalar("select Deptpower from OPinfo").isNull());
}

TEST_P(Schema, ViewClassJoinsCyclesDaysAndPeriods)
{
    ASSERT_TRUE(db().exec("insert into TimeTable (Timename, Intime, Outtime, Latetime, MustIn, IsOvertime) "
                          "values ('Day', :In, :Out, 5, :M, :O)",
                          {{"In", QTime(8, 0)}, {"Out", QTime(17, 30)}, {"M", true}, {"O", false}}).ok());
    const qint64 timeid = db().lastInsertId();
    ASSERT_TRUE(db().exec("insert into Schedule (Schname, Cycles, Units, AutoClass) values ('Week', 1, 1, :A)", {{"A", true}}).ok());
    const qint64 schid = db().lastInsertId();
    for (int day : {0, 1, 2})
        ASSERT_TRUE(db().exec("insert into SchTime (Schid, BeginDay, Timeid) values (:S, :D, :T)",
                              {{"S", schid}, {"D", day}, {"T", timeid}}).ok());
    ASSERT_TRUE(db().exec("insert into SchTime (Schid, BeginDay, Timeid) values (:S, 3, 999)", {{"S", schid}}).ok());

    Query q = db().query("Select * from V_Class where Schid=:Schid order by BeginDay", {{"Schid", schid}});
    ASSERT_TRUE(q.ok()) << q.error().toStdString();
    QStringList columns;
    for (int i = 0; i < q.columnCount(); ++i) columns << q.columnName(i);
    EXPECT_EQ(columns.join(' ').toStdString(),
              "Schid Schname Cycles Units AutoClass BeginDay Timeid Timename Intime Outtime BIntime EIntime BOuttime "
              "EOuttime Latetime Leavetime WorkDays Longtime MustIn MustOut IsFreetime IsOvertime");
    int rows = 0;
    while (q.next()) {
        EXPECT_EQ(q.integer("BeginDay"), rows);
        EXPECT_EQ(q.text("Schname"), "Week");
        EXPECT_EQ(q.text("Timename"), "Day");
        EXPECT_EQ(q.text("Intime"), "1899-12-30 08:00:00");
        EXPECT_EQ(q.text("Outtime"), "1899-12-30 17:30:00");
        EXPECT_EQ(q.value("MustIn"), QVariant(1));
        EXPECT_EQ(q.value("AutoClass"), QVariant(1));
        EXPECT_EQ(q.integer("Latetime"), 5);
        ++rows;
    }
    EXPECT_EQ(rows, 3);   // the day whose period does not exist is not joined
}

INSTANTIATE_TEST_SUITE_P(Engines, Schema, ::testing::ValuesIn(kelvork::testdb::allEngines()), kelvork::testdb::engineName);

TEST(SchemaFile, StoredFormsAreThoseOutsideProgramsRead)
{
    TestDatabase tdb(Engine::SQLite);
    ASSERT_TRUE(tdb.ok());
    Database& db = tdb.db();
    ASSERT_TRUE(db.exec("insert into Checkinout (Userid, Checktime, Checktype, Checked) values ('1', :T, 'I', :C)",
                        {{"T", QDateTime(QDate(2004, 1, 31), QTime(8, 1, 2))}, {"C", true}}).ok());
    EXPECT_EQ(db.scalar("select typeof(Checktime) || ' ' || Checktime || ' ' || typeof(Checked) || ' ' || Checked from Checkinout")
                  .toString(),
              "text 2004-01-31 08:01:02 integer 1");
    const QString ddl = db.scalar("select sql from sqlite_master where name='Dept'").toString();
    EXPECT_TRUE(ddl.contains("INTEGER PRIMARY KEY AUTOINCREMENT")) << ddl.toStdString();
}

TEST(SchemaFile, PristineCopyIsAFreshSchemaReplacingTheOldFile)
{
    TestDatabase scratch(Engine::SQLite);
    const QString path = scratch.folder() + "/Rud2003.bak";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old contents");
    }
    ASSERT_TRUE(writePristineDatabase(path).ok());
    EXPECT_TRUE(QDir(scratch.folder()).entryList({"*.new*"}, QDir::Files).isEmpty());   // no scratch file left
    Database db;
    ASSERT_TRUE(db.openFileAsIs(path).ok());
    for (const QString& table : schemaTableNames()) {
        EXPECT_TRUE(db.query("select * from " + table).ok()) << table.toStdString();
        EXPECT_EQ(db.scalar("select count(*) from " + table).toInt(), 0) << table.toStdString();
    }
    EXPECT_TRUE(db.query("select * from V_Class").ok());
    EXPECT_FALSE(writePristineDatabase(scratch.folder() + "/missing/Rud2003.bak").ok());
}

TEST(SchemaFile, ANewFileNeverReplacesOneAnotherProgramMade)
{
    TestDatabase scratch(Engine::SQLite);
    ASSERT_TRUE(scratch.ok());
    ASSERT_TRUE(scratch.db().exec("insert into OutProg (ProgName) values ('theirs')").ok());
    scratch.db().close();
    const QString path = scratch.folder() + "/Rud2003.db";
    ASSERT_TRUE(createDatabaseFileIfMissing(path).ok());
    Database db;
    ASSERT_TRUE(db.open("Provider=SQLite;Data Source=" + path).ok());
    EXPECT_EQ(db.scalar("select ProgName from OutProg").toString(), "theirs");
}
