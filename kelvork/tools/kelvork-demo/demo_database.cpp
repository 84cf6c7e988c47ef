#include "demo_database.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "calc_input.h"
#include "planned_periods.h"
#include "startup_rows.h"

namespace kelvork::demo {

using engine::DayNumber;
using engine::Moment;

namespace {

// ---- Inserting many rows through one prepared statement -------------------------------------

class BulkInsert {
public:
    BulkInsert(Database& db, const QString& table, const QStringList& columns) : engine_(db.engine())
    {
        QStringList names;
        Params params;
        for (const QString& c : columns) {
            names << QLatin1Char(':') + c;
            params.set(c, QVariant());
        }
        query_ = db.prepare(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, columns.join(QLatin1Char(',')),
                                                                                  names.join(QLatin1Char(','))),
                            params, &status_);
        table_ = table;
    }

    // A yes/no value as the engine stores it.
    QVariant flag(bool value) const
    {
        if (engine_ == Engine::PostgreSQL) return value ? QStringLiteral("true") : QStringLiteral("false");
        return value ? 1 : 0;
    }

    bool add(std::initializer_list<QVariant> values)
    {
        if (!status_.ok()) return false;
        int i = 0;
        for (const QVariant& v : values) query_.bindValue(i++, v);
        if (!query_.exec()) {
            status_ = DbStatus::failure(QStringLiteral("Writing %1: %2").arg(table_, query_.lastError().text()));
            return false;
        }
        ++rows_;
        return true;
    }

    const DbStatus& status() const { return status_; }
    long long rows() const { return rows_; }

private:
    Engine engine_;
    QSqlQuery query_;
    QString table_;
    DbStatus status_;
    long long rows_ = 0;
};

QString text(const std::string& s) { return QString::fromStdString(s); }
QString dateText(DayNumber d) { return text(engine::DateText(d)); }
QString momentText(Moment m) { return text(engine::MomentText(m)); }
QString timeOfDay(int hour, int minute) { return QStringLiteral("1899-12-30 %1:%2:00").arg(hour, 2, 10, QLatin1Char('0')).arg(minute, 2, 10, QLatin1Char('0')); }

// ---- The company -----------------------------------------------------------------------------

struct PeriodSpec {
    const char* name;
    int in[2], out[2], bIn[2], eIn[2], bOut[2], eOut[2];
    int grace;
    double workDays;
    int minutes;
    bool mustIn, mustOut, floating, overtime;
};

// Timeid = position + 1.
const std::array<PeriodSpec, 7> kPeriods = {{
    {"白班", {8, 0}, {17, 0}, {7, 0}, {9, 0}, {16, 0}, {18, 0}, 5, 1, 480, true, true, false, false},
    {"早班", {6, 0}, {14, 0}, {5, 0}, {7, 0}, {13, 0}, {15, 0}, 5, 1, 480, true, true, false, false},
    {"中班", {14, 0}, {22, 0}, {13, 0}, {15, 0}, {21, 0}, {23, 0}, 5, 1, 480, true, true, false, false},
    // Passes midnight: belongs to the day it starts on.
    {"夜班", {22, 0}, {6, 0}, {21, 0}, {23, 0}, {5, 0}, {7, 0}, 5, 1, 480, true, true, false, false},
    {"弹性班", {9, 0}, {18, 0}, {9, 0}, {18, 0}, {9, 0}, {18, 0}, 0, 1, 480, false, false, true, false},
    // An overtime period whose punches are not required: a missing one is counted, not absence.
    {"晚加班", {18, 30}, {21, 30}, {18, 0}, {19, 0}, {21, 0}, {22, 0}, 0, 0, 180, false, false, false, true},
    // Overlaps the day shift: the punches choose between them in the automatic cycle.
    {"晚班", {10, 0}, {19, 0}, {9, 0}, {11, 0}, {18, 0}, {20, 0}, 5, 1, 480, true, true, false, false},
}};
enum PeriodId { Day = 1, Morning = 2, Evening = 3, Night = 4, Floating = 5, Overtime = 6, Late = 7 };

struct CycleSpec {
    const char* name;
    int cycles, units;
    bool autoClass;
    std::vector<std::pair<int, int>> placements;  // (BeginDay, Timeid)
};

std::vector<CycleSpec> cycleSpecs()
{
    auto weekdays = [](int timeid, int week, int firstDay, int lastDay) {
        std::vector<std::pair<int, int>> s;
        for (int d = firstDay; d <= lastDay; ++d) s.push_back({week * 7 + d, timeid});
        return s;
    };
    std::vector<CycleSpec> cycles;
    cycles.push_back({"正常班", 1, 1, false, weekdays(Day, 0, 1, 6)});
    CycleSpec three{"三班倒", 3, 1, false, {}};
    const std::array<std::pair<int, int>, 3> crews = {{{0, Morning}, {1, Evening}, {2, Night}}};
    for (auto [week, period] : crews)  // the works run every day of the week
        for (auto s : weekdays(period, week, 0, 6)) three.placements.push_back(s);
    cycles.push_back(three);
    cycles.push_back({"弹性班", 1, 1, false, weekdays(Floating, 0, 1, 5)});
    CycleSpec overtime{"正常班加班", 1, 1, false, weekdays(Day, 0, 1, 6)};
    for (int d = 1; d <= 5; ++d) overtime.placements.push_back({d, Overtime});
    cycles.push_back(overtime);
    CycleSpec automatic{"自动排班", 1, 1, true, weekdays(Day, 0, 1, 6)};
    for (auto s : weekdays(Late, 0, 1, 6)) automatic.placements.push_back(s);
    cycles.push_back(automatic);
    return cycles;
}
enum CycleId { CycleNormal = 1, CycleThree = 2, CycleFloating = 3, CycleOvertime = 4, CycleAuto = 5 };

struct DeptSpec {
    const char* name;
    int parent;  // index into kDepts, -1 for the root
};
const std::array<DeptSpec, 9> kDepts = {{{"生产部", -1},
                                         {"一车间", 0},
                                         {"二车间", 0},
                                         {"三车间", 0},
                                         {"质检部", -1},
                                         {"行政部", -1},
                                         {"财务部", -1},
                                         {"销售部", -1},
                                         {"仓储部", -1}}};

const std::array<const char*, 24> kSurnames = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙",
                                               "马", "朱", "胡", "郭", "何", "高", "林", "罗", "郑", "梁", "谢", "宋"};
