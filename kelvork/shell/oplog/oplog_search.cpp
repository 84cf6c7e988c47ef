#include "oplog_search.h"

namespace kelvork::oplog {

std::vector<OperatorChoice> readOperators(Database& db, DbStatus* status)
{
    std::vector<OperatorChoice> out;
    Query q = db.query(QStringLiteral("select Opid, Name from OPinfo order by Opid"));
    while (q.next())
        out.push_back({q.integer(QStringLiteral("Opid")), q.text(QStringLiteral("Name"))});
    if (status)
        *status = q.ok() ? DbStatus::success() : DbStatus::failure(q.error());
    if (!q.ok())
        out.clear();
    return out;
}

std::optional<int> firstOperatorBeginningWith(const std::vector<OperatorChoice>& operators, const QString& choice)
{
    for (const OperatorChoice& op : operators)
        if (op.Name.startsWith(choice))
            return op.Opid;
    return std::nullopt;
}

DbStatus searchLog(Database& db, const QString& from, const QString& to, std::optional<int> opid,
                   std::vector<LogEntry>& entries)
{
    entries.clear();
    QString sql = QStringLiteral(
        "select l.Logid, l.OPid, l.Optime, l.OPlog, o.Name as OPname "
        "from OPLog l left join OPinfo o on o.Opid = l.OPid "
        "where (l.OPtime between :Rq1 and :Rq2)");
    Params params{{QStringLiteral("Rq1"), from}, {QStringLiteral("Rq2"), to}};
    if (opid) {
        sql += QStringLiteral(" and (l.Opid = :Opid)");
        params.set(QStringLiteral("Opid"), *opid);
    }
    sql += QStringLiteral(" order by l.Logid desc");
    Query q = db.query(sql, params);
    while (q.next()) {
        entries.push_back({q.value(QStringLiteral("Logid")).toLongLong(), q.integer(QStringLiteral("OPid")),
                           q.text(QStringLiteral("OPname")), q.text(QStringLiteral("Optime")),
                           q.text(QStringLiteral("OPlog"))});
    }
    if (!q.ok()) {
        entries.clear();
        return DbStatus::failure(q.error());
    }
    return DbStatus::success();
}

} // namespace kelvork::oplog
