#pragma once
// Daily schedule resolution: an employee's cycle assignments, expanded through the shift cycles,
// less the holidays for an employee who rests on them, with temporary shifts replacing the
// cycle's periods on their dates. Two forms share every rule: ResolvePlannedPeriods writes full
// planned periods (clock texts and windows) for the calculation, ListPlannedPeriods only names and
// times of day for the scheduling screen's plan grid.

#include <cstddef>
#include <vector>

#include "calc_input.h"
#include "date_time.h"
#include "working_tables.h"

namespace kelvork::engine {

// A TimeTable row with its times read (seconds since midnight).
struct PreparedPeriod {
    const PeriodRow* row = nullptr;
    int in = 0, out = 0;           // Intime, Outtime
    int bIn = 0, eIn = 0;          // BIntime, EIntime
    int bOut = 0, eOut = 0;        // BOuttime, EOuttime
    bool startEndReadable = false;  // Intime and Outtime can be read
    bool windowsReadable = false;   // the four window times can be read
    // A period the calculation can plan: start and end readable, and the windows too unless the
    // period is floating (a floating period's windows are the whole period).
    bool Plannable() const {
        return startEndReadable && (row->IsFreetime || windowsReadable);
    }
};

// The periods, cycles and holidays of a run, read once. It keeps pointers into the vectors it is
// given, which must outlive it and stay unchanged. Periods whose times cannot be read, V_Class
// rows whose period does not exist and unusable holidays are reported once (no employee).
class PlanCatalog {
public:
    PlanCatalog(const std::vector<PeriodRow>& periods, const std::vector<CycleRow>& cycles,
                const std::vector<HolidayRow>& holidays, std::vector<RunProblem>& problems);

    // The period `timeid`, or nullptr when TimeTable has no such row.
    const PreparedPeriod* Period(int timeid) const;

    // One V_Class row: the cycle's columns and its period.
    struct Slot {
        const CycleRow* cycle = nullptr;
        const PreparedPeriod* period = nullptr;
    };
    // The V_Class rows of cycle `schid` in the view's order (empty when the cycle has no period).
    const std::vector<Slot>& CycleSlots(int schid) const;
    // The rows of cycle `schid` whose BeginDay is `beginDay`, in the view's order.
    std::vector<Slot> SlotsOfDay(int schid, int beginDay) const;

    const std::vector<HolidaySpan>& Holidays() const { return holidays_; }

private:
    struct Cycle {
        int schid = 0;
        std::vector<Slot> placements;   // view order
        std::vector<std::size_t> byDay;  // positions into placements, by BeginDay, view order kept
    };
    const Cycle* FindCycle(int schid) const;

    std::vector<PreparedPeriod> periods_;  // by Timeid
    std::vector<Cycle> cycles_;            // by schid
    std::vector<HolidaySpan> holidays_;
};

// The plan rows of one employee. Rows of other employees in the vectors are ignored.
struct EmployeePlan {
    std::string_view Userid;
    std::string_view Udept;  // department name
    std::string_view Uname;  // employee name
    bool Isrest = false;     // rests on holidays
    std::vector<const AssignmentRow*> assignments;  // Usershift rows, any order
    std::vector<const TempShiftRow*> tempShifts;    // UserTempshift rows, any order
};

// The planned periods of `plan` from S to E (both inclusive), as MemTab rows in the order
// "UDate;OnTime". `twoday` is the parameter that places a period passing midnight (1: on the date
// it ends, otherwise on the date it starts). Empty when E is before S. Rows the expansion cannot
// use (a date that is not "yyyy-mm-dd", a cycle with fewer than 1 unit or units other than day,
// week or month) are reported with the employee and skipped; nothing else is reported here.
std::vector<MemTabRow> ResolvePlannedPeriods(const PlanCatalog& catalog, const EmployeePlan& plan,
                                             DayNumber s, DayNumber e, int twoday,
                                             std::vector<RunProblem>& problems);

// The same expansion for the plan grid: MemClass rows (Ucode, UDate, TimeName, and the period's
// Intime and Outtime as "HH:mm"), in the order `OnTime`.
std::vector<MemClassRow> ListPlannedPeriods(const PlanCatalog& catalog, const EmployeePlan& plan,
                                            DayNumber s, DayNumber e,
                                            std::vector<RunProblem>& problems);

// The BeginDay of the cycle that date `d` falls on, for an assignment that began on `b` (day
// count n = d - b + 1). `cycles` must be at least 1 and `units` 0, 1 or 2.
int CycleBeginDay(int units, int cycles, DayNumber b, DayNumber d);

// The clock texts of a period planned on date `d` (OnTime, OffTime and the two windows).
struct PeriodClock {
    std::string OnTime, OffTime, SOntime, EOntime, SOfftime, EOfftime;
};
PeriodClock PeriodClockTexts(const PreparedPeriod& period, DayNumber d, int twoday);

}  // namespace kelvork::engine
