#pragma once
// Running kelvork-demo and kelvork-calc as outside scripts do, for the tests over both engines.

#include <QString>
#include <QStringList>

#include <QByteArray>

namespace kelvork::parity {

struct ProgramResult {
    int exitCode = -1;   // -1 when the program crashed or did not finish in time
    QByteArray out;
    QByteArray err;
};

// Runs `program` with `args` to its end (at most two minutes).
ProgramResult runProgram(const QString& program, const QStringList& args);

// kelvork-calc with `args`.
ProgramResult runCalc(const QStringList& args);

// Writes the demo company (`employees` over `days` from `from`, seed 2003) into `db`: a SQLite file
// that does not exist yet, or the connection string of a server database with the schema and no
// rows. Returns "" on success, else what went wrong.
QString writeDemo(const QString& db, int employees, int days, const QString& from);

}  // namespace kelvork::parity
