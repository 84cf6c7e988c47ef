// Three programs on one database at once, on each engine: two append punches (as the programs
// collecting punches from terminals do) while kelvork-calc calculates again and again. No program
// fails, no punch is lost, and every calculation sees whole batches only (a batch is one
// transaction).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>
#include <map>

#include "database.h"
#include "demo_programs.h"
#include "test_database.h"

namespace kelvork::parity {
namespace {

using testdb::TestDatabase;

constexpr int kPunches = 1400;  // per appender: one a minute from 2004-01-01 00:00 (the day only)
constexpr int kBatch = 5;

// The count of punches of 2004-01-01 per employee in kelvork-calc's MemRecord2 CSV.
std::map<QByteArray, int> newYearPunches(const QByteArray& csv)
{
    std::map<QByteArray, int> counts;
    const QList<QByteArray> lines = csv.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split(',');   // Lsh,Ucode,Checktime come first
        if (fields.size() > 2 && fields[2].startsWith("2004-01-01 ")) ++counts[fields[1]];
    }
    return counts;
}

class ThreePrograms : public ::testing::TestWithParam<Engine> {};

TEST_P(ThreePrograms, TwoAppendingPunchesAndOneCalculatingLoseNoRow)
{
    TestDatabase tdb(GetParam());
    if (!tdb.available()) GTEST_SKIP() << tdb.skipReason().toStdString();
    ASSERT_TRUE(tdb.ok()) << tdb.error().toStdString();
    QString connection = tdb.connectionString();
    if (GetParam() == Engine::SQLite) {
        tdb.db().close();
        const QString file = tdb.folder() + "/demo.db";
        ASSERT_EQ(writeDemo(file, 30, 10, "2004-01-02"), QString());
        connection = "Provider=SQLite;Data Source=" + file;
        ASSERT_TRUE(tdb.db().open(connection).ok());
    } else {
        ASSERT_EQ(writeDemo(connection, 30, 10, "2004-01-02"), QString());
    }
    Database& db = tdb.db();
    const int demoPunches = db.scalar("select count(*) from Checkinout").toInt();
    ASSERT_GT(demoPunches, 100);
    QStringList users;
    Query q = db.query("select Userid from Userinfo where IsAtt=True order by Userid");
    while (q.next() && users.size() < 2) users << q.text("Userid");
    ASSERT_EQ(users.size(), 2) << q.error().toStdString();
    db.close();  // only the three programs work on the database now

    const QStringList calcArgs = {"--db", connection, "--from", "2003-12-31", "--to", "2004-01-11",
                                  "--table", "MemRecord2"};
    QProcess appenders[2];
    for (int i = 0; i < 2; ++i)
        appenders[i].start(QStringLiteral(KELVORK_PUNCH_APPENDER),
                           {connection, users[i], QString::number(kPunches), QString::number(kBatch)});
    auto appending = [&] {  // QProcess learns of an end only while it waits
        bool running = false;
        for (QProcess& a : appenders) running |= !a.waitForFinished(0) && a.state() != QProcess::NotRunning;
        return running;
    };
    ASSERT_TRUE(appenders[0].waitForStarted(30000) && appenders[1].waitForStarted(30000));

    int runsDuringAppends = 0;
    int partialViews = 0;
    std::map<QByteArray, int> seen;
    QElapsedTimer timer;
    timer.start();
    while (appending() && timer.elapsed() < 120000) {
        const ProgramResult r = runCalc(calcArgs);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.err, QByteArray());
        for (const auto& [user, count] : newYearPunches(r.out)) {
            EXPECT_EQ(count % kBatch, 0) << "a batch half seen for " << user.toStdString() << ": " << count;
            EXPECT_GE(count, seen[user]) << "punches of " << user.toStdString() << " disappeared";
            seen[user] = count;
        }
        ++runsDuringAppends;
        for (const auto& [user, count] : seen) partialViews += count > 0 && count < kPunches;
    }
    std::printf("%d calculations while appending, %d saw an employee's punches half appended\n",
                runsDuringAppends, partialViews);
    for (QProcess& a : appenders) {
        if (a.state() != QProcess::NotRunning) {
            ASSERT_TRUE(a.waitForFinished(60000));
        }
        EXPECT_EQ(a.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
    }
    // A calculation that had to wait for the appenders to finish would see none or all punches.
    EXPECT_GT(partialViews, 0) << "no calculation ran beside the appending programs";

    const ProgramResult last = runCalc(calcArgs);
    ASSERT_EQ(last.exitCode, 0) << last.err.toStdString();
    const auto counts = newYearPunches(last.out);
    for (const QString& u : users) {
        const auto it = counts.find(u.toUtf8());
        EXPECT_EQ(it == counts.end() ? 0 : it->second, kPunches) << "employee " << u.toStdString();
    }
    ASSERT_TRUE(db.open(connection).ok());
    EXPECT_EQ(db.scalar("select count(*) from Checkinout").toInt(), demoPunches + 2 * kPunches);
}

INSTANTIATE_TEST_SUITE_P(Engines, ThreePrograms, ::testing::ValuesIn(testdb::allEngines()), testdb::engineName);

}  // namespace
}  // namespace kelvork::parity
