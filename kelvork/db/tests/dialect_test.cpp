// How portable statements reach each engine: placeholders, translations, bound values, and the
// rows the two engines select for the same statement.
#include "database.h"
#include "dialect.h"
#include "test_database.h"

#include <QDate>
#include <QDateTime>

#include <gtest/gtest.h>

using namespace kelvork;
using kelvork::testdb::TestDatabase;

TEST(Dialect, PlaceholdersKnowTheColumnBesideThem)
{
    struct Case { const char* sql; const char* expected; };   // name=column, ...
    const Case cases[] = {
        {"select * from Checkinout where Userid=:Userid and Checktime>=:D1 and Checktime <= :D2",
         "Userid=Userid,D1=Checktime,D2=Checktime"},
        {"select * from Checkinout c where c.Checktime between :A and :B", "A=Checktime,B=Checktime"},
        {"select * from Checkinout where :D <= Checkinout.Checktime", "D=Checktime"},
        {"insert into UserLeave (Userid, BeginTime, EndTime) values (:U, :B, :E)", "U=Userid,B=BeginTime,E=EndTime"},
        {"update Userinfo set Brithday=:B, Name = :N where Userid=:U", "B=Brithday,N=Name,U=Userid"},
        {"select ':notme', [date] from AddTimeSet where [date]=:D and x::int = 1", "D=date"},
        {"select * from Dept where Deptid in (:A, :B)", "A=,B="},
        {"select * from T where a=:P or b=:P", "P=a,P=b"},
    };
    for (const Case& c : cases) {
        QStringList got;
        for (const Placeholder& p : findPlaceholders(QString::fromUtf8(c.sql))) got << p.name + '=' + p.column;
        EXPECT_EQ(got.join(',').toStdString(), c.expected) << c.sql;
    }
    EXPECT_EQ(positionalSql("select ':x', a from t where a=:A and b=:B::int").toStdString(),
              "select ':x', a from t where a=? and b=?::int");
}

