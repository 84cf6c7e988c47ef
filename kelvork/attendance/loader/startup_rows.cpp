#include "startup_rows.h"

#include "parameters.h"

namespace kelvork::loader {

QString defaultCompanyName() { return QStringLiteral("总公司"); }

namespace {

DbStatus ensureBaseParaAndRoot(Database& db, const QString& company)
{
    DbStatus st;
    const QVariant rows = db.scalar(QStringLiteral("select count(*) from BasePara"), {}, &st);
    if (!st.ok() || rows.toLongLong() > 0) return st;
    st = db.exec(QStringLiteral("insert into BasePara (Company) values (:Company)"), {{QStringLiteral("Company"), company}});
    if (!st.ok()) return st;
    // Only when the parameters row was missing: the root department named after the company.
    const QVariant roots = db.scalar(QStringLiteral("select count(*) from Dept where SupDeptid = 0"), {}, &st);
    if (!st.ok() || roots.toLongLong() > 0) return st;
    return db.exec(QStringLiteral("insert into Dept (Deptname, SupDeptid) values (:Deptname, 0)"),
                   {{QStringLiteral("Deptname"), company}});
}

DbStatus ensureStatItems(Database& db)
{
    for (const char* name : engine::kStatItemNames) {
        DbStatus st;
        const QVariant rows = db.scalar(QStringLiteral("select count(*) from Statitems where Itemname=:Itemname"),
                                        {{QStringLiteral("Itemname"), QString::fromUtf8(name)}}, &st);
        if (!st.ok()) return st;
        if (rows.toLongLong() > 0) continue;
        st = db.exec(QStringLiteral("insert into Statitems (Itemname) values (:Itemname)"),
                     {{QStringLiteral("Itemname"), QString::fromUtf8(name)}});
        if (!st.ok()) return st;
    }
    return DbStatus::success();
}

DbStatus ensureAdmin(Database& db)
{
    const QString allRights(32, QLatin1Char('Y'));
    QString everyDept;
    Query depts = db.query(QStringLiteral("select Deptid from Dept order by Deptid"));
    while (depts.next()) everyDept += QStringLiteral("A%1Z").arg(depts.integer(QStringLiteral("Deptid")));
    if (!depts.ok()) return DbStatus::failure(depts.error());

    DbStatus st;
    const QVariant rows = db.scalar(QStringLiteral("select count(*) from OPinfo"), {}, &st);
    if (!st.ok()) return st;
    if (rows.toLongLong() == 0) {
        return db.exec(QStringLiteral("insert into OPinfo (Name, Pwd, Authority, Deptpower) "
                                      "values (:Name, :Pwd, :Authority, :Deptpower)"),
                       {{QStringLiteral("Name"), QStringLiteral("Admin")},
                        {QStringLiteral("Pwd"), QString(QLatin1String(""))},
                        {QStringLiteral("Authority"), allRights},
                        {QStringLiteral("Deptpower"), everyDept}});
    }
    Query ops = db.query(QStringLiteral("select Opid, Name from OPinfo order by Opid"));
    int adminId = 0;
    while (ops.next()) {
        if (ops.text(QStringLiteral("Name")).toUpper() == QLatin1String("ADMIN")) {
            adminId = ops.integer(QStringLiteral("Opid"));
            break;
        }
    }
    if (!ops.ok()) return DbStatus::failure(ops.error());
    if (adminId == 0) return DbStatus::success();
    return db.exec(QStringLiteral("update OPinfo set Authority=:Authority, Deptpower=:Deptpower where Opid=:Opid"),
                   {{QStringLiteral("Authority"), allRights},
                    {QStringLiteral("Deptpower"), everyDept},
                    {QStringLiteral("Opid"), adminId}});
}

}  // namespace

DbStatus EnsureStartupRows(Database& db, const QString& company)
{
    Transaction tx(db);
    if (!tx.ok()) return tx.commit();
    DbStatus st = ensureBaseParaAndRoot(db, company);
    if (st.ok()) st = ensureStatItems(db);
    if (st.ok()) st = ensureAdmin(db);
    if (!st.ok()) return DbStatus::failure(QStringLiteral("Adding the start-up rows: %1").arg(st.message()));
    return tx.commit();
}

}  // namespace kelvork::loader
