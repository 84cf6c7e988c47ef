#pragma once
// The attendance parameters in the database: the BasePara row, the nine Statitems rows, the leave
// classes and the value lists of the four free employee fields; the start-up load; and the
// program-wide records that every reader uses (nothing re-reads the database during a calculation).
// Every change of several statements runs in one transaction; values are always bound.

#include "database.h"
#include "parameters.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace kelvork::params {

// The records of this run: filled by loadAtStart, refreshed by the parameter screen. The unit
// texts (syshint) are the caller's to fill from the language file.
engine::AttendanceParameters& programParameters();

// The start-up load, in one transaction:
// 1. without a BasePara row, one is added with Company = `company`; then, only in that case, a root
//    department of that name when no department has SupDeptid 0;
// 2. the first BasePara row is read into params.basePar;
// 3. the old Chinese item names and field-list names are renamed to the current keys;
// 4. each of the nine items is read by its key into params.items, a missing row being added with
//    only its name first;
// and the leave classes are read (Classid order). params.syshint is left as it is.
// On failure nothing of the load stays in the database and `params` is unchanged.
DbStatus loadAtStart(Database& db, const QString& company, engine::AttendanceParameters& params);

// The thirteen renamings of old names (DefineField Fieldname 职务 -> Field1 ..., Statitems Itemname
// 正常 -> Normal ...).
DbStatus renameOldNames(Database& db);

// Reads the first BasePara row; `found` (when given) tells whether there was one (without one,
// `basePar` is untouched).
DbStatus readBasePara(Database& db, engine::TBasePar& basePar, bool* found = nullptr);
// Writes every column of `basePar` into the BasePara row (the table holds one row; were there
// several, all would get the values, and the first is the one read; without a row, one is added)
// and, when the department
// with the lowest Deptid is named otherwise, renames it to basePar.Company. One transaction:
// a refused rename (another department has that name) stores nothing. The three rates are
// stored with one decimal, as the columns hold them.
DbStatus writeBaseParaAndCompany(Database& db, const engine::TBasePar& basePar);

// Reads the Statitems row named item.Itemname into the other five fields; `found` tells whether it
// exists (without a row the fields are untouched).
DbStatus readStatItem(Database& db, engine::TStatItem& item, bool* found = nullptr);
// Stores Units, MinUnit, SRControl, Isaddup and Istimes of the row named item.Itemname at once
// (adding the row when it is missing).
DbStatus writeStatItem(Database& db, const engine::TStatItem& item);

// Leave classes in Classid order.
DbStatus readLeaveClasses(Database& db, std::vector<engine::TLeaveClass>& classes);
// Adds a class; its new Classid is written back into `leaveClass`.
DbStatus addLeaveClass(Database& db, engine::TLeaveClass& leaveClass);
DbStatus updateLeaveClass(Database& db, const engine::TLeaveClass& leaveClass);
DbStatus deleteLeaveClass(Database& db, int classid);

// Why a leave-class name cannot be used. Each class name becomes a column of the statistics, so
// names must be distinct from each other and from the fixed statistic fields (letter case ignored,
// as field names are).
enum class LeaveNameProblem { None, Empty, SameAsClass, FixedField };
// The check for `name` given to the class `ownClassid` (0 for a new class) among `classes`.
LeaveNameProblem checkLeaveClassName(const std::vector<engine::TLeaveClass>& classes, int ownClassid,
                                     const QString& name);

// The four free employee fields: type index 0..3 -> "Field1".."Field4".
QString fieldNameOfType(int type);
// The values of field `fieldName` in Fieldid order.
DbStatus readFieldValues(Database& db, const QString& fieldName, QStringList& values);
DbStatus addFieldValue(Database& db, const QString& fieldName, const QString& value);
// Deletes every row of `fieldName` holding `value`.
DbStatus deleteFieldValue(Database& db, const QString& fieldName, const QString& value);

} // namespace kelvork::params
