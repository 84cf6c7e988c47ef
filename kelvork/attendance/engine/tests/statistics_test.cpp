// Conversion, rounding and the finish of an employee's totals.

#include "statistics.h"

#include <gtest/gtest.h>

namespace kelvork::engine {
namespace {

AttendanceParameters ParamsWith(StatItemIndex index, int units, double minUnit, int srControl,
                                bool isaddup = false, bool istimes = false) {
    AttendanceParameters p;
    p.basePar.Workdaylong = 480;
    TStatItem& item = p.items[index];
    item.Units = units;
    item.MinUnit = minUnit;
    item.SRControl = srControl;
    item.Isaddup = isaddup;
    item.Istimes = istimes;
    return p;
}

struct FigureCase {
    const char* what;
    int units;
    double minUnit;
    int srControl;
    double seconds;
    double expected;
};

TEST(StatisticsFigure, RoundsEachFigureToTheMinimum) {
    const FigureCase cases[] = {
        {"5:30 down", UnitMinutes, 1, RoundDown, 330, 5},
        {"5:30 up", UnitMinutes, 1, RoundUp, 330, 6},
        {"5:30 nearest goes to even 6", UnitMinutes, 1, RoundNearest, 330, 6},
        {"4:30 nearest goes to even 4", UnitMinutes, 1, RoundNearest, 270, 4},
        {"exactly 5 minutes up stays 5", UnitMinutes, 1, RoundUp, 300, 5},
        {"20 minutes in half hours up", UnitHours, 0.5, RoundUp, 1200, 0.5},
        {"31 minutes in half hours up", UnitHours, 0.5, RoundUp, 1860, 1},
        {"90 minutes in tenths of hours up", UnitHours, 0.1, RoundUp, 5400, 1.5},
        {"54 minutes in tenths of hours down", UnitHours, 0.1, RoundDown, 3240, 0.9},
        {"4 hours in workdays of 480, quarter days", UnitWorkdays, 0.25, RoundDown, 14400, 0.5},
        {"minimum 0.3 gives clean multiples", UnitMinutes, 0.3, RoundUp, 50, 0.9},
    };
    for (const FigureCase& c : cases) {
        StatRules rules(ParamsWith(ItemLate, c.units, c.minUnit, c.srControl));
        EXPECT_EQ(rules.Figure(ItemLate, c.seconds, ValueKind::Seconds), c.expected) << c.what;
        EXPECT_EQ(rules.Figure(ItemLate, c.seconds / 86400, ValueKind::DayFraction), c.expected)
            << c.what << " (as a day fraction)";
    }
}

TEST(StatisticsFigure, ConvertsEveryKindIntoEveryUnit) {
    struct Case { int units; ValueKind kind; double v; double expected; } cases[] = {
        {UnitMinutes, ValueKind::Minutes, 90, 90},   {UnitHours, ValueKind::Minutes, 90, 1.5},
        {UnitWorkdays, ValueKind::Minutes, 240, 0.5}, {UnitMinutes, ValueKind::DayFraction, 0.5, 720},
        {UnitHours, ValueKind::DayFraction, 0.5, 12}, {UnitWorkdays, ValueKind::DayFraction, 0.5, 1.5},
        {UnitMinutes, ValueKind::Workdays, 2, 960},  {UnitHours, ValueKind::Workdays, 2, 16},
        {UnitWorkdays, ValueKind::Workdays, 2, 2},
    };
    for (const Case& c : cases) {
        StatRules rules(ParamsWith(ItemNormal, c.units, 0.5, RoundNearest));
        EXPECT_DOUBLE_EQ(rules.Convert(ItemNormal, c.v, c.kind), c.expected);
        EXPECT_EQ(rules.Figure(ItemNormal, c.v, c.kind), c.expected);
    }
}

TEST(StatisticsFigure, RoundingAfterAccumulatingKeepsFiguresAndRoundsTheTotal) {
    StatRules rules(ParamsWith(ItemLate, UnitMinutes, 10, RoundDown, /*isaddup=*/true));
    StatTotals t;
    t.Latetime += rules.Count(ItemLate, 7, ValueKind::Minutes);
    t.Latetime += rules.Count(ItemLate, 8, ValueKind::Minutes);
    EXPECT_EQ(t.Latetime, 15);
    rules.FinishTotals(t);
    EXPECT_EQ(t.Latetime, 10);

    StatRules perFigure(ParamsWith(ItemLate, UnitMinutes, 10, RoundDown, /*isaddup=*/false));
    EXPECT_EQ(perFigure.Count(ItemLate, 7, ValueKind::Minutes) +
                  perFigure.Count(ItemLate, 8, ValueKind::Minutes),
              0);
}

TEST(StatisticsFigure, LeaveIsRoundedPerLeaveAndAgainAsATotal) {
    StatRules rules(ParamsWith(ItemLeave, UnitHours, 1, RoundUp, /*isaddup=*/true));
    StatTotals t;
    t.Leave += rules.Count(ItemLeave, 90, ValueKind::Minutes);  // 1.5 h -> 2
    t.Leave += rules.Count(ItemLeave, 30, ValueKind::Minutes);  // 0.5 h -> 1
    EXPECT_EQ(t.Leave, 3);
    rules.FinishTotals(t);
    EXPECT_EQ(t.Leave, 3);

    StatRules halves(ParamsWith(ItemLeave, UnitHours, 2, RoundUp, /*isaddup=*/true));
    StatTotals u;
    u.Leave += halves.Count(ItemLeave, 150, ValueKind::Minutes);  // 2.5 h -> 4
    u.Leave += halves.Count(ItemLeave, 60, ValueKind::Minutes);   // 1 h -> 2
    EXPECT_EQ(u.Leave, 6);
    u.Leave += 1;  // a total off the grid is rounded again
    halves.FinishTotals(u);
    EXPECT_EQ(u.Leave, 8);
}

TEST(StatisticsFigure, OccurrencesCountOneAndAreNeverRounded) {
    StatRules rules(ParamsWith(ItemLate, UnitMinutes, 10, RoundUp, /*isaddup=*/true, /*istimes=*/true));
    StatTotals t;
    t.Latetime += rules.Count(ItemLate, 1, ValueKind::Minutes);
    t.Latetime += rules.Count(ItemLate, 90, ValueKind::Minutes);
    t.Latetime += rules.Count(ItemLate, 3, ValueKind::Minutes);
    rules.FinishTotals(t);
    EXPECT_EQ(t.Latetime, 3);
    EXPECT_EQ(rules.CountByPeriod(ItemLate, 480, 1), 1);
}

TEST(StatisticsFigure, PeriodCountsMinutesOrWorkdaysByUnit) {
    StatRules days(ParamsWith(ItemNormal, UnitWorkdays, 1, RoundNearest));
    EXPECT_EQ(days.CountByPeriod(ItemNormal, 480, 1), 1);
    EXPECT_EQ(days.CountByPeriod(ItemNormal, 240, 0.5), 0);  // 0.5 workdays: tie to even 0
    StatRules hours(ParamsWith(ItemNormal, UnitHours, 0.5, RoundNearest));
    EXPECT_EQ(hours.CountByPeriod(ItemNormal, 480, 1), 8);
}

TEST(StatisticsFinish, FreeOvertimeTotalIsRoundedByTheOvertimeItem) {
    AttendanceParameters p = ParamsWith(ItemOvertime, UnitHours, 1, RoundDown, /*isaddup=*/true);
    p.items[ItemFreeOT] = {"FreeOT", UnitHours, 0.1, RoundNearest, false, false};
    StatRules rules(p);
    StatTotals t;
    t.Freeovertime += rules.Count(ItemFreeOT, 100, ValueKind::Minutes);  // 1.7 h
    EXPECT_EQ(t.Freeovertime, 1.7);
    t.Overtime = 2.5;
    rules.FinishTotals(t);
    EXPECT_EQ(t.Freeovertime, 1);
    EXPECT_EQ(t.Overtime, 2);
}

TEST(StatisticsFinish, SumsOfTenthsAreStoredClean) {
    StatRules rules(ParamsWith(ItemLate, UnitHours, 0.1, RoundUp));
    StatTotals t;
    for (int i = 0; i < 3; ++i) t.Latetime += rules.Count(ItemLate, 6, ValueKind::Minutes);
    t.Worktime = 0.1 + 0.2;
    rules.FinishTotals(t);
    EXPECT_EQ(t.Latetime, 0.3);
    EXPECT_EQ(t.Worktime, 0.3);
}

TEST(StatisticsFinish, WorktimeToOneDecimal) {
    StatRules rules(AttendanceParameters{});
    const double cases[][2] = {{7.33, 7.3}, {7.36, 7.4}, {-0.67, -0.7}, {8, 8}, {8 - 40.0 / 60, 7.3}};
    for (const auto& c : cases) {
        StatTotals t;
        t.Worktime = c[0];
        rules.FinishTotals(t);
        EXPECT_EQ(t.Worktime, c[1]) << c[0];
    }
}

TEST(StatisticsFinish, AttendanceRate) {
    struct Case { double scheduled, attended, trips, rate; } cases[] = {
        {20, 17, 1, 90}, {20, 20, 2, 100}, {0, 0, 0, 0}, {3, 1, 0, 33}, {3, 2, 0, 67},
        {8, 1, 0, 12},  // 12.5 goes to the even 12
        {8, 3, 0, 38},  // 37.5 goes to the even 38
    };
    StatRules rules(AttendanceParameters{});
    for (const Case& c : cases) {
        StatTotals t;
        t.scheduledWorkdays = c.scheduled;
        t.attendedWorkdays = c.attended;
        t.tripWorkdays = c.trips;
        rules.FinishTotals(t);
        EXPECT_EQ(t.Attrate, c.rate) << c.scheduled << " " << c.attended << " " << c.trips;
    }
}

TEST(StatisticsRounding, HalvesAndTenths) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundTenthHalfEven(0.25), 0.2);
    EXPECT_EQ(RoundTenthHalfEven(0.35), 0.4);  // 0.35 is a hair below in binary, still a tie
    EXPECT_EQ(RoundTenthHalfEven(0.125), 0.1);
    EXPECT_EQ(RoundTenthHalfEven(2), 2);
    EXPECT_EQ(RoundQuotient(5.5, 7), 5.5);  // unknown rule: unchanged
    EXPECT_EQ(RoundQuotient(-5.5, RoundDown), -5);
}

