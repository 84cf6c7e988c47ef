#include "leave_overlay.h"

#include <algorithm>
#include <optional>
#include <string>

namespace kelvork::engine {

namespace {

// What the overlay remembers of a period across the employee's leaves.
struct PeriodMemory {
    bool touched = false;
    bool absent = false;            // absent as the evaluation left it, before any leave
    bool workdayGivenBack = false;  // its attended workday was taken off once already
    bool removed = false;           // a floating period a leave touched
};

// 1 for an item counted by occurrences, else the figure of `minutes` (unit minutes or hours) or
// of `workdays` (unit workdays).
double CountShare(const StatRules& rules, StatItemIndex item, double minutes, double workdays) {
    const TStatItem& it = rules.Item(item);
    if (it.Istimes) return 1.0;
    if (it.Units == UnitMinutes || it.Units == UnitHours) return rules.Figure(item, minutes, ValueKind::Minutes);
    return rules.Figure(item, workdays, ValueKind::Workdays);
}

class LeaveOverlay {
public:
    LeaveOverlay(std::vector<MemTabRow>& memTab, const LeaveContext& ctx, StatTotals& totals,
                 MemStatRow& statRow, NumberedTable<MemAbnorRow>& memAbnor, std::vector<RunProblem>& problems)
        : memTab_(memTab), memory_(memTab.size()), ctx_(ctx), rules_(ctx.rules), t_(totals),
          stat_(statRow), memAbnor_(memAbnor), problems_(problems) {}

    void Lay(const LeaveRow& leave) {
        const auto begin = ParseMoment(leave.BeginTime);
        const auto end = ParseMoment(leave.EndTime);
        if (!begin || !end) {
            return Report(leave, "leave left out: its times cannot be read");
        }
        if (!(*begin < ctx_.spanEnd && *end > ctx_.spanBegin)) return;  // outside the span
        if (*end < *begin) return Report(leave, "leave left out: it ends before it begins");

        // The leave's ends cut to the minute, as clock texts compare with the periods' times.
        const std::string lb = MomentText(*begin).substr(0, 16);
        const std::string le = MomentText(*end).substr(0, 16);
        const Moment lbMoment = *begin - *begin % 60;
        const Moment leMoment = *end - *end % 60;
        const std::string leaveType = LeaveType(leave.LeaveClassid);

        double w = 0;  // minutes inside periods
        double d = 0;  // workdays inside periods
        for (std::size_t i = 0; i < memTab_.size(); ++i) {
            MemTabRow& row = memTab_[i];
            PeriodMemory& mem = memory_[i];
            if (mem.removed || row.MaxFlag != MaxEvaluated) continue;
            if (!(row.OffTime >= lb && row.OnTime <= le)) continue;
            if (row.IsFreeTime) {
                mem.removed = true;  // what the evaluation counted for it stays counted
                continue;
            }
            const auto on = ParseMoment(row.OnTime.view());
            const auto off = ParseMoment(row.OffTime.view());
            if (!on || !off) {
                problems_.push_back({row.Ucode.str(), "MemTab",
                                     row.UDate.str() + " " + row.TimeName.str() + " OnTime=" +
                                         row.OnTime.str() + " OffTime=" + row.OffTime.str(),
                                     "leave not laid over the period: its times cannot be read"});
                continue;
            }
            if (!mem.touched) {
                mem.touched = true;
                mem.absent = row.IsNowork;
            }
            row.AbnorFlag = AbnorNormal;
            row.Memo = row.Memo.empty() ? leaveType : row.Memo.str() + ";" + leaveType;

            const bool onInside = row.OnTime <= lb;   // the period starts before the leave
            const bool offInside = row.OffTime >= le;  // the period ends after the leave
            double k = 0;
            if (onInside && offInside) k = static_cast<double>(leMoment - lbMoment) / 60;
            else if (onInside) k = static_cast<double>(*off - lbMoment) / 60;
            else if (offInside) k = static_cast<double>(leMoment - *on) / 60;
            else k = row.WorkLong;
            const double wl = row.WorkLong;
            double dk = wl > 0 ? row.Workday * k / wl : 0;
            if (wl < k) {
                k = wl;
                dk = row.Workday;
            }

            if (onInside && !offInside) {
                // Leave from inside the period to after its end: the check-out side first.
                ClearCheckOut(row);
                if (row.OnTime == lb) ClearCheckIn(row); else OpenCheckIn(row);
            } else {
                if (!onInside || row.OnTime == lb) ClearCheckIn(row); else OpenCheckIn(row);
                if (!offInside || row.OffTime == le) ClearCheckOut(row); else OpenCheckOut(row);
            }

            if (mem.absent) {
                row.IsNowork = false;
                t_.Absenttime -= CountShare(rules_, ItemAbsent, k, dk);
            } else {
                if (!mem.workdayGivenBack) {
                    t_.attendedWorkdays -= row.Workday;
                    mem.workdayGivenBack = true;
                }
                t_.Actual -= CountShare(rules_, ItemNormal, k, dk);
            }
            w += k;
            d += dk;
        }

        if (leave.LeaveClassid != 0) {
            const double figure = CountShare(rules_, ItemLeave, w, d);
            t_.Leave += figure;
            if (const auto column = ctx_.memStat.ColumnOfClass(leave.LeaveClassid);
                column && *column < stat_.LeaveClasses.size())
                stat_.LeaveClasses[*column] += figure;
        } else {
            t_.tripWorkdays += d;
            t_.Busyleave += CountShare(rules_, ItemBLeave, w, d);
        }

        MemAbnorRow entry;
        entry.Ucode = stat_.Ucode.view();
        entry.Udept = stat_.Udept.view();
        entry.Uname = stat_.Uname.view();
        entry.Begintime = MomentText(*begin);
        entry.Endtime = MomentText(*end);
        entry.Timelong = FractionalLongDurationText(w * 60);
        entry.Workday = RoundTenthHalfEven(d);
        entry.Abnorshow = leaveType;
        entry.Remark = leave.Whys;
        memAbnor_.Append(std::move(entry));
    }

