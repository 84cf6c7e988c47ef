#include "statistics.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace kelvork::engine {

namespace {

// Quotients within this share of a whole number are that number (see the header).
double Hair(double q) { return 1e-9 * std::fmax(1.0, std::fabs(q)); }

std::string FormatNumber(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    // Shortest form that reads back as the same number.
    for (int precision = 1; precision <= 17; ++precision) {
        char shorter[64];
        std::snprintf(shorter, sizeof shorter, "%.*g", precision, v);
        if (std::strtod(shorter, nullptr) == v) return shorter;
    }
    return buf;
}

bool UnitIsTime(int units) { return units == UnitMinutes || units == UnitHours; }

}  // namespace

double RoundQuotient(double q, int srControl) {
    if (!std::isfinite(q)) return q;
    const double nearest = std::nearbyint(q);
    const bool whole = std::fabs(q - nearest) <= Hair(q);
    switch (srControl) {
        case RoundDown: return whole ? nearest : std::trunc(q);
        case RoundUp: return whole ? nearest : std::trunc(q) + 1;
        case RoundNearest: return RoundHalfEven(q);
        default: return q;
    }
}

double RoundHalfEven(double x) {
    if (!std::isfinite(x)) return x;
    const double lower = std::floor(x);
    const double frac = x - lower;
    if (std::fabs(frac - 0.5) <= Hair(x)) return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
    return frac < 0.5 ? lower : lower + 1;
}

double RoundTenthHalfEven(double x) { return TidyFigure(RoundHalfEven(x * 10) / 10); }

double TidyFigure(double x) {
    if (!std::isfinite(x) || std::fabs(x) >= 1e6) return x;
    const double tidy = std::nearbyint(x * 1e9) / 1e9;
    return tidy == 0 ? 0.0 : tidy;  // never a negative zero
}

StatRules::StatRules(const AttendanceParameters& params)
    : items_(params.items), workdaylong_(params.basePar.Workdaylong) {
    if (!(workdaylong_ > 0))
        problems_.push_back({"BasePara", "Workdaylong=" + std::to_string(workdaylong_),
                             "workday conversions count 0"});
    for (const TStatItem& item : items_) {
        if (item.Istimes) continue;  // counted by occurrences: unit, minimum and rounding unused
        if (item.Units < UnitMinutes || item.Units > UnitWorkdays)
            problems_.push_back({"Statitems", item.Itemname + ".Units=" + std::to_string(item.Units),
                                 "the item's figures count 0"});
        if (!(item.MinUnit > 0))
            problems_.push_back({"Statitems", item.Itemname + ".MinUnit=" + FormatNumber(item.MinUnit),
                                 "the item's figures are not rounded"});
        if (item.SRControl < RoundDown || item.SRControl > RoundNearest)
            problems_.push_back({"Statitems",
                                 item.Itemname + ".SRControl=" + std::to_string(item.SRControl),
                                 "the item's figures are not rounded"});
    }
}

double StatRules::Convert(StatItemIndex item, double v, ValueKind k) const {
    const int units = items_[item].Units;
    const double L = workdaylong_;
    const bool haveL = workdaylong_ > 0;
    switch (k) {
        case ValueKind::Minutes:
            if (units == UnitMinutes) return v;
            if (units == UnitHours) return v / 60;
            if (units == UnitWorkdays) return haveL ? v / L : 0;
            return 0;
        case ValueKind::DayFraction:
            if (units == UnitMinutes) return v * 1440;
            if (units == UnitHours) return v * 24;
            if (units == UnitWorkdays) return haveL ? v * 1440 / L : 0;
            return 0;
        case ValueKind::Seconds:
            if (units == UnitMinutes) return v / 60;
            if (units == UnitHours) return v / 3600;
            if (units == UnitWorkdays) return haveL ? v / (60 * L) : 0;
            return 0;
        case ValueKind::Workdays:
            if (units == UnitMinutes) return haveL ? v * L : 0;
            if (units == UnitHours) return haveL ? v * L / 60 : 0;
            if (units == UnitWorkdays) return v;
            return 0;
    }
    return 0;
}

