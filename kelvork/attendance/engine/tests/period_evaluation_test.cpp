// Selection and evaluation of an employee's planned periods.

#include "period_evaluation.h"

#include <gtest/gtest.h>

namespace kelvork::engine {
namespace {

// 2024-01-08 is a Monday, 2024-01-07 a Sunday.
MemTabRow Period(const char* date, const char* on, const char* off, int workLong = 480) {
    MemTabRow row;
    row.Ucode = "7";
    row.UDate = date;
    row.TimeName = "Day";
    row.OnTime = std::string(date) + " " + on;
    row.OffTime = std::string(date) + " " + off;
    row.LateTime = 5;
    row.EarlyTime = 5;
    row.OnFlag = true;
    row.OffFlag = true;
    row.Workday = 1;
    row.WorkLong = workLong;
    row.MaxFlag = MaxEvaluated;
    return row;
}

MemTabRow Punched(MemTabRow row, const char* in, const char* out) {
    const std::string date = row.UDate.str();
    if (*in) row.AOntime = date + " " + in;
    if (*out) row.AOfftime = date + " " + out;
    return row;
}

// Items in minutes with minimum 1 rounded down, so figures show whole minutes.
AttendanceParameters Minutes() {
    AttendanceParameters p;
    for (TStatItem& item : p.items) {
        item.Units = UnitMinutes;
        item.MinUnit = 1;
        item.SRControl = RoundDown;
    }
    return p;
}

struct Evaluated {
    std::vector<MemTabRow> rows;
    StatTotals totals;
    std::vector<RunProblem> problems;
};

Evaluated Evaluate(std::vector<MemTabRow> rows, const AttendanceParameters& p,
                   const std::vector<HolidaySpan>& holidays = {}) {
    Evaluated e;
    e.rows = std::move(rows);
    StatRules rules(p);
    EvaluationContext ctx{rules, p.basePar, holidays};
    EvaluatePeriods(e.rows, ctx, e.totals, e.problems);
    return e;
}

TEST(PeriodEvaluation, LatenessAndEarlyLeaveAtTheMinuteEdges) {
    struct Case {
        const char* what;
        int grace;
        const char* in;
        const char* out;
        const char* tLate;
        const char* tEarly;
        int abnor;
        double late, early;
    } cases[] = {
        {"in on the grace edge is not late", 5, "08:05:00", "17:00:00", "", "", AbnorNormal, 0, 0},
        {"30 seconds past the grace is late", 5, "08:05:30", "17:00:00", "00:05:30", "", AbnorLate, 5, 0},
        {"grace 0, 30 seconds late", 0, "08:00:30", "17:00:00", "00:00:30", "", AbnorLate, 0, 0},
        {"out on the grace edge is not early", 5, "08:00:00", "16:55:00", "", "", AbnorNormal, 0, 0},
        {"late and early shows early (the last flag)", 5, "08:10:00", "16:50:00", "00:10:00", "00:10:00",
         AbnorEarly, 10, 10},
    };
    for (const Case& c : cases) {
        MemTabRow row = Punched(Period("2024-01-08", "08:00", "17:00"), c.in, c.out);
        row.LateTime = c.grace;
        row.EarlyTime = c.grace;
        Evaluated e = Evaluate({row}, Minutes());
        const MemTabRow& r = e.rows[0];
        EXPECT_EQ(r.TLate, c.tLate) << c.what;
        EXPECT_EQ(r.TEarly, c.tEarly) << c.what;
        EXPECT_EQ(r.AbnorFlag, c.abnor) << c.what;
        EXPECT_EQ(e.totals.Latetime, c.late) << c.what;
        EXPECT_EQ(e.totals.Earlytime, c.early) << c.what;
        EXPECT_EQ(e.totals.Normal, 480) << c.what;
        EXPECT_EQ(e.totals.Actual, 480) << c.what;
        EXPECT_EQ(e.totals.attendedWorkdays, 1) << c.what;
        EXPECT_TRUE(e.problems.empty());
    }
    Evaluated late = Evaluate({Punched(Period("2024-01-08", "08:00", "17:00"), "08:30:00", "17:00:00")},
                              Minutes());
    EXPECT_DOUBLE_EQ(late.totals.Worktime, 8 - 0.5);
}

TEST(PeriodEvaluation, EarlyArrivalAndLateDepartureOvertime) {
    struct Case {
        const char* what;
        bool deductIn, deductOut;
        const char* in;
        const char* out;
        const char* tAdd;
        double overtime;
    } cases[] = {
        {"07:00 for 08:00, threshold 30", false, false, "07:00:00", "17:00:00", "01:00:00", 60},
        {"the same with DeductIn", true, false, "07:00:00", "17:00:00", "00:30:00", 30},
        {"inside the threshold is no overtime", false, false, "07:40:00", "17:00:00", "", 0},
        {"both sides: TAdd is the sum", false, false, "07:00:00", "19:00:00", "03:00:00", 180},
        {"both sides, DeductOut", false, true, "07:00:00", "19:00:00", "02:00:00", 120},
        {"on the out threshold is no overtime", false, false, "08:00:00", "18:00:00", "", 0},
    };
    for (const Case& c : cases) {
        AttendanceParameters p = Minutes();
        p.basePar.IsovertimeIn = true;
        p.basePar.OvertimeIn = 30;
        p.basePar.DeductIn = c.deductIn;
        p.basePar.Isovertime = true;
        p.basePar.Overtime = 60;
        p.basePar.DeductOut = c.deductOut;
        Evaluated e = Evaluate({Punched(Period("2024-01-08", "08:00", "17:00"), c.in, c.out)}, p);
        EXPECT_EQ(e.rows[0].TAdd, c.tAdd) << c.what;
        EXPECT_EQ(e.totals.Overtime, c.overtime) << c.what;
        EXPECT_EQ(e.totals.WOvertime, c.overtime) << c.what;
        EXPECT_EQ(e.rows[0].AbnorFlag, AbnorNormal) << c.what;
    }
}

TEST(PeriodEvaluation, EdgeOvertimeIsRoundedPerPartThenMultipliedByTheRate) {
    AttendanceParameters p = Minutes();
    p.items[ItemOvertime] = {"Overtime", UnitHours, 1, RoundDown, false, false};
    p.basePar.IsovertimeIn = true;
    p.basePar.Isovertime = true;
    p.basePar.Overtime = 0;
    p.basePar.HOvertime = 1.5;
    // Sunday: 1.5 h early and 1.5 h late, each rounded down to 1 h, then times 1.5.
    Evaluated e = Evaluate({Punched(Period("2024-01-07", "08:00", "17:00"), "06:30:00", "18:30:00")}, p);
    EXPECT_EQ(e.rows[0].TAdd, "03:00:00");
    EXPECT_EQ(e.totals.Overtime, 3);
    EXPECT_EQ(e.totals.HOvertime, 3);
    EXPECT_EQ(e.totals.WOvertime, 0);
}

TEST(PeriodEvaluation, MissingPunches) {
    struct Case {
        const char* what;
        bool onFlag, offFlag, noclockin, noclockout;
        const char* in;
        const char* out;
        int abnor;
        bool noIn, noOut, nowork;
        int noinCount, nooutCount;
        double absent, late, early, attended;
        const char* tLate;
        const char* tEarly;
    } cases[] = {
        {"required check-out missing: absent", true, true, false, false, "08:00:00", "", AbnorAbsent,
         false, false, true, 0, 0, 480, 0, 0, 0, "", ""},
        {"required check-out missing, Noclockout: early by Leavetime", true, true, false, true,
         "08:00:00", "", AbnorEarly, false, false, false, 0, 0, 0, 0, 60, 1, "", "01:00:00"},
        {"required check-in missing, Noclockin: late by Latetime", true, true, true, false, "",
         "17:00:00", AbnorLate, false, false, false, 0, 0, 0, 45, 0, 1, "00:45:00", ""},
        {"check-in not required, missing", false, true, false, false, "", "17:00:00", AbnorNoIn, true,
         false, false, 1, 0, 0, 0, 0, 1, "", ""},
        {"check-out not required, missing", true, false, false, false, "08:00:00", "", AbnorNoOut, false,
         true, false, 0, 1, 0, 0, 0, 1, "", ""},
        {"late and no check-out shows 5", true, false, false, false, "08:30:00", "", AbnorNoOut, false,
         true, false, 0, 1, 0, 30, 0, 1, "00:30:00", ""},
        {"both missing is absent even with both parameters", true, true, true, true, "", "", AbnorAbsent,
         false, false, true, 0, 0, 480, 0, 0, 0, "", ""},
        {"both missing, nothing required: absent", false, false, false, false, "", "", AbnorAbsent,
         false, false, true, 0, 0, 480, 0, 0, 0, "", ""},
    };
    for (const Case& c : cases) {
        AttendanceParameters p = Minutes();
        p.basePar.Noclockin = c.noclockin;
        p.basePar.Noclockout = c.noclockout;
        p.basePar.Latetime = 45;
        p.basePar.Leavetime = 60;
        MemTabRow row = Punched(Period("2024-01-08", "08:00", "17:00"), c.in, c.out);
        row.OnFlag = c.onFlag;
        row.OffFlag = c.offFlag;
        Evaluated e = Evaluate({row}, p);
        const MemTabRow& r = e.rows[0];
        EXPECT_EQ(r.AbnorFlag, c.abnor) << c.what;
        EXPECT_EQ(r.IsNoIn, c.noIn) << c.what;
        EXPECT_EQ(r.IsNoOut, c.noOut) << c.what;
        EXPECT_EQ(r.IsNowork, c.nowork) << c.what;
        EXPECT_EQ(e.totals.Noin, c.noinCount) << c.what;
        EXPECT_EQ(e.totals.Noout, c.nooutCount) << c.what;
        EXPECT_EQ(e.totals.Absenttime, c.absent) << c.what;
        EXPECT_EQ(e.totals.Latetime, c.late) << c.what;
        EXPECT_EQ(e.totals.Earlytime, c.early) << c.what;
        EXPECT_EQ(e.totals.attendedWorkdays, c.attended) << c.what;
        EXPECT_EQ(e.totals.Actual, c.attended * 480) << c.what;
        EXPECT_EQ(e.totals.scheduledWorkdays, 1) << c.what;
        EXPECT_EQ(r.TLate, c.tLate) << c.what;
        EXPECT_EQ(r.TEarly, c.tEarly) << c.what;
    }
}

TEST(PeriodEvaluation, OvertimePeriodOnSundayAtDoubleRate) {
    AttendanceParameters p = Minutes();
    p.items[ItemOvertime] = {"Overtime", UnitHours, 1, RoundNearest, /*Isaddup=*/true, false};
    p.basePar.HOvertime = 2;
    MemTabRow row = Punched(Period("2024-01-07", "08:00", "17:00"), "08:00:00", "17:00:00");
    row.IsOverTime = true;
    Evaluated e = Evaluate({row}, p);
    EXPECT_EQ(e.rows[0].TAdd, "16:00:00");
    EXPECT_EQ(e.totals.Overtime, 16);
    EXPECT_EQ(e.totals.HOvertime, 16);
    EXPECT_EQ(e.totals.Worktime, 0);  // an overtime period adds no hours worked

    p.items[ItemOvertime].Units = UnitWorkdays;
    e = Evaluate({row}, p);
    EXPECT_EQ(e.totals.HOvertime, 2);
    p.items[ItemOvertime].Istimes = true;
    e = Evaluate({row}, p);
    EXPECT_EQ(e.totals.Overtime, 1);
    EXPECT_EQ(e.totals.HOvertime, 0);
    EXPECT_EQ(e.rows[0].TAdd, "");
}

TEST(PeriodEvaluation, DayTypeOfHolidaysAndWeekends) {
    const std::vector<HolidaySpan> holidays = {
        {*ParseMoment("2024-01-01 00:00:00"), 1},
        {*ParseMoment("2024-01-09 00:00:00"), 2},
    };
    EXPECT_EQ(DayType(*ParseDateText("2024-01-01"), holidays), DayHoliday);
    EXPECT_EQ(DayType(*ParseDateText("2024-01-02"), holidays), DayWorkday);
    EXPECT_EQ(DayType(*ParseDateText("2024-01-10"), holidays), DayHoliday);  // second row, 2nd day
    EXPECT_EQ(DayType(*ParseDateText("2024-01-11"), holidays), DayWorkday);
    EXPECT_EQ(DayType(*ParseDateText("2024-01-13"), holidays), DayRest);  // Saturday
    EXPECT_EQ(DayType(*ParseDateText("2024-01-14"), holidays), DayRest);

    AttendanceParameters p = Minutes();
    p.basePar.FOvertime = 3;
    MemTabRow row = Punched(Period("2024-01-10", "08:00", "09:00", 60), "08:00:00", "09:00:00");
    row.IsOverTime = true;
    Evaluated e = Evaluate({row}, p, holidays);
    EXPECT_EQ(e.totals.FOvertime, 180);
    EXPECT_EQ(e.rows[0].TAdd, "03:00:00");
}

TEST(PeriodEvaluation, FloatingPeriods) {
    AttendanceParameters p = Minutes();
    MemTabRow incomplete = Punched(Period("2024-01-08", "08:00", "17:00"), "08:10:00", "");
    incomplete.IsFreeTime = true;
    Evaluated e = Evaluate({incomplete}, p);
    EXPECT_EQ(e.rows[0].AbnorFlag, AbnorFreeIncomplete);
    EXPECT_EQ(e.totals.Normal, 0);
    EXPECT_EQ(e.totals.scheduledWorkdays, 0);
    EXPECT_EQ(e.totals.Absenttime, 0);

    MemTabRow worked = Punched(Period("2024-01-08", "08:00", "17:00"), "08:10:00", "12:40:00");
    worked.IsFreeTime = true;
    e = Evaluate({worked}, p);
    EXPECT_DOUBLE_EQ(e.totals.Worktime, 4.5);
    EXPECT_EQ(e.totals.Normal, 0);
    EXPECT_EQ(e.rows[0].AbnorFlag, AbnorNormal);

    // Floating overtime on Sunday at 1.5: the rate multiplies the duration before rounding.
    worked.IsOverTime = true;
    p.basePar.HOvertime = 1.5;
    p.items[ItemOvertime] = {"Overtime", UnitHours, 1, RoundDown, false, false};
    MemTabRow sunday = Punched(Period("2024-01-07", "08:00", "17:00"), "08:00:00", "11:00:00");
    sunday.IsFreeTime = true;
    sunday.IsOverTime = true;
    e = Evaluate({sunday}, p);
    EXPECT_EQ(e.rows[0].TAdd, "04:30:00");
    EXPECT_EQ(e.totals.HOvertime, 4);  // 3 h x 1.5 = 4.5 h, rounded down; 3 h rounded x 1.5 would be 4.5
    EXPECT_EQ(e.totals.Worktime, 0);

    // In workdays: Workday x (minutes x rate / WorkLong) = 1 x (180 x 1.5 / 540) = 0.5.
    p.items[ItemOvertime] = {"Overtime", UnitWorkdays, 0.5, RoundDown, false, false};
    sunday.WorkLong = 540;
    e = Evaluate({sunday}, p);
    EXPECT_EQ(e.totals.HOvertime, 0.5);
    sunday.WorkLong = 0;
    e = Evaluate({sunday}, p);
    EXPECT_EQ(e.totals.HOvertime, 0);
    ASSERT_EQ(e.problems.size(), 1u);
    EXPECT_EQ(e.problems[0].Userid, "7");
}

TEST(PeriodEvaluation, SelectionOfAutomaticCycles) {
    auto autoPeriod = [](const char* date, const char* name, const char* on, const char* off, int maxFlag) {
        MemTabRow row = Period(date, on, off);
        row.TimeName = name;
        row.AutoClass = true;
        row.MaxFlag = maxFlag;
        return row;
    };
    std::vector<MemTabRow> memTab = {
        autoPeriod("2024-01-08", "A", "08:00", "17:00", MaxNotChosen),
        autoPeriod("2024-01-08", "B", "20:00", "23:00", MaxChosenByPunches),
        autoPeriod("2024-01-09", "A", "08:00", "17:00", MaxNotChosen),
        autoPeriod("2024-01-09", "B", "20:00", "23:00", MaxNotChosen),
        Period("2024-01-09", "08:00", "12:00"),  // from a temporary shift: always evaluated
        Period("", "08:00", "12:00"),            // without a date: removed
    };
    memTab[4].MaxFlag = MaxNotChosen;
    memTab[4].OnTime = "2024-01-09 06:00";
    SelectPeriodsToEvaluate(memTab);
    ASSERT_EQ(memTab.size(), 5u);
    const int expected[] = {MaxNotChosen, MaxEvaluated, MaxNotChosen, MaxNotChosen, MaxEvaluated};
    for (std::size_t i = 0; i < memTab.size(); ++i) EXPECT_EQ(memTab[i].MaxFlag, expected[i]) << i;

    // The last period of a day without punches is B when it stands last.
    std::vector<MemTabRow> day = {autoPeriod("2024-01-10", "A", "08:00", "17:00", MaxNotChosen),
                                  autoPeriod("2024-01-10", "B", "20:00", "23:00", MaxNotChosen)};
    SelectPeriodsToEvaluate(day);
    EXPECT_EQ(day[0].MaxFlag, MaxNotChosen);
    EXPECT_EQ(day[1].MaxFlag, MaxEvaluated);
    Evaluated e = Evaluate(day, Minutes());
    EXPECT_EQ(e.rows[1].AbnorFlag, AbnorAbsent);
    EXPECT_FALSE(e.rows[0].IsNowork);
    EXPECT_EQ(e.totals.scheduledWorkdays, 1);

    std::vector<MemUClassRow> memUClass;
    CopyEvaluatedPeriods(e.rows, memUClass);
    ASSERT_EQ(memUClass.size(), 1u);
    EXPECT_EQ(memUClass[0].TimeName, "B");
    EXPECT_TRUE(memUClass[0].IsNowork);
}

TEST(PeriodEvaluation, UnreadableTimesAreReportedAndCountNothing) {
    MemTabRow row = Punched(Period("2024-01-08", "08:00", "17:00"), "08:00:00", "17:00:00");
    row.OnTime = "2024-01-08 8h00";
    Evaluated e = Evaluate({row}, Minutes());
    ASSERT_EQ(e.problems.size(), 1u);
    EXPECT_EQ(e.problems[0].table, "MemTab");
    EXPECT_NE(e.problems[0].value.find("OnTime=2024-01-08 8h00"), std::string::npos);
    EXPECT_EQ(e.totals.Normal, 0);
    EXPECT_EQ(e.totals.scheduledWorkdays, 0);

    row = Punched(Period("2024-01-08", "08:00", "17:00"), "08:00:00", "17:00:00");
    row.UDate = "2024-13-08";
    e = Evaluate({row}, Minutes());
    EXPECT_EQ(e.problems.size(), 1u);
}

}  // namespace
}  // namespace kelvork::engine
