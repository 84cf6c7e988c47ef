#include "period_evaluation.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>

namespace kelvork::engine {

int DayType(DayNumber day, const std::vector<HolidaySpan>& holidays) {
    const Moment midnight = MomentOf(day, 0);
    for (const HolidaySpan& h : holidays)
        if (h.begin <= midnight && midnight < h.begin + static_cast<Moment>(h.Days) * kSecondsPerDay)
            return DayHoliday;
    const int weekday = WeekdayOf(day);
    return weekday == 0 || weekday == 6 ? DayRest : DayWorkday;
}

void SelectPeriodsToEvaluate(std::vector<MemTabRow>& memTab) {
    std::erase_if(memTab, [](const MemTabRow& row) { return row.UDate.empty(); });

    struct DateState {
        bool chosen = false;   // the matching chose a period of this date
        std::size_t last = 0;  // the date's last period in MemTab order
    };
    std::unordered_map<std::string_view, DateState> dates;
    for (std::size_t i = 0; i < memTab.size(); ++i) {
        DateState& d = dates[memTab[i].UDate.view()];
        d.chosen = d.chosen || memTab[i].MaxFlag == MaxChosenByPunches;
        d.last = i;
    }
    for (MemTabRow& row : memTab)
        if (row.MaxFlag == MaxChosenByPunches || !row.AutoClass) row.MaxFlag = MaxEvaluated;
    for (const auto& [date, d] : dates)
        if (!d.chosen) memTab[d.last].MaxFlag = MaxEvaluated;
}

namespace {

class PeriodEvaluator {
public:
    PeriodEvaluator(const EvaluationContext& ctx, StatTotals& totals, std::vector<RunProblem>& problems)
        : ctx_(ctx), rules_(ctx.rules), bp_(ctx.basePar), t_(totals), problems_(problems) {}

    void Evaluate(MemTabRow& row) {
        const auto day = ParseDateText(row.UDate.view());
        if (!day) return Unreadable(row, "UDate", row.UDate.view());
        dayType_ = DayType(*day, ctx_.holidays);
        if (row.IsFreeTime)
            EvaluateFloating(row);
        else
            EvaluateFixed(row);
    }

private:
    // Reads a clock or punch text of the period; reports it when it is set but unreadable.
    bool Read(const MemTabRow& row, const char* field, std::string_view text, Moment& out) {
        const auto m = ParseMoment(text);
        if (!m) {
            Unreadable(row, field, text);
            return false;
        }
        out = *m;
        return true;
    }

    void Unreadable(const MemTabRow& row, const char* field, std::string_view text) {
        problems_.push_back({row.Ucode.str(), "MemTab",
                             row.UDate.str() + " " + row.TimeName.str() + " " + field + "=" +
                                 std::string(text),
                             "period not evaluated: the time cannot be read"});
    }

    double Rate() const {
        return dayType_ == DayHoliday ? bp_.FOvertime : dayType_ == DayRest ? bp_.HOvertime : bp_.WOvertime;
    }

    // Adds an overtime figure to the total of its day type and to all overtime.
    void AddOvertime(double j) {
        (dayType_ == DayHoliday ? t_.FOvertime : dayType_ == DayRest ? t_.HOvertime : t_.WOvertime) += j;
        t_.Overtime += j;
    }

    // Early-arrival or late-departure overtime of e seconds: the rate multiplies the figure.
    void CountEdgeOvertime(Moment e) {
        if (rules_.Item(ItemOvertime).Istimes)
            t_.Overtime += 1;
        else
            AddOvertime(rules_.Figure(ItemOvertime, static_cast<double>(e), ValueKind::Seconds) * Rate());
    }

    void EvaluateFloating(MemTabRow& row) {
        if (row.AOntime.empty() || row.AOfftime.empty()) {
            row.AbnorFlag = AbnorFreeIncomplete;
            return;
        }
        Moment in = 0, out = 0;
        if (!Read(row, "AOntime", row.AOntime.view(), in) || !Read(row, "AOfftime", row.AOfftime.view(), out))
            return;
        const Moment m = out - in;
        if (!row.IsOverTime) {
            t_.Worktime += static_cast<double>(m) / 3600;
            return;
        }
        // The rate multiplies the duration before it is converted and rounded.
        const double r = Rate();
        const double weighted = static_cast<double>(m) * r;
        row.TAdd = FractionalLongDurationText(weighted);
        const TStatItem& item = rules_.Item(ItemOvertime);
        if (item.Istimes) {
            t_.Overtime += 1;
            return;
        }
        double j = 0;
        if (item.Units == UnitWorkdays) {
            if (row.WorkLong > 0) {
                j = rules_.Figure(ItemOvertime, row.Workday * (weighted / 60 / row.WorkLong),
                                  ValueKind::Workdays);
            } else {
                problems_.push_back({row.Ucode.str(), "MemTab",
                                     row.UDate.str() + " " + row.TimeName.str() +
                                         " WorkLong=" + std::to_string(row.WorkLong),
                                     "floating overtime counts 0 workdays: the period has no length"});
            }
        } else {
            j = rules_.Figure(ItemOvertime, weighted, ValueKind::Seconds);
        }
        AddOvertime(j);
    }