const std::array<const char*, 30> kGiven = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋",
                                            "勇", "艳", "杰", "娟", "涛", "明", "超", "秀英", "霞", "平",
                                            "刚", "桂英", "建华", "文", "华", "红", "玉兰", "志强", "海燕", "建国"};

// The cycle of a department's employees: workshops turn in three shifts or choose automatically.
int cycleOfDepartment(int dept, std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> pct(0, 99);
    const int p = pct(rng);
    switch (dept) {
    case 1: case 2: case 3: return p < 75 ? CycleThree : CycleAuto;  // workshops
    case 4: return p < 50 ? CycleAuto : CycleNormal;                  // quality
    case 7: return p < 80 ? CycleFloating : CycleNormal;              // sales
    case 8: return p < 70 ? CycleOvertime : CycleNormal;              // warehouse
    default: return CycleNormal;
    }
}

// ---- Punches of one employee -----------------------------------------------------------------

struct Punch {
    Moment time;
    char type;
    bool checked;
};

class PunchMaker {
public:
    explicit PunchMaker(std::mt19937_64& rng) : rng_(rng) {}

    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    // The punches of one planned period worked from `on` to `off`.
    void period(Moment on, Moment off, bool floating, bool overtime, bool partlyOnLeave, std::vector<Punch>& out)
    {
        if (!partlyOnLeave && chance(overtime ? 0.1 : 0.025)) return;  // absent
        const bool wrongType = chance(0.02);
        if (!chance(overtime ? 0.1 : 0.02)) {  // forgotten check-in otherwise
            Moment in = floating ? on + between(0, 5400) : on - between(60, 1800);
            if (!floating && chance(0.06)) in = on + between(60, 2700);  // late
            add(out, in, wrongType ? 'O' : 'I');
            if (chance(0.015)) add(out, in + between(20, 180), 'I');  // punched twice
        }
        if (!floating && !overtime && chance(0.025)) {  // going out during work
            const Moment away = on + between(7200, 14400);
            add(out, away, '0');
            add(out, away + (chance(0.2) ? between(300, 1500) : between(2100, 5400)), '1');
        }
        if (!chance(overtime ? 0.1 : 0.02)) {  // forgotten check-out otherwise
            Moment leave = floating ? off - between(0, 5400) : off + between(0, 1500);
            if (!floating && chance(0.05)) leave = off - between(60, 3000);  // early
            add(out, leave, 'O');
        }
    }

