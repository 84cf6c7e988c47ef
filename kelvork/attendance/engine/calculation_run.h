#pragma once
// A calculation run: for each chosen employee in turn, the planned periods of the span, the
// punches matched to them, the evaluation of the periods and the employee's totals, collected in
// the result tables (punch list, evaluated periods, leave and out entries, totals, day marks).
// The run reads only the plain input it is given and changes nothing but the working tables.

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calc_input.h"
#include "date_time.h"
#include "statistics.h"
#include "working_tables.h"

namespace kelvork::engine {

// What the operator chose: the span and the employees.
struct RunRequest {
    DayNumber firstDate = 0;  // S
    DayNumber lastDate = 0;   // E
    int firstTime = 1;        // seconds after midnight of S: 00:00:01
    int lastTime = 86399;     // of E: 23:59:59
    // One employee (exactly this Userid), or the employees of these departments, or, when both
    // are unset, every employee. Userid wins when both are set.
    std::optional<std::string> userid;
    std::optional<std::vector<int>> deptids;
};

// The department `deptid` and every department below it, in the order the department picker
// walks them (the department first, then a pre-order walk of its subtree). The tree is built as
// the picker builds it with every department permitted: roots first, then the other rows ordered
// by SupDeptid and Deptid, each under the first node already placed whose Deptid is its parent; a
// row whose parent is not placed yet is left out. A department not in the tree gives itself alone.
std::vector<int> DepartmentSubtree(const std::vector<DepartmentRow>& departments, int deptid);

// The employees of the request, in the order of `input.employees`.
std::vector<const EmployeeRow*> ChooseEmployees(const CalcInput& input, const RunRequest& request);

// The state of one employee while the run finishes it, handed to the finishing steps.
struct EmployeeRun {
    const CalcInput& input;
    const RunRequest& request;
    const EmployeeRow& employee;
    std::vector<MemTabRow>& memTab;             // the employee's planned periods
    NumberedTable<MemRecordRow>& memRecord;     // the employee's listed punches
    std::span<const LeaveRow* const> leaves;    // the employee's UserLeave rows, table order
    const StatRules& rules;
    StatTotals& totals;
    WorkingTables& tables;
    std::size_t memStatRow;  // index of the employee's row in tables.MemStat.table.rows
    std::size_t memDayRow;   // index of the employee's row in tables.MemDay
    std::vector<RunProblem>& problems;
};

struct RunCallbacks {
    // Called before each employee: the CheckRecordProcess2 text for the employee, the employee's
    // position (1 ... total) and the number of employees found. Employees passed over count too.
    std::function<void(const std::string& text, int position, int total)> progress;
    // Asked before each employee; true stops the run there (the employees done so far stay).
    std::function<bool()> cancelRequested;
    // Leaves, business trips, going out and free overtime, laid over the evaluated periods: after
    // the evaluation, before the totals are finished. Unset: the standard step
    // (LayLeavesAndOutings of finishing_steps.h).
    std::function<void(EmployeeRun&)> leavesAndOutings;
    // The day marks: after the evaluated periods were copied into MemUClass. Unset: MarkDays.
    std::function<void(EmployeeRun&)> dayMarks;
};

enum class RunOutcome {
    Done,
    EmptySpan,  // S after E: nothing was done, the tables are as they were
    NoUser,     // no employee found; `message` holds the NoUser text
    Cancelled,  // stopped between employees
};

struct RunSummary {
    RunOutcome outcome = RunOutcome::Done;
    int employeesFound = 0;
    int employeesCalculated = 0;
    int employeesPassedOver = 0;  // not taking part in attendance
    std::string message;
};

// Runs the calculation of `request` over `input` into `tables`, which are emptied first (unless S
// is after E) and left in the orders they are shown in. `tables.MemStat` is defined from the leave
// classes of the parameters. Every input row the run cannot use is appended to `problems` with the
// employee, the table and the value; the run goes on with the rest.
RunSummary RunCalculation(const CalcInput& input, const RunRequest& request, WorkingTables& tables,
                          std::vector<RunProblem>& problems, const RunCallbacks& callbacks = {});

}  // namespace kelvork::engine
