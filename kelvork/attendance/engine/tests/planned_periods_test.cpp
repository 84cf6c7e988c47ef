#include "planned_periods.h"

#include <gtest/gtest.h>

#include <map>

#include "calc_input_fixtures.h"

namespace kelvork::engine {
namespace {

using testing::Assign;
using testing::Day;
using testing::DayPeriod;
using testing::EveryDay;
using testing::MakePeriod;
using testing::MakeSlot;

// A small world: periods, cycles, holidays, and one employee's assignments and temporary shifts.
struct Plan {
    std::vector<PeriodRow> periods;
    std::vector<CycleRow> cycles;
    std::vector<HolidayRow> holidays;
    std::vector<AssignmentRow> assignments;
    std::vector<TempShiftRow> temps;
    std::vector<RunProblem> problems;
    bool isrest = false;
    int twoday = 0;

    EmployeePlan Employee() const {
        EmployeePlan p{"7", "Dept", "Ann", isrest, {}, {}};
        for (const auto& a : assignments) p.assignments.push_back(&a);
        for (const auto& t : temps) p.tempShifts.push_back(&t);
        return p;
    }
    std::vector<MemTabRow> Resolve(const char* s, const char* e) {
        PlanCatalog catalog(periods, cycles, holidays, problems);
        return ResolvePlannedPeriods(catalog, Employee(), Day(s), Day(e), twoday, problems);
    }
    std::vector<MemClassRow> List(const char* s, const char* e) {
        PlanCatalog catalog(periods, cycles, holidays, problems);
        return ListPlannedPeriods(catalog, Employee(), Day(s), Day(e), problems);
    }
};

std::vector<std::string> Dates(const std::vector<MemTabRow>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.UDate.str() + " " + r.TimeName.str());
    return out;
}

TEST(CycleBeginDay, MapsDatesOntoCycleDays) {
    struct Case {
        int units, cycles;
        const char* begin;
        const char* date;
        int beginDay;
    } cases[] = {
        {0, 3, "2004-01-01", "2004-01-05", 1},   // n = 5
        {0, 3, "2004-01-01", "2004-01-01", 0},
        {1, 2, "2004-01-07", "2004-01-07", 3},   // Wednesday of the first week
        {1, 2, "2004-01-07", "2004-01-13", 2},   // Tuesday, still the first week block
        {1, 2, "2004-01-07", "2004-01-14", 10},  // Wednesday of the second week
        {1, 2, "2004-01-07", "2004-01-21", 3},   // the cycle starts again
        {2, 2, "2004-01-20", "2004-01-25", 24},
        {2, 2, "2004-01-20", "2004-02-03", 33},
        {2, 2, "2004-01-20", "2004-03-01", 0},
        {2, 1, "2004-01-20", "2004-03-31", 30},  // one month: always the first 31 slots
        {2, 3, "2003-11-15", "2004-01-02", 63},  // across a year: third month of the cycle
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CycleBeginDay(c.units, c.cycles, Day(c.begin), Day(c.date)), c.beginDay)
            << c.units << " " << c.cycles << " " << c.begin << " " << c.date;
    }
}

