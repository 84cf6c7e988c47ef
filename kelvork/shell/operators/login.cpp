#include "login.h"

#include "password.h"
#include "rights.h"

namespace kelvork::operators {

DbStatus completeLogin(Database& db, const OperatorRow& row, const QString& plainPassword,
                       const QString& loginType)
{
    TCZY record;
    record.Opid = row.Opid;
    record.name = row.name;
    record.password = plainPassword;
    record.loggedIn = true;
    if (loginType == QStringLiteral("1")) {
        DbStatus status;
        QString every = allDeptRights(db, &status);
        if (!status.ok())
            return status;
        if (every.isEmpty())
            every = QStringLiteral("A1Z");
        record.rights = kAllRights;
        record.setDeptRights(every);
    } else {
        record.rights = row.authority.left(32);
        record.setDeptRights(row.deptpower);
    }
    CZY() = record;
    return DbStatus::success();
}

bool loginWithoutDialog(Database& db, const QString& name, const QString& password,
                        const QString& loginType, QString* why)
{
    DbStatus status;
    const auto row = findOperatorByName(db, name, &status);
    QString reason;
    if (!status.ok())
        reason = status.message();
    else if (!row)
        reason = QStringLiteral("no operator named \"%1\"").arg(name);
    else if (unscramblePassword(row->pwd) != password)
        reason = QStringLiteral("wrong password for \"%1\"").arg(name);
    else if (status = completeLogin(db, *row, password, loginType); !status.ok())
        reason = status.message();
    if (why)
        *why = reason;
    return reason.isEmpty();
}

} // namespace kelvork::operators
