#pragma once
// The one database connection of the program and the statements run over it.
//
//   kelvork::Database db;
//   if (auto st = db.open("Provider=SQLite;Data Source=/home/att/Rud2003.db"); !st.ok())
//       showWarning(text("LinkDBError"), st.message());       // the caller shows LinkDBError
//
//   kelvork::Transaction tx(db);                               // several changes: all or nothing
//   auto st = db.exec("insert into Checkinout (Userid, Checktime, Checktype, Sensorid) "
//                     "values (:Userid, :Checktime, :Checktype, :Sensorid)",
//                     {{"Userid", "12"}, {"Checktime", "2004-01-31 08:01:00"},
//                      {"Checktype", "I"}, {"Sensorid", "1"}});
//   if (st.ok()) st = tx.commit();                             // otherwise rolled back on scope exit
//
//   kelvork::Query q = db.query("select * from Checkinout where Userid=:Userid "
//                               "and Checktime>=:D1 and Checktime<:D2 order by Checktime",
//                               {{"Userid", "12"}, {"D1", "2004-01-31"}, {"D2", "2004-02-01"}});
//   while (q.next()) use(q.text("Checktime"), q.text("Checktype"));
//   if (!q.ok()) report(q.error());
//
// Portable SQL, the same text for SQLite and PostgreSQL (the translation lives in dialect.h):
// - values always as named parameters (:Name, bound by name, case-insensitive); never pasted;
// - text concatenation with ||; yes/no compared with True / False (or bound as bool);
// - a reserved word as column name in brackets: [date];
// - Max(checktime)-Min(checktime) gives the span in days as a number, as it always did;
// - LIKE ignores letter case on both engines; texts order by their characters (binary), and empty
//   values (NULL) sort first, as in a SQLite file;
// - a statement refused inside a transaction (a repeated punch) fails alone: the transaction goes on;
// - a 'yyyy-mm-dd' parameter compared with (or stored into) a date-time column means midnight of
//   that date, a 'yyyy-mm-dd HH:mm' one the first second of that minute; QDateTime, QDate and
//   QTime values are bound in the stored text forms.
// Values read back look the same on both engines: date-times as text 'yyyy-mm-dd HH:mm:ss'
// (TimeTable times '1899-12-30 HH:mm:ss'), yes/no as integer 0/1, column names in the schema's
// own spelling.

#include "connection_string.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <initializer_list>
#include <utility>
#include <vector>

namespace kelvork {

// The outcome of an operation that can fail: ok, or a failure with a message fit for a person
// (the engine's own text, prefixed with what was being done).
class DbStatus {
public:
    static DbStatus success() { return DbStatus(); }
    static DbStatus failure(QString message) { DbStatus s; s.ok_ = false; s.message_ = std::move(message); return s; }

    bool ok() const { return ok_; }
    const QString& message() const { return message_; }

private:
    bool ok_ = true;
    QString message_;
};

// Named values for a statement: {{"Userid", "12"}, {"Checktime", "2004-01-31"}}. Names are given
// without the colon and match the statement's placeholders regardless of letter case.
class Params {
public:
    Params() = default;
    Params(std::initializer_list<std::pair<QString, QVariant>> values) : values_(values) {}

    Params& set(const QString& name, const QVariant& value);
    // The value of `name` (case-insensitive); `found` tells a missing name from a null value.
    QVariant value(const QString& name, bool* found = nullptr) const;
    const std::vector<std::pair<QString, QVariant>>& values() const { return values_; }

private:
    std::vector<std::pair<QString, QVariant>> values_;
};

class Database;

// The rows of one SELECT, read forward with next(). Column lookups ignore letter case. A query
// that failed to run yields no rows; ok() and error() say why. Valid while its Database is open.
class Query {
public:
    Query() = default;

    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }

    // Moves to the next row; false at the end (and for a failed query).
    bool next();

    // The value of `column` in the current row, normalised as the header describes; a null
    // QVariant for SQL NULL and for an unknown column (hasColumn tells them apart).
    QVariant value(const QString& column) const;
    QVariant value(int index) const;
    bool hasColumn(const QString& column) const;
    // Convenience readers: empty text / 0 / false for NULL.
    QString text(const QString& column) const { return value(column).toString(); }
    int integer(const QString& column) const { return value(column).toInt(); }
    double number(const QString& column) const { return value(column).toDouble(); }
    bool flag(const QString& column) const { return value(column).toInt() != 0; }

