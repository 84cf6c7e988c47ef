// How long the punch list takes to open and show its first screen of rows over a large table,
// and how long the data layer takes to read every punch row by row.
//   build-db/bin/db_bench --benchmark_min_time=1
#include "data_module.h"
#include "database.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kelvork;

namespace {

constexpr int kPunches = 1000000;

// One database of a million punches (1,000 employees, 1,000 punches each), made once.
const QString& bigDatabase()
{
    static QTemporaryDir dir;
    static const QString connection = [] {
        const QString c = "Provider=SQLite;Data Source=" + dir.filePath("Rud2003.db");
        Database db;
        if (!db.open(c).ok()) return QString();
        Transaction tx(db);
        const QDateTime start(QDate(2004, 1, 1), QTime(8, 0));
        for (int i = 0; i < kPunches; ++i)
            (void)db.exec("insert into Checkinout (Userid, Checktime, Checktype, Sensorid) values (:U, :T, 'I', '1')",
                          {{"U", QString::number(i % 1000 + 1)}, {"T", start.addSecs(60LL * (i / 1000))}});
        (void)tx.commit();
        return c;
    }();
    return connection;
}

void OpenRecordListFirstScreen(benchmark::State& state)
{
    TDM dm;
    if (!dm.open(bigDatabase()).ok()) { state.SkipWithError("cannot open"); return; }
    for (auto _ : state) {
        dm.Qryrecord->setStatement("select * from Checkinout order by Userid, Checktime");
        (void)dm.Qryrecord->open();
        for (int r = 0; r < 40; ++r) benchmark::DoNotOptimize(dm.Qryrecord->valueAt(r, "Typename"));
    }
}
BENCHMARK(OpenRecordListFirstScreen)->Unit(benchmark::kMillisecond);

void ReadEveryPunch(benchmark::State& state)
{
    Database db;
    if (!db.open(bigDatabase()).ok()) { state.SkipWithError("cannot open"); return; }
    for (auto _ : state) {
        qint64 n = 0;
        for (Query q = db.query("select Userid, Checktime, Checktype from Checkinout"); q.next();) {
            benchmark::DoNotOptimize(q.value(1));
            ++n;
        }
        state.counters["rows"] = double(n);
    }
}
BENCHMARK(ReadEveryPunch)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
