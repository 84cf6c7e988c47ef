#pragma once
// The rows the program makes when it starts on a database that lacks them: the BasePara row, the
// root department, the nine statistic items and the built-in operator Admin. `kelvork-calc --init`
// and `kelvork-demo` make a new database with them.

#include <QString>

#include "database.h"

namespace kelvork::loader {

// The company name a new BasePara row gets when no language file says otherwise.
QString defaultCompanyName();

// In one transaction:
// - a BasePara row with Company = `company` when the table is empty, and then, when no department
//   has SupDeptid 0, a root department of that name;
// - a Statitems row holding only its Itemname for each of the nine items that has no row;
// - when OPinfo is empty, the operator "Admin" with no password, 32 'Y' rights and every
//   department; the first operator named ADMIN in any letter case gets all rights and all
//   departments again.
// Nothing changes when every row is already there (apart from Admin's rights).
DbStatus EnsureStartupRows(Database& db, const QString& company = defaultCompanyName());

}  // namespace kelvork::loader
