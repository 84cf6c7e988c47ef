#include "planned_periods.h"

#include <algorithm>
#include <optional>
#include <string>

namespace kelvork::engine {

namespace {

PreparedPeriod Prepare(const PeriodRow& p, std::vector<RunProblem>& problems) {
    PreparedPeriod r;
    r.row = &p;
    std::string bad = "Timeid=" + std::to_string(p.Timeid);
    auto read = [&](const std::string& text, const char* name, int& out) {
        if (auto t = ParseTimeOfDay(text)) {
            out = *t;
            return true;
        }
        bad += std::string(" ") + name + "=" + text;
        return false;
    };
    const bool in = read(p.Intime, "Intime", r.in);
    const bool out = read(p.Outtime, "Outtime", r.out);
    r.startEndReadable = in && out;
    bool windows = read(p.BIntime, "BIntime", r.bIn);
    windows = read(p.EIntime, "EIntime", r.eIn) && windows;
    windows = read(p.BOuttime, "BOuttime", r.bOut) && windows;
    windows = read(p.EOuttime, "EOuttime", r.eOut) && windows;
    r.windowsReadable = windows;
    if (!r.Plannable()) {
        problems.push_back({"", "TimeTable", bad,
                            "period \"" + p.Timename + "\" is not planned: its times cannot be read"});
    }
    return r;
}

// One planned period before it becomes a row of either form.
struct Planned {
    std::string udate;
    DayNumber day = 0;
    const PreparedPeriod* period = nullptr;
    bool autoClass = false;
};

std::string AssignmentText(const AssignmentRow& a) {
    return "Schid=" + std::to_string(a.Schid) + " BeginDate=" + a.BeginDate + " EndDate=" + a.EndDate;
}

// Steps 1 to 7 of the expansion, shared by both forms.
std::vector<Planned> Expand(const PlanCatalog& catalog, const EmployeePlan& plan, DayNumber s,
                            DayNumber e, std::vector<RunProblem>& problems) {
    std::vector<Planned> planned;
    if (e < s) return planned;
    const std::string sText = DateText(s);
    const std::string eText = DateText(e);

    // Cycle assignments overlapping the range (dates compared as text), the latest start first.
    std::vector<const AssignmentRow*> rows;
    for (const AssignmentRow* a : plan.assignments) {
        if (a->Userid == plan.Userid && a->BeginDate <= eText && a->EndDate >= sText) rows.push_back(a);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const AssignmentRow* x, const AssignmentRow* y) {
        return x->BeginDate > y->BeginDate;
    });

    std::optional<int> last;  // L, counted in days from S
    for (const AssignmentRow* a : rows) {
        const auto& placed = catalog.CycleSlots(a->Schid);
        if (placed.empty()) continue;  // a cycle without any period
        const CycleRow& cycle = *placed.front().cycle;
        const auto b = ParseDateText(a->BeginDate);
        const auto n = ParseDateText(a->EndDate);
        if (!b || !n) {
            problems.push_back({std::string(plan.Userid), "Usershift", AssignmentText(*a),
                                "assignment skipped: its dates are not yyyy-mm-dd"});
            continue;
        }
        if (cycle.Cycles < 1 || cycle.Units < 0 || cycle.Units > 2) {
            problems.push_back({std::string(plan.Userid), "Usershift",
                                AssignmentText(*a) + " Cycles=" + std::to_string(cycle.Cycles) +
                                    " Units=" + std::to_string(cycle.Units),
                                "assignment skipped: its cycle has no usable length"});
            continue;
        }
        const int first = *b < s ? 0 : *b - s;
        if (!last) {
            last = e <= *n ? e - s : *n - s;
        } else {
            last = *n - s <= *last ? *n - s : *last - 1;
        }
        for (int k = first; k <= *last; ++k) {
            const DayNumber d = s + k;
            const int beginDay = CycleBeginDay(cycle.Units, cycle.Cycles, *b, d);
            std::string udate;
            for (const PlanCatalog::Slot& slot : catalog.SlotsOfDay(a->Schid, beginDay)) {
                if (udate.empty()) udate = DateText(d);
                planned.push_back({udate, d, slot.period, slot.cycle->AutoClass});
            }
        }
        if (first == 0) break;  // this assignment reaches back to S: the older ones are not read
    }

    // Holidays (read from S - 10 days) empty their dates for an employee who rests on them.
    if (plan.Isrest && !planned.empty()) {
        const Moment from = MomentOf(s - 10, 0);
        const Moment to = MomentOf(e, 0);
        std::vector<bool> holiday(static_cast<std::size_t>(e - s + 1), false);
        for (const HolidaySpan& h : catalog.Holidays()) {
            if (h.begin < from || h.begin > to || h.Days <= 0) continue;
            const DayNumber firstDay = DayOfMoment(h.begin);
            const DayNumber lo = std::max(firstDay, s);
            const DayNumber hi = static_cast<DayNumber>(
                std::min<long long>(static_cast<long long>(firstDay) + h.Days - 1, e));
            for (DayNumber d = lo; d <= hi; ++d) holiday[static_cast<std::size_t>(d - s)] = true;
        }
        std::erase_if(planned, [&](const Planned& p) {
            return p.day >= s && p.day <= e && holiday[static_cast<std::size_t>(p.day - s)];
        });
    }

