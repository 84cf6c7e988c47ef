#include "calc_loader.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "column_reader.h"
#include "date_time.h"
#include "parameter_loader.h"

namespace kelvork::loader {

using engine::RunProblem;

namespace {

// Up to this many departments are put into the statement as "Deptid in (:D0, :D1, ...)"; a longer
// list is applied while reading instead.
constexpr std::size_t kMaxBoundDepartments = 500;

QString dateParam(engine::DayNumber day) { return QString::fromStdString(engine::DateText(day)); }
QString momentParam(engine::Moment m) { return QString::fromStdString(engine::MomentText(m)); }

DbStatus failed(const QString& what, const Query& q)
{
    return DbStatus::failure(QStringLiteral("Reading %1: %2").arg(what, q.error()));
}

// Which employees the run reads, and how the statements narrow their rows to them.
struct Choice {
    enum class Kind { Everyone, OneEmployee, Departments } kind = Kind::Everyone;
    QString userid;
    std::vector<int> deptids;
    bool deptidsBound = false;  // the department list is in the statements

    // " and <prefix>Userid=:Userid" or " and <prefix>Deptid in (:D0, ...)" for the Userinfo
    // columns; empty when the statement is not narrowed.
    QString employeeCondition(const QString& prefix) const
    {
        if (kind == Kind::OneEmployee) return QStringLiteral(" and %1Userid=:Userid").arg(prefix);
        if (kind == Kind::Departments && deptidsBound) {
            QStringList names;
            for (std::size_t i = 0; i < deptids.size(); ++i) names << QStringLiteral(":D%1").arg(i);
            return QStringLiteral(" and %1Deptid in (%2)").arg(prefix, names.join(QLatin1Char(',')));
        }
        return {};
    }
    void bind(Params& params) const
    {
        if (kind == Kind::OneEmployee) params.set(QStringLiteral("Userid"), userid);
        if (kind == Kind::Departments && deptidsBound)
            for (std::size_t i = 0; i < deptids.size(); ++i) params.set(QStringLiteral("D%1").arg(i), deptids[i]);
    }
};

Choice makeChoice(const engine::RunRequest& request)
{
    Choice c;
    if (request.userid) {
        c.kind = Choice::Kind::OneEmployee;
        c.userid = QString::fromStdString(*request.userid);
    } else if (request.deptids) {
        c.kind = Choice::Kind::Departments;
        c.deptids = *request.deptids;
        c.deptidsBound = !c.deptids.empty() && c.deptids.size() <= kMaxBoundDepartments;
    }
    return c;
}

// The numbers of the chosen employees that take part in attendance: only their rows of the
// tables that hold a Userid are read (the run passes the others over).
class ChosenSet {
public:
    explicit ChosenSet(const std::vector<engine::EmployeeRow>& employees)
    {
        ids_.reserve(employees.size() * 2);
        for (const auto& e : employees)
            if (e.IsAtt) ids_.insert(e.Userid);
    }
    bool contains(const std::string& userid) const { return ids_.contains(userid); }

private:
    std::unordered_set<std::string> ids_;
};

DbStatus loadEmployees(Database& db, const Choice& choice, engine::CalcInput& input,
                       std::vector<RunProblem>& problems)
{
    std::unordered_map<int, const std::string*> deptNames;
    for (const auto& d : input.departments) deptNames.emplace(d.Deptid, &d.Deptname);
    std::unordered_set<int> chosenDepts;
    if (choice.kind == Choice::Kind::Departments) chosenDepts.insert(choice.deptids.begin(), choice.deptids.end());

    Params params;
    choice.bind(params);
    Query q = db.query(QStringLiteral("select Userid, Name, Deptid, IsAtt, Isrest from Userinfo where 1=1")
                           + choice.employeeCondition(QString()),
                       params);
    ColumnReader r(q, "Userinfo");
    while (q.next()) {
        r.BeginRow();
        engine::EmployeeRow e;
        e.Userid = r.Text(0);
        e.Name = r.Text(1);
        e.Deptid = r.Integer(2, "Deptid");
        e.IsAtt = r.Flag(3, "IsAtt");
        e.Isrest = r.Flag(4, "Isrest");
        if (!r.Usable()) {
            r.ReportRow(problems, e.Userid, "employee left out: a value cannot be read");
            continue;
        }
        if (choice.kind == Choice::Kind::Departments && !chosenDepts.contains(e.Deptid)) continue;
        if (auto it = deptNames.find(e.Deptid); it != deptNames.end()) e.Deptname = *it->second;
        input.employees.push_back(std::move(e));
    }
    if (!q.ok()) return failed(QStringLiteral("Userinfo"), q);
    std::sort(input.employees.begin(), input.employees.end(),
              [](const engine::EmployeeRow& a, const engine::EmployeeRow& b) { return a.Userid < b.Userid; });
    return DbStatus::success();
}

DbStatus loadPeriods(Database& db, engine::CalcInput& input, std::vector<RunProblem>& problems)
{
    Query q = db.query(QStringLiteral(
        "select Timeid, Timename, Intime, Outtime, BIntime, EIntime, BOuttime, EOuttime, Latetime, Leavetime, "
        "WorkDays, Longtime, MustIn, MustOut, IsFreetime, IsOvertime from TimeTable order by Timeid"));
    ColumnReader r(q, "TimeTable");
    while (q.next()) {
        r.BeginRow();
        engine::PeriodRow p;
        p.Timeid = r.Integer(0, "Timeid");
        p.Timename = r.Text(1);
        p.Intime = r.Text(2);
        p.Outtime = r.Text(3);
        p.BIntime = r.Text(4);
        p.EIntime = r.Text(5);
        p.BOuttime = r.Text(6);
        p.EOuttime = r.Text(7);
        p.Latetime = r.Integer(8, "Latetime");
        p.Leavetime = r.Integer(9, "Leavetime");
        p.WorkDays = r.Number(10, "WorkDays");
        p.Longtime = r.Integer(11, "Longtime");
        p.MustIn = r.Flag(12, "MustIn");
        p.MustOut = r.Flag(13, "MustOut");
        p.IsFreetime = r.Flag(14, "IsFreetime");
        p.IsOvertime = r.Flag(15, "IsOvertime");
        if (!r.Usable()) {
            r.ReportRow(problems, {}, "period \"" + p.Timename + "\" (Timeid " + std::to_string(p.Timeid) +
                                          ") is not planned: a value cannot be read");
            continue;
        }
        input.periods.push_back(std::move(p));
    }
    return q.ok() ? DbStatus::success() : failed(QStringLiteral("TimeTable"), q);
}

DbStatus loadCycles(Database& db, engine::CalcInput& input, std::vector<RunProblem>& problems)
{
    Query q = db.query(QStringLiteral("select Schid, Schname, Cycles, Units, AutoClass, BeginDay, Timeid "
                                      "from V_Class order by Schid, BeginDay, Timeid"));
    ColumnReader r(q, "V_Class");
    while (q.next()) {
        r.BeginRow();
        engine::CycleRow c;
        c.Schid = r.Integer(0, "Schid");
        c.Schname = r.Text(1);
        c.Cycles = r.Integer(2, "Cycles");
        c.Units = r.Integer(3, "Units");
        c.AutoClass = r.Flag(4, "AutoClass");
        c.BeginDay = r.Integer(5, "BeginDay");
        c.Timeid = r.Integer(6, "Timeid");
        if (!r.Usable()) {
            r.ReportRow(problems, {}, "cycle \"" + c.Schname + "\": this period of the cycle is left out");
            continue;
        }
        input.cycles.push_back(std::move(c));
    }
    return q.ok() ? DbStatus::success() : failed(QStringLiteral("V_Class"), q);
}

DbStatus loadAssignments(Database& db, const engine::RunRequest& request, const Choice& choice,
                         const ChosenSet& chosen, engine::CalcInput& input, std::vector<RunProblem>& problems)
{
    // Dates are "yyyy-mm-dd" texts: text comparison orders them by date.
    Params params{{QStringLiteral("BeginDate"), dateParam(request.lastDate)},
                  {QStringLiteral("EndDate"), dateParam(request.firstDate)}};
    if (choice.kind == Choice::Kind::OneEmployee) params.set(QStringLiteral("Userid"), choice.userid);
    Query q = db.query(QStringLiteral("select Userid, Schid, BeginDate, EndDate from Usershift "
                                      "where BeginDate<=:BeginDate and EndDate>=:EndDate")
                           + (choice.kind == Choice::Kind::OneEmployee ? QStringLiteral(" and Userid=:Userid")
                                                                       : QString()),
                       params);
    ColumnReader r(q, "Usershift");
    while (q.next()) {
        r.BeginRow();
        engine::AssignmentRow a;
        a.Userid = r.Text(0);
        if (!chosen.contains(a.Userid)) continue;
        a.Schid = r.Integer(1, "Schid");
        a.BeginDate = r.Text(2);
        a.EndDate = r.Text(3);
        if (!r.Usable()) {
            r.ReportRow(problems, a.Userid, "assignment " + a.BeginDate + " ... " + a.EndDate + " left out");
            continue;
        }
        input.assignments.push_back(std::move(a));
    }
    return q.ok() ? DbStatus::success() : failed(QStringLiteral("Usershift"), q);
}

DbStatus loadTempShifts(Database& db, const engine::RunRequest& request, const Choice& choice,
                        const ChosenSet& chosen, engine::CalcInput& input, std::vector<RunProblem>& problems)
{
    Params params{{QStringLiteral("Rq1"), dateParam(request.firstDate)},
                  {QStringLiteral("Rq2"), dateParam(request.lastDate)}};
    if (choice.kind == Choice::Kind::OneEmployee) params.set(QStringLiteral("Userid"), choice.userid);
    Query q = db.query(QStringLiteral("select Userid, Timeid, Workdate from UserTempshift "
                                      "where Workdate>=:Rq1 and Workdate<=:Rq2")
                           + (choice.kind == Choice::Kind::OneEmployee ? QStringLiteral(" and Userid=:Userid")
                                                                       : QString()),
                       params);
    ColumnReader r(q, "UserTempshift");
    while (q.next()) {
        r.BeginRow();
        engine::TempShiftRow t;
        t.Userid = r.Text(0);
        if (!chosen.contains(t.Userid)) continue;
        t.Timeid = r.Integer(1, "Timeid");
        t.Workdate = r.Text(2);
        if (!r.Usable()) {
            r.ReportRow(problems, t.Userid, "temporary shift of " + t.Workdate + " left out");
            continue;
        }
        input.tempShifts.push_back(std::move(t));
    }
    return q.ok() ? DbStatus::success() : failed(QStringLiteral("UserTempshift"), q);
}

DbStatus loadHolidays(Database& db, engine::CalcInput& input, std::vector<RunProblem>& problems)
{
    Query q = db.query(QStringLiteral("select Holidayid, Name, BDate, Days from Holiday order by BDate, Holidayid"));
    ColumnReader r(q, "Holiday");
    while (q.next()) {
        r.BeginRow();
        engine::HolidayRow h;
        h.Holidayid = r.Integer(0, "Holidayid");
        h.Name = r.Text(1);
        h.BDate = r.Text(2);
        h.Days = r.Integer(3, "Days");
        if (!r.Usable()) {
            r.ReportRow(problems, {}, "holiday \"" + h.Name + "\" left out");
            continue;
        }
        input.holidays.push_back(std::move(h));
    }
    return q.ok() ? DbStatus::success() : failed(QStringLiteral("Holiday"), q);
}

// Whether the run chooses every employee of Userinfo (then the punch statement needs no join).
bool choosesEveryone(Database& db, const Choice& choice, const engine::CalcInput& input, DbStatus& status)
{
    if (choice.kind == Choice::Kind::Everyone) return true;
    if (choice.kind == Choice::Kind::OneEmployee) return false;
    const QVariant count = db.scalar(QStringLiteral("select count(*) from Userinfo"), {}, &status);
    return status.ok() && count.toLongLong() == static_cast<qlonglong>(input.employees.size());
}

DbStatus loadPunches(Database& db, const engine::RunRequest& request, const Choice& choice,
                     const ChosenSet& chosen, engine::CalcInput& input, std::vector<RunProblem>& problems)
{
    DbStatus status;
    const bool everyone = choosesEveryone(db, choice, input, status);
    if (!status.ok()) return status;
    Params params{{QStringLiteral("Rq1"), momentParam(engine::PunchLoadFrom(request.firstDate))},
                  {QStringLiteral("Rq2"), momentParam(engine::PunchLoadTo(request.lastDate))}};
    QString sql;
    if (choice.kind == Choice::Kind::OneEmployee) {
        sql = QStringLiteral("select Userid, Checktime, Checktype, Sensorid, Checked, WorkType from Checkinout "
                             "where Userid=:Userid and Checktime between :Rq1 and :Rq2");
        params.set(QStringLiteral("Userid"), choice.userid);
    } else if (everyone || !choice.deptidsBound) {
        sql = QStringLiteral("select Userid, Checktime, Checktype, Sensorid, Checked, WorkType from Checkinout "
                             "where Checktime between :Rq1 and :Rq2");
    } else {
        sql = QStringLiteral("select Checkinout.Userid, Checkinout.Checktime, Checkinout.Checktype, "
                             "Checkinout.Sensorid, Checkinout.Checked, Checkinout.WorkType "
                             "from Checkinout inner join Userinfo on Userinfo.Userid = Checkinout.Userid "
                             "where Checkinout.Checktime between :Rq1 and :Rq2")
              + choice.employeeCondition(QStringLiteral("Userinfo."));
        choice.bind(params);
    }
    // Counted first, so that the rows are written once into their place.
    const QString columns = sql.left(sql.indexOf(QLatin1String(" from ")));
    const QVariant count = db.scalar(QStringLiteral("select count(*)") + sql.mid(columns.size()), params, &status);
    if (!status.ok()) return status;
    input.punches.reserve(static_cast<std::size_t>(std::max<qlonglong>(0, count.toLongLong())));

    Query q = db.query(sql, params);
    ColumnReader r(q, "Checkinout");
    // An employee's punches mostly come one after another: the last answer is kept.
    std::string lastUserid;
    bool lastChosen = false;
    bool haveLast = false;
    while (q.next()) {
        r.BeginRow();
        std::string userid = r.Text(0);
        if (!haveLast || userid != lastUserid) {
            lastChosen = chosen.contains(userid);
            lastUserid = userid;
            haveLast = true;
        }
        if (!lastChosen) continue;
        engine::PunchRow& p = input.punches.emplace_back();
        p.Userid = std::move(userid);
        p.Checktime = r.Text(1);
        p.Checktype = r.Text(2);
        p.Sensorid = r.Text(3);
        p.Checked = r.Flag(4, "Checked");
        if (!r.Usable()) {
            r.ReportRow(problems, p.Userid, "punch " + p.Checktime + " left out");
            input.punches.pop_back();
            continue;
        }
        // The work code is only shown: an unreadable one is reported and shown as 0.
        p.WorkType = r.Integer(5, "WorkType");
        if (!r.Usable()) r.ReportRow(problems, p.Userid, "punch " + p.Checktime + " kept with work code 0");
    }
    return q.ok() ? DbStatus::success() : failed(QStringLiteral("Checkinout"), q);
}

DbStatus loadLeaves(Database& db, const engine::RunRequest& request, const Choice& choice,
                    const ChosenSet& chosen, engine::CalcInput& input, std::vector<RunProblem>& problems)
{
    // Every leave that may touch the span's days; the core applies the exact rule with the times.
    Params params{{QStringLiteral("Rq1"), momentParam(engine::MomentOf(request.firstDate, 0))},
                  {QStringLiteral("Rq2"), momentParam(engine::MomentOf(request.lastDate, 86399))}};
    if (choice.kind == Choice::Kind::OneEmployee) params.set(QStringLiteral("Userid"), choice.userid);
    Query q = db.query(QStringLiteral("select Lsh, Userid, BeginTime, EndTime, LeaveClassid, Whys from UserLeave "
                                      "where BeginTime<=:Rq2 and EndTime>=:Rq1")
                           + (choice.kind == Choice::Kind::OneEmployee ? QStringLiteral(" and Userid=:Userid")
                                                                       : QString())
                           + QStringLiteral(" order by Lsh"),
                       params);
    ColumnReader r(q, "UserLeave");
    while (q.next()) {
        r.BeginRow();
        engine::LeaveRow l;
        l.Userid = r.Text(1);
        if (!chosen.contains(l.Userid)) continue;
        l.Lsh = r.Integer(0, "Lsh");
        l.BeginTime = r.Text(2);
        l.EndTime = r.Text(3);
        l.LeaveClassid = r.Integer(4, "LeaveClassid");
        l.Whys = r.Text(5);
        if (!r.Usable()) {
            r.ReportRow(problems, l.Userid, "leave " + l.BeginTime + " ... " + l.EndTime + " left out");
            continue;
        }
        input.leaves.push_back(std::move(l));
    }
    return q.ok() ? DbStatus::success() : failed(QStringLiteral("UserLeave"), q);
}

}  // namespace

DbStatus LoadDepartments(Database& db, std::vector<engine::DepartmentRow>& departments,
                         std::vector<RunProblem>& problems)
{
    departments.clear();
    Query q = db.query(QStringLiteral("select Deptid, Deptname, SupDeptid from Dept order by Deptid"));
    ColumnReader r(q, "Dept");
    while (q.next()) {
        r.BeginRow();
        engine::DepartmentRow d;
        d.Deptid = r.Integer(0, "Deptid");
        d.Deptname = r.Text(1);
        d.SupDeptid = r.Integer(2, "SupDeptid");
        if (!r.Usable()) {
            r.ReportRow(problems, {}, "department \"" + d.Deptname + "\" left out");
            continue;
        }
        departments.push_back(std::move(d));
    }
    return q.ok() ? DbStatus::success() : failed(QStringLiteral("Dept"), q);
}

DbStatus LoadCalcInput(Database& db, const engine::RunRequest& request, engine::CalcInput& input,
                       std::vector<RunProblem>& problems)
{
    input = engine::CalcInput{};
    const Choice choice = makeChoice(request);
    DbStatus st = LoadDepartments(db, input.departments, problems);
    if (st.ok()) st = loadEmployees(db, choice, input, problems);
    if (!st.ok()) return st;
    const ChosenSet chosen(input.employees);
    if (st.ok()) st = LoadAttendanceParameters(db, input.parameters, problems);
    if (st.ok()) st = loadPeriods(db, input, problems);
    if (st.ok()) st = loadCycles(db, input, problems);
    if (st.ok()) st = loadAssignments(db, request, choice, chosen, input, problems);
    if (st.ok()) st = loadTempShifts(db, request, choice, chosen, input, problems);
    if (st.ok()) st = loadHolidays(db, input, problems);
    if (st.ok()) st = loadPunches(db, request, choice, chosen, input, problems);
    if (st.ok()) st = loadLeaves(db, request, choice, chosen, input, problems);
    return st;
}

}  // namespace kelvork::loader
