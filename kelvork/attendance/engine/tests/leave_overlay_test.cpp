// Leaves and business trips over evaluated periods, going-out and free-overtime entries.

#include "leave_overlay.h"

#include <gtest/gtest.h>

#include "period_evaluation.h"

namespace kelvork::engine {
namespace {

constexpr int kSick = 3;
constexpr int kAnnual = 4;

MemTabRow Period(const char* date, const char* in, const char* out, const char* on = "08:00",
                 const char* off = "17:00") {
    MemTabRow row;
    row.Ucode = "7";
    row.UDate = date;
    row.Udept = "Sales";
    row.Uname = "Li";
    row.TimeName = "Day";
    row.OnTime = std::string(date) + " " + on;
    row.OffTime = std::string(date) + " " + off;
    row.OnFlag = true;
    row.OffFlag = true;
    row.Workday = 1;
    row.WorkLong = 480;
    row.MaxFlag = MaxEvaluated;
    if (*in) row.AOntime = std::string(date) + " " + in;
    if (*out) row.AOfftime = std::string(date) + " " + out;
    return row;
}

LeaveRow Leave(const char* begin, const char* end, int classid, const char* why = "flu") {
    static int lsh = 0;
    return LeaveRow{++lsh, "7", begin, end, classid, why};
}

// An employee's calculation up to the finish of the totals: evaluation, then the leaves.
struct Fixture {
    AttendanceParameters params;
    CalcTexts texts;
    MemStatTable memStat;
    NumberedTable<MemAbnorRow> memAbnor;
    std::vector<MemTabRow> memTab;
    StatTotals totals;
    std::vector<RunProblem> problems;
    MemStatRow* stat = nullptr;

    Fixture() {
        for (TStatItem& item : params.items) {
            item.Units = UnitMinutes;
            item.MinUnit = 1;
            item.SRControl = RoundDown;
        }
        params.leaveClasses = {{kSick, "Sick", 255, "S"}, {kAnnual, "Annual", 0, "A"}};
    }

