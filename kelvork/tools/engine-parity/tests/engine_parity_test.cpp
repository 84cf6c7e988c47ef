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
        EXPECT_TRUE(a.out == b.out) << firstDifference(a.out, b.out);
        EXPECT_EQ(a.err, b.err) << "the warnings differ";
    }
    EXPECT_GT(compared, 50000) << "too little output to compare";
}

}  // namespace
}  // namespace kelvork::parity
