#pragma once
// Logging an operator in: the rule that fills the logged-in operator's record once the password is
// right, shared by the login dialog and the unattended login of demonstrations and screenshots.

#include "database.h"
#include "operator_store.h"

#include <QString>

namespace kelvork::operators {

// Fills CZY() for `row`, whose password `plainPassword` was just typed correctly. LoginType "1":
// every right and every department ("A1Z" when there is no department); any other LoginType: the
// stored rights (their first 32 characters) and department rights. The permitted list follows.
DbStatus completeLogin(Database& db, const OperatorRow& row, const QString& plainPassword,
                       const QString& loginType);

// Logs `name` in with `password` without a dialog, as a correct login in the dialog would.
// False (with the reason in `why`) for an unknown name, a wrong password or a database failure.
bool loginWithoutDialog(Database& db, const QString& name, const QString& password,
                        const QString& loginType, QString* why = nullptr);

} // namespace kelvork::operators