    void Run(const std::vector<LeaveRow>& leaves, const char* from = "2024-01-01 00:00:01",
             const char* to = "2024-01-31 23:59:59") {
        DefineMemStat(memStat, params.leaveClasses);
        stat = &memStat.AppendEmployee("7", "Sales", "Li");
        StatRules rules(params);
        std::vector<HolidaySpan> holidays;
        EvaluatePeriods(memTab, EvaluationContext{rules, params.basePar, holidays}, totals, problems);
        LeaveContext ctx{rules, params, texts, memStat, *ParseMoment(from), *ParseMoment(to)};
        std::vector<const LeaveRow*> pointers;
        for (const LeaveRow& l : leaves) pointers.push_back(&l);
        OverlayLeaves(memTab, pointers, ctx, totals, *stat, memAbnor, problems);
    }
    double Column(int classid) const { return stat->LeaveClasses[*memStat.ColumnOfClass(classid)]; }
};

TEST(LeaveOverlay, LeaveInsideAnAttendedPeriod) {
    Fixture f;
    f.memTab = {Period("2024-01-08", "07:58:00", "17:02:00")};
    f.Run({Leave("2024-01-08 10:00:00", "2024-01-08 12:00:00", kSick)});
    const MemTabRow& p = f.memTab[0];
    EXPECT_EQ(p.Memo, "Sick");
    EXPECT_EQ(p.AbnorFlag, AbnorNormal);
    EXPECT_FALSE(p.IsNoIn);
    EXPECT_FALSE(p.IsNoOut);
    EXPECT_EQ(f.totals.Actual, 480 - 120);
    EXPECT_EQ(f.totals.attendedWorkdays, 0);
    EXPECT_EQ(f.totals.Leave, 120);
    EXPECT_EQ(f.Column(kSick), 120);
    EXPECT_EQ(f.Column(kAnnual), 0);
    ASSERT_EQ(f.memAbnor.rows.size(), 1u);
    const MemAbnorRow& a = f.memAbnor.rows[0];
    EXPECT_EQ(a.Begintime, "2024-01-08 10:00:00");
    EXPECT_EQ(a.Endtime, "2024-01-08 12:00:00");
    EXPECT_EQ(a.Timelong, "02:00:00");
    EXPECT_EQ(a.Workday, 0.2);  // 0.25 to the even tenth
    EXPECT_EQ(a.Abnorshow, "Sick");
    EXPECT_EQ(a.Remark, "flu");
    EXPECT_EQ(a.Ucode, "7");
    EXPECT_EQ(a.Udept, "Sales");
}

TEST(LeaveOverlay, LeaveInsideAnAbsentPeriodOpensBothSides) {
    Fixture f;
    f.memTab = {Period("2024-01-08", "", "")};
    f.Run({Leave("2024-01-08 10:00:00", "2024-01-08 12:00:00", kSick)});
    const MemTabRow& p = f.memTab[0];
    EXPECT_FALSE(p.IsNowork);
    EXPECT_TRUE(p.IsNoIn);
    EXPECT_TRUE(p.IsNoOut);
    EXPECT_EQ(p.AbnorFlag, AbnorNoOut);
    EXPECT_EQ(f.totals.Absenttime, 480 - 120);
    EXPECT_EQ(f.totals.Noin, 1);
    EXPECT_EQ(f.totals.Noout, 1);
    EXPECT_EQ(f.totals.Actual, 0);
    EXPECT_EQ(f.totals.attendedWorkdays, 0);
}

TEST(LeaveOverlay, LeaveFromTheStartClearsTheCheckInSide) {
    Fixture f;
    f.memTab = {Period("2024-01-08", "08:30:00", "17:00:00")};
    f.Run({Leave("2024-01-08 08:00:00", "2024-01-08 12:00:00", kAnnual)});
    const MemTabRow& p = f.memTab[0];
    EXPECT_EQ(p.TLate, "");
    EXPECT_EQ(p.AbnorFlag, AbnorNormal);
    EXPECT_EQ(f.totals.Latetime, 0);
    EXPECT_DOUBLE_EQ(f.totals.Worktime, 8);  // the half hour of lateness is given back
    EXPECT_EQ(f.totals.Actual, 480 - 240);
    EXPECT_EQ(f.Column(kAnnual), 240);
    EXPECT_EQ(f.memAbnor.rows[0].Workday, 0.5);
}

TEST(LeaveOverlay, SidesOfEachCase) {
    struct Case {
        const char* what;
        const char* in;
        const char* out;
        const char* begin;
        const char* end;
        bool noIn, noOut;
        int abnor;
        double leave;
    } cases[] = {
        // Check-out missing (not required): from inside to after the end clears it.
        {"inside to after the end", "08:00:00", "", "2024-01-08 15:00:00", "2024-01-08 19:00:00", false,
         false, AbnorNormal, 120},
        {"before the start to inside, no check-in", "", "17:00:00", "2024-01-08 07:00:00",
         "2024-01-08 09:00:00", false, false, AbnorNormal, 60},
        {"covering the period", "", "", "2024-01-08 07:00:00", "2024-01-08 18:00:00", false, false,
         AbnorNormal, 480},
        // An open side keeps a missing punch the evaluation counted, without counting it again.
        {"inside to the end, no check-in stays missing", "", "17:00:00", "2024-01-08 15:00:00",
         "2024-01-08 17:00:00", true, false, AbnorNormal, 120},
        {"start to inside, no check-out stays missing", "08:00:00", "", "2024-01-08 08:00:00",
         "2024-01-08 10:00:00", false, true, AbnorNormal, 120},
    };
    for (const Case& c : cases) {
        Fixture f;
        MemTabRow row = Period("2024-01-08", c.in, c.out);
        row.OnFlag = false;  // missing punches are counted as missing, not as absence
        row.OffFlag = false;
        f.memTab = {row};
        f.Run({Leave(c.begin, c.end, kSick)});
        const MemTabRow& p = f.memTab[0];
        EXPECT_EQ(p.IsNoIn, c.noIn) << c.what;
        EXPECT_EQ(p.IsNoOut, c.noOut) << c.what;
        EXPECT_EQ(p.AbnorFlag, c.abnor) << c.what;
        EXPECT_EQ(f.totals.Noin, c.noIn ? 1 : 0) << c.what;
        EXPECT_EQ(f.totals.Noout, c.noOut ? 1 : 0) << c.what;
        EXPECT_EQ(f.totals.Leave, c.leave) << c.what;
    }
}

TEST(LeaveOverlay, EarlyLeaveGivenBackWhenTheLeaveRunsPastTheEnd) {
    Fixture f;
    f.memTab = {Period("2024-01-08", "08:00:00", "15:00:00")};
    f.Run({Leave("2024-01-08 15:00:00", "2024-01-08 18:00:00", kSick)});
    EXPECT_EQ(f.memTab[0].TEarly, "");
    EXPECT_EQ(f.totals.Earlytime, 0);
    EXPECT_DOUBLE_EQ(f.totals.Worktime, 8);
    EXPECT_EQ(f.totals.Leave, 120);
}

TEST(LeaveOverlay, TwoDayLeave) {
    Fixture f;
    f.memTab = {Period("2024-01-08", "", ""), Period("2024-01-09", "", "")};
    f.Run({Leave("2024-01-08 08:00:00", "2024-01-09 17:00:00", kSick)});
    ASSERT_EQ(f.memAbnor.rows.size(), 1u);
    EXPECT_EQ(f.memAbnor.rows[0].Timelong, "16:00:00");
    EXPECT_EQ(f.memAbnor.rows[0].Workday, 2);
    EXPECT_EQ(f.totals.Leave, 960);
    EXPECT_EQ(f.totals.Absenttime, 0);
    EXPECT_EQ(f.totals.Noin + f.totals.Noout, 0);
    EXPECT_EQ(f.memTab[0].Memo, "Sick");
    EXPECT_EQ(f.memTab[1].Memo, "Sick");
}

TEST(LeaveOverlay, BusinessTripCountsTripDaysNotLeave) {
    Fixture f;
    f.memTab = {Period("2024-01-08", "", "")};
    f.Run({Leave("2024-01-08 08:00:00", "2024-01-08 17:00:00", 0, "Shanghai")});
    EXPECT_EQ(f.totals.Leave, 0);
    EXPECT_EQ(f.totals.Busyleave, 480);
    EXPECT_EQ(f.totals.tripWorkdays, 1);
    EXPECT_EQ(f.memTab[0].Memo, "公出");
    EXPECT_EQ(f.memAbnor.rows[0].Abnorshow, "公出");
    EXPECT_EQ(f.memAbnor.rows[0].Remark, "Shanghai");
    StatRules rules(f.params);
    rules.FinishTotals(f.totals);
    EXPECT_EQ(f.totals.Attrate, 100);
}

TEST(LeaveOverlay, FloatingPeriodTouchedIsRemoved) {
    Fixture f;
    MemTabRow floating = Period("2024-01-08", "09:00:00", "13:00:00");
    floating.IsFreeTime = true;
    f.memTab = {floating, Period("2024-01-09", "08:00:00", "17:00:00")};
    f.Run({Leave("2024-01-08 10:00:00", "2024-01-08 12:00:00", kSick)});
    ASSERT_EQ(f.memTab.size(), 1u);
    EXPECT_EQ(f.memTab[0].UDate, "2024-01-09");
    EXPECT_DOUBLE_EQ(f.totals.Worktime, 4 + 8);  // what the evaluation counted stays counted
    EXPECT_EQ(f.totals.Leave, 0);
    EXPECT_EQ(f.memAbnor.rows[0].Timelong, "00:00:00");
}

TEST(LeaveOverlay, SeveralLeavesOnOnePeriodGiveItsWorkdayBackOnce) {
    Fixture f;
    f.memTab = {Period("2024-01-08", "08:00:00", "17:00:00")};
    f.Run({Leave("2024-01-08 09:00:00", "2024-01-08 10:00:00", kSick),
           Leave("2024-01-08 14:00:00", "2024-01-08 15:00:00", kAnnual)});
    EXPECT_EQ(f.totals.attendedWorkdays, 0);
    EXPECT_EQ(f.totals.Actual, 480 - 120);
    EXPECT_EQ(f.memTab[0].Memo, "Sick;Annual");
    StatRules rules(f.params);
    rules.FinishTotals(f.totals);
    EXPECT_EQ(f.totals.Attrate, 0);

    Fixture absent;
    absent.memTab = {Period("2024-01-08", "", "")};
    absent.Run({Leave("2024-01-08 09:00:00", "2024-01-08 10:00:00", kSick),
                Leave("2024-01-08 14:00:00", "2024-01-08 15:00:00", kAnnual)});
    EXPECT_EQ(absent.totals.Absenttime, 480 - 120);  // both leaves explain absence
    EXPECT_EQ(absent.totals.Actual, 0);
    EXPECT_EQ(absent.totals.attendedWorkdays, 0);
}

TEST(LeaveOverlay, LeaveFiguresRoundPerLeaveAndTheTotalAgain) {
    Fixture f;
    f.params.items[ItemLeave] = {"Leave", UnitHours, 1, RoundUp, /*Isaddup=*/true, false};
    f.memTab = {Period("2024-01-08", "", ""), Period("2024-01-09", "", "")};
    f.Run({Leave("2024-01-08 10:00:00", "2024-01-08 11:30:00", kSick),
           Leave("2024-01-09 10:00:00", "2024-01-09 10:20:00", kSick)});
    EXPECT_EQ(f.totals.Leave, 3);  // 1.5 h -> 2, 20 min -> 1
    EXPECT_EQ(f.Column(kSick), 3);

    Fixture counted;
    counted.params.items[ItemLeave].Istimes = true;
    counted.memTab = {Period("2024-01-08", "", "")};
    counted.Run({Leave("2024-01-08 10:00:00", "2024-01-08 11:30:00", kSick),
                 Leave("2024-01-08 14:00:00", "2024-01-08 15:00:00", kSick)});
    EXPECT_EQ(counted.totals.Leave, 2);
    EXPECT_EQ(counted.Column(kSick), 2);
}

TEST(LeaveOverlay, LeavesOutsideTheSpanOrUnusableAreLeftOut) {
    Fixture f;
    f.params.leaveClasses.pop_back();  // kAnnual deleted after its leave was entered
    f.memTab = {Period("2024-01-08", "", "")};
    f.Run({Leave("2023-12-30 08:00:00", "2024-01-01 00:00:01", kSick),  // ends at the span's start
           Leave("2024-01-08 12:00:00", "2024-01-08 10:00:00", kSick),  // ends before it begins
           Leave("2024-01-08 1o:00:00", "2024-01-08 11:00:00", kSick),
           Leave("2024-01-08 13:00:00", "2024-01-08 14:00:00", kAnnual)});
    ASSERT_EQ(f.problems.size(), 2u);
    EXPECT_EQ(f.problems[0].table, "UserLeave");
    EXPECT_EQ(f.problems[0].Userid, "7");
    ASSERT_EQ(f.memAbnor.rows.size(), 1u);  // only the leave of the deleted class
    EXPECT_EQ(f.memAbnor.rows[0].Abnorshow, "");
    EXPECT_EQ(f.totals.Leave, 60);  // counts in Leave only
    EXPECT_EQ(f.totals.Absenttime, 420);
}

TEST(OutAndFreeOvertime, EntriesFromPairedPunches) {
    CalcTexts texts;
    auto punch = [&](const char* time, const char* utype, const char* plan = "") {
        MemRecordRow r;
        r.Ucode = "7";
        r.Udept = "Sales";
        r.Uname = "Li";
        r.Checktime = time;
        r.Utype = utype;
        r.Disposeplan = plan;
        return r;
    };
    std::vector<MemRecordRow> punches = {
        punch("2024-01-08 08:00:00", "I"),
        punch("2024-01-08 10:00:00", "0"),
        punch("2024-01-08 10:40:00", "1"),
        punch("2024-01-08 17:00:00", "O"),
        punch("2024-01-08 19:00:00", "i"),
        punch("2024-01-08 21:30:00", "o"),
        punch("2024-01-09 19:00:00", "i", "删除"),
        punch("2024-01-09 21:30:00", "o"),
    };
    AttendanceParameters p;
    p.items[ItemOut] = {"Out", UnitMinutes, 1, RoundDown, false, false};
    p.items[ItemFreeOT] = {"FreeOT", UnitHours, 0.5, RoundDown, false, false};
    StatRules rules(p);
    StatTotals t;
    t.Worktime = 8;
    NumberedTable<MemAbnorRow> memAbnor;
    std::vector<RunProblem> problems;
    AddOutAndFreeOvertime(punches, rules, texts, t, memAbnor, problems);
    ASSERT_EQ(memAbnor.rows.size(), 2u);
    EXPECT_EQ(memAbnor.rows[0].Abnorshow, "外出");
    EXPECT_EQ(memAbnor.rows[0].Timelong, "00:40:00");
    EXPECT_EQ(memAbnor.rows[0].Begintime, "2024-01-08 10:00:00");
    EXPECT_EQ(memAbnor.rows[0].Endtime, "2024-01-08 10:40:00");
    EXPECT_EQ(memAbnor.rows[1].Abnorshow, "自由加班");
    EXPECT_EQ(memAbnor.rows[1].Timelong, "02:30:00");
    EXPECT_EQ(memAbnor.rows[1].Lsh, 2);
    EXPECT_EQ(t.Awaytime, 40);
    EXPECT_EQ(t.Freeovertime, 2.5);
    EXPECT_NEAR(t.Worktime, 8 - 0.67, 0.01);
    rules.FinishTotals(t);
    EXPECT_EQ(t.Worktime, 7.3);
    EXPECT_TRUE(problems.empty());
}

}  // namespace
}  // namespace kelvork::engine