TEST(PeriodClockTexts, PlacesPeriodsAndWindowsOnDates) {
    struct Case {
        const char* in;
        const char* out;
        const char* bIn;
        const char* eIn;
        const char* bOut;
        const char* eOut;
        int twoday;
        bool floating;
        PeriodClock expected;
    } cases[] = {
        {"08:00", "17:00", "07:30", "08:30", "16:30", "17:30", 0, false,
         {"2004-01-05 08:00", "2004-01-05 17:00", "2004-01-05 07:30", "2004-01-05 08:30", "2004-01-05 16:30",
          "2004-01-05 17:30"}},
        // Night period 22:00-06:00 belongs to the day it starts on ...
        {"22:00", "06:00", "21:30", "22:30", "05:30", "06:30", 0, false,
         {"2004-01-05 22:00", "2004-01-06 06:00", "2004-01-05 21:30", "2004-01-05 22:30", "2004-01-06 05:30",
          "2004-01-06 06:30"}},
        // ... or to the day it ends on.
        {"22:00", "06:00", "21:30", "22:30", "05:30", "06:30", 1, false,
         {"2004-01-04 22:00", "2004-01-05 06:00", "2004-01-04 21:30", "2004-01-04 22:30", "2004-01-05 05:30",
          "2004-01-05 06:30"}},
        // A check-in window passing midnight before a period starting at midnight.
        {"00:00", "08:00", "23:30", "00:30", "07:30", "08:30", 0, false,
         {"2004-01-05 00:00", "2004-01-05 08:00", "2004-01-04 23:30", "2004-01-05 00:30", "2004-01-05 07:30",
          "2004-01-05 08:30"}},
        // A check-out window passing midnight after a day period.
        {"16:00", "23:50", "15:30", "16:30", "23:20", "00:20", 0, false,
         {"2004-01-05 16:00", "2004-01-05 23:50", "2004-01-05 15:30", "2004-01-05 16:30", "2004-01-05 23:20",
          "2004-01-06 00:20"}},
        // Night period whose windows pass midnight too, on either day.
        {"23:40", "07:50", "23:10", "00:10", "07:20", "08:20", 0, false,
         {"2004-01-05 23:40", "2004-01-06 07:50", "2004-01-05 23:10", "2004-01-06 00:10", "2004-01-06 07:20",
          "2004-01-06 08:20"}},
        {"00:10", "00:05", "23:40", "00:40", "23:50", "00:20", 0, false,
         {"2004-01-05 00:10", "2004-01-06 00:05", "2004-01-05 23:40", "2004-01-06 00:40", "2004-01-05 23:50",
          "2004-01-06 00:20"}},
        {"00:10", "00:05", "23:40", "00:40", "23:50", "00:20", 1, false,
         {"2004-01-04 00:10", "2004-01-05 00:05", "2004-01-04 23:40", "2004-01-05 00:40", "2004-01-04 23:50",
          "2004-01-05 00:20"}},
        // Equal start and end: 24 hours passing midnight.
        {"08:00", "08:00", "07:30", "08:30", "07:30", "08:30", 0, false,
         {"2004-01-05 08:00", "2004-01-06 08:00", "2004-01-05 07:30", "2004-01-05 08:30", "2004-01-06 07:30",
          "2004-01-06 08:30"}},
        // A floating period's windows are the whole period.
        {"09:00", "17:00", "07:30", "08:30", "16:30", "17:30", 0, true,
         {"2004-01-05 09:00", "2004-01-05 17:00", "2004-01-05 09:00", "2004-01-05 17:00", "2004-01-05 09:00",
          "2004-01-05 17:00"}},
    };
    for (const Case& c : cases) {
        PeriodRow row = MakePeriod(1, "P", c.in, c.out, c.bIn, c.eIn, c.bOut, c.eOut);
        row.IsFreetime = c.floating;
        std::vector<RunProblem> problems;
        std::vector<PeriodRow> rows{row};
        const std::vector<CycleRow> noCycles;
        const std::vector<HolidayRow> noHolidays;
        PlanCatalog live(rows, noCycles, noHolidays, problems);
        const PeriodClock got = PeriodClockTexts(*live.Period(1), Day("2004-01-05"), c.twoday);
        SCOPED_TRACE(std::string(c.in) + "-" + c.out + " twoday " + std::to_string(c.twoday));
        EXPECT_EQ(got.OnTime, c.expected.OnTime);
        EXPECT_EQ(got.OffTime, c.expected.OffTime);
        EXPECT_EQ(got.SOntime, c.expected.SOntime);
        EXPECT_EQ(got.EOntime, c.expected.EOntime);
        EXPECT_EQ(got.SOfftime, c.expected.SOfftime);
        EXPECT_EQ(got.EOfftime, c.expected.EOfftime);
    }
}

