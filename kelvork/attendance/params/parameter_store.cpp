#include "parameter_store.h"

#include "working_tables.h"

#include <cmath>

namespace kelvork::params {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

DbStatus failed(const QString& what, const DbStatus& st)
{
    return st.ok() ? st : DbStatus::failure(what + QStringLiteral(": ") + st.message());
}

// The rates are Numeric(18,1) columns: one decimal on every engine.
double oneDecimal(double value) { return std::round(value * 10.0) / 10.0; }

DbStatus ensureBaseParaAndRoot(Database& db, const QString& company)
{
    DbStatus st;
    const QVariant rows = db.scalar(QStringLiteral("select count(*) from BasePara"), {}, &st);
    if (!st.ok() || rows.toLongLong() > 0)
        return st;
    st = db.exec(QStringLiteral("insert into BasePara (Company) values (:Company)"), {{QStringLiteral("Company"), company}});
    if (!st.ok())
        return st;
    // Only for a database that had no parameters: the root department named after the company.
    const QVariant roots = db.scalar(QStringLiteral("select count(*) from Dept where SupDeptid = 0"), {}, &st);
    if (!st.ok() || roots.toLongLong() > 0)
        return st;
    return db.exec(QStringLiteral("insert into Dept (Deptname, SupDeptid) values (:Deptname, 0)"),
                   {{QStringLiteral("Deptname"), company}});
}

DbStatus readOrAddStatItems(Database& db, engine::TStatItems& items)
{
    for (std::size_t i = 0; i < engine::StatItemCount; ++i) {
        engine::TStatItem item;
        item.Itemname = engine::kStatItemNames[i];
        bool found = false;
        DbStatus st = readStatItem(db, item, &found);
        if (st.ok() && !found) {
            st = db.exec(QStringLiteral("insert into Statitems (Itemname) values (:Itemname)"),
                         {{QStringLiteral("Itemname"), q(item.Itemname)}});
            if (st.ok())
                st = readStatItem(db, item, &found);
        }
        if (!st.ok())
            return st;
        items[i] = item;
    }
    return DbStatus::success();
}

} // namespace

engine::AttendanceParameters& programParameters()
{
    static engine::AttendanceParameters params;
    return params;
}

DbStatus loadAtStart(Database& db, const QString& company, engine::AttendanceParameters& params)
{
    engine::AttendanceParameters loaded = params;
    Transaction tx(db);
    if (!tx.ok())
        return failed(QStringLiteral("Loading the attendance parameters"), tx.commit());
    DbStatus st = ensureBaseParaAndRoot(db, company);
    if (st.ok())
        st = readBasePara(db, loaded.basePar);
    if (st.ok())
        st = renameOldNames(db);
    if (st.ok())
        st = readOrAddStatItems(db, loaded.items);
    if (st.ok())
        st = readLeaveClasses(db, loaded.leaveClasses);
    if (st.ok())
        st = tx.commit();
    if (!st.ok())
        return failed(QStringLiteral("Loading the attendance parameters"), st);
    params = std::move(loaded);
    return st;
}

DbStatus renameOldNames(Database& db)
{
    static const char* const fields[][2] = {
        {"职务", "Field1"}, {"学历", "Field2"}, {"专业", "Field3"}, {"民族", "Field4"}};
    static const char* const oldItems[engine::StatItemCount] = {
        "正常", "迟到", "早退", "公出", "请假", "旷工", "外出", "加班", "自由加班"};
    for (const auto& f : fields) {
        DbStatus st = db.exec(QStringLiteral("update DefineField set FieldName=:New where FieldName=:Old"),
                              {{QStringLiteral("New"), QString::fromUtf8(f[1])},
                               {QStringLiteral("Old"), QString::fromUtf8(f[0])}});
        if (!st.ok())
            return st;
    }
    for (std::size_t i = 0; i < engine::StatItemCount; ++i) {
        DbStatus st = db.exec(QStringLiteral("update Statitems set Itemname=:New where Itemname=:Old"),
                              {{QStringLiteral("New"), QString::fromUtf8(engine::kStatItemNames[i])},
                               {QStringLiteral("Old"), QString::fromUtf8(oldItems[i])}});
        if (!st.ok())
            return st;
    }
    return DbStatus::success();
}