    void EvaluateFixed(MemTabRow& row) {
        const bool noIn = row.AOntime.empty();
        const bool noOut = row.AOfftime.empty();
        // Every time the judgement needs is read first, so an unreadable one counts nothing at all.
        Moment on = 0, in = 0, off = 0, out = 0;
        if (!noIn && (!Read(row, "OnTime", row.OnTime.view(), on) || !Read(row, "AOntime", row.AOntime.view(), in)))
            return;
        if (!noOut &&
            (!Read(row, "OffTime", row.OffTime.view(), off) || !Read(row, "AOfftime", row.AOfftime.view(), out)))
            return;

        t_.scheduledWorkdays += row.Workday;
        t_.Normal += rules_.CountByPeriod(ItemNormal, row.WorkLong, row.Workday);
        if ((noIn && noOut) || (noIn && row.OnFlag && !bp_.Noclockin) ||
            (noOut && row.OffFlag && !bp_.Noclockout)) {
            row.IsNowork = true;
            row.AbnorFlag = AbnorAbsent;
            t_.Absenttime += rules_.CountByPeriod(ItemAbsent, row.WorkLong, row.Workday);
            return;
        }

        Moment overtimeSum = 0;  // the period's early-arrival and late-departure overtime, seconds
        if (!noIn) {
            const Moment m = in - on;
            if (m > static_cast<Moment>(row.LateTime) * 60) {
                CountLate(row, m);
            } else if (bp_.IsovertimeIn && m < -static_cast<Moment>(bp_.OvertimeIn) * 60) {
                const Moment e = bp_.DeductIn ? -m - static_cast<Moment>(bp_.OvertimeIn) * 60 : -m;
                overtimeSum = e;
                row.TAdd = DurationText(overtimeSum);
                CountEdgeOvertime(e);
            }
        } else if (row.OnFlag) {
            CountLate(row, static_cast<Moment>(bp_.Latetime) * 60);
        } else {
            row.IsNoIn = true;
            row.AbnorFlag = AbnorNoIn;
            t_.Noin += 1;
        }

        if (!noOut) {
            const Moment m = off - out;
            if (m > static_cast<Moment>(row.EarlyTime) * 60) {
                CountEarly(row, m);
            } else if (bp_.Isovertime && m < -static_cast<Moment>(bp_.Overtime) * 60) {
                const Moment e = bp_.DeductOut ? -m - static_cast<Moment>(bp_.Overtime) * 60 : -m;
                overtimeSum += e;
                row.TAdd = DurationText(overtimeSum);
                CountEdgeOvertime(e);
            }
        } else if (row.OffFlag) {
            CountEarly(row, static_cast<Moment>(bp_.Leavetime) * 60);
        } else {
            row.IsNoOut = true;
            row.AbnorFlag = AbnorNoOut;
            t_.Noout += 1;
        }

        // Attended.
        t_.attendedWorkdays += row.Workday;
        t_.Actual += rules_.CountByPeriod(ItemNormal, row.WorkLong, row.Workday);
        if (!row.IsOverTime) {
            t_.Worktime += static_cast<double>(row.WorkLong) / 60;
            return;
        }
        const TStatItem& item = rules_.Item(ItemOvertime);
        if (item.Istimes) {
            t_.Overtime += 1;  // TAdd stays as the check-in and check-out left it
            return;
        }
        const double r = Rate();
        row.TAdd = FractionalLongDurationText(static_cast<double>(row.WorkLong) * r * 60);
        const double j = item.Units == UnitWorkdays
                             ? rules_.Figure(ItemOvertime, row.Workday * r, ValueKind::Workdays)
                             : rules_.Figure(ItemOvertime, row.WorkLong * r, ValueKind::Minutes);
        AddOvertime(j);
    }

    void CountLate(MemTabRow& row, Moment m) {
        t_.Worktime -= static_cast<double>(m) / 3600;
        row.TLate = DurationText(m);
        row.AbnorFlag = AbnorLate;
        t_.Latetime += rules_.Count(ItemLate, static_cast<double>(m), ValueKind::Seconds);
    }

    void CountEarly(MemTabRow& row, Moment m) {
        t_.Worktime -= static_cast<double>(m) / 3600;
        row.TEarly = DurationText(m);
        row.AbnorFlag = AbnorEarly;
        t_.Earlytime += rules_.Count(ItemEarly, static_cast<double>(m), ValueKind::Seconds);
    }

    const EvaluationContext& ctx_;
    const StatRules& rules_;
    const TBasePar& bp_;
    StatTotals& t_;
    std::vector<RunProblem>& problems_;
    int dayType_ = DayWorkday;
};

}  // namespace

void EvaluatePeriods(std::vector<MemTabRow>& memTab, const EvaluationContext& ctx,
                     StatTotals& totals, std::vector<RunProblem>& problems) {
    PeriodEvaluator evaluator(ctx, totals, problems);
    for (MemTabRow& row : memTab)
        if (row.MaxFlag == MaxEvaluated && !row.Ucode.empty()) evaluator.Evaluate(row);
}

void CopyEvaluatedPeriods(const std::vector<MemTabRow>& memTab, std::vector<MemUClassRow>& memUClass) {
    for (const MemTabRow& row : memTab)
        if (row.MaxFlag == MaxEvaluated && !row.Ucode.empty())
            memUClass.emplace_back(static_cast<const PeriodFields&>(row));
}

}  // namespace kelvork::engine
