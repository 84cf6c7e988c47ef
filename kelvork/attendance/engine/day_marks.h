#pragma once
// The day marks of the reports: one short mark per day of the run's range in the employee's
// MemDay row, from the periods left after the evaluation and the leaves.

#include <string>
#include <vector>

#include "date_time.h"
#include "parameters.h"
#include "working_tables.h"

namespace kelvork::engine {

// The mark of one period: with a Memo, "BL" for a business trip, else the Showas of the leave
// class named by the Memo, or "L" when no class has that name (several leaves); without one, by
// AbnorFlag: 0 "/", 1 ">", 2 "<", 3 "-", 4 "[", 5 "]", anything else empty; the "/" of an overtime
// period is "+".
std::string DayMark(const MemTabRow& period, const CalcTexts& texts,
                    const std::vector<TLeaveClass>& leaveClasses);

// Writes the marks of the evaluated periods (MaxFlag 2) of `memTab`, in its order (date, then
// start), into `dayRow`: Day n for the n-th date from `firstDate`; the walk stops at the first
// period past day 31. A mark is written when the day's field is empty or the mark is neither empty
// nor "/", so a day shows its last abnormal mark, or "/" ("+") when all its periods are normal.
// Periods of automatic cycles that the evaluation passed over leave no mark.
void WriteDayMarks(const std::vector<MemTabRow>& memTab, DayNumber firstDate, const CalcTexts& texts,
                   const std::vector<TLeaveClass>& leaveClasses, MemDayRow& dayRow);

}  // namespace kelvork::engine