    // Free overtime: a pair of punches in the evening, away from every window of the day.
    void freeOvertime(DayNumber day, std::vector<Punch>& out)
    {
        const Moment start = engine::MomentOf(day, 19 * 3600 + 30 * 60) + between(0, 1800);
        add(out, start, 'i');
        add(out, start + between(3600, 3 * 3600), 'o');
    }

    void add(std::vector<Punch>& out, Moment t, char type)
    {
        out.push_back({t, type, chance(0.005)});
    }

private:
    std::mt19937_64& rng_;
};

struct LeaveSpec {
    Moment begin, end;
    int classid;  // 0 business trip
    const char* why;
};

// ---- Writing ---------------------------------------------------------------------------------

class DemoWriter {
public:
    DemoWriter(Database& db, const DemoSettings& s, DemoSummary& summary)
        : db_(db), s_(s), summary_(summary), rng_(s.seed), last_(s.from + s.days - 1)
    {
    }

    DbStatus write()
    {
        DbStatus st = loader::EnsureStartupRows(db_);
        if (!st.ok()) return st;
        {
            Transaction tx(db_);
            if (!tx.ok()) return tx.commit();
            for (auto step : {&DemoWriter::parameters, &DemoWriter::departments, &DemoWriter::periodsAndCycles,
                              &DemoWriter::holidays, &DemoWriter::employees}) {
                st = (this->*step)();
                if (!st.ok()) return st;
            }
            st = tx.commit();
            if (!st.ok()) return st;
        }
        return loader::EnsureStartupRows(db_);  // Admin gets the new departments
    }

private:
    DbStatus parameters()
    {
        DbStatus st = db_.exec(QStringLiteral(
            "update BasePara set Twoday=0, Noclockin=False, Noclockout=False, Isovertime=True, Latetime=60, "
            "Leavetime=60, Overtime=30, Workdaylong=480, WOvertime=1.5, HOvertime=2, FOvertime=3, IsovertimeIn=False, "
            "OvertimeIn=60, DeductIn=False, DeductOut=True"));
        // Units 0 minutes, 1 hours, 2 workdays; rounding 0 down, 1 up, 2 nearest.
        const std::array<std::tuple<const char*, int, double, int, bool, bool>, 9> items = {{
            {"Normal", 2, 0.5, 2, false, false},
            {"Late", 0, 1, 2, false, false},
            {"Early", 0, 1, 2, false, false},
            {"BLeave", 2, 0.5, 2, false, false},
            {"Leave", 1, 0.5, 1, false, false},
            {"Absent", 2, 0.5, 2, false, false},
            {"Out", 0, 1, 2, false, false},
            {"Overtime", 1, 0.5, 0, true, false},
            {"FreeOT", 1, 0.5, 0, false, false},
        }};
        for (const auto& [name, units, minUnit, rounding, addup, times] : items) {
            if (!st.ok()) break;
            st = db_.exec(QStringLiteral("update Statitems set Units=:Units, MinUnit=:MinUnit, SRControl=:SRControl, "
                                         "Isaddup=:Isaddup, Istimes=:Istimes where Itemname=:Itemname"),
                          {{"Units", units}, {"MinUnit", minUnit}, {"SRControl", rounding}, {"Isaddup", addup},
                           {"Istimes", times}, {"Itemname", QString::fromUtf8(name)}});
        }
        const std::array<std::tuple<const char*, int, const char*>, 4> classes = {
            {{"病假", 0x0000FF, "S"}, {"事假", 0x00A5FF, "P"}, {"年假", 0x008000, "A"}, {"婚假", 0xFF00FF, "M"}}};
        for (const auto& [name, colour, mark] : classes) {
            if (!st.ok()) break;
            st = db_.exec(QStringLiteral("insert into LeaveClass (Classname, ViewColor, Showas) values (:N, :C, :S)"),
                          {{"N", QString::fromUtf8(name)}, {"C", colour}, {"S", QString::fromLatin1(mark)}});
            if (st.ok()) leaveClasses_.push_back(static_cast<int>(db_.lastInsertId()));
        }
        return st;
    }

