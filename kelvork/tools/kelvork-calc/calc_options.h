#pragma once
// The command line of kelvork-calc (outside scripts rely on it):
//
//   kelvork-calc --db FILE --init
//   kelvork-calc --db FILE --from yyyy-mm-dd --to yyyy-mm-dd [--from-time HH:mm:ss] [--to-time HH:mm:ss]
//                [--dept DEPTID | --user USERID] [--table MemRecord2|MemUClass|MemAbnor|MemStat|MemDay]
//                [--format csv|json] [--out FILE]
//
// FILE is a SQLite database file, or a whole connection string ("Provider=PostgreSQL;Host=...").
// Options take their value as the next argument or after '=' (--from=2004-01-01).

#include <optional>
#include <string>
#include <vector>

#include "date_time.h"
#include "table_output.h"

namespace kelvork::calc {

struct CalcOptions {
    bool help = false;
    std::string db;
    bool init = false;
    engine::DayNumber from = 0;
    engine::DayNumber to = 0;
    int fromTime = 1;       // 00:00:01
    int toTime = 86399;     // 23:59:59
    std::optional<int> dept;
    std::optional<std::string> user;
    TableName table = TableName::MemStat;
    OutputFormat format = OutputFormat::Csv;
    std::optional<std::string> out;
};

// Reads `args` (without the program name). On a bad command line returns nullopt and puts one
// line saying what is wrong into `error`.
std::optional<CalcOptions> ParseCalcOptions(const std::vector<std::string>& args, std::string& error);

// The usage text shown by --help.
const char* CalcUsage();

}  // namespace kelvork::calc
