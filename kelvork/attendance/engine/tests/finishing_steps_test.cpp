// A whole run with the standard finishing steps: evaluation, leaves, outings, totals, day marks.

#include "finishing_steps.h"

#include <gtest/gtest.h>

#include "calc_input_fixtures.h"

namespace kelvork::engine {
namespace {

using testing::Day;
using testing::Punch;

CalcInput ThreeDays() {
    CalcInput in;
    EmployeeRow e;
    e.Userid = "7";
    e.Name = "Li";
    e.Deptid = 1;
    e.Deptname = "Sales";
    e.IsAtt = true;
    in.employees = {e};
    in.departments = {{1, "Sales", 0}};
    in.periods = {testing::DayPeriod(1)};
    in.cycles = {testing::EveryDay(1, 1)};
    in.assignments = {testing::Assign("7", 1, "2024-01-01", "2024-12-31")};
    in.punches = {
        Punch("7", "2024-01-08 07:58:00", "I"), Punch("7", "2024-01-08 10:00:00", "0"),
        Punch("7", "2024-01-08 10:40:00", "1"), Punch("7", "2024-01-08 17:02:00", "O"),
        Punch("7", "2024-01-10 08:10:00", "I"), Punch("7", "2024-01-10 17:00:00", "O"),
        Punch("7", "2024-01-10 19:00:00", "i"), Punch("7", "2024-01-10 21:30:00", "o"),
    };
    in.leaves = {{1, "7", "2024-01-09 10:00:00", "2024-01-09 12:00:00", 3, "flu"},
                 {2, "7", "2024-01-20 08:00:00", "2024-01-20 17:00:00", 3, "outside the span"}};
    in.parameters.leaveClasses = {{3, "Sick", 255, "S"}};
    for (TStatItem& item : in.parameters.items) {
        item.Units = UnitMinutes;
        item.MinUnit = 1;
        item.SRControl = RoundDown;
    }
    return in;
}

TEST(FinishingSteps, RunWithLeavesOutingsAndDayMarks) {
    const CalcInput input = ThreeDays();
    RunRequest request;
    request.firstDate = Day("2024-01-08");
    request.lastDate = Day("2024-01-10");
    WorkingTables tables;
    std::vector<RunProblem> problems;
    const RunSummary summary = RunCalculation(input, request, tables, problems, WithStandardFinishing());
    ASSERT_EQ(summary.outcome, RunOutcome::Done);
    EXPECT_TRUE(problems.empty());

    ASSERT_EQ(tables.MemStat.table.rows.size(), 1u);
    const MemStatRow& s = tables.MemStat.table.rows[0];
    EXPECT_EQ(s.Normal, 1440);
    EXPECT_EQ(s.Actual, 960);
    EXPECT_EQ(s.Latetime, 10);
    EXPECT_EQ(s.Earlytime, 0);
    EXPECT_EQ(s.Absenttime, 360);
    EXPECT_EQ(s.Noin, 1);
    EXPECT_EQ(s.Noout, 1);
    EXPECT_EQ(s.Awaytime, 40);
    EXPECT_EQ(s.Freeovertime, 150);
    EXPECT_EQ(s.Leave, 120);
    ASSERT_EQ(s.LeaveClasses.size(), 1u);
    EXPECT_EQ(s.LeaveClasses[0], 120);
    EXPECT_EQ(s.Worktime, 15.2);  // 16 h less 10 minutes late and 40 minutes out
    EXPECT_EQ(s.Attrate, 67);

    ASSERT_EQ(tables.MemAbnor.rows.size(), 3u);
    EXPECT_EQ(tables.MemAbnor.rows[0].Abnorshow, "外出");
    EXPECT_EQ(tables.MemAbnor.rows[1].Abnorshow, "Sick");
    EXPECT_EQ(tables.MemAbnor.rows[1].Timelong, "02:00:00");
    EXPECT_EQ(tables.MemAbnor.rows[2].Abnorshow, "自由加班");
    EXPECT_EQ(tables.MemAbnor.rows[2].Timelong, "02:30:00");

    ASSERT_EQ(tables.MemDay.size(), 1u);
    EXPECT_EQ(tables.MemDay[0].Day[0], "/");
    EXPECT_EQ(tables.MemDay[0].Day[1], "S");
    EXPECT_EQ(tables.MemDay[0].Day[2], ">");
    EXPECT_EQ(tables.MemDay[0].Day[3], "");

    ASSERT_EQ(tables.MemUClass.size(), 3u);
    EXPECT_EQ(tables.MemUClass[1].Memo, "Sick");
    EXPECT_FALSE(tables.MemUClass[1].IsNowork);
}

}  // namespace
}  // namespace kelvork::engine
