// A calculation run over 10,000 employees and 31 days of kelvork-demo data on SQLite, against the
// time of merely reading the same rows. Budget: the run at most 2 x the reading, and under 10 s.
// Three figures: BM_ReadTheRowsOfTheRun runs the load's statements and fetches every value without
// keeping any (the bare floor); BM_LoadTheRun reads them into the core's plain rows; and
// BM_CalculationRun is the load and the run, as kelvork-calc does it (without writing the table).
// Compare CPU times on a shared machine.
//
// The database is made once (about 530,000 punches) and kept: KELVORK_BENCH_DB names it, by
// default bench/demo-10000x31.db in the build folder.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

#include "calc_loader.h"
#include "demo_database.h"
#include "finishing_steps.h"
#include "schema.h"

namespace {

using namespace kelvork;

constexpr int kEmployees = 10000;
constexpr int kDays = 31;
const char* const kFirstDay = "2004-03-01";

Database* g_db = nullptr;

engine::RunRequest monthRequest()
{
    engine::RunRequest r;
    r.firstDate = *engine::ParseDateText(kFirstDay);
    r.lastDate = r.firstDate + kDays - 1;
    return r;
}

QString benchDatabasePath()
{
    const char* env = std::getenv("KELVORK_BENCH_DB");
    return QString::fromUtf8(env && *env ? env : KELVORK_BENCH_DEFAULT_DB);
}

bool openBenchDatabase(Database& db)
{
    const QString path = benchDatabasePath();
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr, "calc-bench: making %s (%d employees, %d days)...\n", path.toUtf8().constData(), kEmployees, kDays);
        QDir().mkpath(QFileInfo(path).absolutePath());
        DbStatus st = writePristineDatabase(path);
        demo::DemoSummary summary;
        if (st.ok()) {
            Database writer;
            st = writer.open(QStringLiteral("Provider=SQLite;Data Source=") + path);
            demo::DemoSettings settings;
            settings.employees = kEmployees;
            settings.days = kDays;
            settings.from = *engine::ParseDateText(kFirstDay);
            if (st.ok()) st = demo::WriteDemoDatabase(writer, settings, summary);
        }
        if (!st.ok()) {
            QFile::remove(path);
            std::fprintf(stderr, "calc-bench: %s\n", st.message().toUtf8().constData());
            return false;
        }
    }
    const DbStatus st = db.open(QStringLiteral("Provider=SQLite;Data Source=") + path);
    if (!st.ok()) std::fprintf(stderr, "calc-bench: %s\n", st.message().toUtf8().constData());
    return st.ok();
}

// The statements of the load, each row stepped through and every value fetched.
long long readRows(Database& db, const engine::RunRequest& r)
{
    const QString s = QString::fromStdString(engine::DateText(r.firstDate));
    const QString e = QString::fromStdString(engine::DateText(r.lastDate));
    const QString from = QString::fromStdString(engine::MomentText(engine::PunchLoadFrom(r.firstDate)));
    const QString to = QString::fromStdString(engine::MomentText(engine::PunchLoadTo(r.lastDate)));
    const std::vector<std::pair<QString, Params>> statements = {
        {"select Deptid, Deptname, SupDeptid from Dept order by Deptid", {}},
        {"select Userid, Name, Deptid, IsAtt, Isrest from Userinfo where 1=1", {}},
        {"select Company, Twoday, Noclockin, Noclockout, Isovertime, Latetime, Leavetime, Overtime, Workdaylong, "
         "WOvertime, HOvertime, FOvertime, IsovertimeIn, OvertimeIn, DeductIn, DeductOut from BasePara", {}},
        {"select Itemname, Units, MinUnit, SRControl, Isaddup, Istimes from Statitems", {}},
        {"select Classid, Classname, ViewColor, Showas from LeaveClass order by Classid", {}},
        {"select Timeid, Timename, Intime, Outtime, BIntime, EIntime, BOuttime, EOuttime, Latetime, Leavetime, "
         "WorkDays, Longtime, MustIn, MustOut, IsFreetime, IsOvertime from TimeTable order by Timeid", {}},
        {"select Schid, Schname, Cycles, Units, AutoClass, BeginDay, Timeid from V_Class order by Schid, BeginDay, Timeid", {}},
        {"select Userid, Schid, BeginDate, EndDate from Usershift where BeginDate<=:BeginDate and EndDate>=:EndDate",
         {{"BeginDate", e}, {"EndDate", s}}},
        {"select Userid, Timeid, Workdate from UserTempshift where Workdate>=:Rq1 and Workdate<=:Rq2", {{"Rq1", s}, {"Rq2", e}}},
        {"select Holidayid, Name, BDate, Days from Holiday order by BDate, Holidayid", {}},
        {"select Userid, Checktime, Checktype, Sensorid, Checked, WorkType from Checkinout where Checktime between :Rq1 and :Rq2",
         {{"Rq1", from}, {"Rq2", to}}},
        {"select Lsh, Userid, BeginTime, EndTime, LeaveClassid, Whys from UserLeave where BeginTime<=:Rq2 and EndTime>=:Rq1 order by Lsh",
         {{"Rq1", s + " 00:00:00"}, {"Rq2", e + " 23:59:59"}}},
    };
    long long rows = 0;
    for (const auto& [sql, params] : statements) {
        Query q = db.query(sql, params);
        const int columns = q.columnCount();
        while (q.next()) {
            for (int c = 0; c < columns; ++c) benchmark::DoNotOptimize(q.value(c));
            ++rows;
        }
        if (!q.ok()) std::fprintf(stderr, "calc-bench: %s\n", q.error().toUtf8().constData());
    }
    return rows;
}

void BM_ReadTheRowsOfTheRun(benchmark::State& state)
{
    const engine::RunRequest request = monthRequest();
    long long rows = 0;
    for (auto _ : state) rows = readRows(*g_db, request);
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_LoadTheRun(benchmark::State& state)
{
    const engine::RunRequest request = monthRequest();
    std::size_t punches = 0;
    for (auto _ : state) {
        engine::CalcInput input;
        std::vector<engine::RunProblem> problems;
        if (!loader::LoadCalcInput(*g_db, request, input, problems).ok()) state.SkipWithError("load failed");
        punches = input.punches.size();
        benchmark::DoNotOptimize(input);
    }
    state.counters["punches"] = static_cast<double>(punches);
}

// What kelvork-calc does between opening the database and writing the table.
void BM_CalculationRun(benchmark::State& state)
{
    const engine::RunRequest request = monthRequest();
    std::size_t employees = 0, punchRows = 0;
    for (auto _ : state) {
        engine::CalcInput input;
        std::vector<engine::RunProblem> problems;
        if (!loader::LoadCalcInput(*g_db, request, input, problems).ok()) state.SkipWithError("load failed");
        engine::WorkingTables tables;
        engine::RunCalculation(input, request, tables, problems, engine::WithStandardFinishing());
        employees = tables.MemStat.table.rows.size();
        punchRows = tables.MemRecord2.rows.size();
        benchmark::DoNotOptimize(tables);
    }
    state.counters["employees"] = static_cast<double>(employees);
    state.counters["MemRecord2"] = static_cast<double>(punchRows);
}

BENCHMARK(BM_ReadTheRowsOfTheRun)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadTheRun)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CalculationRun)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Database db;
    if (!openBenchDatabase(db)) return 1;
    g_db = &db;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
