#pragma once
// Writing one working table of a run as CSV or JSON, as outside scripts read kelvork-calc's output:
// the field names exactly as the tables name them, the rows in the order the run left them.
//
// CSV: UTF-8, a header line of the field names, one line per row, lines ended by CR LF, a field
// quoted (with inner quotes doubled) when it holds a comma, a quote, CR or LF. JSON: an array of
// objects with the same names, texts as strings, numbers as numbers, yes/no as true/false.
// Both: yes/no in CSV as 1/0, numbers in their shortest round-trip form (0.25, 16, 5.5), empty
// texts empty.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "working_tables.h"

namespace kelvork::calc {

enum class TableName { MemRecord2, MemUClass, MemAbnor, MemStat, MemDay };
enum class OutputFormat { Csv, Json };

// "MemRecord2" ... "MemDay" (letter case ignored); nullopt for any other name.
std::optional<TableName> ParseTableName(std::string_view name);

// The shortest text that reads back as exactly `value` ("0.25", "16", "-3.5", "1e+21"); 0 for -0.
std::string NumberText(double value);

// Writes `table` of `tables` to `out` in `format`.
void WriteTable(const engine::WorkingTables& tables, TableName table, OutputFormat format, std::ostream& out);

}  // namespace kelvork::calc