    DbStatus departments()
    {
        DbStatus st;
        const QVariant root = db_.scalar(QStringLiteral("select Deptid from Dept where SupDeptid=0 order by Deptid"), {}, &st);
        if (!st.ok()) return st;
        for (const DeptSpec& d : kDepts) {
            const int parent = d.parent < 0 ? root.toInt() : deptids_[static_cast<std::size_t>(d.parent)];
            st = db_.exec(QStringLiteral("insert into Dept (Deptname, SupDeptid) values (:Deptname, :SupDeptid)"),
                          {{"Deptname", QString::fromUtf8(d.name)}, {"SupDeptid", parent}});
            if (!st.ok()) return st;
            deptids_.push_back(static_cast<int>(db_.lastInsertId()));
        }
        summary_.departments = static_cast<long long>(deptids_.size()) + 1;
        return st;
    }

    DbStatus periodsAndCycles()
    {
        for (std::size_t i = 0; i < kPeriods.size(); ++i) {
            const PeriodSpec& p = kPeriods[i];
            DbStatus st = db_.exec(
                QStringLiteral("insert into TimeTable (Timename, Intime, Outtime, BIntime, EIntime, BOuttime, EOuttime, "
                               "Latetime, Leavetime, WorkDays, Longtime, MustIn, MustOut, IsFreetime, IsOvertime) values "
                               "(:Timename, :Intime, :Outtime, :BIntime, :EIntime, :BOuttime, :EOuttime, :Latetime, "
                               ":Leavetime, :WorkDays, :Longtime, :MustIn, :MustOut, :IsFreetime, :IsOvertime)"),
                {{"Timename", QString::fromUtf8(p.name)}, {"Intime", timeOfDay(p.in[0], p.in[1])},
                 {"Outtime", timeOfDay(p.out[0], p.out[1])}, {"BIntime", timeOfDay(p.bIn[0], p.bIn[1])},
                 {"EIntime", timeOfDay(p.eIn[0], p.eIn[1])}, {"BOuttime", timeOfDay(p.bOut[0], p.bOut[1])},
                 {"EOuttime", timeOfDay(p.eOut[0], p.eOut[1])}, {"Latetime", p.grace}, {"Leavetime", p.grace},
                 {"WorkDays", p.workDays}, {"Longtime", p.minutes}, {"MustIn", p.mustIn}, {"MustOut", p.mustOut},
                 {"IsFreetime", p.floating}, {"IsOvertime", p.overtime}});
            if (!st.ok()) return st;
            const int timeid = static_cast<int>(db_.lastInsertId());
            engine::PeriodRow row;
            row.Timeid = timeid;
            row.Timename = p.name;
            row.Intime = timeOfDay(p.in[0], p.in[1]).toStdString();
            row.Outtime = timeOfDay(p.out[0], p.out[1]).toStdString();
            row.BIntime = timeOfDay(p.bIn[0], p.bIn[1]).toStdString();
            row.EIntime = timeOfDay(p.eIn[0], p.eIn[1]).toStdString();
            row.BOuttime = timeOfDay(p.bOut[0], p.bOut[1]).toStdString();
            row.EOuttime = timeOfDay(p.eOut[0], p.eOut[1]).toStdString();
            row.WorkDays = p.workDays;
            row.Longtime = p.minutes;
            row.MustIn = p.mustIn;
            row.MustOut = p.mustOut;
            row.IsFreetime = p.floating;
            row.IsOvertime = p.overtime;
            periods_.push_back(row);
        }
        for (const CycleSpec& c : cycleSpecs()) {
            DbStatus st = db_.exec(QStringLiteral("insert into Schedule (Schname, Cycles, Units, AutoClass) values "
                                                  "(:Schname, :Cycles, :Units, :AutoClass)"),
                                   {{"Schname", QString::fromUtf8(c.name)}, {"Cycles", c.cycles}, {"Units", c.units},
                                    {"AutoClass", c.autoClass}});
            if (!st.ok()) return st;
            const int schid = static_cast<int>(db_.lastInsertId());
            schids_.push_back(schid);
            for (const auto& [beginDay, period] : c.placements) {
                const int timeid = periods_[static_cast<std::size_t>(period - 1)].Timeid;
                st = db_.exec(QStringLiteral("insert into SchTime (Schid, BeginDay, Timeid) values (:Schid, :BeginDay, :Timeid)"),
                              {{"Schid", schid}, {"BeginDay", beginDay}, {"Timeid", timeid}});
                if (!st.ok()) return st;
                cycleRows_.push_back({schid, c.name, c.cycles, c.units, c.autoClass, beginDay, timeid});
            }
        }
        return DbStatus::success();
    }

