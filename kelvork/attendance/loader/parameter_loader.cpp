#include "parameter_loader.h"

#include <array>

#include "column_reader.h"
#include "startup_rows.h"

namespace kelvork::loader {

using engine::RunProblem;

namespace {

// The item names older databases hold, in the order of kStatItemNames.
const std::array<const char*, engine::StatItemCount> kOldItemNames = {
    "正常", "迟到", "早退", "公出", "请假", "旷工", "外出", "加班", "自由加班"};

// A value of a parameter row that cannot be read: reported, and the fresh row's value kept.
template <typename T>
void keepDefault(ColumnReader& r, T read, T& field, std::vector<RunProblem>& problems, const std::string& what)
{
    if (r.Usable()) {
        field = read;
        return;
    }
    problems.push_back({{}, what, r.BadValues(), "value cannot be read; a new row's value is used"});
    r.BeginRow();
}

DbStatus loadBasePara(Database& db, engine::TBasePar& p, std::vector<RunProblem>& problems)
{
    // A fresh row: the columns' defaults.
    p = engine::TBasePar{};
    p.Company = defaultCompanyName().toStdString();
    p.Twoday = 0;
    p.Latetime = 0;
    p.Leavetime = 0;
    p.Overtime = 0;
    p.Workdaylong = 480;
    p.WOvertime = p.HOvertime = p.FOvertime = 1;
    p.OvertimeIn = 0;

    Query q = db.query(QStringLiteral(
        "select Company, Twoday, Noclockin, Noclockout, Isovertime, Latetime, Leavetime, Overtime, Workdaylong, "
        "WOvertime, HOvertime, FOvertime, IsovertimeIn, OvertimeIn, DeductIn, DeductOut from BasePara"));
    if (q.next()) {
        ColumnReader r(q, "BasePara");
        const std::string table = "BasePara";
        p.Company = r.Text(0);
        keepDefault(r, r.Integer(1, "Twoday"), p.Twoday, problems, table);
        keepDefault(r, r.Flag(2, "Noclockin"), p.Noclockin, problems, table);
        keepDefault(r, r.Flag(3, "Noclockout"), p.Noclockout, problems, table);
        keepDefault(r, r.Flag(4, "Isovertime"), p.Isovertime, problems, table);
        keepDefault(r, r.Integer(5, "Latetime"), p.Latetime, problems, table);
        keepDefault(r, r.Integer(6, "Leavetime"), p.Leavetime, problems, table);
        keepDefault(r, r.Integer(7, "Overtime"), p.Overtime, problems, table);
        keepDefault(r, r.Integer(8, "Workdaylong"), p.Workdaylong, problems, table);
        keepDefault(r, r.Number(9, "WOvertime"), p.WOvertime, problems, table);
        keepDefault(r, r.Number(10, "HOvertime"), p.HOvertime, problems, table);
        keepDefault(r, r.Number(11, "FOvertime"), p.FOvertime, problems, table);
        keepDefault(r, r.Flag(12, "IsovertimeIn"), p.IsovertimeIn, problems, table);
        keepDefault(r, r.Integer(13, "OvertimeIn"), p.OvertimeIn, problems, table);
        keepDefault(r, r.Flag(14, "DeductIn"), p.DeductIn, problems, table);
        keepDefault(r, r.Flag(15, "DeductOut"), p.DeductOut, problems, table);
    }
    return q.ok() ? DbStatus::success()
                  : DbStatus::failure(QStringLiteral("Reading BasePara: %1").arg(q.error()));
}

struct StoredItem {
    QString name;
    engine::TStatItem item;
    std::string bad;  // unreadable values, "" when none
};

DbStatus loadStatItems(Database& db, engine::TStatItems& items, std::vector<RunProblem>& problems)
{
    items = engine::DefaultStatItems();
    std::vector<StoredItem> stored;
    Query q = db.query(QStringLiteral("select Itemname, Units, MinUnit, SRControl, Isaddup, Istimes from Statitems"));
    ColumnReader r(q, "Statitems");
    while (q.next()) {
        r.BeginRow();
        StoredItem s;
        s.name = q.value(0).toString();
        // Each value separately: an unreadable one keeps a new row's value.
        const engine::TStatItem fresh;
        s.item.Units = r.Integer(1, "Units");
        if (!r.Usable()) { s.bad += r.BadValues() + ' '; s.item.Units = fresh.Units; r.BeginRow(); }
        s.item.MinUnit = r.Number(2, "MinUnit");
        if (!r.Usable()) { s.bad += r.BadValues() + ' '; s.item.MinUnit = fresh.MinUnit; r.BeginRow(); }
        s.item.SRControl = r.Integer(3, "SRControl");
        if (!r.Usable()) { s.bad += r.BadValues() + ' '; s.item.SRControl = fresh.SRControl; r.BeginRow(); }
        s.item.Isaddup = r.Flag(4, "Isaddup");
        if (!r.Usable()) { s.bad += r.BadValues() + ' '; s.item.Isaddup = false; r.BeginRow(); }
        s.item.Istimes = r.Flag(5, "Istimes");
        if (!r.Usable()) { s.bad += r.BadValues() + ' '; s.item.Istimes = false; r.BeginRow(); }
        stored.push_back(std::move(s));
    }
    if (!q.ok()) return DbStatus::failure(QStringLiteral("Reading Statitems: %1").arg(q.error()));

    auto find = [&](const char* name) -> const StoredItem* {
        const QString wanted = QString::fromUtf8(name);
        for (const StoredItem& s : stored)
            if (s.name.trimmed().compare(wanted, Qt::CaseInsensitive) == 0) return &s;
        return nullptr;
    };
    for (std::size_t i = 0; i < engine::StatItemCount; ++i) {
        const StoredItem* s = find(engine::kStatItemNames[i]);
        if (s == nullptr) s = find(kOldItemNames[i]);
        if (s == nullptr) continue;
        items[i] = s->item;
        items[i].Itemname = engine::kStatItemNames[i];
        if (!s->bad.empty()) {
            std::string values = s->bad;
            values.pop_back();
            problems.push_back({{}, "Statitems", "Itemname=" + std::string(engine::kStatItemNames[i]) + " " + values,
                                "value cannot be read; a new row's value is used"});
        }
    }
    return DbStatus::success();
}

DbStatus loadLeaveClasses(Database& db, std::vector<engine::TLeaveClass>& classes, std::vector<RunProblem>& problems)
{
    classes.clear();
    Query q = db.query(QStringLiteral("select Classid, Classname, ViewColor, Showas from LeaveClass order by Classid"));
    ColumnReader r(q, "LeaveClass");
    while (q.next()) {
        r.BeginRow();
        engine::TLeaveClass c;
        c.Classid = r.Integer(0, "Classid");
        c.Classname = r.Text(1);
        if (!r.Usable()) {
            r.ReportRow(problems, {}, "leave class \"" + c.Classname + "\" left out");
            continue;
        }
        c.ViewColor = r.Integer(2, "ViewColor");  // only shown: 0 when unreadable
        if (!r.Usable()) r.ReportRow(problems, {}, "leave class \"" + c.Classname + "\" shown without its colour");
        c.Showas = r.Text(3);
        classes.push_back(std::move(c));
    }
    return q.ok() ? DbStatus::success()
                  : DbStatus::failure(QStringLiteral("Reading LeaveClass: %1").arg(q.error()));
}

}  // namespace

DbStatus LoadAttendanceParameters(Database& db, engine::AttendanceParameters& params,
                                  std::vector<RunProblem>& problems)
{
    params = engine::AttendanceParameters{};
    DbStatus st = loadBasePara(db, params.basePar, problems);
    if (st.ok()) st = loadStatItems(db, params.items, problems);
    if (st.ok()) st = loadLeaveClasses(db, params.leaveClasses, problems);
    return st;
}

}  // namespace kelvork::loader