DbStatus readBasePara(Database& db, engine::TBasePar& p, bool* found)
{
    Query r = db.query(QStringLiteral("select * from BasePara"));
    const bool has = r.next();
    if (found)
        *found = has;
    if (has) {
        p.Company = r.text(QStringLiteral("Company")).toStdString();
        p.Workdaylong = r.integer(QStringLiteral("Workdaylong"));
        p.Twoday = r.integer(QStringLiteral("Twoday"));
        p.Noclockin = r.flag(QStringLiteral("Noclockin"));
        p.Noclockout = r.flag(QStringLiteral("Noclockout"));
        p.Isovertime = r.flag(QStringLiteral("Isovertime"));
        p.Latetime = r.integer(QStringLiteral("Latetime"));
        p.Leavetime = r.integer(QStringLiteral("Leavetime"));
        p.Overtime = r.integer(QStringLiteral("Overtime"));
        p.WOvertime = r.number(QStringLiteral("WOvertime"));
        p.HOvertime = r.number(QStringLiteral("HOvertime"));
        p.FOvertime = r.number(QStringLiteral("FOvertime"));
        p.IsovertimeIn = r.flag(QStringLiteral("IsovertimeIn"));
        p.OvertimeIn = r.integer(QStringLiteral("OvertimeIn"));
        p.DeductIn = r.flag(QStringLiteral("DeductIn"));
        p.DeductOut = r.flag(QStringLiteral("DeductOut"));
    }
    return r.ok() ? DbStatus::success() : DbStatus::failure(QStringLiteral("Reading BasePara: ") + r.error());
}

DbStatus writeBaseParaAndCompany(Database& db, const engine::TBasePar& p)
{
    Transaction tx(db);
    if (!tx.ok())
        return tx.commit();
    const Params values{{QStringLiteral("Company"), q(p.Company)},
                        {QStringLiteral("Workdaylong"), p.Workdaylong},
                        {QStringLiteral("Twoday"), p.Twoday},
                        {QStringLiteral("Noclockin"), p.Noclockin},
                        {QStringLiteral("Noclockout"), p.Noclockout},
                        {QStringLiteral("Isovertime"), p.Isovertime},
                        {QStringLiteral("Latetime"), p.Latetime},
                        {QStringLiteral("Leavetime"), p.Leavetime},
                        {QStringLiteral("Overtime"), p.Overtime},
                        {QStringLiteral("WOvertime"), oneDecimal(p.WOvertime)},
                        {QStringLiteral("HOvertime"), oneDecimal(p.HOvertime)},
                        {QStringLiteral("FOvertime"), oneDecimal(p.FOvertime)},
                        {QStringLiteral("IsovertimeIn"), p.IsovertimeIn},
                        {QStringLiteral("OvertimeIn"), p.OvertimeIn},
                        {QStringLiteral("DeductIn"), p.DeductIn},
                        {QStringLiteral("DeductOut"), p.DeductOut}};
    int changed = 0;
    DbStatus st = db.exec(
        QStringLiteral("update BasePara set Company=:Company, Workdaylong=:Workdaylong, Twoday=:Twoday, "
                       "Noclockin=:Noclockin, Noclockout=:Noclockout, Isovertime=:Isovertime, "
                       "Latetime=:Latetime, Leavetime=:Leavetime, Overtime=:Overtime, WOvertime=:WOvertime, "
                       "HOvertime=:HOvertime, FOvertime=:FOvertime, IsovertimeIn=:IsovertimeIn, "
                       "OvertimeIn=:OvertimeIn, DeductIn=:DeductIn, DeductOut=:DeductOut"),
        values, &changed);
    if (st.ok() && changed == 0)   // the row went missing: keep what the operator set
        st = db.exec(QStringLiteral("insert into BasePara (Company, Workdaylong, Twoday, Noclockin, Noclockout, "
                                    "Isovertime, Latetime, Leavetime, Overtime, WOvertime, HOvertime, FOvertime, "
                                    "IsovertimeIn, OvertimeIn, DeductIn, DeductOut) values (:Company, :Workdaylong, "
                                    ":Twoday, :Noclockin, :Noclockout, :Isovertime, :Latetime, :Leavetime, :Overtime, "
                                    ":WOvertime, :HOvertime, :FOvertime, :IsovertimeIn, :OvertimeIn, :DeductIn, "
                                    ":DeductOut)"),
                     values);
    if (!st.ok())
        return failed(QStringLiteral("Storing BasePara"), st);

    // The first department carries the company's name.
    bool hasDept = false;
    int deptid = 0;
    QString deptname;
    {
        Query first = db.query(QStringLiteral("select Deptid, Deptname from Dept order by Deptid"));
        if ((hasDept = first.next())) {
            deptid = first.integer(QStringLiteral("Deptid"));
            deptname = first.text(QStringLiteral("Deptname"));
        }
        if (!first.ok())
            return DbStatus::failure(QStringLiteral("Reading Dept: ") + first.error());
    }
    if (hasDept && deptname != q(p.Company)) {
        st = db.exec(QStringLiteral("update Dept set Deptname=:Deptname where Deptid=:Deptid"),
                     {{QStringLiteral("Deptname"), q(p.Company)}, {QStringLiteral("Deptid"), deptid}});
        if (!st.ok())
            return failed(QStringLiteral("Renaming the first department"), st);
    }
    return tx.commit();
}

