#include "operator_store.h"

#include "rights.h"

#include <QHash>

#include <functional>

namespace kelvork::operators {

namespace {

OperatorRow rowOf(const Query& q)
{
    return {q.integer(QStringLiteral("Opid")), q.text(QStringLiteral("Name")),
            q.text(QStringLiteral("Pwd")), q.text(QStringLiteral("Authority")),
            q.text(QStringLiteral("Deptpower"))};
}

void report(DbStatus* status, const DbStatus& value)
{
    if (status)
        *status = value;
}

std::optional<OperatorRow> firstRow(Query q, DbStatus* status)
{
    std::optional<OperatorRow> found;
    if (q.next())
        found = rowOf(q);
    report(status, q.ok() ? DbStatus::success() : DbStatus::failure(q.error()));
    return found;
}

} // namespace

QString allDeptRights(Database& db, DbStatus* status)
{
    Query q = db.query(QStringLiteral("select Deptid from Dept order by Deptid"));
    QList<int> ids;
    while (q.next())
        ids << q.integer(QStringLiteral("Deptid"));
    report(status, q.ok() ? DbStatus::success() : DbStatus::failure(q.error()));
    return deptRightsOf(ids);
}

QList<DeptNode> fullDeptTree(Database& db, DbStatus* status)
{
    // Each placed department keeps its children in insertion order; the tree is flattened parent
    // first. Roots come as stored; the rest by SupDeptid, Deptid, so a child whose parent comes
    // later in that order finds no parent and is left out with everything below it.
    struct Node { DeptNode dept; QList<int> children; };
    QList<Node> nodes;
    QList<int> roots;
    QHash<int, int> firstPlaced;  // Deptid -> index in nodes of the first node with it

    Query rootQuery = db.query(QStringLiteral("select * from Dept where SupDeptid = 0 order by Deptid"));
    while (rootQuery.next()) {
        const int id = rootQuery.integer(QStringLiteral("Deptid"));
        nodes.append(Node{{id, rootQuery.text(QStringLiteral("Deptname")), 0}, {}});
        roots << int(nodes.size() - 1);
        if (!firstPlaced.contains(id))
            firstPlaced.insert(id, int(nodes.size() - 1));
    }
    if (!rootQuery.ok()) {
        report(status, DbStatus::failure(rootQuery.error()));
        return {};
    }
    Query rest = db.query(QStringLiteral("select * from Dept where SupDeptid <> 0 order by SupDeptid, Deptid"));
    while (rest.next()) {
        const auto parent = firstPlaced.constFind(rest.integer(QStringLiteral("SupDeptid")));
        if (parent == firstPlaced.constEnd())
            continue;
        const int id = rest.integer(QStringLiteral("Deptid"));
        nodes.append(Node{{id, rest.text(QStringLiteral("Deptname")), nodes[*parent].dept.depth + 1}, {}});
        nodes[*parent].children << int(nodes.size() - 1);
        if (!firstPlaced.contains(id))
            firstPlaced.insert(id, int(nodes.size() - 1));
    }
    if (!rest.ok()) {
        report(status, DbStatus::failure(rest.error()));
        return {};
    }
    QList<DeptNode> ordered;
    std::function<void(int)> walk = [&](int index) {
        ordered << nodes[index].dept;
        for (const int child : nodes[index].children)
            walk(child);
    };
    for (const int root : roots)
        walk(root);
    report(status, DbStatus::success());
    return ordered;
}

DbStatus bootstrapAdmin(Database& db)
{
    DbStatus status;
    const QString every = allDeptRights(db, &status);
    if (!status.ok())
        return status;
    Transaction tx(db);
    const QVariant count = db.scalar(QStringLiteral("select count(*) from OPinfo"), {}, &status);
    if (!status.ok())
        return status;
    if (count.toInt() == 0) {
        status = db.exec(QStringLiteral("insert into OPinfo (Name, Pwd, Authority, Deptpower) "
                                        "values (:Name, :Pwd, :Authority, :Deptpower)"),
                         {{QStringLiteral("Name"), QStringLiteral("Admin")},
                          {QStringLiteral("Pwd"), QStringLiteral("")},
                          {QStringLiteral("Authority"), kAllRights},
                          {QStringLiteral("Deptpower"), every}});
        if (!status.ok())
            return status;
    }
    Query q = db.query(QStringLiteral("select Opid, Name from OPinfo order by Opid"));
    int adminId = 0;
    while (q.next()) {
        if (q.text(QStringLiteral("Name")).toUpper() == QStringLiteral("ADMIN")) {
            adminId = q.integer(QStringLiteral("Opid"));
            break;
        }
    }
    if (!q.ok())
        return DbStatus::failure(q.error());
    if (adminId != 0) {
        status = db.exec(QStringLiteral("update OPinfo set Authority = :Authority, Deptpower = :Deptpower "
                                        "where Opid = :Opid"),
                         {{QStringLiteral("Authority"), kAllRights},
                          {QStringLiteral("Deptpower"), every},
                          {QStringLiteral("Opid"), adminId}});
        if (!status.ok())
            return status;
    }
    return tx.commit();
}

QStringList operatorNames(Database& db, DbStatus* status)
{
    Query q = db.query(QStringLiteral("select Name from OPinfo order by Opid"));
    QStringList names;
    while (q.next())
        names << q.text(QStringLiteral("Name"));
    report(status, q.ok() ? DbStatus::success() : DbStatus::failure(q.error()));
    return names;
}

std::optional<OperatorRow> findOperatorByName(Database& db, const QString& name, DbStatus* status)
{
    return firstRow(db.query(QStringLiteral("select * from OPinfo where Name = :Name order by Opid"),
                             {{QStringLiteral("Name"), name}}),
                    status);
}

std::optional<OperatorRow> findOperatorById(Database& db, int opid, DbStatus* status)
{
    return firstRow(db.query(QStringLiteral("select * from OPinfo where Opid = :Opid"),
                             {{QStringLiteral("Opid"), opid}}),
                    status);
}

DbStatus insertOperator(Database& db, const OperatorRow& row, int* newOpid)
{
    DbStatus status = db.exec(QStringLiteral("insert into OPinfo (Name, Pwd, Authority, Deptpower) "
                                             "values (:Name, :Pwd, :Authority, :Deptpower)"),
                              {{QStringLiteral("Name"), row.name},
                               {QStringLiteral("Pwd"), row.pwd},
                               {QStringLiteral("Authority"), row.authority},
                               {QStringLiteral("Deptpower"), row.deptpower}});
    if (status.ok() && newOpid)
        *newOpid = int(db.lastInsertId());
    return status;
}

DbStatus updateOperator(Database& db, const OperatorRow& row)
{
    return db.exec(QStringLiteral("update OPinfo set Name = :Name, Authority = :Authority, "
                                  "Deptpower = :Deptpower where Opid = :Opid"),
                   {{QStringLiteral("Name"), row.name},
                    {QStringLiteral("Authority"), row.authority},
                    {QStringLiteral("Deptpower"), row.deptpower},
                    {QStringLiteral("Opid"), row.Opid}});
}

DbStatus deleteOperator(Database& db, int opid)
{
    return db.exec(QStringLiteral("delete from OPinfo where Opid = :Opid"), {{QStringLiteral("Opid"), opid}});
}

DbStatus setOperatorPassword(Database& db, int opid, const QString& scrambled)
{
    return db.exec(QStringLiteral("update OPinfo set Pwd = :Pwd where Opid = :Opid"),
                   {{QStringLiteral("Pwd"), scrambled}, {QStringLiteral("Opid"), opid}});
}

} // namespace kelvork::operators
