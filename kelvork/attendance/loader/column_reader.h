#pragma once
// Reading the values of one result row into plain C++ values, noting every value that cannot be
// read. Used by the loaders only: a row whose number or flag is unreadable is reported (employee,
// table, "Column=value") and left out by the caller, never guessed.

#include <QVariant>

#include <string>
#include <vector>

#include "calc_input.h"
#include "database.h"

namespace kelvork::loader {

// Reads columns of the current row of `query` by position. SQL NULL reads as an empty text, 0 or
// false, as the program has always read missing values. After the reads of one row, Usable()
// tells whether every number and flag could be read; ReportRow() then files one problem for the
// row, naming each unreadable column with its stored value.
class ColumnReader {
public:
    ColumnReader(const Query& query, std::string table) : query_(query), table_(std::move(table)) {}

    // Starts a new row: forgets the unreadable values of the previous one.
    void BeginRow() { bad_.clear(); }

    std::string Text(int column) const;
    // A whole number; a text that is not one, or a fraction, is unreadable (0 is returned).
    int Integer(int column, const char* name);
    double Number(int column, const char* name);
    // 0 / 1 (any other whole number counts as true), or the texts "true" / "false".
    bool Flag(int column, const char* name);

    bool Usable() const { return bad_.empty(); }
    // The unreadable values of this row as "Column=value Column=value".
    std::string BadValues() const;
    // Files a problem for this row (when it is not usable) with `what` as the action taken.
    void ReportRow(std::vector<engine::RunProblem>& problems, const std::string& userid,
                   const std::string& what) const;

private:
    void NoteBad(const char* name, const QVariant& v);

    const Query& query_;
    std::string table_;
    std::vector<std::string> bad_;
};

// `text` in UTF-8.
std::string Utf8Of(const QString& text);

// The stored text of a value, for messages ("NULL" for SQL NULL).
std::string ValueText(const QVariant& v);

}  // namespace kelvork::loader