double StatRules::Figure(StatItemIndex item, double v, ValueKind k) const {
    const double converted = Convert(item, v, k);
    if (items_[item].Isaddup && item != ItemLeave) return converted;
    return RoundTotal(item, converted);
}

double StatRules::Count(StatItemIndex item, double v, ValueKind k) const {
    return items_[item].Istimes ? 1.0 : Figure(item, v, k);
}

double StatRules::CountByPeriod(StatItemIndex item, int workLong, double workday) const {
    if (items_[item].Istimes) return 1.0;
    if (UnitIsTime(items_[item].Units)) return Figure(item, workLong, ValueKind::Minutes);
    return Figure(item, workday, ValueKind::Workdays);
}

double StatRules::RoundTotal(StatItemIndex item, double total) const {
    const TStatItem& it = items_[item];
    if (!(it.MinUnit > 0) || it.SRControl < RoundDown || it.SRControl > RoundNearest) return total;
    return TidyFigure(RoundQuotient(total / it.MinUnit, it.SRControl) * it.MinUnit);
}

void StatRules::FinishTotals(StatTotals& t) const {
    auto roundAfterAccumulating = [this](StatItemIndex item, std::initializer_list<double*> totals) {
        const TStatItem& it = items_[item];
        if (it.Istimes || !it.Isaddup) return;
        for (double* total : totals) *total = RoundTotal(item, *total);
    };
    roundAfterAccumulating(ItemNormal, {&t.Normal, &t.Actual});
    roundAfterAccumulating(ItemLate, {&t.Latetime});
    roundAfterAccumulating(ItemEarly, {&t.Earlytime});
    roundAfterAccumulating(ItemBLeave, {&t.Busyleave});
    roundAfterAccumulating(ItemLeave, {&t.Leave});
    roundAfterAccumulating(ItemAbsent, {&t.Absenttime});
    roundAfterAccumulating(ItemOut, {&t.Awaytime});
    roundAfterAccumulating(ItemOvertime,
                           {&t.Overtime, &t.Freeovertime, &t.WOvertime, &t.HOvertime, &t.FOvertime});

    for (double* total : {&t.Normal, &t.Actual, &t.Latetime, &t.Earlytime, &t.Leave, &t.Absenttime,
                          &t.Overtime, &t.WOvertime, &t.HOvertime, &t.FOvertime, &t.Freeovertime,
                          &t.Awaytime, &t.Busyleave})
        *total = TidyFigure(*total);

    // Hours worked to one decimal, as the printed "%8.1f" text reads back.
    char text[64];
    std::snprintf(text, sizeof text, "%8.1f", TidyFigure(t.Worktime));
    t.Worktime = TidyFigure(std::strtod(text, nullptr));

    if (t.scheduledWorkdays != 0) {
        const double rate = RoundHalfEven(
            TidyFigure((t.attendedWorkdays + t.tripWorkdays) / t.scheduledWorkdays * 100));
        t.Attrate = rate > 100 ? 100 : rate;
    } else {
        t.Attrate = 0;
    }
}

void WriteTotals(const StatTotals& t, MemStatRow& row) {
    row.Normal = t.Normal;
    row.Actual = t.Actual;
    row.Latetime = t.Latetime;
    row.Earlytime = t.Earlytime;
    row.Absenttime = t.Absenttime;
    row.Overtime = t.Overtime;
    row.WOvertime = t.WOvertime;
    row.HOvertime = t.HOvertime;
    row.FOvertime = t.FOvertime;
    row.Freeovertime = t.Freeovertime;
    row.Leave = t.Leave;
    row.Awaytime = t.Awaytime;
    row.Busyleave = t.Busyleave;
    row.Noin = t.Noin;
    row.Noout = t.Noout;
    row.Worktime = t.Worktime;
    row.Attrate = t.Attrate;
    for (double& figure : row.LeaveClasses) figure = TidyFigure(figure);
}

}  // namespace kelvork::engine
