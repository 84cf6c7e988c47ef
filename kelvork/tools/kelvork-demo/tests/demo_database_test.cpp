// The demonstration data: the calculation reads all of it without a problem, and it shows every
// kind of result the screens and reports have.
#include "demo_database.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "calc_loader.h"
#include "finishing_steps.h"
#include "test_database.h"

namespace kelvork::demo {
namespace {

TEST(DemoDatabase, EveryKindOfResultAndNoUnreadableRow)
{
    testdb::TestDatabase tdb(Engine::SQLite);
    ASSERT_TRUE(tdb.ok()) << tdb.error().toStdString();
    DemoSettings settings;
    settings.employees = 150;
    settings.days = 31;
    settings.from = *engine::ParseDateText("2004-09-20");  // National day falls inside
    DemoSummary summary;
    const DbStatus st = WriteDemoDatabase(tdb.db(), settings, summary);
    ASSERT_TRUE(st.ok()) << st.message().toStdString();
    EXPECT_EQ(summary.employees, 150);
    EXPECT_GT(summary.punches, 150 * 31);

    engine::RunRequest request;
    request.firstDate = settings.from;
    request.lastDate = settings.from + settings.days - 1;
    engine::CalcInput input;
    std::vector<engine::RunProblem> problems;
    ASSERT_TRUE(loader::LoadCalcInput(tdb.db(), request, input, problems).ok());
    engine::WorkingTables tables;
    const auto run = engine::RunCalculation(input, request, tables, problems, engine::WithStandardFinishing());
    EXPECT_EQ(run.employeesFound, 150);
    EXPECT_TRUE(problems.empty()) << problems.front().table << " " << problems.front().value;

    auto periods = [&](int flag) {
        return std::count_if(tables.MemUClass.begin(), tables.MemUClass.end(),
                             [&](const engine::MemUClassRow& r) { return r.AbnorFlag == flag; });
    };
    for (int flag : {engine::AbnorNormal, engine::AbnorLate, engine::AbnorEarly, engine::AbnorAbsent,
                     engine::AbnorNoIn, engine::AbnorNoOut})
        EXPECT_GT(periods(flag), 0) << "AbnorFlag " << flag;
    EXPECT_TRUE(std::any_of(tables.MemUClass.begin(), tables.MemUClass.end(),
                            [](const auto& r) { return r.OnTime.view().substr(11) == "22:00"; }));  // night
    EXPECT_TRUE(std::any_of(tables.MemUClass.begin(), tables.MemUClass.end(), [](const auto& r) { return r.IsFreeTime; }));
    EXPECT_TRUE(std::any_of(tables.MemUClass.begin(), tables.MemUClass.end(), [](const auto& r) { return r.IsOverTime; }));

    auto entries = [&](std::string_view kind) {
        return std::count_if(tables.MemAbnor.rows.begin(), tables.MemAbnor.rows.end(),
                             [&](const engine::MemAbnorRow& r) { return r.Abnorshow == kind; });
    };
    EXPECT_GT(entries("自由加班"), 0);
    EXPECT_GT(entries("外出"), 0);
    EXPECT_GT(entries("公出"), 0);
    EXPECT_GT(entries("病假") + entries("事假") + entries("年假") + entries("婚假"), 0);

    auto punches = [&](std::string_view errorshow) {
        return std::count_if(tables.MemRecord2.rows.begin(), tables.MemRecord2.rows.end(),
                             [&](const engine::MemRecordRow& r) { return r.Errorshow == errorshow; });
    };
    EXPECT_GT(punches("无效记录"), 0);
    EXPECT_GT(punches("状态错误"), 0);
    EXPECT_TRUE(std::any_of(tables.MemStat.table.rows.begin(), tables.MemStat.table.rows.end(),
                            [](const auto& r) { return r.Overtime > 0; }));
}

TEST(DemoDatabase, TheSameSeedGivesTheSamePunches)
{
    auto punchesOf = [](std::uint64_t seed) {
        testdb::TestDatabase tdb(Engine::SQLite);
        DemoSettings settings;
        settings.employees = 20;
        settings.days = 10;
        settings.from = *engine::ParseDateText("2004-03-01");
        settings.seed = seed;
        DemoSummary summary;
        EXPECT_TRUE(WriteDemoDatabase(tdb.db(), settings, summary).ok());
        QStringList rows;
        Query q = tdb.db().query("select Userid || ' ' || Checktime || ' ' || Checktype from Checkinout order by Userid, Checktime");
        while (q.next()) rows << q.value(0).toString();
        return rows;
    };
    const QStringList first = punchesOf(7);
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(first, punchesOf(7));
    EXPECT_NE(first, punchesOf(8));
}

}  // namespace
}  // namespace kelvork::demo