DbStatus readStatItem(Database& db, engine::TStatItem& item, bool* found)
{
    Query r = db.query(QStringLiteral("select * from Statitems where Itemname=:Itemname"),
                       {{QStringLiteral("Itemname"), q(item.Itemname)}});
    const bool has = r.next();
    if (found)
        *found = has;
    if (has) {
        item.Units = r.integer(QStringLiteral("Units"));
        item.MinUnit = r.number(QStringLiteral("MinUnit"));
        item.SRControl = r.integer(QStringLiteral("SRControl"));
        item.Isaddup = r.flag(QStringLiteral("Isaddup"));
        item.Istimes = r.flag(QStringLiteral("Istimes"));
    }
    return r.ok() ? DbStatus::success() : DbStatus::failure(QStringLiteral("Reading Statitems: ") + r.error());
}

DbStatus writeStatItem(Database& db, const engine::TStatItem& item)
{
    const Params values{{QStringLiteral("Itemname"), q(item.Itemname)},
                        {QStringLiteral("Units"), item.Units},
                        {QStringLiteral("MinUnit"), item.MinUnit},
                        {QStringLiteral("SRControl"), item.SRControl},
                        {QStringLiteral("Isaddup"), item.Isaddup},
                        {QStringLiteral("Istimes"), item.Istimes}};
    int changed = 0;
    DbStatus st = db.exec(QStringLiteral("update Statitems set Units=:Units, MinUnit=:MinUnit, SRControl=:SRControl, "
                                         "Isaddup=:Isaddup, Istimes=:Istimes where Itemname=:Itemname"),
                          values, &changed);
    if (st.ok() && changed == 0)   // the row went missing: keep what the operator set
        st = db.exec(QStringLiteral("insert into Statitems (Itemname, Units, MinUnit, SRControl, Isaddup, Istimes) "
                                    "values (:Itemname, :Units, :MinUnit, :SRControl, :Isaddup, :Istimes)"),
                     values);
    return failed(QStringLiteral("Storing Statitems"), st);
}

DbStatus readLeaveClasses(Database& db, std::vector<engine::TLeaveClass>& classes)
{
    std::vector<engine::TLeaveClass> out;
    Query r = db.query(QStringLiteral("select Classid, Classname, ViewColor, Showas from LeaveClass order by Classid"));
    while (r.next())
        out.push_back({r.integer(QStringLiteral("Classid")), r.text(QStringLiteral("Classname")).toStdString(),
                       r.integer(QStringLiteral("ViewColor")), r.text(QStringLiteral("Showas")).toStdString()});
    if (!r.ok())
        return DbStatus::failure(QStringLiteral("Reading LeaveClass: ") + r.error());
    classes = std::move(out);
    return DbStatus::success();
}