TEST(StatisticsRules, UnusableParametersAreReportedAndNeverCrash) {
    AttendanceParameters p;
    p.basePar.Workdaylong = 0;
    p.items[ItemLate].MinUnit = 0;
    p.items[ItemEarly].SRControl = 5;
    p.items[ItemAbsent].Units = 3;
    p.items[ItemOut].MinUnit = 0;
    p.items[ItemOut].Istimes = true;  // counted by occurrences: its minimum is never used
    StatRules rules(p);
    ASSERT_EQ(rules.Problems().size(), 4u);
    EXPECT_EQ(rules.Problems()[0].value, "Workdaylong=0");
    EXPECT_EQ(rules.Problems()[1].value, "Late.MinUnit=0");
    EXPECT_EQ(rules.Problems()[2].value, "Early.SRControl=5");
    EXPECT_EQ(rules.Problems()[3].value, "Absent.Units=3");

    EXPECT_EQ(rules.Figure(ItemLate, 330, ValueKind::Seconds), 5.5);  // unrounded
    EXPECT_EQ(rules.Figure(ItemEarly, 330, ValueKind::Seconds), 5.5);
    EXPECT_EQ(rules.Figure(ItemAbsent, 330, ValueKind::Seconds), 0);
    p.items[ItemNormal].Units = UnitWorkdays;
    StatRules noWorkday(p);
    EXPECT_EQ(noWorkday.CountByPeriod(ItemNormal, 480, 1), 1);  // workdays need no length
    EXPECT_EQ(noWorkday.Figure(ItemNormal, 480, ValueKind::Minutes), 0);

    StatTotals t;
    t.scheduledWorkdays = 1;
    t.Latetime = 5.5;
    noWorkday.FinishTotals(t);
    EXPECT_EQ(t.Latetime, 5.5);
}

TEST(StatisticsRules, UnitCaptions) {
    TSyshint hint;
    TStatItem item;
    item.Units = UnitHours;
    EXPECT_EQ(UnitCaption(item, hint), "小时");
    item.Istimes = true;
    EXPECT_EQ(UnitCaption(item, hint), "次");
}

}  // namespace
}  // namespace kelvork::engine