TEST(Dialect, TranslationsPerEngine)
{
    struct Case { const char* sql; const char* sqlite; const char* postgres; };
    const Case cases[] = {
        {"insert into AddTimeSet (Userid, [date]) values (:U, :D)",
         "insert into AddTimeSet (Userid, [date]) values (:U, :D)",
         "insert into AddTimeSet (Userid, \"date\") values (:U, :D)"},
        {"SELECT Max(checktime)-Min(checktime) as DIFF FROM Checkinout",
         "SELECT (julianday(Max(checktime))-julianday(Min(checktime))) as DIFF FROM Checkinout",
         "SELECT (extract(epoch from (Max(checktime)-Min(checktime)))/86400.0) as DIFF FROM Checkinout"},
        {"select Max(Deptid)-Min(Deptid) from Dept", "select Max(Deptid)-Min(Deptid) from Dept",
         "select Max(Deptid)-Min(Deptid) from Dept"},
        {"select * from Userinfo where Name like :N and Remark='like [x]'",
         "select * from Userinfo where Name like :N and Remark='like [x]'",
         "select * from Userinfo where Name ILIKE :N and Remark='like [x]'"},
        {"select * from Userinfo where IsAtt=1 and Userinfo.Isrest <> 0 and Deptid=1",
         "select * from Userinfo where IsAtt=1 and Userinfo.Isrest <> 0 and Deptid=1",
         "select * from Userinfo where IsAtt=true and Userinfo.Isrest <> false and Deptid=1"},
        {"Select * from Usershift where Userid=:Userid order by BeginDate desc, Userid",
         "Select * from Usershift where Userid=:Userid order by BeginDate desc, Userid",
         "Select * from Usershift where Userid=:Userid order by BeginDate desc NULLS LAST, Userid NULLS FIRST"},
        {"select * from (select * from Dept order by Deptname) d ORDER BY Deptid asc limit 5",
         "select * from (select * from Dept order by Deptname) d ORDER BY Deptid asc limit 5",
         "select * from (select * from Dept order by Deptname NULLS FIRST) d ORDER BY Deptid asc NULLS FIRST limit 5"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(translateSql(c.sql, Engine::SQLite).toStdString(), c.sqlite);
        EXPECT_EQ(translateSql(c.sql, Engine::PostgreSQL).toStdString(), c.postgres);
    }
}

TEST(Dialect, BoundValuesTakeTheStoredForms)
{
    struct Case { QVariant value; const char* column; Engine engine; QVariant expected; };
    const Case cases[] = {
        {"2004-01-31", "Checktime", Engine::SQLite, "2004-01-31 00:00:00"},
        {"2004-01-31", "BeginDate", Engine::SQLite, "2004-01-31"},
        {"2004-01-31", "", Engine::SQLite, "2004-01-31"},
        {"2004-01-31 08:00:00", "Checktime", Engine::SQLite, "2004-01-31 08:00:00"},
        {QDate(2004, 1, 31), "EndTime", Engine::PostgreSQL, "2004-01-31 00:00:00"},
        {QDate(2004, 1, 31), "Workdate", Engine::SQLite, "2004-01-31"},
        {QDateTime(QDate(2004, 1, 31), QTime(8, 5, 9)), "", Engine::SQLite, "2004-01-31 08:05:09"},
        {QTime(8, 30), "Intime", Engine::SQLite, "1899-12-30 08:30:00"},
        {"08:30", "Intime", Engine::SQLite, "1899-12-30 08:30:00"},
        {"2004-01-31 08:30", "Checktime", Engine::SQLite, "2004-01-31 08:30:00"},
        {"2004-01-31 08:30", "Remark", Engine::SQLite, "2004-01-31 08:30"},
        {true, "Checked", Engine::SQLite, 1},
        {1, "Checked", Engine::PostgreSQL, true},
        {"O'Brien 100% C:\\x", "Name", Engine::SQLite, "O'Brien 100% C:\\x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bindValue(c.value, c.column, c.engine), c.expected) << c.value.toString().toStdString() << " " << c.column;
}

class OnEngine : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        tdb_ = std::make_unique<TestDatabase>(GetParam());
        if (!tdb_->available()) GTEST_SKIP() << tdb_->skipReason().toStdString();
        ASSERT_TRUE(tdb_->ok()) << tdb_->error().toStdString();
    }
    Database& db() { return tdb_->db(); }
    void punch(const char* userid, const char* time, const char* type = "I")
    {
        const DbStatus st = db().exec("insert into Checkinout (Userid, Checktime, Checktype, Sensorid) values (:U, :T, :C, '1')",
                                      {{"U", userid}, {"T", time}, {"C", type}});
        ASSERT_TRUE(st.ok()) << st.message().toStdString();
    }
    std::unique_ptr<TestDatabase> tdb_;
};

TEST_P(OnEngine, DateOnlyParameterMeansMidnightOfThatDate)
{
    punch("1", "2004-01-30 23:59:59");
    punch("1", "2004-01-31 00:00:00");
    punch("1", "2004-01-31 08:00:00");
    punch("1", "2004-02-01 00:00:00");
    struct Case { const char* where; Params params; int count; };
    const Case cases[] = {
        {"Checktime<=:D", {{"D", "2004-01-31"}}, 2},
        {"Checktime>=:D", {{"D", "2004-01-31"}}, 3},
        {"Checktime=:D", {{"D", "2004-01-31"}}, 1},
        {"Checktime between :A and :B", {{"A", "2004-01-31"}, {"B", "2004-02-01"}}, 3},
        {"Checktime>=:A and Checktime<:B", {{"A", QDate(2004, 1, 31)}, {"B", QDate(2004, 2, 1)}}, 2},
        {"Checktime>:A", {{"A", QDateTime(QDate(2004, 1, 31), QTime(0, 0))}}, 2},
        {"Checktime<=:A", {{"A", "2004-01-31 08:00"}}, 3},
    };
    for (const Case& c : cases) {
        const QVariant n = db().scalar(QString("select count(*) from Checkinout where ") + c.where, c.params);
        EXPECT_EQ(n.toInt(), c.count) << c.where;
    }
    // Stored and read back in the text form on both engines.
    EXPECT_EQ(db().scalar("select Checktime from Checkinout where Checktime<:D order by Checktime", {{"D", "2004-01-31"}}).toString(),
              "2004-01-30 23:59:59");
}

TEST_P(OnEngine, SpanOfPunchesInDays)
{
    punch("7", "2004-01-31 08:00:00");
    punch("7", "2004-02-01 20:00:00");
    const QVariant span = db().scalar("SELECT Max(checktime)-Min(checktime) as DIFF FROM Checkinout  WHERE Userid = :Userid "
                                      "and checktime >= :checktime1 and checktime <= :checktime2",
                                      {{"Userid", "7"}, {"checktime1", "2004-01-01"}, {"checktime2", "2004-02-02"}});
    EXPECT_DOUBLE_EQ(span.toDouble(), 1.5);
}

TEST_P(OnEngine, AwkwardTextsReachTheDatabaseUnchanged)
{
    const QString texts[] = {
        "O'Brien", "100%", "C:\\Users\\clerk\\", "\"quoted\"", "a'; drop table Userinfo; --", "_x_", "\\'", ":Userid", "张三",
    };
    int n = 0;
    for (const QString& t : texts) {
        const QString id = QString::number(++n);
        ASSERT_TRUE(db().exec("insert into Userinfo (Userid, Name, Remark) values (:Userid, :Name, :Remark)",
                              {{"Userid", id}, {"Name", t.left(30)}, {"Remark", t}}).ok());
        EXPECT_EQ(db().scalar("select Remark from Userinfo where Userid=:Userid", {{"Userid", id}}).toString(), t);
        EXPECT_EQ(db().scalar("select Userid from Userinfo where Remark=:R", {{"R", t}}).toString(), id);
    }
    EXPECT_EQ(db().scalar("select count(*) from Userinfo").toInt(), n);
    // A percent sign in a LIKE parameter is a wildcard, as the screens use it; letter case is ignored.
    EXPECT_EQ(db().scalar("select count(*) from Userinfo where Remark like :P", {{"P", "%brien%"}}).toInt(), 1);
    // Concatenation of texts.
    ASSERT_TRUE(db().exec("update Userinfo set Remark=Remark || :Tail where Userid='1'", {{"Tail", " 50%"}}).ok());
    EXPECT_EQ(db().scalar("select Remark from Userinfo where Userid='1'").toString(), "O'Brien 50%");
}

TEST_P(OnEngine, YesNoValuesReadAndCompareAlike)
{
    ASSERT_TRUE(db().exec("insert into Userinfo (Userid, IsAtt, Isrest) values ('1', :A, :R)", {{"A", true}, {"R", 0}}).ok());
    ASSERT_TRUE(db().exec("insert into Userinfo (Userid, IsAtt, Isrest) values ('2', :A, :R)", {{"A", false}, {"R", 1}}).ok());
    EXPECT_EQ(db().scalar("select IsAtt from Userinfo where Userid='1'"), QVariant(1));
    EXPECT_EQ(db().scalar("select Userid from Userinfo where IsAtt=True").toString(), "1");
    EXPECT_EQ(db().scalar("select Userid from Userinfo where Isrest=1").toString(), "2");
    EXPECT_EQ(db().scalar("select Userid from Userinfo where Isrest=:R", {{"R", true}}).toString(), "2");
    EXPECT_EQ(db().scalar("select count(*) from Userinfo where IsAtt=False").toInt(), 1);
}

TEST_P(OnEngine, BracketedReservedWordAndNumericEmployeeNumber)
{
    ASSERT_TRUE(db().exec("insert into AddTimeSet (Userid, [date], TimeID, AddTime) values (:U, :D, 3, '01:30:00')",
                          {{"U", 12}, {"D", "2004-01-31"}}).ok());
    EXPECT_EQ(db().scalar("select AddTime from AddTimeSet where Userid=:U and [date]=:D", {{"U", "12"}, {"D", "2004-01-31"}}).toString(),
              "01:30:00");
}

TEST_P(OnEngine, TransactionCommitsOrRollsBack)
{
    {
        Transaction tx(db());
        ASSERT_TRUE(tx.ok());
        ASSERT_TRUE(db().exec("insert into OutProg (ProgName) values ('kept')").ok());
        EXPECT_TRUE(tx.commit().ok());
    }
    {
        Transaction tx(db());
        ASSERT_TRUE(db().exec("insert into OutProg (ProgName) values ('dropped')").ok());
    }   // no commit
    EXPECT_EQ(db().scalar("select count(*) from OutProg").toInt(), 1);
    ASSERT_TRUE(db().exec("insert into OutProg (ProgName) values ('next')").ok());
    EXPECT_EQ(db().lastInsertId(), db().scalar("select Progid from OutProg where ProgName='next'").toLongLong());
}

TEST_P(OnEngine, ARefusedRowInsideATransactionLeavesTheOthers)
{
    punch("5", "2004-01-31 08:00:00");
    Transaction tx(db());
    ASSERT_TRUE(tx.ok());
    const char* times[] = {"2004-01-31 07:00:00", "2004-01-31 08:00:00", "2004-01-31 09:00:00"};
    int refused = 0;
    for (const char* t : times)
        if (!db().exec("insert into Checkinout (Userid, Checktime) values ('5', :T)", {{"T", t}}).ok()) ++refused;
    EXPECT_EQ(refused, 1);
    ASSERT_TRUE(tx.commit().ok());
    EXPECT_EQ(db().scalar("select count(*) from Checkinout where Userid='5'").toInt(), 3);
}

TEST_P(OnEngine, StatementsMayRunWhileAListIsRead)
{
    for (int i = 0; i < 300; ++i)
        punch("6", qPrintable(QDateTime(QDate(2004, 1, 1), QTime(0, 0)).addSecs(60 * i).toString("yyyy-MM-dd HH:mm:ss")));
    int rows = 0;
    for (Query q = db().query("select * from Checkinout where Userid='6' order by Checktime"); q.next(); ++rows) {
        if (rows % 50 != 0) continue;
        ASSERT_TRUE(db().exec("update Checkinout set Checked=:C where Userid='6' and Checktime=:T",
                              {{"C", true}, {"T", q.text("Checktime")}}).ok());
        EXPECT_EQ(db().scalar("select count(*) from Checkinout where Checked=True").toInt(), rows / 50 + 1);
    }
    EXPECT_EQ(rows, 300);
}

TEST_P(OnEngine, EmptyValuesSortFirstOnBothEngines)
{
    for (const char* sql : {"insert into Userinfo (Userid, Name) values ('1', 'b')", "insert into Userinfo (Userid) values ('2')",
                            "insert into Userinfo (Userid, Name) values ('3', 'a')", "insert into Userinfo (Userid, Name) values ('4', 'B')"})
        ASSERT_TRUE(db().exec(sql).ok());
    auto order = [&](const char* sql) {
        QStringList ids;
        for (Query q = db().query(sql); q.next();) ids << q.text("Userid");
        return ids.join(' ').toStdString();
    };
    EXPECT_EQ(order("select Userid from Userinfo order by Name"), "2 4 3 1");
    EXPECT_EQ(order("select Userid from Userinfo order by Name desc, Userid"), "1 3 4 2");
    EXPECT_EQ(order("select Userid from Userinfo where Userid in (select Userid from Userinfo order by Name) order by Name ASC"), "2 4 3 1");
}

TEST_P(OnEngine, MissingParameterAndBadStatementAreErrors)
{
    DbStatus st = db().exec("update Dept set Deptname=:Name where Deptid=:Deptid", {{"Name", "x"}});
    EXPECT_FALSE(st.ok());
    EXPECT_TRUE(st.message().contains("Deptid"));
    Query q = db().query("select nosuchcolumn from Dept");
    EXPECT_FALSE(q.ok());
    EXPECT_FALSE(q.next());
}

INSTANTIATE_TEST_SUITE_P(Engines, OnEngine, ::testing::ValuesIn(kelvork::testdb::allEngines()), kelvork::testdb::engineName);
