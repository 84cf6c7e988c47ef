#pragma once
// What the operation-log viewer reads: the operators it offers, and the entries of a span.

#include "database.h"

#include <QString>

#include <optional>
#include <vector>

namespace kelvork::oplog {

struct OperatorChoice {
    int Opid = 0;
    QString Name;
};

// Every operator in table order (by Opid). On failure the list is empty and `status` says why.
std::vector<OperatorChoice> readOperators(Database& db, DbStatus* status = nullptr);

// The first operator (in the order given) whose name begins with `choice`, letter case counting;
// nullopt when none does. An operator Li listed after Lina is therefore never found by "Li".
std::optional<int> firstOperatorBeginningWith(const std::vector<OperatorChoice>& operators, const QString& choice);

struct LogEntry {
    qint64 Logid = 0;
    int OPid = 0;
    QString OPname;   // the operator's name; empty when OPid names nobody (before a login: 0)
    QString Optime;   // yyyy-mm-dd HH:mm:ss
    QString OPlog;
};

// The entries with Optime between `from` and `to` (both yyyy-mm-dd HH:mm:ss, both included), of
// operator `opid` only when given, newest (highest Logid) first. On failure `entries` is left empty.
DbStatus searchLog(Database& db, const QString& from, const QString& to, std::optional<int> opid,
                   std::vector<LogEntry>& entries);

} // namespace kelvork::oplog