    // Removes the floating periods the leaves touched.
    void RemoveTouchedFloating() {
        std::size_t i = 0;
        std::erase_if(memTab_, [&](const MemTabRow&) { return memory_[i++].removed; });
    }

private:
    std::string LeaveType(int classid) const {
        if (classid == 0) return ctx_.texts.Beaway;
        const TLeaveClass* c = FindLeaveClass(ctx_.params, classid);
        return c ? c->Classname : std::string();
    }

    void Report(const LeaveRow& leave, const char* text) {
        problems_.push_back({leave.Userid, "UserLeave",
                             "Lsh=" + std::to_string(leave.Lsh) + " BeginTime=" + leave.BeginTime +
                                 " EndTime=" + leave.EndTime,
                             text});
    }

    // The employee still had to check in before the leave began.
    void OpenCheckIn(MemTabRow& row) {
        if (!row.AOntime.empty() || row.IsNoIn) return;
        row.IsNoIn = true;
        row.AbnorFlag = AbnorNoIn;
        t_.Noin += 1;
    }

    void OpenCheckOut(MemTabRow& row) {
        if (!row.AOfftime.empty() || row.IsNoOut) return;
        row.IsNoOut = true;
        row.AbnorFlag = AbnorNoOut;
        t_.Noout += 1;
    }

    // The leave explains a missing check-in and a lateness.
    void ClearCheckIn(MemTabRow& row) {
        if (row.IsNoIn) {
            row.IsNoIn = false;
            t_.Noin -= 1;
        }
        if (!row.TLate.empty()) {
            GiveBack(row, row.TLate.view(), ItemLate, t_.Latetime);
            row.TLate.clear();
        }
    }

