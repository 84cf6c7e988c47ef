#pragma once
// The database layout: every table, column, key and unique rule, and the view V_Class, created on
// SQLite in the stored text forms (date-times 'yyyy-mm-dd HH:mm:ss', TimeTable times
// '1899-12-30 HH:mm:ss', yes/no 0/1) or on PostgreSQL with native types.

#include "connection_string.h"
#include "database.h"

#include <QString>
#include <QStringList>

namespace kelvork {

// Which layout to create. Current is the program's; Old is the layout of databases made before
// the start-up upgrade existed (without the columns the upgrade adds). Old serves the tests of
// the upgrade and nothing else.
enum class SchemaLayout { Current, Old };

// Creates every table and the view on an empty database, in one transaction. Fails (and leaves
// nothing half made) when a table already exists or the engine refuses.
DbStatus createSchema(Database& db, SchemaLayout layout = SchemaLayout::Current);

// Writes a fresh SQLite database with the whole schema to `path` (the pristine copy Rud2003.bak,
// or a new Rud2003.db). The file appears atomically: built under a temporary name, then renamed
// over `path`. Existing content of `path` is replaced only on success.
DbStatus writePristineDatabase(const QString& path);

// Creates the SQLite file `path` with the whole schema unless a file is there by then: another
// program starting at the same moment may have made it, and its file (with whatever it already
// wrote) is kept. That case is no error.
DbStatus createDatabaseFileIfMissing(const QString& path);

// The CREATE TABLE statement of `table` in the current layout on `engine`, named `asName` when
// given, optionally without its unique rules; "" for a table the schema does not know.
QString createTableStatement(const QString& table, Engine engine, const QString& asName = {}, bool withUniqueRules = true);

// The statement that defines V_Class on `engine` (without the leading DROP).
QString createViewClassSql(Engine engine);

// The names of the tables, in creation order, in the schema's own spelling.
QStringList schemaTableNames();

// The schema's own spelling of a table or column name (case-insensitive look-up), or `name`
// unchanged when the schema does not know it. PostgreSQL reports names in lower case.
QString canonicalName(const QString& name);
// The same for a column read by `sql`: a name the engine reported in lower case takes the spelling
// it has in the first table of `sql` that holds it (TimeTable.IsOvertime, Userinfo.Isovertime);
// a name with capitals is already the spelling it was given and stays.
QString canonicalColumnName(const QString& name, const QString& sql);

// True for the columns that hold a date-time (Checktime, BeginTime, Intime ...), whose parameters
// the dialect normalises; false for the text-date columns (BeginDate, Workdate, [date]).
bool isDateTimeColumn(const QString& column);
// True for the yes/no columns (IsAtt, Checked, MustIn ...).
bool isYesNoColumn(const QString& column);

} // namespace kelvork
