#pragma once
// The statements on OPinfo and Dept that the login, the operator screen and the password dialog
// run. Values are always bound; every change of several rows runs in one transaction.

#include "database.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kelvork::operators {

// One row of OPinfo.
struct OperatorRow {
    int Opid = 0;
    QString name;
    QString pwd;        // scrambled
    QString authority;  // rights string
    QString deptpower;  // department-rights string
};

// "A" + Deptid + "Z" for every department, in table order; "" when there is none.
QString allDeptRights(Database& db, DbStatus* status = nullptr);

// The departments in the order of the full department tree: the roots (SupDeptid 0) as stored, then
// each department as the last child of the first department already placed that is its parent,
// taking the others by SupDeptid, Deptid; a department whose parent is not placed by then is left
// out. Depth 0 for a root.
struct DeptNode {
    int Deptid = 0;
    QString Deptname;
    int depth = 0;
};
QList<DeptNode> fullDeptTree(Database& db, DbStatus* status = nullptr);

// Start-up: when OPinfo has no row, adds "Admin" with an empty password, 32 'Y' and every
// department; then the first operator (in table order) named ADMIN in any case gets 32 'Y' and
// every department again.
DbStatus bootstrapAdmin(Database& db);

// Every Name of OPinfo in table order.
QStringList operatorNames(Database& db, DbStatus* status = nullptr);

// The first operator (table order) whose Name is exactly `name`; nullopt when none (or on failure,
// which `status` reports).
std::optional<OperatorRow> findOperatorByName(Database& db, const QString& name, DbStatus* status = nullptr);
std::optional<OperatorRow> findOperatorById(Database& db, int opid, DbStatus* status = nullptr);

// Adds a row (Opid from the counter, returned in `newOpid`), stores name and rights of an existing
// row, deletes a row, stores a scrambled password.
DbStatus insertOperator(Database& db, const OperatorRow& row, int* newOpid = nullptr);
DbStatus updateOperator(Database& db, const OperatorRow& row);
DbStatus deleteOperator(Database& db, int opid);
DbStatus setOperatorPassword(Database& db, int opid, const QString& scrambled);

} // namespace kelvork::operators