    DbStatus holidays()
    {
        auto add = [&](const char* name, DayNumber first, int days) {
            engine::HolidayRow h;
            h.Name = name;
            h.BDate = engine::MomentText(engine::MomentOf(first, 0));
            h.Days = days;
            holidays_.push_back(h);
            return db_.exec(QStringLiteral("insert into Holiday (Name, BDate, Days) values (:Name, :BDate, :Days)"),
                            {{"Name", QString::fromUtf8(name)}, {"BDate", text(h.BDate)}, {"Days", days}});
        };
        const int firstYear = engine::CivilFromDay(s_.from - 10).year;
        const int lastYear = engine::CivilFromDay(last_).year;
        bool inSpan = false;
        for (int y = firstYear; y <= lastYear; ++y) {
            const std::array<std::tuple<const char*, int, int, int>, 3> fixed = {
                {{"元旦", 1, 1, 1}, {"劳动节", 5, 1, 3}, {"国庆节", 10, 1, 7}}};
            for (const auto& [name, month, day, days] : fixed) {
                const DayNumber first = engine::DayFromCivil(y, month, day);
                if (DbStatus st = add(name, first, days); !st.ok()) return st;
                inSpan = inSpan || (first + days > s_.from && first <= last_);
            }
        }
        if (!inSpan) {  // every demo shows a holiday: a company day off on the first Friday after a week
            DayNumber d = s_.from + std::min(7, s_.days - 1);
            while (engine::WeekdayOf(d) != 5 && d < last_) ++d;
            if (DbStatus st = add("公司假日", d, 1); !st.ok()) return st;
        }
        return DbStatus::success();
    }

