#pragma once
// The one place that knows how SQLite and PostgreSQL read the program's statements differently.
// Database runs every statement through translateSql and every parameter through bindValue, so
// callers write one portable text (see database.h) and never ask which engine they talk to.

#include "connection_string.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace kelvork {

// A named placeholder of a statement: its name as written (without ':') and the column it is
// compared with or stored into, when the statement says so ("Checktime>=:D1", "set Whys=:W",
// "insert into T (Checktime) values (:T)", "Checktime between :A and :B"); empty otherwise.
struct Placeholder {
    QString name;
    QString column;
};

// The placeholders of `sql` in order of appearance (repeats included). Text inside quotes,
// brackets and '::' casts is skipped.
QList<Placeholder> findPlaceholders(const QString& sql);

// `sql` with every named placeholder replaced by '?', in the order findPlaceholders lists them.
QString positionalSql(const QString& sql);

// Rewrites portable SQL for `engine`:
// - [name] becomes "name" (PostgreSQL folds unquoted names to lower case, so the quoted name
//   is lowered too);
// - Max(c)-Min(c) becomes the difference in days as a number;
// - LIKE ignores letter case (ILIKE on PostgreSQL);
// - on PostgreSQL a yes/no column compared with 0 or 1 compares with false or true, and every
//   ORDER BY item puts empty values (NULL) where SQLite puts them: first ascending, last descending.
// Quoted texts are never touched.
QString translateSql(const QString& sql, Engine engine);

// The value to bind for a parameter compared with or stored into `column` ("" = unknown):
// - a 'yyyy-mm-dd' text against a date-time column becomes 'yyyy-mm-dd 00:00:00', a
//   'yyyy-mm-dd HH:mm' text 'yyyy-mm-dd HH:mm:00', and a bare 'HH:mm[:ss]' the TimeTable form
//   '1899-12-30 HH:mm:ss';
// - QDateTime becomes 'yyyy-mm-dd HH:mm:ss', QDate 'yyyy-mm-dd' (midnight against a date-time
//   column), QTime '1899-12-30 HH:mm:ss';
// - bool becomes 0/1 on SQLite and stays boolean on PostgreSQL.
// Anything else is bound unchanged (quotes, '%' and '\' included).
QVariant bindValue(const QVariant& value, const QString& column, Engine engine);

// The stored text of a date-time: 'yyyy-mm-dd HH:mm:ss'; of a TimeTable time: '1899-12-30 HH:mm:ss'.
QString dateTimeText(const QDateTime& value);
QString timeOfDayText(const QTime& value);

// Reads a stored date-time text ('yyyy-mm-dd HH:mm:ss', 'yyyy-mm-dd HH:mm', 'yyyy-mm-dd', also with
// a 'T'); an invalid QDateTime for anything else.
QDateTime parseDateTimeText(const QString& text);

// Portable DDL pieces, for the few callers that define columns (the upgrade).
enum class ColumnType { Counter, Integer, SmallInt, Text, Memo, DateTime, YesNo, Double, Numeric181 };
QString columnTypeSql(ColumnType type, int width, Engine engine);

} // namespace kelvork
