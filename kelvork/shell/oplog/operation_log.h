#pragma once
// The operation log OPLog: who did what. Selected actions append one row with the logged-in
// operator's number and a finished text; the database fills Logid and Optime.
//
//   oplog::write(oplog::WriteOPLog7());                     // the parameter screen opens
//   oplog::write(oplog::WriteOPLog9(fileName));             // a punch file was imported
//
// The catalogue below is the only set of entries the program writes: each function looks its text
// up in section "Resource" of the language file and completes it (a name or path appended, or %s
// replaced). Password changes, logins and ordinary saves are not logged.

#include "database.h"

#include <QString>

namespace kelvork::oplog {

// The longest entry text the OPLog column holds; longer texts are cut to it, so that the entry is
// kept rather than refused.
inline constexpr int kMaxEntryLength = 250;

// The Opid of the logged-in operator; 0 before anybody has logged in.
int loggedInOpid();

// Appends one OPLog row with OPid = `opid` and OPlog = `text` (cut to kMaxEntryLength). A database
// error is returned to the caller; the action it records has already happened.
DbStatus writeEntry(Database& db, int opid, const QString& text);
// The same for the logged-in operator (0 before login).
DbStatus write(Database& db, const QString& text);
// The same on the program's connection (the data module's).
DbStatus write(const QString& text);

// The entry catalogue: the finished texts.
QString WriteOPLog1(const QString& databasePath);   // the connection now goes to `databasePath`
QString WriteOPLog2();                              // the system was initialised
QString WriteOPLog3(const QString& operatorName);   // an operator was deleted
QString WriteOPLog4(const QString& operatorName);   // an operator was added
QString WriteOPLog5(const QString& deptName);       // a department was deleted
QString WriteOPLog6();                              // employees were deleted
QString WriteOPLog7();                              // the parameter screen was opened
QString WriteOPLog8();                              // the holiday screen was opened
QString WriteOPLog9(const QString& fileName);       // punches were imported from `fileName`
QString WriteOPLog10(const QString& fileName);      // employees were imported from `fileName`
QString WriteOPLog11();                             // the leave screen was opened
QString WriteOPLog12(const QString& cutOffDate);    // data before `cutOffDate` (yyyy-mm-dd) cleared

} // namespace kelvork::oplog