    DbStatus employees()
    {
        BulkInsert users(db_, "Userinfo", {"Userid", "Name", "Sex", "Deptid", "EmployDate", "Duty", "IsAtt",
                                            "Isovertime", "Isrest", "MgFlag", "Groupid", "Cardnum"});
        BulkInsert shifts(db_, "Usershift", {"Userid", "Schid", "BeginDate", "EndDate"});
        BulkInsert temps(db_, "UserTempshift", {"Userid", "Timeid", "Workdate", "Isovertime"});
        BulkInsert leaves(db_, "UserLeave", {"Userid", "BeginTime", "EndTime", "LeaveClassid", "Whys"});
        BulkInsert punches(db_, "Checkinout", {"Userid", "Checktime", "Checktype", "Sensorid", "Checked", "WorkType"});
        for (const BulkInsert* b : {&users, &shifts, &temps, &leaves, &punches})
            if (!b->status().ok()) return b->status();

        std::vector<engine::RunProblem> problems;
        const engine::PlanCatalog catalog(periods_, cycleRows_, holidays_, problems);
        PunchMaker maker(rng_);
        // Weeks of the three-shift cycle count from the Monday on or before the first day; three
        // crews start one week apart so that every shift is manned.
        DayNumber monday = s_.from;
        while (engine::WeekdayOf(monday) != 1) --monday;
        const QString farEnd = dateText(last_ + 365);
        std::vector<Punch> dayPunches;
        std::vector<engine::AssignmentRow> assignments;
        std::vector<engine::TempShiftRow> tempRows;

        for (int n = 1; n <= s_.employees; ++n) {
            const std::string userid = std::to_string(n);
            const QString uid = text(userid);
            const int deptIndex = n % 10 == 0 ? 5 + maker.between(0, 3) : maker.between(0, 8);
            const int deptid = deptids_[static_cast<std::size_t>(deptIndex)];
            const std::string name = std::string(kSurnames[static_cast<std::size_t>(maker.between(0, 23))]) +
                                     kGiven[static_cast<std::size_t>(maker.between(0, 29))];
            const bool isAtt = !maker.chance(0.01);
            const bool isRest = !maker.chance(0.05);
            users.add({uid, text(name), maker.chance(0.5) ? QStringLiteral("男") : QStringLiteral("女"), deptid,
                       momentText(engine::MomentOf(s_.from - maker.between(30, 4000), 0)), QStringLiteral("职员"),
                       users.flag(isAtt), users.flag(true), users.flag(isRest), 1, 1, QString()});

            // Assignments: one cycle, or for some a change of cycle in the middle of the span.
            assignments.clear();
            const int cycle = cycleOfDepartment(deptIndex, rng_);
            DayNumber begin = cycle == CycleThree ? monday - 7 * (n % 3) : s_.from - maker.between(0, 200);
            if (s_.days > 14 && maker.chance(0.04)) {
                const DayNumber change = s_.from + s_.days / 2;
                assignments.push_back({userid, schids_[CycleNormal - 1], engine::DateText(begin),
                                       engine::DateText(change - 1)});
                begin = change;
            }
            assignments.push_back({userid, schids_[static_cast<std::size_t>(cycle - 1)], engine::DateText(begin),
                                   farEnd.toStdString()});
            for (const auto& a : assignments) shifts.add({uid, a.Schid, text(a.BeginDate), text(a.EndDate)});

            // Temporary shifts: a day off, or a day on another period.
            tempRows.clear();
            for (DayNumber d = s_.from; d <= last_; ++d) {
                if (!maker.chance(0.006)) continue;
                const int timeid = maker.chance(0.4) ? -1 : periods_[static_cast<std::size_t>(maker.between(0, 2))].Timeid;
                tempRows.push_back({userid, timeid, engine::DateText(d)});
                temps.add({uid, timeid, dateText(d), temps.flag(false)});
            }

            engine::EmployeePlan plan{userid, {}, name, isRest, {}, {}};
            for (const auto& a : assignments) plan.assignments.push_back(&a);
            for (const auto& t : tempRows) plan.tempShifts.push_back(&t);
            std::vector<engine::MemTabRow> planned =
                engine::ResolvePlannedPeriods(catalog, plan, s_.from, last_, 0, problems);

            // Leaves and trips, laid on planned periods.
            std::vector<LeaveSpec> employeeLeaves = makeLeaves(maker, planned);
            for (const LeaveSpec& l : employeeLeaves)
                leaves.add({uid, momentText(l.begin), momentText(l.end), l.classid, QString::fromUtf8(l.why)});

            // Punches of every planned period; of two periods of an automatic cycle on one date the
            // employee works one.
            dayPunches.clear();
            std::string autoDate;
            for (const engine::MemTabRow& p : planned) {
                if (p.AutoClass) {
                    if (autoDate == p.UDate.str()) continue;
                    if (maker.chance(0.3)) {  // works the later of the two: skip this one
                        autoDate.clear();
                        continue;
                    }
                    autoDate = p.UDate.str();
                }
                const Moment on = *engine::ParseMoment(p.OnTime.view());
                const Moment off = *engine::ParseMoment(p.OffTime.view());
                bool wholeLeave = false, partLeave = false;
                for (const LeaveSpec& l : employeeLeaves) {
                    if (l.begin <= on && l.end >= off) wholeLeave = true;
                    else if (l.begin < off && l.end > on) partLeave = true;
                }
                if (wholeLeave) continue;
                maker.period(on, off, p.IsFreeTime, p.IsOverTime, partLeave, dayPunches);
            }
            if (cycle == CycleNormal || cycle == CycleFloating) {
                for (DayNumber d = s_.from; d <= last_; ++d)
                    if (maker.chance(0.02)) maker.freeOvertime(d, dayPunches);
            }
            std::sort(dayPunches.begin(), dayPunches.end(), [](const Punch& a, const Punch& b) { return a.time < b.time; });
            dayPunches.erase(std::unique(dayPunches.begin(), dayPunches.end(),
                                         [](const Punch& a, const Punch& b) { return a.time == b.time; }),
                             dayPunches.end());
            for (const Punch& p : dayPunches) {
                punches.add({uid, momentText(p.time), QString(QLatin1Char(p.type)),
                             QString::number(1 + n % 4), punches.flag(p.checked), 0});
            }
            summary_.leaves += static_cast<long long>(employeeLeaves.size());
        }
        for (const BulkInsert* b : {&users, &shifts, &temps, &leaves, &punches})
            if (!b->status().ok()) return b->status();
        summary_.employees = users.rows();
        summary_.punches = punches.rows();
        summary_.tempShifts = temps.rows();
        return DbStatus::success();
    }