DbStatus addLeaveClass(Database& db, engine::TLeaveClass& c)
{
    DbStatus st = db.exec(QStringLiteral("insert into LeaveClass (Classname, ViewColor, Showas) "
                                         "values (:Classname, :ViewColor, :Showas)"),
                          {{QStringLiteral("Classname"), q(c.Classname)},
                           {QStringLiteral("ViewColor"), c.ViewColor},
                           {QStringLiteral("Showas"), q(c.Showas)}});
    if (st.ok())
        c.Classid = int(db.lastInsertId());
    return failed(QStringLiteral("Adding the leave class"), st);
}

DbStatus updateLeaveClass(Database& db, const engine::TLeaveClass& c)
{
    return failed(QStringLiteral("Storing the leave class"),
                  db.exec(QStringLiteral("update LeaveClass set Classname=:Classname, ViewColor=:ViewColor, "
                                         "Showas=:Showas where Classid=:Classid"),
                          {{QStringLiteral("Classname"), q(c.Classname)},
                           {QStringLiteral("ViewColor"), c.ViewColor},
                           {QStringLiteral("Showas"), q(c.Showas)},
                           {QStringLiteral("Classid"), c.Classid}}));
}

DbStatus deleteLeaveClass(Database& db, int classid)
{
    return failed(QStringLiteral("Deleting the leave class"),
                  db.exec(QStringLiteral("delete from LeaveClass where Classid=:Classid"),
                          {{QStringLiteral("Classid"), classid}}));
}

LeaveNameProblem checkLeaveClassName(const std::vector<engine::TLeaveClass>& classes, int ownClassid,
                                     const QString& name)
{
    const QString wanted = name.trimmed();
    if (wanted.isEmpty())
        return LeaveNameProblem::Empty;
    for (const std::string& field : engine::MemStatTable{}.FieldNames())
        if (wanted.compare(q(field), Qt::CaseInsensitive) == 0)
            return LeaveNameProblem::FixedField;
    for (const engine::TLeaveClass& c : classes)
        if (c.Classid != ownClassid && wanted.compare(q(c.Classname).trimmed(), Qt::CaseInsensitive) == 0)
            return LeaveNameProblem::SameAsClass;
    return LeaveNameProblem::None;
}

QString fieldNameOfType(int type)
{
    return QStringLiteral("Field%1").arg(type + 1);
}

DbStatus readFieldValues(Database& db, const QString& fieldName, QStringList& values)
{
    QStringList out;
    Query r = db.query(QStringLiteral("select * from DefineField where Fieldname=:Fieldname order by Fieldid"),
                       {{QStringLiteral("Fieldname"), fieldName}});
    while (r.next())
        out << r.text(QStringLiteral("FieldValue"));
    if (!r.ok())
        return DbStatus::failure(QStringLiteral("Reading DefineField: ") + r.error());
    values = out;
    return DbStatus::success();
}

DbStatus addFieldValue(Database& db, const QString& fieldName, const QString& value)
{
    return failed(QStringLiteral("Adding the field value"),
                  db.exec(QStringLiteral("insert into DefineField(FieldValue,Fieldname) values (:FieldValue,:Fieldname)"),
                          {{QStringLiteral("FieldValue"), value}, {QStringLiteral("Fieldname"), fieldName}}));
}

DbStatus deleteFieldValue(Database& db, const QString& fieldName, const QString& value)
{
    return failed(QStringLiteral("Deleting the field value"),
                  db.exec(QStringLiteral("delete from DefineField where FieldValue=:FieldValue and Fieldname=:Fieldname"),
                          {{QStringLiteral("FieldValue"), value}, {QStringLiteral("Fieldname"), fieldName}}));
}

} // namespace kelvork::params
