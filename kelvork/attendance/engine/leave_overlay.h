#pragma once
// Leaves and business trips laid over an employee's evaluated periods, and the going-out and
// free-overtime entries made from the listed punches. Both add rows to MemAbnor and change the
// employee's totals; they run after the period evaluation and before the totals are finished.

#include <span>
#include <vector>

#include "calc_input.h"
#include "parameters.h"
#include "statistics.h"
#include "working_tables.h"

namespace kelvork::engine {

// What the leave overlay reads besides the periods and leaves. Everything is borrowed for the call.
struct LeaveContext {
    const StatRules& rules;
    const AttendanceParameters& params;  // the leave classes
    const CalcTexts& texts;              // Beaway, the text of a business trip
    const MemStatTable& memStat;         // the leave-class columns of MemStat
    Moment spanBegin = 0;                // the run's first date at its first time
    Moment spanEnd = 0;                  // the run's last date at its last time
};

// Lays the employee's leaves (UserLeave rows, in table order) over the evaluated periods of
// `memTab`. A leave counts when it begins before the span's end and ends after its beginning.
// Each leave touching a period opens or clears that period's check-in and check-out sides, gives
// back its absence or its attendance and marks the period's Memo; touched floating periods are
// removed. Per leave, its minutes and workdays inside periods go to Leave and to the class's
// MemStat column of `statRow` (a trip: to Busyleave and the trip workdays), and one MemAbnor row
// is appended.
//
// A period touched by several leaves gives back its attended workday once, and stays an absent
// period for every one of them. A leave whose times cannot be read, or which ends before it
// begins, is reported in `problems` and left out.
void OverlayLeaves(std::vector<MemTabRow>& memTab, std::span<const LeaveRow* const> leaves,
                   const LeaveContext& ctx, StatTotals& totals, MemStatRow& statRow,
                   NumberedTable<MemAbnorRow>& memAbnor, std::vector<RunProblem>& problems);

// Walks the employee's listed punches (MemRecord, `Lsh` order): an "i" not proposed for deletion
// directly followed by an "o" is a free-overtime entry, a "0" not proposed for deletion directly
// followed by a "1" a going-out entry. Each entry appends a MemAbnor row; free overtime counts
// Freeovertime, going out takes its hours off Worktime and counts Awaytime. Punch times that
// cannot be read are reported and make no entry.
void AddOutAndFreeOvertime(const std::vector<MemRecordRow>& memRecord, const StatRules& rules,
                           const CalcTexts& texts, StatTotals& totals,
                           NumberedTable<MemAbnorRow>& memAbnor, std::vector<RunProblem>& problems);

}  // namespace kelvork::engine
