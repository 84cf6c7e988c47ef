#pragma once
// The statistics of one employee: the totals of the span, the conversion of every value the
// evaluation adds into the unit of its statistic item with the item's rounding, and the finish of
// the totals (rounding after accumulating, hours worked, attendance rate).
//
// Figures come from whole seconds, whole minutes and one-decimal rates, so a quotient that lies a
// floating-point hair away from a whole number of minimum units is that whole number: otherwise a
// 5-minute lateness measured as 300 seconds could round up to 6 minutes.

#include <string>
#include <vector>

#include "parameters.h"
#include "working_tables.h"

namespace kelvork::engine {

// What a value to be converted measures.
enum class ValueKind {
    Minutes,
    DayFraction,  // a difference of two date-times, 1 = 24 hours
    Seconds,      // the same measure in seconds (exact for punch differences)
    Workdays,
};

// The totals of the employee being calculated; all zero at the start of the employee.
struct StatTotals {
    double Normal = 0;
    double Actual = 0;
    double Latetime = 0;
    double Earlytime = 0;
    double Leave = 0;
    double Absenttime = 0;
    double Overtime = 0;
    double WOvertime = 0;
    double HOvertime = 0;
    double FOvertime = 0;
    double Freeovertime = 0;
    int Noin = 0;
    int Noout = 0;
    double Awaytime = 0;
    double Busyleave = 0;
    double Worktime = 0;  // hours
    double Attrate = 0;   // percent, set by FinishTotals

    // Auxiliary totals (workdays), not shown.
    double scheduledWorkdays = 0;
    double attendedWorkdays = 0;
    double tripWorkdays = 0;
};

// A stored parameter the statistics cannot use as it stands.
struct ParameterProblem {
    std::string table;  // "BasePara" or "Statitems"
    std::string value;  // e.g. "Late.MinUnit=0"
    std::string text;   // what the calculation does instead
};

// The conversion and rounding rules of one run, built from the parameters once. It copies what it
// needs; the parameters need not outlive it. Bad stored values never crash: a MinUnit that is not
// greater than 0 or an SRControl outside 0..2 leaves figures unrounded, a Units outside 0..2 or a
// Workdaylong not greater than 0 gives 0 for every conversion that needs it. Problems() lists each.
class StatRules {
public:
    explicit StatRules(const AttendanceParameters& params);

    // The stored values this run could not use, one entry each (empty when all are sound).
    const std::vector<ParameterProblem>& Problems() const { return problems_; }

    const TStatItem& Item(StatItemIndex item) const { return items_[item]; }
    int Workdaylong() const { return workdaylong_; }

    // v of kind k in the unit of `item`, unrounded.
    double Convert(StatItemIndex item, double v, ValueKind k) const;

    // The figure of v for `item`: converted, then rounded to the item's minimum unless the item
    // rounds after accumulating. The Leave item is always rounded per figure.
    double Figure(StatItemIndex item, double v, ValueKind k) const;

    // What counting `item` by v adds to its total: 1 when the item counts occurrences, else Figure.
    double Count(StatItemIndex item, double v, ValueKind k) const;

    // What counting `item` by a period adds: 1 for occurrences; else the figure of the period's
    // `workLong` minutes when the unit is minutes or hours, or of its `workday` workdays.
    double CountByPeriod(StatItemIndex item, int workLong, double workday) const;

    // `total` rounded to a multiple of the item's minimum by its SRControl (unchanged when the
    // minimum or the rounding cannot be used).
    double RoundTotal(StatItemIndex item, double total) const;

    // Finishes the employee: rounds the totals of items that round after accumulating (free
    // overtime by the Overtime item), rounds Worktime to one decimal and sets Attrate.
    void FinishTotals(StatTotals& totals) const;

private:
    TStatItems items_;
    int workdaylong_;
    std::vector<ParameterProblem> problems_;
};

// Writes the finished totals into the employee's MemStat row (the leave-class figures, which the
// leaves add to the row directly, are kept).
void WriteTotals(const StatTotals& totals, MemStatRow& row);

// q rounded to a whole number: 0 toward zero, 1 up when q has a fractional part, 2 to the nearest
// with an exact half going to the even number. A q within a rounding hair of a whole number (or of
// a half, for rule 2) counts as exactly that. Any other rule returns q unchanged.
double RoundQuotient(double q, int srControl);

// x to the nearest whole number, an exact half to the even one (with the same tolerance).
double RoundHalfEven(double x);

// x to the nearest tenth, an exact half tenth to the even tenth (the Workday of a leave entry).
double RoundTenthHalfEven(double x);

// x freed of floating-point noise (to nine decimals), so 0.1 + 0.2 is stored and shown as 0.3.
double TidyFigure(double x);

}  // namespace kelvork::engine
