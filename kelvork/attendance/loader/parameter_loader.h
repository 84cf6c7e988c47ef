#pragma once
// The attendance parameters as the calculation reads them: the BasePara row, the nine statistic
// items and the leave classes, copied into the core's records (engine/parameters.h). Read only:
// the start-up (startup_rows.h) and the parameter screen write these tables.

#include <vector>

#include "calc_input.h"
#include "database.h"
#include "parameters.h"

namespace kelvork::loader {

// Fills `params` (the unit texts keep their built-in defaults):
// - basePar from the first BasePara row; without a row, the values a freshly added row holds
//   (Company "总公司", Workdaylong 480, rates 1, everything else 0 or false);
// - items[i] from the first Statitems row named kStatItemNames[i] (letter case ignored), or, when
//   there is none, named by the item's old Chinese name; without either, a fresh row's values
//   (Units 0, MinUnit 1, SRControl 2, no flags);
// - leaveClasses: every LeaveClass row in Classid order.
// Values are kept as stored, also unusable ones (the core reports those). A value that cannot be
// read at all (a text in a number column) is reported with the table and column, and the fresh
// row's value is used instead; a LeaveClass row with an unreadable Classid is left out.
DbStatus LoadAttendanceParameters(Database& db, engine::AttendanceParameters& params,
                                  std::vector<engine::RunProblem>& problems);

}  // namespace kelvork::loader