TEST(ResolvePlannedPeriods, FillsTheRowFromThePeriod) {
    Plan plan;
    PeriodRow day = DayPeriod(4, "Morning");
    day.Latetime = 5;
    day.Leavetime = 3;
    day.WorkDays = 1.5;
    day.Longtime = 540;
    PeriodRow floating = MakePeriod(5, "Free", "09:00", "17:00", "07:30", "08:30", "16:30", "17:30");
    floating.IsFreetime = true;
    floating.IsOvertime = true;
    floating.Latetime = 9;
    plan.periods = {day, floating};
    plan.cycles = {EveryDay(1, 4, true), EveryDay(1, 5, true)};
    plan.assignments = {Assign("7", 1, "2004-01-01", "2004-12-31")};
    auto rows = plan.Resolve("2004-01-05", "2004-01-05");
    ASSERT_EQ(rows.size(), 2u);
    const MemTabRow& r = rows[0];
    EXPECT_EQ(r.Ucode, "7");
    EXPECT_EQ(r.Udept, "Dept");
    EXPECT_EQ(r.Uname, "Ann");
    EXPECT_EQ(r.UDate, "2004-01-05");
    EXPECT_EQ(r.TimeName, "Morning");
    EXPECT_EQ(r.TimeID, 4);
    EXPECT_EQ(r.LateTime, 5);
    EXPECT_EQ(r.EarlyTime, 3);
    EXPECT_TRUE(r.OnFlag && r.OffFlag);
    EXPECT_DOUBLE_EQ(r.Workday, 1.5);
    EXPECT_EQ(r.WorkLong, 540);
    EXPECT_TRUE(r.AutoClass);
    EXPECT_TRUE(r.AOntime.empty() && r.TLate.empty() && r.Memo.empty());
    EXPECT_EQ(r.MaxFlag, 0);
    const MemTabRow& f = rows[1];
    EXPECT_TRUE(f.IsFreeTime && f.IsOverTime);
    EXPECT_FALSE(f.OnFlag || f.OffFlag);
    EXPECT_EQ(f.LateTime, 0);
    EXPECT_EQ(f.SOntime, "2004-01-05 09:00");
    EXPECT_EQ(f.EOfftime, "2004-01-05 17:00");
    EXPECT_TRUE(plan.problems.empty());
}

TEST(ResolvePlannedPeriods, EndBeforeStartGivesNothing) {
    Plan plan;
    plan.periods = {DayPeriod()};
    plan.cycles = {EveryDay(1, 1)};
    plan.assignments = {Assign("7", 1, "2004-01-01", "2004-12-31")};
    plan.temps = {{"7", 1, "2004-01-05"}};
    EXPECT_TRUE(plan.Resolve("2004-01-05", "2004-01-04").empty());
    EXPECT_TRUE(plan.List("2004-01-05", "2004-01-04").empty());
}

TEST(ResolvePlannedPeriods, LaterAssignmentFillsItsDaysAndTheEarlierTheRest) {
    Plan plan;
    plan.periods = {DayPeriod(1, "A"), DayPeriod(2, "B")};
    plan.cycles = {EveryDay(1, 1), EveryDay(2, 2)};
    plan.assignments = {Assign("7", 1, "2004-01-01", "2004-01-15"), Assign("7", 2, "2004-01-16", "2004-12-31")};
    auto rows = plan.Resolve("2004-01-01", "2004-01-31");
    ASSERT_EQ(rows.size(), 31u);
    for (std::size_t d = 0; d < rows.size(); ++d) {
        EXPECT_EQ(rows[d].UDate, DateText(Day("2004-01-01") + static_cast<int>(d)));
        EXPECT_EQ(rows[d].TimeName, d < 15 ? "A" : "B") << d;
    }
}

TEST(ResolvePlannedPeriods, OverlappingAssignmentsKeepBothAndTheLastDayRule) {
    Plan plan;
    plan.periods = {DayPeriod(1, "A"), MakePeriod(2, "B", "20:00", "23:00", "19:30", "20:30", "22:30", "23:30")};
    plan.cycles = {EveryDay(1, 1), EveryDay(2, 2)};
    // B from the 10th to the 20th, A the whole year: B fills 9..19; A, reaching further than B's
    // last day, fills up to that last day less one (0..18), so the 21st to the 31st stay empty.
    plan.assignments = {Assign("7", 1, "2004-01-01", "2004-12-31"), Assign("7", 2, "2004-01-10", "2004-01-20")};
    auto rows = plan.Resolve("2004-01-01", "2004-01-31");
    std::map<std::string, std::string> byDate;
    for (const auto& r : rows) byDate[r.UDate.str()] += r.TimeName.str();
    EXPECT_EQ(byDate["2004-01-01"], "A");
    EXPECT_EQ(byDate["2004-01-09"], "A");
    EXPECT_EQ(byDate["2004-01-10"], "AB");
    EXPECT_EQ(byDate["2004-01-19"], "AB");
    EXPECT_EQ(byDate["2004-01-20"], "B");
    EXPECT_EQ(byDate.count("2004-01-21"), 0u);
    EXPECT_EQ(rows.size(), 19u + 11u);
}

