#pragma once
// Period evaluation: which planned periods of an employee count, and for each of them the
// judgement (attended or absent, late, early, missing punches, overtime, hours worked) written
// into its MemTab row and added to the employee's totals.

#include <vector>

#include "calc_input.h"
#include "parameters.h"
#include "statistics.h"
#include "working_tables.h"

namespace kelvork::engine {

// Kind of a date for the overtime rates.
enum DayTypeValue : int { DayWorkday = 0, DayRest = 1, DayHoliday = 2 };

// 2 when a holiday covers `day` (begin <= the day's midnight < begin + Days), else 1 on Saturday
// and Sunday, else 0.
int DayType(DayNumber day, const std::vector<HolidaySpan>& holidays);

// What the evaluation reads besides the periods. Everything is borrowed for the call.
struct EvaluationContext {
    const StatRules& rules;
    const TBasePar& basePar;
    const std::vector<HolidaySpan>& holidays;
};

// Marks the periods to evaluate with MaxFlag 2, in MemTab order (date, then start): a period the
// matching chose (MaxFlag 1), every period not from a cycle with automatic selection, and on a
// date where the matching chose none, the last period of that date. Periods without a date are
// removed.
void SelectPeriodsToEvaluate(std::vector<MemTabRow>& memTab);

// Evaluates every period with MaxFlag 2 and an employee number, in MemTab order, writing TLate,
// TEarly, TAdd, IsNoIn, IsNoOut, IsNowork and AbnorFlag and adding to `totals` (which the caller
// zeroed for the employee). A period whose times cannot be read is reported in `problems` and
// left as it is; it counts nothing.
void EvaluatePeriods(std::vector<MemTabRow>& memTab, const EvaluationContext& ctx,
                     StatTotals& totals, std::vector<RunProblem>& problems);

// Appends every evaluated period (MaxFlag 2, an employee number) to `memUClass`, fields Ucode ...
// AbnorFlag as they are.
void CopyEvaluatedPeriods(const std::vector<MemTabRow>& memTab, std::vector<MemUClassRow>& memUClass);

}  // namespace kelvork::engine
