#include "calculation_run.h"

#include <algorithm>
#include <string_view>
#include <cstdint>
#include <unordered_map>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "finishing_steps.h"
#include "period_evaluation.h"
#include "planned_periods.h"
#include "punch_matching.h"

namespace kelvork::engine {

namespace {

std::string_view Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Reserves room for `count` rows and, on Linux, asks for huge pages for it: the punch list and
// the period list of a large run fill hundreds of megabytes, and faulting them in page by page
// costs more than the calculation itself. Only a hint; nothing depends on it being granted.
template <typename Row>
void ReserveLarge(std::vector<Row>& rows, std::size_t count) {
    rows.reserve(count);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(rows.data());
    const std::uintptr_t begin = (start + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t end = (start + rows.capacity() * sizeof(Row)) & ~(kHuge - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

std::string ProgressText(const std::string& pattern, const EmployeeRow& e) {
    std::string text = pattern;
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, e.Name + "(" + e.Userid + ")");
    return text;
}

// The rows of the input grouped by chosen employee (index into the chosen list).
struct EmployeeRows {
    std::vector<const AssignmentRow*> assignments;
    std::vector<const TempShiftRow*> tempShifts;
    std::vector<const LeaveRow*> leaves;
    std::vector<PunchToMatch> punches;  // the employee's readable punches, in time order
};

std::vector<EmployeeRows> GroupByEmployee(const CalcInput& input,
                                          const std::vector<const EmployeeRow*>& chosen,
                                          std::vector<RunProblem>& problems) {
    std::unordered_map<std::string_view, std::size_t> index;
    index.reserve(chosen.size());
    for (std::size_t i = 0; i < chosen.size(); ++i) index.emplace(chosen[i]->Userid, i);
    std::vector<EmployeeRows> groups(chosen.size());
    auto find = [&](const std::string& userid) -> EmployeeRows* {
        auto it = index.find(userid);
        return it == index.end() ? nullptr : &groups[it->second];
    };
    for (const AssignmentRow& a : input.assignments) {
        if (auto* g = find(a.Userid)) g->assignments.push_back(&a);
    }
    for (const TempShiftRow& t : input.tempShifts) {
        if (auto* g = find(t.Userid)) g->tempShifts.push_back(&t);
    }
    for (const LeaveRow& l : input.leaves) {
        if (auto* g = find(l.Userid)) g->leaves.push_back(&l);
    }
    for (const PunchRow& p : input.punches) {
        EmployeeRows* g = find(p.Userid);
        if (g == nullptr) continue;
        auto t = ParseMoment(p.Checktime);
        if (!t) {
            problems.push_back({p.Userid, "Checkinout", "Checktime=" + p.Checktime,
                                "punch left out: its time is not a date and time"});
            continue;
        }
        g->punches.push_back({*t, {}, &p});
    }
    for (EmployeeRows& g : groups) {
        std::stable_sort(g.punches.begin(), g.punches.end(),
                         [](const PunchToMatch& a, const PunchToMatch& b) { return a.time < b.time; });
    }
    return groups;
}

}  // namespace

std::vector<int> DepartmentSubtree(const std::vector<DepartmentRow>& departments, int deptid) {
    struct Node {
        int deptid;
        std::vector<std::size_t> children;
    };
    std::vector<Node> nodes;
    for (const DepartmentRow& d : departments) {
        if (d.SupDeptid == 0) nodes.push_back({d.Deptid, {}});
    }
    std::vector<const DepartmentRow*> others;
    for (const DepartmentRow& d : departments) {
        if (d.SupDeptid != 0) others.push_back(&d);
    }
    std::stable_sort(others.begin(), others.end(), [](const DepartmentRow* a, const DepartmentRow* b) {
        return a->SupDeptid != b->SupDeptid ? a->SupDeptid < b->SupDeptid : a->Deptid < b->Deptid;
    });
    for (const DepartmentRow* d : others) {
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (nodes[i].deptid == d->SupDeptid) {
                nodes.push_back({d->Deptid, {}});
                nodes[i].children.push_back(nodes.size() - 1);
                break;
            }
        }
    }
    std::vector<int> list{deptid};
    auto start = std::find_if(nodes.begin(), nodes.end(), [&](const Node& n) { return n.deptid == deptid; });
    if (start == nodes.end()) return list;
    std::vector<std::size_t> stack(start->children.rbegin(), start->children.rend());
    while (!stack.empty()) {
        const std::size_t n = stack.back();
        stack.pop_back();
        list.push_back(nodes[n].deptid);
        stack.insert(stack.end(), nodes[n].children.rbegin(), nodes[n].children.rend());
    }
    return list;
}

std::vector<const EmployeeRow*> ChooseEmployees(const CalcInput& input, const RunRequest& request) {
    std::vector<const EmployeeRow*> chosen;
    for (const EmployeeRow& e : input.employees) {
        bool take = true;
        if (request.userid) {
            take = e.Userid == *request.userid;
        } else if (request.deptids) {
            take = std::find(request.deptids->begin(), request.deptids->end(), e.Deptid) !=
                   request.deptids->end();
        }
        if (take) chosen.push_back(&e);
    }
    return chosen;
}

RunSummary RunCalculation(const CalcInput& input, const RunRequest& request, WorkingTables& tables,
                          std::vector<RunProblem>& problems, const RunCallbacks& callbacks) {
    RunSummary summary;
    if (request.firstDate > request.lastDate) {
        summary.outcome = RunOutcome::EmptySpan;
        return summary;
    }
    tables.Clear();
    for (const auto& p : DefineMemStat(tables.MemStat, input.parameters.leaveClasses)) {
        problems.push_back({"", "LeaveClass", "Classid=" + std::to_string(p.Classid) + " Classname=" + p.Classname,
                            p.text});
    }

    const std::vector<const EmployeeRow*> chosen = ChooseEmployees(input, request);
    summary.employeesFound = static_cast<int>(chosen.size());
    if (chosen.empty()) {
        summary.outcome = RunOutcome::NoUser;
        summary.message = input.texts.NoUser;
        return summary;
    }

    const StatRules rules(input.parameters);
    for (const ParameterProblem& p : rules.Problems()) problems.push_back({"", p.table, p.value, p.text});
    const PlanCatalog catalog(input.periods, input.cycles, input.holidays, problems);
    std::vector<EmployeeRows> groups = GroupByEmployee(input, chosen, problems);
    const EvaluationContext evaluation{rules, input.parameters.basePar, catalog.Holidays()};

    const Moment spanFrom = MomentOf(request.firstDate, request.firstTime);
    const Moment spanTo = MomentOf(request.lastDate, request.lastTime);
    const int total = static_cast<int>(chosen.size());
    ReserveLarge(tables.MemRecord2.rows, input.punches.size());
    ReserveLarge(tables.MemUClass, chosen.size() * static_cast<std::size_t>(request.lastDate - request.firstDate + 1));
    tables.MemStat.table.rows.reserve(chosen.size());
    tables.MemDay.reserve(chosen.size());
    std::vector<MemTabRow> memTab;
    NumberedTable<MemRecordRow> memRecord;
    std::vector<Moment> stored;

    for (std::size_t i = 0; i < chosen.size(); ++i) {
        if (callbacks.cancelRequested && callbacks.cancelRequested()) {
            summary.outcome = RunOutcome::Cancelled;
            break;
        }
        const EmployeeRow& employee = *chosen[i];
        EmployeeRows& rows = groups[i];
        if (callbacks.progress) {
            callbacks.progress(ProgressText(input.texts.CheckRecordProcess2, employee), static_cast<int>(i) + 1,
                               total);
        }
        if (!employee.IsAtt) {
            ++summary.employeesPassedOver;
            continue;
        }

        MemDayRow day;
        day.Ucode = Trimmed(employee.Userid);
        day.Uname = employee.Name;
        day.Udept = employee.Deptname;
        tables.MemDay.push_back(std::move(day));
        const std::size_t memDayRow = tables.MemDay.size() - 1;

        EmployeePlan plan{employee.Userid, employee.Deptname, employee.Name, employee.Isrest,
                          std::move(rows.assignments), std::move(rows.tempShifts)};
        memTab = ResolvePlannedPeriods(catalog, plan, request.firstDate, request.lastDate,
                                       input.parameters.basePar.Twoday, problems);

        // The punches of the span, matched in time order; every loaded punch answers which of
        // several overlapping periods holds the longer span of punches.
        memRecord.Clear();
        stored.clear();
        for (const PunchToMatch& p : rows.punches) stored.push_back(p.time);
        PunchMatcher matcher(memTab, memRecord, {employee.Userid, employee.Name, employee.Deptname}, stored,
                             input.texts);
        std::string checktime;
        for (const PunchToMatch& p : rows.punches) {
            if (p.time < spanFrom || p.time > spanTo) continue;
            checktime = MomentText(p.time);
            matcher.Match({p.time, checktime, p.row});
        }
        rows.punches.clear();
        rows.punches.shrink_to_fit();

        StatTotals totals;
        const std::size_t memStatRow = tables.MemStat.table.rows.size();
        tables.MemStat.AppendEmployee(employee.Userid, employee.Deptname, employee.Name);
        SelectPeriodsToEvaluate(memTab);
        EvaluatePeriods(memTab, evaluation, totals, problems);
        EmployeeRun run{input,  request, employee, memTab,     memRecord, rows.leaves, rules,
                        totals, tables,  memStatRow, memDayRow, problems};
        if (callbacks.leavesAndOutings) {
            callbacks.leavesAndOutings(run);
        } else {
            LayLeavesAndOutings(run);
        }
        rules.FinishTotals(totals);
        WriteTotals(totals, tables.MemStat.table.rows[memStatRow]);
        CopyEvaluatedPeriods(memTab, tables.MemUClass);
        if (callbacks.dayMarks) {
            callbacks.dayMarks(run);
        } else {
            MarkDays(run);
        }
        // The employee's punches join the run's punch list; nothing after the matching changes
        // them, so they move there once the employee is finished.
        for (MemRecordRow& r : memRecord.rows) tables.MemRecord2.Append(std::move(r));
        ++summary.employeesCalculated;
    }

    SortAfterRun(tables);
    return summary;
}

}  // namespace kelvork::engine
