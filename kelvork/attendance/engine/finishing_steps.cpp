#include "finishing_steps.h"

#include "day_marks.h"
#include "leave_overlay.h"

namespace kelvork::engine {

void LayLeavesAndOutings(EmployeeRun& run) {
    MemStatRow& stat = run.tables.MemStat.table.rows[run.memStatRow];
    const LeaveContext ctx{run.rules,
                           run.input.parameters,
                           run.input.texts,
                           run.tables.MemStat,
                           MomentOf(run.request.firstDate, run.request.firstTime),
                           MomentOf(run.request.lastDate, run.request.lastTime)};
    OverlayLeaves(run.memTab, run.leaves, ctx, run.totals, stat, run.tables.MemAbnor, run.problems);
    AddOutAndFreeOvertime(run.memRecord.rows, run.rules, run.input.texts, run.totals, run.tables.MemAbnor,
                          run.problems);
}

void MarkDays(EmployeeRun& run) {
    WriteDayMarks(run.memTab, run.request.firstDate, run.input.texts, run.input.parameters.leaveClasses,
                  run.tables.MemDay[run.memDayRow]);
}

RunCallbacks WithStandardFinishing(RunCallbacks callbacks) {
    if (!callbacks.leavesAndOutings) callbacks.leavesAndOutings = LayLeavesAndOutings;
    if (!callbacks.dayMarks) callbacks.dayMarks = MarkDays;
    return callbacks;
}

}  // namespace kelvork::engine
