#pragma once
// Loading what one calculation run reads: everything for all employees of the run at once, with
// a handful of bulk statements (never one per employee, per date or per candidate period), handed
// to the calculation core as plain rows (engine/calc_input.h).
//
//   std::vector<engine::RunProblem> problems;
//   engine::CalcInput input;
//   if (DbStatus st = loader::LoadCalcInput(db, request, input, problems); !st.ok()) fail(st);
//   engine::RunCalculation(input, request, tables, problems, callbacks);
//
// The loaders only read. A row whose number or flag cannot be read (a text in an integer column,
// for instance) is reported in `problems` with the employee, the table and the value, and left
// out; texts the core reads itself (dates, times) are handed over as stored, and the core reports
// those it cannot use.

#include <vector>

#include "calc_input.h"
#include "calculation_run.h"
#include "database.h"

namespace kelvork::loader {

// Every Dept row, in Deptid order. Fails only when the statement fails.
DbStatus LoadDepartments(Database& db, std::vector<engine::DepartmentRow>& departments,
                         std::vector<engine::RunProblem>& problems);

// Fills `input` for a run of `request` (emptied first):
// - departments: every Dept row; employees: the ones the request chooses (one Userid, the
//   employees of `request.deptids`, or all), with their department names, in Userid order;
// - periods: every TimeTable row; cycles: the V_Class rows (order Schid, BeginDay, Timeid);
// - of the chosen employees that take part in attendance (the run passes the others over):
//   assignments overlapping S ... E, temporary shifts of S ... E, punches from the day before S
//   to the end of the day after E (the windows of the span's periods reach that far) in no
//   particular order, and the leaves that may touch the span (the core applies the exact rule);
// - holidays: every Holiday row (order BDate);
// - the parameters (LoadAttendanceParameters) and the built-in texts.
// On failure `input` holds what was read so far and the status says which statement failed.
DbStatus LoadCalcInput(Database& db, const engine::RunRequest& request, engine::CalcInput& input,
                       std::vector<engine::RunProblem>& problems);

}  // namespace kelvork::loader