    int columnCount() const;
    QString columnName(int index) const;   // the schema's spelling where the column is known

    // The underlying Qt query, for models (QSqlQueryModel) that take it over.
    QSqlQuery& sqlQuery() { return query_; }

private:
    friend class Database;
    QSqlQuery query_;
    QString error_;
    bool normalise_ = false;   // PostgreSQL values and names need the SQLite look
    QString sql_;
};

// One connection to a SQLite file or a PostgreSQL database. Not copyable; one per data module,
// plus private ones that tests or background tools open themselves. Every statement goes through
// the dialect translation of the open engine.
class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Closes any open connection, then opens `connectionString` (see connection_string.h). A
    // missing SQLite file is created with the whole schema; an existing one is checked to be a
    // readable, writable database (a corrupt, unreadable or locked file fails here, not later).
    // SQLite runs in WAL mode with a busy timeout. On failure the object stays closed and the
    // status says why; the caller shows LinkDBError.
    DbStatus open(const QString& connectionString);
    // Opens (creating when missing) the SQLite file `path` as it is, without adding the schema:
    // for building databases (the pristine copy, tests of old layouts).
    DbStatus openFileAsIs(const QString& path);
    void close();
    bool isOpen() const;

    const QString& connectionString() const { return connectionString_; }
    Engine engine() const { return settings_.engine; }
    // True for a SQLite file: only then are compaction, backup and initialisation offered.
    bool isFileDatabase() const { return isOpen() && settings_.engine == Engine::SQLite; }
    // The database file (empty for a server connection).
    QString filePath() const { return settings_.engine == Engine::SQLite ? settings_.filePath : QString(); }

    // Runs a statement that returns no rows. `rowsAffected` (when given) receives the count of
    // changed rows. Failure: the engine's message, e.g. a refused duplicate key.
    DbStatus exec(const QString& sql, const Params& params = {}, int* rowsAffected = nullptr);
    // Runs a SELECT; read the rows with Query::next().
    Query query(const QString& sql, const Params& params = {});
    // The first column of the first row, or a null QVariant when there is no row or on failure
    // (`status`, when given, tells which).
    QVariant scalar(const QString& sql, const Params& params = {}, DbStatus* status = nullptr);

    // The counter value the last INSERT on this connection gave (0 when none).
    qint64 lastInsertId();

    // Transactions; prefer the Transaction guard below.
    DbStatus begin();
    DbStatus commit();
    DbStatus rollback();
    bool inTransaction() const { return inTransaction_; }

    // The Qt connection, for models over this connection. Invalid while closed.
    QSqlDatabase sqlDatabase() const;
    // Prepares and binds `sql` without running it (models run it themselves).
    QSqlQuery prepare(const QString& sql, const Params& params, DbStatus* status = nullptr);

private:
    DbStatus openSqlite(bool createSchemaWhenMissing);
    DbStatus openPostgres();
    DbStatus fail(const QString& what);
    QString translate(const QString& sql) const;
    // Translates, prepares and binds `sql` into `q`; runs it when `execute`.
    DbStatus run(QSqlQuery& q, const QString& sql, const Params& params, bool execute);
    DbStatus control(const QString& statement);   // BEGIN, COMMIT, ROLLBACK as they stand
    DbStatus runStatement(QSqlQuery& q, const QString& sql, const Params& params, bool execute);

    QString name_;              // the Qt connection name, unique per object
    QString connectionString_;
    ConnectionSettings settings_;
    bool open_ = false;
    bool inTransaction_ = false;
};

// Holds a transaction from construction to commit(); anything not committed is rolled back when
// the guard goes out of scope. Begin failures are reported by commit() (and by ok()).
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool ok() const { return begun_.ok(); }
    DbStatus commit();
    void rollback();

private:
    Database& db_;
    DbStatus begun_;
    bool active_ = false;
};

} // namespace kelvork