TEST(ResolvePlannedPeriods, AssignmentReachingBackStopsTheOlderOnesAndCyclesWithoutPeriodsAreSkipped) {
    Plan plan;
    plan.periods = {DayPeriod(1, "A"), DayPeriod(2, "B")};
    plan.cycles = {EveryDay(1, 1), EveryDay(2, 2)};
    // Cycle 3 has no period: its assignment is passed over without changing the last day.
    plan.assignments = {Assign("7", 1, "2003-12-01", "2004-12-31"), Assign("7", 2, "2003-11-01", "2004-12-31"),
                        Assign("7", 3, "2004-01-03", "2004-01-04"), Assign("8", 2, "2004-01-01", "2004-01-31")};
    auto rows = plan.Resolve("2004-01-01", "2004-01-05");
    EXPECT_EQ(Dates(rows), (std::vector<std::string>{"2004-01-01 A", "2004-01-02 A", "2004-01-03 A",
                                                    "2004-01-04 A", "2004-01-05 A"}));
}

TEST(ResolvePlannedPeriods, OrdersByDateThenStartAndNightPeriodsMayStartTheDayBefore) {
    Plan plan;
    plan.twoday = 1;
    plan.periods = {DayPeriod(1, "Day"), MakePeriod(2, "Night", "22:00", "06:00", "21:30", "22:30", "05:30", "06:30")};
    plan.cycles = {EveryDay(1, 1), EveryDay(1, 2)};
    plan.assignments = {Assign("7", 1, "2004-01-01", "2004-12-31")};
    auto rows = plan.Resolve("2004-01-05", "2004-01-06");
    EXPECT_EQ(Dates(rows), (std::vector<std::string>{"2004-01-05 Night", "2004-01-05 Day", "2004-01-06 Night",
                                                    "2004-01-06 Day"}));
    EXPECT_EQ(rows[0].OnTime, "2004-01-04 22:00");
}

TEST(ResolvePlannedPeriods, HolidaysEmptyTheirDatesOnlyForEmployeesWhoRest) {
    for (bool isrest : {true, false}) {
        Plan plan;
        plan.isrest = isrest;
        plan.periods = {DayPeriod()};
        plan.cycles = {EveryDay(1, 1)};
        plan.assignments = {Assign("7", 1, "2004-01-01", "2004-12-31")};
        plan.holidays = {{1, "New year", "2004-01-02 00:00:00", 2},
                         // Begins more than 10 days before S: not read, its days keep their periods.
                         {2, "Long", "2003-12-20 00:00:00", 30},
                         // Begins 10 days before S: read.
                         {3, "Near", "2003-12-27 00:00:00", 12}};
        auto rows = plan.Resolve("2004-01-06", "2004-01-10");
        std::vector<std::string> dates;
        for (const auto& r : rows) dates.push_back(r.UDate.str());
        if (isrest) {
            EXPECT_EQ(dates, (std::vector<std::string>{"2004-01-08", "2004-01-09", "2004-01-10"}));
        } else {
            EXPECT_EQ(dates.size(), 5u);
        }
    }
}

TEST(ResolvePlannedPeriods, TemporaryShiftsReplaceTheDaysPeriods) {
    Plan plan;
    plan.isrest = true;
    plan.periods = {DayPeriod(1, "Day"), DayPeriod(2, "Temp"), DayPeriod(3, "Temp2")};
    plan.cycles = {EveryDay(1, 1, true)};
    plan.assignments = {Assign("7", 1, "2004-01-01", "2004-12-31")};
    plan.holidays = {{1, "Holiday", "2004-01-07 00:00:00", 1}};
    plan.temps = {{"7", -1, "2004-01-06"},               // a day without periods
                  {"7", 2, "2004-01-07"},                // a temporary period on a holiday stays
                  {"7", 3, "2004-01-08"}, {"7", 2, "2004-01-08"},  // two periods on one date
                  {"7", 99, "2004-01-09"},               // its period no longer exists
                  {"8", 2, "2004-01-05"}};               // another employee's
    auto rows = plan.Resolve("2004-01-05", "2004-01-10");
    EXPECT_EQ(Dates(rows), (std::vector<std::string>{"2004-01-05 Day", "2004-01-07 Temp", "2004-01-08 Temp2",
                                                    "2004-01-08 Temp", "2004-01-10 Day"}));
    EXPECT_FALSE(rows[1].AutoClass);
    EXPECT_TRUE(rows[0].AutoClass);
}

TEST(ResolvePlannedPeriods, TemporaryShiftsApplyWithoutAnyCycle) {
    Plan plan;
    plan.periods = {DayPeriod(2, "Temp")};
    plan.temps = {{"7", 2, "2004-01-07"}, {"7", 2, "2004-02-07"}};
    EXPECT_EQ(Dates(plan.Resolve("2004-01-01", "2004-01-31")), (std::vector<std::string>{"2004-01-07 Temp"}));
}