    // Temporary shifts replace the periods of their dates, holidays or not.
    std::vector<const TempShiftRow*> temps;
    for (const TempShiftRow* t : plan.tempShifts) {
        if (t->Userid == plan.Userid && t->Workdate >= sText && t->Workdate <= eText) temps.push_back(t);
    }
    std::stable_sort(temps.begin(), temps.end(), [](const TempShiftRow* x, const TempShiftRow* y) {
        return x->Workdate < y->Workdate;
    });
    const std::string* previousDate = nullptr;
    for (const TempShiftRow* t : temps) {
        const auto d = ParseDateText(t->Workdate);
        if (!d) {
            problems.push_back({std::string(plan.Userid), "UserTempshift",
                                "Timeid=" + std::to_string(t->Timeid) + " Workdate=" + t->Workdate,
                                "temporary shift skipped: its date is not yyyy-mm-dd"});
            continue;
        }
        if (previousDate == nullptr || *previousDate != t->Workdate) {
            std::erase_if(planned, [&](const Planned& p) { return p.udate == t->Workdate; });
            previousDate = &t->Workdate;
        }
        const PreparedPeriod* period = catalog.Period(t->Timeid);
        if (period != nullptr && t->Timeid != -1) planned.push_back({t->Workdate, *d, period, false});
    }
    return planned;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

PlanCatalog::PlanCatalog(const std::vector<PeriodRow>& periods, const std::vector<CycleRow>& cycles,
                         const std::vector<HolidayRow>& holidays, std::vector<RunProblem>& problems) {
    periods_.reserve(periods.size());
    for (const PeriodRow& p : periods) periods_.push_back(Prepare(p, problems));
    std::stable_sort(periods_.begin(), periods_.end(), [](const PreparedPeriod& a, const PreparedPeriod& b) {
        return a.row->Timeid < b.row->Timeid;
    });

    for (const CycleRow& c : cycles) {
        const PreparedPeriod* period = Period(c.Timeid);
        if (period == nullptr) continue;  // the view joins on existing periods only
        auto it = std::lower_bound(cycles_.begin(), cycles_.end(), c.Schid,
                                   [](const Cycle& x, int schid) { return x.schid < schid; });
        if (it == cycles_.end() || it->schid != c.Schid) {
            it = cycles_.insert(it, Cycle{});
            it->schid = c.Schid;
        }
        it->placements.push_back({&c, period});
    }
    for (Cycle& cycle : cycles_) {
        cycle.byDay.resize(cycle.placements.size());
        for (std::size_t i = 0; i < cycle.placements.size(); ++i) cycle.byDay[i] = i;
        std::stable_sort(cycle.byDay.begin(), cycle.byDay.end(), [&](std::size_t a, std::size_t b) {
            return cycle.placements[a].cycle->BeginDay < cycle.placements[b].cycle->BeginDay;
        });
    }
    holidays_ = PrepareHolidays(holidays, problems);
}

const PreparedPeriod* PlanCatalog::Period(int timeid) const {
    auto it = std::lower_bound(periods_.begin(), periods_.end(), timeid,
                               [](const PreparedPeriod& p, int id) { return p.row->Timeid < id; });
    if (it == periods_.end() || it->row->Timeid != timeid) return nullptr;
    return &*it;
}

const PlanCatalog::Cycle* PlanCatalog::FindCycle(int schid) const {
    auto it = std::lower_bound(cycles_.begin(), cycles_.end(), schid,
                               [](const Cycle& x, int id) { return x.schid < id; });
    if (it == cycles_.end() || it->schid != schid) return nullptr;
    return &*it;
}

const std::vector<PlanCatalog::Slot>& PlanCatalog::CycleSlots(int schid) const {
    static const std::vector<Slot> kNone;
    const Cycle* cycle = FindCycle(schid);
    return cycle ? cycle->placements : kNone;
}

std::vector<PlanCatalog::Slot> PlanCatalog::SlotsOfDay(int schid, int beginDay) const {
    std::vector<Slot> out;
    const Cycle* cycle = FindCycle(schid);
    if (cycle == nullptr) return out;
    auto lo = std::lower_bound(cycle->byDay.begin(), cycle->byDay.end(), beginDay,
                               [&](std::size_t i, int day) { return cycle->placements[i].cycle->BeginDay < day; });
    for (auto it = lo; it != cycle->byDay.end() && cycle->placements[*it].cycle->BeginDay == beginDay; ++it) {
        out.push_back(cycle->placements[*it]);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------

int CycleBeginDay(int units, int cycles, DayNumber b, DayNumber d) {
    const int n = d - b + 1;
    switch (units) {
    case 0:
        return (n - 1) % cycles;
    case 1: {
        const int weekBlock = (n + 6) / 7;  // n / 7 rounded up
        const int w = (weekBlock - 1) % cycles + 1;
        return (w - 1) * 7 + WeekdayOf(d);
    }
    default: {
        const CivilDate cd = CivilFromDay(d);
        const CivilDate cb = CivilFromDay(b);
        int m = 1;
        if (cycles != 1) {
            const int k = (cd.year - cb.year) * 12 + cd.month - cb.month + 1;
            m = (k - 1) % cycles + 1;
        }
        return (m - 1) * 31 + cd.day - 1;
    }
    }
}

PeriodClock PeriodClockTexts(const PreparedPeriod& p, DayNumber d, int twoday) {
    PeriodClock c;
    const bool sameDay = p.out > p.in;
    const bool secondDay = !sameDay && twoday == 1;  // the period belongs to the day it ends on
    if (sameDay) {
        c.OnTime = ClockText(d, p.in);
        c.OffTime = ClockText(d, p.out);
    } else if (secondDay) {
        c.OnTime = ClockText(d - 1, p.in);
        c.OffTime = ClockText(d, p.out);
    } else {
        c.OnTime = ClockText(d, p.in);
        c.OffTime = ClockText(d + 1, p.out);
    }
    if (p.row->IsFreetime) {
        c.SOntime = c.SOfftime = c.OnTime;
        c.EOntime = c.EOfftime = c.OffTime;
        return c;
    }
    const bool inWindowInDay = p.eIn > p.bIn;
    const bool outWindowInDay = p.eOut > p.bOut;
    if (sameDay) {
        c.SOntime = ClockText(inWindowInDay ? d : d - 1, p.bIn);
        c.EOntime = ClockText(d, p.eIn);
        c.SOfftime = ClockText(d, p.bOut);
        c.EOfftime = ClockText(outWindowInDay ? d : d + 1, p.eOut);
    } else if (secondDay) {
        c.SOntime = ClockText(d - 1, p.bIn);
        c.EOntime = ClockText(inWindowInDay ? d - 1 : d, p.eIn);
        c.SOfftime = ClockText(outWindowInDay ? d : d - 1, p.bOut);
        c.EOfftime = ClockText(d, p.eOut);
    } else {
        c.SOntime = ClockText(d, p.bIn);
        c.EOntime = ClockText(inWindowInDay ? d : d + 1, p.eIn);
        c.SOfftime = ClockText(outWindowInDay ? d + 1 : d, p.bOut);
        c.EOfftime = ClockText(d + 1, p.eOut);
    }
    return c;
}

std::vector<MemTabRow> ResolvePlannedPeriods(const PlanCatalog& catalog, const EmployeePlan& plan,
                                             DayNumber s, DayNumber e, int twoday,
                                             std::vector<RunProblem>& problems) {
    std::vector<MemTabRow> rows;
    for (const Planned& p : Expand(catalog, plan, s, e, problems)) {
        if (!p.period->Plannable()) continue;
        const PeriodRow& t = *p.period->row;
        const PeriodClock clock = PeriodClockTexts(*p.period, p.day, twoday);
        MemTabRow r;
        r.Ucode = plan.Userid;
        r.UDate = p.udate;
        r.Udept = plan.Udept;
        r.Uname = plan.Uname;
        r.TimeName = t.Timename;
        r.TimeID = t.Timeid;
        r.IsFreeTime = t.IsFreetime;
        r.IsOverTime = t.IsOvertime;
        r.OnTime = clock.OnTime;
        r.OffTime = clock.OffTime;
        r.SOntime = clock.SOntime;
        r.EOntime = clock.EOntime;
        r.SOfftime = clock.SOfftime;
        r.EOfftime = clock.EOfftime;
        r.OnFlag = !t.IsFreetime && t.MustIn;
        r.OffFlag = !t.IsFreetime && t.MustOut;
        r.LateTime = t.IsFreetime ? 0 : t.Latetime;
        r.EarlyTime = t.IsFreetime ? 0 : t.Leavetime;
        r.Workday = t.WorkDays;
        r.WorkLong = t.Longtime;
        r.AbnorFlag = AbnorNormal;
        r.AutoClass = p.autoClass;
        rows.push_back(std::move(r));
    }
    SortMemTab(rows);
    return rows;
}

std::vector<MemClassRow> ListPlannedPeriods(const PlanCatalog& catalog, const EmployeePlan& plan,
                                            DayNumber s, DayNumber e,
                                            std::vector<RunProblem>& problems) {
    std::vector<MemClassRow> rows;
    for (const Planned& p : Expand(catalog, plan, s, e, problems)) {
        if (!p.period->startEndReadable) continue;
        MemClassRow r;
        r.Ucode = plan.Userid;
        r.UDate = p.udate;
        r.TimeName = p.period->row->Timename;
        r.OnTime = TimeOfDayText(p.period->in);
        r.OffTime = TimeOfDayText(p.period->out);
        rows.push_back(std::move(r));
    }
    SortMemClass(rows);
    return rows;
}

}  // namespace kelvork::engine
