#include "calculation_run.h"

#include <gtest/gtest.h>

#include "calc_input_fixtures.h"

namespace kelvork::engine {
namespace {

using testing::Assign;
using testing::Day;
using testing::DayPeriod;
using testing::EveryDay;
using testing::MakePeriod;
using testing::Punch;

EmployeeRow Employee(std::string userid, std::string name, int deptid, std::string deptname, bool isatt = true) {
    return EmployeeRow{std::move(userid), std::move(name), deptid, std::move(deptname), isatt, false};
}

// Three employees; 7 and 8 work the day period every day.
CalcInput SmallCompany() {
    CalcInput in;
    in.departments = {{1, "Company", 0}, {2, "Works", 1}, {3, "Office", 1}, {4, "Workshop", 2}};
    in.employees = {Employee("7", "Ann", 4, "Workshop"), Employee("8", "Bob", 3, "Office"),
                    Employee("9", "Cid", 2, "Works", false)};
    in.periods = {DayPeriod(1, "Day")};
    in.cycles = {EveryDay(1, 1)};
    in.assignments = {Assign("7", 1, "2004-01-01", "2004-12-31"), Assign("8", 1, "2004-01-01", "2004-12-31")};
    return in;
}

RunRequest Span(const char* s, const char* e) {
    RunRequest r;
    r.firstDate = Day(s);
    r.lastDate = Day(e);
    return r;
}

TEST(CalculationRun, EveryEmployeeCalculatedInTurnWithProgress) {
    CalcInput in = SmallCompany();
    in.punches = {Punch("7", "2004-01-05 07:58:00", "I"), Punch("7", "2004-01-05 17:02:00", "O"),
                  Punch("8", "2004-01-05 08:10:00", "I"), Punch("8", "2004-01-05 17:01:00", "O"),
                  Punch("9", "2004-01-05 08:00:00", "I")};
    WorkingTables tables;
    std::vector<RunProblem> problems;
    std::vector<std::string> progress;
    RunCallbacks callbacks;
    callbacks.progress = [&](const std::string& text, int position, int total) {
        progress.push_back(text + " " + std::to_string(position) + "/" + std::to_string(total));
    };
    RunSummary summary = RunCalculation(in, Span("2004-01-05", "2004-01-05"), tables, problems, callbacks);
    EXPECT_EQ(summary.outcome, RunOutcome::Done);
    EXPECT_EQ(summary.employeesFound, 3);
    EXPECT_EQ(summary.employeesCalculated, 2);
    EXPECT_EQ(summary.employeesPassedOver, 1);
    EXPECT_EQ(progress, (std::vector<std::string>{"正在审核员工 Ann(7) 的考勤数据…… 1/3",
                                                  "正在审核员工 Bob(8) 的考勤数据…… 2/3",
                                                  "正在审核员工 Cid(9) 的考勤数据…… 3/3"}));
    EXPECT_TRUE(problems.empty());

    // Punches of the run in Lsh order, employee after employee; Cid (not taking part) has none.
    ASSERT_EQ(tables.MemRecord2.rows.size(), 4u);
    EXPECT_EQ(tables.MemRecord2.rows[2].Lsh, 3);
    EXPECT_EQ(tables.MemRecord2.rows[2].Ucode, "8");
    EXPECT_EQ(tables.MemRecord2.rows[2].Uname, "Bob");
    EXPECT_EQ(tables.MemRecord2.rows[2].Udept, "Office");
    EXPECT_EQ(tables.MemRecord2.rows[2].Timename, "Day");
    // Results ordered by department name, then employee number.
    ASSERT_EQ(tables.MemStat.table.rows.size(), 2u);
    EXPECT_EQ(tables.MemStat.table.rows[0].Ucode, "8");  // "Office" before "Workshop"
    EXPECT_EQ(tables.MemStat.table.rows[0].Lsh, 2);
    ASSERT_EQ(tables.MemUClass.size(), 2u);
    EXPECT_EQ(tables.MemUClass[0].Ucode, "8");
    EXPECT_EQ(tables.MemUClass[0].AbnorFlag, AbnorLate);
    EXPECT_EQ(tables.MemUClass[1].AOntime, "2004-01-05 07:58:00");
    EXPECT_EQ(tables.MemUClass[1].AbnorFlag, AbnorNormal);
    ASSERT_EQ(tables.MemDay.size(), 2u);
    EXPECT_EQ(tables.MemDay[1].Ucode, "7");
    EXPECT_EQ(tables.MemDay[1].Day[0], "/");
    EXPECT_EQ(tables.MemDay[0].Day[0], ">");
}

TEST(CalculationRun, EmployeeWithoutPeriodsOrPunchesHasTotalsAndDayRowsOnly) {
    CalcInput in = SmallCompany();
    in.employees = {Employee(" 5 ", "Eve", 3, "Office")};
    WorkingTables tables;
    std::vector<RunProblem> problems;
    RunCalculation(in, Span("2004-01-01", "2004-01-31"), tables, problems);
    ASSERT_EQ(tables.MemStat.table.rows.size(), 1u);
    EXPECT_EQ(tables.MemStat.table.rows[0].Attrate, 0);
    ASSERT_EQ(tables.MemDay.size(), 1u);
    EXPECT_EQ(tables.MemDay[0].Ucode, "5");  // without surrounding blanks
    for (const auto& mark : tables.MemDay[0].Day) EXPECT_TRUE(mark.empty());
    EXPECT_TRUE(tables.MemRecord2.rows.empty());
    EXPECT_TRUE(tables.MemUClass.empty());
    EXPECT_TRUE(tables.MemAbnor.rows.empty());
}

TEST(CalculationRun, SpanTimesBoundThePunchesRead) {
    CalcInput in = SmallCompany();
    in.periods = {};
    in.punches = {Punch("7", "2004-01-05 00:00:00", "I"), Punch("7", "2004-01-05 00:00:01", "I"),
                  Punch("7", "2004-01-06 23:59:59", "O"), Punch("7", "2004-01-07 00:00:00", "O")};
    WorkingTables tables;
    std::vector<RunProblem> problems;
    RunRequest request = Span("2004-01-05", "2004-01-06");
    request.userid = "7";
    RunCalculation(in, request, tables, problems);
    std::vector<std::string> times;
    for (const auto& r : tables.MemRecord2.rows) times.push_back(r.Checktime.str());
    EXPECT_EQ(times, (std::vector<std::string>{"2004-01-05 00:00:01", "2004-01-06 23:59:59"}));
    request.firstTime = 0;
    RunCalculation(in, request, tables, problems);
    EXPECT_EQ(tables.MemRecord2.rows.size(), 3u);
}

TEST(CalculationRun, StoredPunchesBeyondTheSpanChooseBetweenOverlappingPeriods) {
    // On the last date of the span a day period and a night period overlap from 12:00 to 17:30; the
    // night period's window ends the next morning, after the span.
    CalcInput in = SmallCompany();
    in.employees = {Employee("7", "Ann", 4, "Workshop")};
    in.periods = {DayPeriod(1, "Day"), MakePeriod(2, "Night", "22:00", "06:00", "12:00", "22:30", "05:30", "06:30")};
    in.cycles = {EveryDay(1, 1), EveryDay(1, 2)};
    in.punches = {Punch("7", "2004-01-05 12:30:00", "I")};
    WorkingTables tables;
    std::vector<RunProblem> problems;
    RunCalculation(in, Span("2004-01-05", "2004-01-05"), tables, problems);
    EXPECT_EQ(tables.MemRecord2.rows[0].Timename, "");  // Day chosen (equal spans): not a check-in there
    in.punches.push_back(Punch("7", "2004-01-06 06:10:00", "O"));  // outside the span, still stored
    RunCalculation(in, Span("2004-01-05", "2004-01-05"), tables, problems);
    ASSERT_EQ(tables.MemRecord2.rows.size(), 1u);
    EXPECT_EQ(tables.MemRecord2.rows[0].Timename, "Night");
    EXPECT_EQ(tables.MemRecord2.rows[0].Utype, "I");
}

TEST(CalculationRun, NoEmployeeFoundAndEmptySpan) {
    CalcInput in = SmallCompany();
    WorkingTables tables;
    tables.MemDay.resize(3);
    std::vector<RunProblem> problems;
    RunRequest request = Span("2004-01-06", "2004-01-05");
    EXPECT_EQ(RunCalculation(in, request, tables, problems).outcome, RunOutcome::EmptySpan);
    EXPECT_EQ(tables.MemDay.size(), 3u);  // nothing done at all

    request = Span("2004-01-05", "2004-01-05");
    request.deptids = std::vector<int>{99};
    RunSummary summary = RunCalculation(in, request, tables, problems);
    EXPECT_EQ(summary.outcome, RunOutcome::NoUser);
    EXPECT_EQ(summary.message, "选择的部门没有员工，请重新选择！");
    EXPECT_TRUE(tables.MemDay.empty());  // the tables were emptied before the employees were looked up
    request.deptids.reset();
    request.userid = "77";  // the number is compared exactly
    EXPECT_EQ(RunCalculation(in, request, tables, problems).outcome, RunOutcome::NoUser);
}

TEST(CalculationRun, CancelStopsBetweenEmployees) {
    CalcInput in = SmallCompany();
    WorkingTables tables;
    std::vector<RunProblem> problems;
    int asked = 0;
    RunCallbacks callbacks;
    callbacks.cancelRequested = [&] { return ++asked > 1; };
    RunSummary summary = RunCalculation(in, Span("2004-01-05", "2004-01-05"), tables, problems, callbacks);
    EXPECT_EQ(summary.outcome, RunOutcome::Cancelled);
    EXPECT_EQ(summary.employeesCalculated, 1);
    ASSERT_EQ(tables.MemStat.table.rows.size(), 1u);
    EXPECT_EQ(tables.MemStat.table.rows[0].Ucode, "7");
}

TEST(CalculationRun, ReportsRowsItCannotUseAndGoesOn) {
    CalcInput in = SmallCompany();
    in.punches = {Punch("7", "2004-01-05 07:58:00", "I"), Punch("7", "2004-01-05 25:00:00", "O"),
                  Punch("8", "yesterday", "I")};
    in.holidays = {{1, "Bad", "someday", 1}, {2, "Negative", "2004-01-01 00:00:00", -3}};
    in.parameters.leaveClasses = {{1, "Leave", 0, "L"}};
    in.parameters.items[ItemLate].MinUnit = 0;
    WorkingTables tables;
    std::vector<RunProblem> problems;
    RunCalculation(in, Span("2004-01-05", "2004-01-05"), tables, problems);
    std::vector<std::string> seen;
    for (const auto& p : problems) seen.push_back(p.Userid + "/" + p.table + "/" + p.value);
    EXPECT_EQ(seen, (std::vector<std::string>{"/LeaveClass/Classid=1 Classname=Leave",
                                              "/Statitems/Late.MinUnit=0",
                                              "/Holiday/Holidayid=1 BDate=someday",
                                              "/Holiday/Holidayid=2 Days=-3",
                                              "7/Checkinout/Checktime=2004-01-05 25:00:00",
                                              "8/Checkinout/Checktime=yesterday"}));
    EXPECT_EQ(tables.MemRecord2.rows.size(), 1u);
    EXPECT_EQ(tables.MemStat.table.rows.size(), 2u);
}

TEST(DepartmentSubtree, WalksTheTreeAsThePickerBuildsIt) {
    struct Case {
        std::vector<DepartmentRow> departments;
        int chosen;
        std::vector<int> expected;
    } cases[] = {
        // 6 under 1 and 4 under 6: ordered by parent, 6 comes first, so both are found.
        {{{1, "Root", 0}, {6, "Six", 1}, {4, "Four", 6}}, 1, {1, 6, 4}},
        // 6 under 4 and 4 under 1: 4 comes first.
        {{{1, "Root", 0}, {6, "Six", 4}, {4, "Four", 1}}, 1, {1, 4, 6}},
        // 4 under 6, 6 under 7, 7 under the root: 4's row comes before 6 is placed, so 4 is left out.
        {{{1, "Root", 0}, {4, "Four", 6}, {6, "Six", 7}, {7, "Seven", 1}}, 7, {7, 6}},
        // Pre-order: a child's subtree before its next sibling.
        {{{1, "Root", 0}, {2, "A", 1}, {3, "B", 1}, {5, "A1", 2}, {8, "B1", 3}}, 1, {1, 2, 5, 3, 8}},
        {{{1, "Root", 0}, {2, "A", 1}, {3, "B", 1}, {5, "A1", 2}}, 3, {3}},
        {{{1, "Root", 0}}, 42, {42}},
    };
    for (const Case& c : cases) EXPECT_EQ(DepartmentSubtree(c.departments, c.chosen), c.expected);

    CalcInput in = SmallCompany();
    RunRequest request = Span("2004-01-05", "2004-01-05");
    request.deptids = DepartmentSubtree(in.departments, 2);
    std::vector<std::string> chosen;
    for (const EmployeeRow* e : ChooseEmployees(in, request)) chosen.push_back(e->Userid);
    EXPECT_EQ(chosen, (std::vector<std::string>{"7", "9"}));
}

}  // namespace
}  // namespace kelvork::engine