    // Some employees take a leave of a few hours or of whole days, some travel on business.
    std::vector<LeaveSpec> makeLeaves(PunchMaker& maker, const std::vector<engine::MemTabRow>& planned)
    {
        std::vector<LeaveSpec> result;
        std::vector<const engine::MemTabRow*> usable;
        for (const auto& p : planned)
            if (!p.IsOverTime && !p.AutoClass) usable.push_back(&p);
        if (usable.empty()) return result;
        auto pick = [&] { return usable[static_cast<std::size_t>(maker.between(0, static_cast<int>(usable.size()) - 1))]; };
        const int classes = static_cast<int>(leaveClasses_.size());
        if (maker.chance(0.12)) {  // a few hours
            const engine::MemTabRow* p = pick();
            const Moment on = *engine::ParseMoment(p->OnTime.view());
            result.push_back({on + 2 * 3600, on + 4 * 3600, leaveClasses_[static_cast<std::size_t>(maker.between(0, 1))], "看病"});
        }
        if (maker.chance(0.08)) {  // whole days
            const std::size_t first = static_cast<std::size_t>(maker.between(0, static_cast<int>(usable.size()) - 1));
            const std::size_t last = std::min(usable.size() - 1, first + static_cast<std::size_t>(maker.between(0, 2)));
            const Moment on = *engine::ParseMoment(usable[first]->OnTime.view());
            const Moment off = *engine::ParseMoment(usable[last]->OffTime.view());
            if (result.empty() || result.back().end <= on || result.back().begin >= off)
                result.push_back({on, off, leaveClasses_[static_cast<std::size_t>(maker.between(0, classes - 1))], "家中有事"});
        }
        if (maker.chance(0.04)) {  // a business trip of two to four days
            const std::size_t first = static_cast<std::size_t>(maker.between(0, static_cast<int>(usable.size()) - 1));
            const std::size_t last = std::min(usable.size() - 1, first + static_cast<std::size_t>(maker.between(1, 3)));
            const Moment on = *engine::ParseMoment(usable[first]->OnTime.view());
            const Moment off = *engine::ParseMoment(usable[last]->OffTime.view());
            bool overlaps = false;
            for (const LeaveSpec& l : result) overlaps = overlaps || (l.begin < off && l.end > on);
            if (!overlaps) result.push_back({on, off, 0, "出差"});
        }
        return result;
    }

    Database& db_;
    const DemoSettings& s_;
    DemoSummary& summary_;
    std::mt19937_64 rng_;
    DayNumber last_;
    std::vector<int> deptids_;
    std::vector<int> schids_;
    std::vector<int> leaveClasses_;
    std::vector<engine::PeriodRow> periods_;
    std::vector<engine::CycleRow> cycleRows_;
    std::vector<engine::HolidayRow> holidays_;
};

}  // namespace

DayNumber DefaultDemoStart(DayNumber today)
{
    engine::CivilDate c = engine::CivilFromDay(today);
    c.month -= 2;
    if (c.month < 1) {
        c.month += 12;
        c.year -= 1;
    }
    return engine::DayFromCivil(c.year, c.month, 1);
}

DbStatus WriteDemoDatabase(Database& db, const DemoSettings& settings, DemoSummary& summary)
{
    summary = DemoSummary{};
    DemoWriter writer(db, settings, summary);
    return writer.write();
}

}  // namespace kelvork::demo
