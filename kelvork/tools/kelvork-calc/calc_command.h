#pragma once
// What kelvork-calc does once its command line is read: make a new database (--init), or run the
// calculation on a database and write one working table.

#include <ostream>

#include "calc_options.h"

namespace kelvork::calc {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDatabase = 1;  // the database cannot be opened, made or read
inline constexpr int kExitArguments = 2;

// Runs `options`. The table goes to `out` unless options.out names a file (then the file is
// replaced atomically, and only when everything succeeded). Failures print one line to `err` and
// give kExitDatabase (or kExitArguments for an output file that cannot be written); rows the run
// could not use are listed on `err` as warnings, one per line, and the run still succeeds.
int RunCalcCommand(const CalcOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kelvork::calc
