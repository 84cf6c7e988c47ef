#include "punch_matching.h"

#include <gtest/gtest.h>

#include "calc_input_fixtures.h"
#include "planned_periods.h"

namespace kelvork::engine {
namespace {

using testing::DayPeriod;
using testing::MakePeriod;

// Short texts make the expected rows readable.
CalcTexts ShortTexts() {
    CalcTexts t;
    t.CheckType1 = "In";
    t.CheckType2 = "Out";
    t.CheckType3 = "OTin";
    t.CheckType4 = "OTout";
    t.CheckType5 = "Away";
    t.CheckType6 = "Back";
    t.DisposeRecord = "Delete";
    t.RecordErrorType1 = "normal";
    t.RecordErrorType3 = "invalid";
    t.RecordErrorType4 = "wrongtype";
    return t;
}

struct P {
    const char* time;  // "HH:mm:ss" on 2004-01-05, or a whole punch text
    const char* type;
    bool checked = false;
};

struct Outcome {
    std::vector<std::string> listed;   // "HH:mm:ss Utype Timename errorshow[/disposeplan][ checked]"
    std::vector<std::string> periods;  // "Timename AOntime-AOfftime MaxFlag"
};

std::string Full(const char* time) {
    std::string t = time;
    return t.size() == 8 ? "2004-01-05 " + t : t;
}

// Plans `periods` on 2004-01-05 (through temporary shifts) and matches `punches` in order;
// `stored` adds punches that are stored but outside the matched span.
Outcome Match(std::vector<PeriodRow> periods, const std::vector<P>& punches,
              const std::vector<const char*>& stored = {}) {
    std::vector<TempShiftRow> temps;
    for (const auto& p : periods) temps.push_back({"7", p.Timeid, "2004-01-05"});
    std::vector<RunProblem> problems;
    const std::vector<CycleRow> cycles;
    const std::vector<HolidayRow> holidays;
    PlanCatalog catalog(periods, cycles, holidays, problems);
    EmployeePlan plan{"7", "Dept", "Ann", false, {}, {}};
    for (const auto& t : temps) plan.tempShifts.push_back(&t);
    std::vector<MemTabRow> memTab =
        ResolvePlannedPeriods(catalog, plan, testing::Day("2004-01-05"), testing::Day("2004-01-05"), 0, problems);

    std::vector<PunchRow> rows;
    for (const P& p : punches) rows.push_back(testing::Punch("7", Full(p.time), p.type, p.checked));
    std::vector<Moment> moments;
    for (const auto& r : rows) moments.push_back(*ParseMoment(r.Checktime));
    for (const char* s : stored) moments.push_back(*ParseMoment(Full(s)));
    std::sort(moments.begin(), moments.end());

    const CalcTexts texts = ShortTexts();
    NumberedTable<MemRecordRow> memRecord;
    PunchMatcher matcher(memTab, memRecord, {"7", "Ann", "Dept"}, moments, texts);
    for (const auto& r : rows) matcher.Match({*ParseMoment(r.Checktime), r.Checktime, &r});

    Outcome out;
    for (const auto& r : memRecord.rows) {
        std::string s = r.Checktime.str().substr(11) + " " + r.Utype.str() + " " + r.Timename.str() + " " +
                        r.Errorshow.str();
        if (!r.Disposeplan.empty()) s += "/" + r.Disposeplan.str();
        if (r.Checked) s += " checked";
        out.listed.push_back(s);
    }
    for (const auto& m : memTab) {
        auto clock = [](const Text<19>& t) { return t.empty() ? std::string("-") : t.str().substr(11); };
        out.periods.push_back(m.TimeName.str() + " " + clock(m.AOntime) + "-" + clock(m.AOfftime) + " " +
                              std::to_string(m.MaxFlag));
    }
    return out;
}

using Rows = std::vector<std::string>;

TEST(PunchMatching, WindowEdgesAreTheMinutesTheRulesName) {
    // 08:30:00 is not earlier than EOntime 08:30; a punch within the minute SOntime names is in.
    auto o = Match({DayPeriod()}, {{"07:30:30", "I"}, {"08:30:00", "I"}});
    EXPECT_EQ(o.listed, (Rows{"07:30:30 I Day normal", "08:30:00 I  invalid/Delete"}));
    o = Match({DayPeriod()}, {{"08:30:00", "I"}});
    EXPECT_EQ(o.listed, (Rows{"08:30:00 I  invalid/Delete"}));
    EXPECT_EQ(o.periods, (Rows{"Day --- 0"}));
    o = Match({DayPeriod()}, {{"08:29:59", "I"}});
    EXPECT_EQ(o.listed, (Rows{"08:29:59 I Day normal"}));
    EXPECT_EQ(o.periods, (Rows{"Day 08:29:59-- 1"}));
    // 16:30:00 is not later than SOfftime 16:30; 17:29:59 is a check-out.
    o = Match({DayPeriod()}, {{"08:00:00", "I"}, {"16:30:00", "O"}, {"17:29:59", "O"}});
    EXPECT_EQ(o.listed, (Rows{"08:00:00 I Day normal", "16:30:00 O  invalid/Delete", "17:29:59 O Day normal"}));
    EXPECT_EQ(o.periods, (Rows{"Day 08:00:00-17:29:59 1"}));
    // A punch within the minute EOfftime names (17:30:00) is outside the window: free overtime.
    o = Match({DayPeriod()}, {{"17:30:00", "O"}});
    EXPECT_EQ(o.listed, (Rows{"17:30:00 i  invalid/Delete"}));
    EXPECT_EQ(o.periods, (Rows{"Day --- 0"}));
}

TEST(PunchMatching, FirstCheckInAndLastCheckOutStand) {
    auto o = Match({DayPeriod()}, {{"07:50:00", "I"}, {"07:55:00", "I"}, {"17:05:00", "O"}, {"17:20:00", "O"}});
    EXPECT_EQ(o.listed, (Rows{"07:50:00 I Day normal", "07:55:00 I  invalid/Delete",
                              "17:05:00 O Day invalid/Delete", "17:20:00 O Day normal"}));
    EXPECT_EQ(o.periods, (Rows{"Day 07:50:00-17:20:00 1"}));
}

TEST(PunchMatching, WrongStoredTypesGetTheTypeTheyShouldHave) {
    auto o = Match({DayPeriod()}, {{"07:58:00", "O"}, {"17:02:00", "I"}, {"17:10:00", "0"}});
    EXPECT_EQ(o.listed, (Rows{"07:58:00 I Day wrongtype/In", "17:02:00 O Day invalid/Delete",
                              "17:10:00 O Day wrongtype/Out"}));
}

TEST(PunchMatching, ConfirmedPunchesAreTakenAsTheyAre) {
    // A check-out after a confirmed check-out is invalid and leaves AOfftime alone.
    auto o = Match({DayPeriod()}, {{"08:00:00", "I"}, {"17:05:00", "O", true}, {"17:20:00", "O"}});
    EXPECT_EQ(o.listed, (Rows{"08:00:00 I Day normal", "17:05:00 O Day normal checked",
                              "17:20:00 O Day invalid/Delete"}));
    EXPECT_EQ(o.periods, (Rows{"Day 08:00:00-17:05:00 1"}));
    // A confirmed check-in goes to the first period ending after it, compared as text, and
    // replaces the check-in there (17:00:00 is after Day's end "17:00", so it goes to Late);
    // other confirmed types stand alone. Confirmed punches do not choose a period.
    PeriodRow late = MakePeriod(2, "Late", "18:00", "22:00", "17:40", "18:30", "21:30", "22:30");
    o = Match({DayPeriod(), late},
              {{"07:59:00", "I"}, {"09:00:00", "I", true}, {"12:00:00", "0", true}, {"17:00:00", "I", true}});
    EXPECT_EQ(o.listed, (Rows{"07:59:00 I Day invalid/Delete", "09:00:00 I Day normal checked",
                              "12:00:00 0  normal checked", "17:00:00 I Late normal checked"}));
    EXPECT_EQ(o.periods, (Rows{"Day 09:00:00-- 1", "Late 17:00:00-- 0"}));
    // No period ends after it: listed without a period name.
    o = Match({DayPeriod()}, {{"06:00:00", "O", true}, {"23:00:00", "I", true}});
    EXPECT_EQ(o.listed, (Rows{"06:00:00 O  normal checked", "23:00:00 I  normal checked"}));
}

TEST(PunchMatching, GoingOutAndBack) {
    auto o = Match({DayPeriod()}, {{"07:55:00", "I"}, {"10:00:00", "0"}, {"10:40:00", "1"}, {"17:05:00", "O"}});
    EXPECT_EQ(o.listed, (Rows{"07:55:00 I Day normal", "10:00:00 0  normal", "10:40:00 1  normal",
                              "17:05:00 O Day normal"}));
    // Back only 20 minutes later: the going-out punch stays invalid and the back punch is not listed.
    o = Match({DayPeriod()}, {{"07:55:00", "I"}, {"10:00:00", "0"}, {"10:20:00", "1"}});
    EXPECT_EQ(o.listed, (Rows{"07:55:00 I Day normal", "10:00:00 0  invalid/Delete"}));
    // Exactly half an hour is not more than half an hour.
    o = Match({DayPeriod()}, {{"07:55:00", "I"}, {"10:00:00", "0"}, {"10:30:00", "1"}});
    EXPECT_EQ(o.listed.size(), 2u);
    // Going out inside the check-out window is a check-out, so coming back is a later check-out.
    o = Match({DayPeriod()}, {{"07:55:00", "I"}, {"16:40:00", "0"}, {"17:20:00", "1"}});
    EXPECT_EQ(o.listed, (Rows{"07:55:00 I Day normal", "16:40:00 O Day invalid/Delete",
                              "17:20:00 O Day wrongtype/Out"}));
    EXPECT_EQ(o.periods, (Rows{"Day 07:55:00-17:20:00 1"}));
}

TEST(PunchMatching, FreeOvertimeOutsideEveryPeriod) {
    auto o = Match({DayPeriod()}, {{"19:00:00", "i"}, {"21:30:00", "o"}});
    EXPECT_EQ(o.listed, (Rows{"19:00:00 i  normal", "21:30:00 o  normal"}));
    o = Match({DayPeriod()}, {{"19:00:00", "I"}, {"21:30:00", "O"}});
    EXPECT_EQ(o.listed, (Rows{"19:00:00 i  wrongtype/OTin", "21:30:00 o  wrongtype/OTout"}));
    o = Match({DayPeriod()}, {{"19:00:00", "i"}});
    EXPECT_EQ(o.listed, (Rows{"19:00:00 i  invalid/Delete"}));
    // A pair needs more than 0.016 hours (57.6 s) and less than 20 hours between the two.
    struct Gap {
        const char* second;
        bool pair;
    } gaps[] = {{"19:00:40", false}, {"19:00:57", false}, {"19:00:58", true},
                {"2004-01-06 14:59:59", true}, {"2004-01-06 15:00:00", false}};
    for (const Gap& g : gaps) {
        o = Match({}, {{"19:00:00", "i"}, {g.second, "o"}});
        ASSERT_EQ(o.listed.size(), 2u);
        EXPECT_EQ(o.listed[1].substr(9, 1), g.pair ? "o" : "i") << g.second;
    }
    // After a pair a further punch starts again.
    o = Match({}, {{"19:00:00", "i"}, {"20:00:00", "o"}, {"21:00:00", "i"}});
    EXPECT_EQ(o.listed.back(), "21:00:00 i  invalid/Delete");
}

TEST(PunchMatching, OverlappingWindowsGoToTheLongerSpanOfStoredPunches) {
    // Windows 07:30-17:30 and 12:00-22:30 overlap from 12:00 to 17:30.
    PeriodRow early = DayPeriod(1, "Early");
    PeriodRow late = MakePeriod(2, "Late", "13:00", "22:00", "12:00", "13:30", "21:30", "22:30");
    // Equal spans (only the punch itself): the earlier period in MemTab order.
    auto o = Match({early, late}, {{"12:30:00", "I"}});
    EXPECT_EQ(o.listed, (Rows{"12:30:00 I  invalid/Delete"}));
    EXPECT_EQ(o.periods, (Rows{"Early --- 0", "Late --- 0"}));
    // A stored punch later in the evening, even one the run does not match, makes Late's span longer.
    o = Match({early, late}, {{"12:30:00", "I"}}, {"22:00:00"});
    EXPECT_EQ(o.listed, (Rows{"12:30:00 I Late normal"}));
    EXPECT_EQ(o.periods, (Rows{"Early --- 0", "Late 12:30:00-- 1"}));
    // The span question includes the minute EOfftime names (22:30:00), unlike the window test.
    o = Match({early, late}, {{"12:30:00", "I"}}, {"07:30:00", "22:30:00"});
    EXPECT_EQ(o.periods[1], "Late 12:30:00-- 1");
    o = Match({early, late}, {{"12:30:00", "I"}}, {"07:30:00", "22:30:01"});
    EXPECT_EQ(o.periods[0], "Early --- 0");  // Early's span 07:30-12:30 is longer: the late check-in fails
    EXPECT_EQ(o.listed, (Rows{"12:30:00 I  invalid/Delete"}));
}

TEST(PunchMatching, SelectedPeriodKeepsPunchesUntilItsCheckOutWindowEnds) {
    PeriodRow early = DayPeriod(1, "Early");
    PeriodRow late = MakePeriod(2, "Late", "13:00", "22:00", "12:00", "13:30", "21:30", "22:30");
    auto o = Match({early, late}, {{"07:55:00", "I"}, {"12:10:00", "I"}, {"17:10:00", "O"}, {"21:40:00", "O"}});
    // 12:10 and 17:10 stay with Early, selected by 07:55; 21:40 is after Early's window and the
    // only candidate left is Late, which then has a check-out and no check-in.
    EXPECT_EQ(o.listed, (Rows{"07:55:00 I Early normal", "12:10:00 I  invalid/Delete", "17:10:00 O Early normal",
                              "21:40:00 O Late normal"}));
    EXPECT_EQ(o.periods, (Rows{"Early 07:55:00-17:10:00 1", "Late --21:40:00 1"}));
}

}  // namespace
}  // namespace kelvork::engine
