// The same demonstration data on a SQLite file and on a PostgreSQL database: kelvork-calc writes
// every working table, in CSV and in JSON, byte for byte the same on both.
#include <gtest/gtest.h>

#include <QList>

#include <string>

#include "database.h"
#include "demo_programs.h"
#include "test_database.h"

namespace kelvork::parity {
namespace {

using testdb::TestDatabase;

// Where two outputs part: the line number and both lines, for a message a person can act on.
std::string firstDifference(const QByteArray& a, const QByteArray& b)
{
    const QList<QByteArray> la = a.split('\n');
    const QList<QByteArray> lb = b.split('\n');
    for (qsizetype i = 0; i < std::max(la.size(), lb.size()); ++i) {
        const QByteArray x = i < la.size() ? la[i] : QByteArray("<end>");
        const QByteArray y = i < lb.size() ? lb[i] : QByteArray("<end>");
        if (x != y)
            return "line " + std::to_string(i + 1) + "\n  SQLite:     " + x.toStdString() +
                   "\n  PostgreSQL: " + y.toStdString();
    }
    return "same lines";
}

QString scalarText(Database& db, const QString& sql)
{
    DbStatus st;
    const QString v = db.scalar(sql, {}, &st).toString();
    EXPECT_TRUE(st.ok()) << st.message().toStdString();
    return v;
}

TEST(EngineParity, KelvorkCalcWritesTheSameBytesOnBothEngines)
{
    TestDatabase server(Engine::PostgreSQL);
    if (!server.available()) GTEST_SKIP() << server.skipReason().toStdString();
    ASSERT_TRUE(server.ok()) << server.error().toStdString();
    TestDatabase scratch(Engine::SQLite);  // only for its temporary folder
    ASSERT_TRUE(scratch.ok()) << scratch.error().toStdString();
    const QString file = scratch.folder() + "/demo.db";

    // 30 employees over ten days with Labour day (a holiday) and two weekends inside.
    const QString from = QStringLiteral("2004-04-26");
    const QString to = QStringLiteral("2004-05-05");
    ASSERT_EQ(writeDemo(file, 30, 10, from), QString());
    ASSERT_EQ(writeDemo(server.connectionString(), 30, 10, from), QString());

    Database onFile;
    ASSERT_TRUE(onFile.open("Provider=SQLite;Data Source=" + file).ok());
    Database& onServer = server.db();
    // Rows the demo does not make but a site's database holds: letter case and a trailing space in
    // employee numbers, no name or department, punches without type or terminal (NULL and empty),
    // a leave without reason, a punch whose Checked is NULL.
    const char* awkwardRows[] = {
        "insert into Userinfo (Userid, Name, Deptid, IsAtt) values ('A7', null, null, True)",
        "insert into Userinfo (Userid, Name, Deptid, IsAtt) values ('a7', '', 4, True)",
        "insert into Userinfo (Userid, Name, Deptid, IsAtt) values ('1 ', 'Space', 4, True)",
        "insert into Usershift (Userid, Schid, BeginDate, EndDate) values ('A7', 2, '2004-04-01', '2004-12-31')",
        "insert into Usershift (Userid, Schid, BeginDate, EndDate) values ('a7', 2, '2004-04-01', '2004-12-31')",
        "insert into Checkinout (Userid, Checktime, Checktype, Sensorid) values ('A7', '2004-04-27 07:58:00', null, null)",
        "insert into Checkinout (Userid, Checktime, Checktype, Sensorid) values ('A7', '2004-04-27 17:31:00', 'O', '')",
        "insert into Checkinout (Userid, Checktime, Checktype, Sensorid) values ('a7', '2004-04-27 07:58:00', 'I', '1')",
        "insert into Checkinout (Userid, Checktime, Checktype, Sensorid) values ('1 ', '2004-04-27 07:58:00', 'I', '1')",
        "insert into Checkinout (Userid, Checktime, Checktype, Sensorid, Checked) values ('1', '2004-04-27 12:03:00', null, null, null)",
        "insert into UserLeave (Userid, BeginTime, EndTime, LeaveClassid, Whys) values ('A7', '2004-04-28 08:00:00', '2004-04-28 12:00', 1, null)",
        "insert into UserLeave (Userid, BeginTime, EndTime, LeaveClassid, Whys) values ('a7', '2004-04-28 08:00:00', '2004-04-28 12:00:00', 2, '')",
    };
    for (const char* sql : awkwardRows) {
        SCOPED_TRACE(sql);
        ASSERT_TRUE(onFile.exec(sql).ok());
        const DbStatus st = onServer.exec(sql);
        ASSERT_TRUE(st.ok()) << st.message().toStdString();
    }
    const QString countPunches = QStringLiteral("select count(*) from Checkinout");
    ASSERT_EQ(scalarText(onFile, countPunches), scalarText(onServer, countPunches));
    const QString firstUser = scalarText(onFile, "select min(Userid) from Userinfo where IsAtt=True");
    ASSERT_FALSE(firstUser.isEmpty());
    // A department with departments below it, found by name (its number is the engine's counter).
    const QString deptOf = QStringLiteral("select min(d.Deptid) from Dept d where d.SupDeptid<>0 and exists "
                                          "(select 1 from Dept c where c.SupDeptid=d.Deptid)");
    const QString deptFile = scalarText(onFile, deptOf);
    const QString deptServer = scalarText(onServer, deptOf);
    ASSERT_FALSE(deptFile.isEmpty());
    onFile.close();

    struct Case {
        QStringList args;   // besides --db, --from, --to
        QString dept;       // "" or the department to choose (per engine)
    };
    std::vector<Case> cases;
    for (const char* table : {"MemRecord2", "MemUClass", "MemAbnor", "MemStat", "MemDay"})
        for (const char* format : {"csv", "json"}) cases.push_back({{"--table", table, "--format", format}, {}});
    cases.push_back({{"--table", "MemStat", "--user", firstUser}, {}});
    cases.push_back({{"--table", "MemUClass", "--format", "json", "--from-time", "08:00:00", "--to-time", "17:30:00"}, {}});
    cases.push_back({{"--table", "MemRecord2"}, "dept"});

    qsizetype compared = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString() + (c.dept.isEmpty() ? "" : " --dept"));
        QStringList fileArgs = QStringList{"--db", file, "--from", from, "--to", to} + c.args;
        QStringList serverArgs = QStringList{"--db", server.connectionString(), "--from", from, "--to", to} + c.args;
        if (!c.dept.isEmpty()) {
            fileArgs << "--dept" << deptFile;
            serverArgs << "--dept" << deptServer;
        }
        const ProgramResult a = runCalc(fileArgs);
        const ProgramResult b = runCalc(serverArgs);
        ASSERT_EQ(a.exitCode, 0) << a.err.toStdString();
        ASSERT_EQ(b.exitCode, 0) << b.err.toStdString();
        EXPECT_GE(a.out.count('\n'), 2) << "no rows: " << a.out.toStdString();
        compared += a.out.size();
        if (c.args == QStringList{"--table", "MemRecord2", "--format", "csv"}) {
            EXPECT_TRUE(a.out.contains(",A7,") && a.out.contains(",a7,") && a.out.contains(",1 ,"))
                << "the awkward rows are not calculated";
        }
        EXPECT_TRUE(a.out == b.out) << firstDifference(a.out, b.out);
        EXPECT_EQ(a.err, b.err) << "the warnings differ";
    }
    EXPECT_GT(compared, 50000) << "too little output to compare";
}

}  // namespace
}  // namespace kelvork::parity
