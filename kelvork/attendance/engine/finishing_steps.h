#pragma once
// The steps that finish an employee of a calculation run after the period evaluation: leaves,
// business trips, going out and free overtime laid over the evaluated periods, and the day marks.
// The result screen and kelvork-calc run the calculation with these hooks, so both show the same.

#include "calculation_run.h"

namespace kelvork::engine {

// Lays the employee's leaves and trips over the evaluated periods (within the run's span, first
// and last time included), then makes the going-out and free-overtime entries of the listed
// punches. Adds to the employee's totals, MemStat row and MemAbnor.
void LayLeavesAndOutings(EmployeeRun& run);

// Writes the marks of the employee's periods into the employee's MemDay row.
void MarkDays(EmployeeRun& run);

// `callbacks` with every unset finishing hook set to the two steps above (progress and cancel are
// kept as given).
RunCallbacks WithStandardFinishing(RunCallbacks callbacks = {});

}  // namespace kelvork::engine