TEST(ResolvePlannedPeriods, ReportsRowsItCannotUseAndGoesOn) {
    Plan plan;
    PeriodRow broken = DayPeriod(2, "Broken");
    broken.Intime = "25:99";
    PeriodRow noWindows = DayPeriod(3, "NoWindows");
    noWindows.EOuttime = "";
    PeriodRow freeNoWindows = noWindows;
    freeNoWindows.Timeid = 4;
    freeNoWindows.Timename = "Free";
    freeNoWindows.IsFreetime = true;  // its windows are not used
    plan.periods = {DayPeriod(1, "Day"), broken, noWindows, freeNoWindows};
    plan.cycles = {EveryDay(1, 1), EveryDay(1, 2), EveryDay(1, 3), EveryDay(1, 4),
                   MakeSlot(2, 0, 0, 0, 1),   // a cycle of 0 units
                   MakeSlot(3, 1, 7, 0, 1)};  // units that are no day, week or month
    plan.assignments = {Assign("7", 1, "2004-01-01", "2004-01-31"), Assign("7", 2, "2004-02-01", "2004-02-28"),
                        Assign("7", 3, "2004-03-01", "2004-03-31"), Assign("7", 1, "2004-01-01x", "2004-12-31")};
    plan.temps = {{"7", 1, "2004-01-01 "}};  // text inside the range, but no date
    auto rows = plan.Resolve("2004-01-01", "2004-01-02");
    EXPECT_EQ(Dates(rows), (std::vector<std::string>{"2004-01-01 Day", "2004-01-01 Free", "2004-01-02 Day",
                                                    "2004-01-02 Free"}));
    std::vector<std::string> tables;
    for (const auto& p : plan.problems) tables.push_back(p.Userid + "/" + p.table + "/" + p.value);
    EXPECT_EQ(tables, (std::vector<std::string>{
                          "/TimeTable/Timeid=2 Intime=25:99",
                          "/TimeTable/Timeid=3 EOuttime=",
                          "7/Usershift/Schid=1 BeginDate=2004-01-01x EndDate=2004-12-31",
                          "7/UserTempshift/Timeid=1 Workdate=2004-01-01 ",
                      }));
    // Cycles of 0 units or unknown units are reported with the assignment.
    plan.problems.clear();
    EXPECT_TRUE(plan.Resolve("2004-02-01", "2004-03-31").empty());
    ASSERT_GE(plan.problems.size(), 4u);
    EXPECT_EQ(plan.problems[2].value, "Schid=3 BeginDate=2004-03-01 EndDate=2004-03-31 Cycles=1 Units=7");
    EXPECT_EQ(plan.problems[3].value, "Schid=2 BeginDate=2004-02-01 EndDate=2004-02-28 Cycles=0 Units=0");
}

TEST(ListPlannedPeriods, GivesNamesAndTimesOfDayInStartOrder) {
    Plan plan;
    plan.isrest = true;
    plan.periods = {MakePeriod(1, "Late", "14:00", "22:00", "13:30", "14:30", "21:30", "22:30"), DayPeriod(2, "Early")};
    plan.cycles = {MakeSlot(1, 1, 1, 1, 1), MakeSlot(1, 1, 1, 1, 2), MakeSlot(1, 1, 1, 2, 1)};  // Monday both, Tuesday late
    plan.assignments = {Assign("7", 1, "2004-01-01", "2004-12-31")};
    plan.holidays = {{1, "H", "2004-01-06 00:00:00", 1}};  // the Tuesday
    auto rows = plan.List("2004-01-05", "2004-01-13");
    ASSERT_EQ(rows.size(), 5u);
    // Order is by start time alone, the dates mixed.
    EXPECT_EQ(rows[0].UDate, "2004-01-05");
    EXPECT_EQ(rows[0].TimeName, "Early");
    EXPECT_EQ(rows[0].OnTime, "08:00");
    EXPECT_EQ(rows[0].OffTime, "17:00");
    EXPECT_EQ(rows[1].UDate, "2004-01-12");
    EXPECT_EQ(rows[2].TimeName, "Late");
    EXPECT_EQ(rows[4].UDate, "2004-01-13");
    EXPECT_EQ(rows[4].Ucode, "7");
}

}  // namespace
}  // namespace kelvork::engine
