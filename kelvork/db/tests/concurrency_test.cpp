// Several programs write punches into one database at the same time: nothing fails, nothing is
// lost. (The three-program test with kelvork-calc calculating beside them is in
// kelvork/tools/engine-parity.)
#include "database.h"
#include "test_database.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace kelvork;
using kelvork::testdb::TestDatabase;

class Concurrency : public ::testing::TestWithParam<Engine> {};

TEST_P(Concurrency, TwoProgramsAppendingPunchesLoseNoRow)
{
    TestDatabase tdb(GetParam());
    if (!tdb.available()) GTEST_SKIP() << tdb.skipReason().toStdString();
    ASSERT_TRUE(tdb.ok()) << tdb.error().toStdString();
    constexpr int kPunches = 600;
    QProcess writers[2];
    for (int i = 0; i < 2; ++i)
        writers[i].start(QString::fromUtf8(KELVORK_PUNCH_APPENDER),
                         {tdb.connectionString(), QString::number(100 + i), QString::number(kPunches), "5"});
    // Meanwhile this program reads, as a list screen would.
    int reads = 0;
    while (writers[0].state() != QProcess::NotRunning || writers[1].state() != QProcess::NotRunning) {
        Query q = tdb.db().query("select count(*) from Checkinout where Checktime>=:D", {{"D", "2004-01-01"}});
        EXPECT_TRUE(q.ok()) << q.error().toStdString();
        ++reads;
        writers[0].waitForFinished(20);
        writers[1].waitForFinished(20);
    }
    for (QProcess& w : writers) {
        EXPECT_EQ(w.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(w.exitCode(), 0) << w.readAllStandardError().toStdString();
    }
    EXPECT_GT(reads, 0);
    EXPECT_EQ(tdb.db().scalar("select count(*) from Checkinout where Userid='100'").toInt(), kPunches);
    EXPECT_EQ(tdb.db().scalar("select count(*) from Checkinout where Userid='101'").toInt(), kPunches);
}

INSTANTIATE_TEST_SUITE_P(Engines, Concurrency, ::testing::ValuesIn(kelvork::testdb::allEngines()), kelvork::testdb::engineName);