    void ClearCheckOut(MemTabRow& row) {
        if (row.IsNoOut) {
            row.IsNoOut = false;
            t_.Noout -= 1;
        }
        if (!row.TEarly.empty()) {
            GiveBack(row, row.TEarly.view(), ItemEarly, t_.Earlytime);
            row.TEarly.clear();
        }
    }

    // Gives a lateness or early leave (a duration text) back to Worktime and its total.
    void GiveBack(const MemTabRow& row, std::string_view duration, StatItemIndex item, double& total) {
        const auto seconds = ParseTimeOfDay(duration);
        if (!seconds) {
            problems_.push_back({row.Ucode.str(), "MemTab",
                                 row.UDate.str() + " " + row.TimeName.str() + " " + std::string(duration),
                                 "not given back: the duration cannot be read"});
            return;
        }
        t_.Worktime += static_cast<double>(*seconds) / 3600;
        total -= rules_.Count(item, *seconds, ValueKind::Seconds);
    }

    std::vector<MemTabRow>& memTab_;
    std::vector<PeriodMemory> memory_;
    const LeaveContext& ctx_;
    const StatRules& rules_;
    StatTotals& t_;
    MemStatRow& stat_;
    NumberedTable<MemAbnorRow>& memAbnor_;
    std::vector<RunProblem>& problems_;
};

}  // namespace

void OverlayLeaves(std::vector<MemTabRow>& memTab, std::span<const LeaveRow* const> leaves,
                   const LeaveContext& ctx, StatTotals& totals, MemStatRow& statRow,
                   NumberedTable<MemAbnorRow>& memAbnor, std::vector<RunProblem>& problems) {
    if (leaves.empty()) return;
    LeaveOverlay overlay(memTab, ctx, totals, statRow, memAbnor, problems);
    for (const LeaveRow* leave : leaves) overlay.Lay(*leave);
    overlay.RemoveTouchedFloating();
}

void AddOutAndFreeOvertime(const std::vector<MemRecordRow>& memRecord, const StatRules& rules,
                           const CalcTexts& texts, StatTotals& totals,
                           NumberedTable<MemAbnorRow>& memAbnor, std::vector<RunProblem>& problems) {
    for (std::size_t i = 0; i + 1 < memRecord.size(); ++i) {
        const MemRecordRow& first = memRecord[i];
        const MemRecordRow& second = memRecord[i + 1];
        if (first.Disposeplan == texts.DisposeRecord) continue;
        const bool freeOvertime = first.Utype == "i" && second.Utype == "o";
        const bool goingOut = first.Utype == "0" && second.Utype == "1";
        if (!freeOvertime && !goingOut) continue;

        const auto from = ParseMoment(first.Checktime.view());
        const auto to = ParseMoment(second.Checktime.view());
        if (!from || !to) {
            problems.push_back({first.Ucode.str(), "MemRecord",
                                "Checktime=" + first.Checktime.str() + " Checktime=" + second.Checktime.str(),
                                "no going-out or free-overtime entry: a punch time cannot be read"});
            ++i;
            continue;
        }
        const Moment m = *to - *from;
        MemAbnorRow entry;
        entry.Ucode = first.Ucode.view();
        entry.Udept = first.Udept.view();
        entry.Uname = first.Uname.view();
        entry.Begintime = first.Checktime.view();
        entry.Endtime = second.Checktime.view();
        entry.Timelong = DurationText(m);
        entry.Workday = 0;
        if (freeOvertime) {
            entry.Abnorshow = texts.RecordAbnor1;
            totals.Freeovertime += rules.Count(ItemFreeOT, static_cast<double>(m), ValueKind::Seconds);
        } else {
            entry.Abnorshow = texts.RecordAbnor2;
            totals.Worktime -= static_cast<double>(m) / 3600;
            totals.Awaytime += rules.Count(ItemOut, static_cast<double>(m), ValueKind::Seconds);
        }
        memAbnor.Append(std::move(entry));
        ++i;  // continue after the second punch
    }
}

}  // namespace kelvork::engine
