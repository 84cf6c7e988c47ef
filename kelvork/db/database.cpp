#include "database.h"

#include "dialect.h"
#include "schema.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>

namespace kelvork {

namespace {

QAtomicInt connectionCounter;

// How long a statement waits for another program's lock on a SQLite file.
constexpr int kBusyTimeoutMs = 5000;

QString engineText(const QSqlError& e)
{
    QString text = e.databaseText().trimmed();
    if (text.isEmpty()) text = e.text().trimmed();
    if (text.isEmpty()) text = e.driverText().trimmed();
    return text;
}

// Values as a SQLite file shows them: date-times as text, yes/no as 0/1.
QVariant normalised(const QVariant& v)
{
    if (v.isNull()) return v;
    switch (v.typeId()) {
    case QMetaType::QDateTime: return dateTimeText(v.toDateTime());
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
    case QMetaType::QTime: return timeOfDayText(v.toTime());
    case QMetaType::Bool: return QVariant(v.toBool() ? 1 : 0);
    default: return v;
    }
}

} // namespace

// ---- Params ----

Params& Params::set(const QString& name, const QVariant& value)
{
    for (auto& [n, v] : values_)
        if (n.compare(name, Qt::CaseInsensitive) == 0) { v = value; return *this; }
    values_.emplace_back(name, value);
    return *this;
}

QVariant Params::value(const QString& name, bool* found) const
{
    for (const auto& [n, v] : values_)
        if (n.compare(name, Qt::CaseInsensitive) == 0) {
            if (found) *found = true;
            return v;
        }
    if (found) *found = false;
    return {};
}

// ---- Query ----

bool Query::next()
{
    if (!ok() || !query_.isActive()) return false;
    return query_.next();
}

QVariant Query::value(const QString& column) const
{
    const int i = query_.record().indexOf(column);
    return i < 0 ? QVariant() : value(i);
}

QVariant Query::value(int index) const
{
    if (!query_.isValid()) return {};
    const QVariant v = query_.value(index);
    return normalise_ ? normalised(v) : v;
}

bool Query::hasColumn(const QString& column) const { return query_.record().indexOf(column) >= 0; }
int Query::columnCount() const { return query_.record().count(); }
QString Query::columnName(int index) const
{
    const QString name = query_.record().fieldName(index);
    return normalise_ ? canonicalColumnName(name, sql_) : name;
}

// ---- Database ----

Database::Database()
    : name_(QStringLiteral("kelvork-db-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
}

Database::~Database() { close(); }

bool Database::isOpen() const { return open_; }

QSqlDatabase Database::sqlDatabase() const
{
    return open_ ? QSqlDatabase::database(name_, false) : QSqlDatabase();
}

DbStatus Database::fail(const QString& what)
{
    QString message = what;
    if (QSqlDatabase::contains(name_)) {
        const QString engine = engineText(QSqlDatabase::database(name_, false).lastError());
        if (!engine.isEmpty() && !message.contains(engine)) message += QStringLiteral(" (") + engine + ')';
    }
    close();
    return DbStatus::failure(message);
}

DbStatus Database::open(const QString& connectionString)
{
    close();
    QString error;
    settings_ = parseConnectionString(connectionString, &error);
    connectionString_ = connectionString;
    if (settings_.engine == Engine::None) return DbStatus::failure(error);
    return settings_.engine == Engine::SQLite ? openSqlite(true) : openPostgres();
}

DbStatus Database::openFileAsIs(const QString& path)
{
    close();
    settings_ = ConnectionSettings{};
    settings_.engine = Engine::SQLite;
    settings_.filePath = path;
    connectionString_ = buildConnectionString(settings_);
    return openSqlite(false);
}

DbStatus Database::openSqlite(bool createSchemaWhenMissing)
{
    const QString path = settings_.filePath;
    const QFileInfo info(path);
    if (info.exists()) {
        if (!info.isFile()) return DbStatus::failure(QStringLiteral("%1 is not a database file.").arg(path));
        if (!info.isReadable()) return DbStatus::failure(QStringLiteral("The database file %1 cannot be read.").arg(path));
    } else {
        if (!info.absoluteDir().exists())
            return DbStatus::failure(QStringLiteral("The folder of the database file %1 does not exist.").arg(path));
        if (createSchemaWhenMissing) {
            DbStatus made = createDatabaseFileIfMissing(path);
            if (!made.ok()) return DbStatus::failure(QStringLiteral("Cannot create the database %1: %2").arg(path, made.message()));
        }
    }

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        // Other programs add punches while this one runs: wait for their short locks.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        if (!db.open()) return fail(QStringLiteral("Cannot open the database file %1.").arg(path));
    }
    open_ = true;
    // These fail on a file that is not a database, is damaged, read-only or locked by another program.
    Query mode = query(QStringLiteral("PRAGMA journal_mode=WAL"));
    if (!mode.ok()) return fail(QStringLiteral("%1 is not a usable database: %2").arg(path, mode.error()));
    mode.next();
    if (mode.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return fail(QStringLiteral("%1 cannot be shared with other programs (write-ahead log refused).").arg(path));
    mode = Query();
    DbStatus st = exec(QStringLiteral("select count(*) from sqlite_master"));
    if (!st.ok()) return fail(QStringLiteral("%1 is not a usable database: %2").arg(path, st.message()));
    // The write check must not wait for the write lock: programs adding punches one short
    // transaction after another would hold it off until the busy timeout ran out. "Busy" means
    // another program is writing right now; this one waits its turn when it writes.
    exec(QStringLiteral("PRAGMA busy_timeout=0"));
    QSqlQuery probe(QSqlDatabase::database(name_, false));
    const bool writable = probe.exec(QStringLiteral("BEGIN IMMEDIATE"));
    const QSqlError refusal = probe.lastError();
    probe = QSqlQuery();
    if (writable) exec(QStringLiteral("ROLLBACK"));
    exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(kBusyTimeoutMs));
    constexpr int kSqliteBusy = 5;
    if (!writable && (refusal.nativeErrorCode().toInt() & 0xff) != kSqliteBusy)
        return fail(QStringLiteral("The database %1 cannot be written: %2").arg(path, engineText(refusal)));
    return DbStatus::success();
}

DbStatus Database::openPostgres()
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
        if (!db.isValid()) {
            QSqlDatabase::removeDatabase(name_);
            return DbStatus::failure(QStringLiteral("The PostgreSQL driver of Qt is not installed."));
        }
        db.setHostName(settings_.host);
        db.setPort(settings_.port);
        db.setDatabaseName(settings_.database);
        db.setUserName(settings_.user);
        db.setPassword(settings_.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        if (!db.open())
            return fail(QStringLiteral("Cannot connect to the database %1 on %2.")
                            .arg(settings_.database, settings_.host.isEmpty() ? QStringLiteral("localhost") : settings_.host));
    }
    open_ = true;
    exec(QStringLiteral("SET client_min_messages TO warning"));
    return DbStatus::success();
}

void Database::close()
{
    if (QSqlDatabase::contains(name_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            if (db.isOpen()) {
                if (inTransaction_) db.rollback();
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(name_);
    }
    open_ = false;
    inTransaction_ = false;
}

QString Database::translate(const QString& sql) const { return translateSql(sql, settings_.engine); }

QSqlQuery Database::prepare(const QString& sql, const Params& params, DbStatus* status)
{
    QSqlQuery q = open_ ? QSqlQuery(sqlDatabase()) : QSqlQuery();
    DbStatus st = run(q, sql, params, false);
    if (status) *status = st;
    return q;
}

DbStatus Database::run(QSqlQuery& q, const QString& sql, const Params& params, bool execute)
{
    if (!open_) return DbStatus::failure(QStringLiteral("The database is not connected."));
    // On PostgreSQL a failed statement spoils the whole transaction; in SQLite only the statement
    // fails and the transaction goes on (an import skips a refused duplicate and keeps the rest).
    // A savepoint per statement gives the server the same behaviour.
    if (execute && inTransaction_ && settings_.engine == Engine::PostgreSQL) {
        QSqlQuery mark(sqlDatabase());
        mark.exec(QStringLiteral("SAVEPOINT kelvork_statement"));
        const DbStatus st = runStatement(q, sql, params, execute);
        mark.exec(st.ok() ? QStringLiteral("RELEASE SAVEPOINT kelvork_statement")
                          : QStringLiteral("ROLLBACK TO SAVEPOINT kelvork_statement"));
        if (!st.ok()) mark.exec(QStringLiteral("RELEASE SAVEPOINT kelvork_statement"));
        return st;
    }
    return runStatement(q, sql, params, execute);
}

DbStatus Database::runStatement(QSqlQuery& q, const QString& sql, const Params& params, bool execute)
{
    const QList<Placeholder> placeholders = findPlaceholders(sql);
    const QString text = translate(sql);
    if (placeholders.isEmpty() && execute) {
        // Nothing to bind: run as it stands (definitions cannot be prepared on every engine).
        if (!q.exec(text)) return DbStatus::failure(engineText(q.lastError()));
        return DbStatus::success();
    }
    if (!q.prepare(positionalSql(text))) return DbStatus::failure(engineText(q.lastError()));
    for (const Placeholder& p : placeholders) {
        bool found = false;
        const QVariant v = params.value(p.name, &found);
        if (!found) return DbStatus::failure(QStringLiteral("The statement needs a value for :%1.").arg(p.name));
        QVariant bound = bindValue(v, p.column, settings_.engine);
        // An empty text stands for "no date" in a date-time column.
        if (!p.column.isEmpty() && isDateTimeColumn(p.column) && bound.typeId() == QMetaType::QString
            && bound.toString().trimmed().isEmpty())
            bound = QVariant(QMetaType(QMetaType::QString));
        // The server reads a quoted true/false as a yes/no value.
        if (settings_.engine == Engine::PostgreSQL && bound.typeId() == QMetaType::Bool)
            bound = bound.toBool() ? QStringLiteral("true") : QStringLiteral("false");
        q.addBindValue(bound);
    }
    if (execute && !q.exec()) {
        QString message = engineText(q.lastError());
        return DbStatus::failure(message.isEmpty() ? QStringLiteral("The statement failed.") : message);
    }
    return DbStatus::success();
}

DbStatus Database::exec(const QString& sql, const Params& params, int* rowsAffected)
{
    QSqlQuery q = open_ ? QSqlQuery(sqlDatabase()) : QSqlQuery();
    DbStatus st = run(q, sql, params, true);
    if (st.ok() && rowsAffected) *rowsAffected = q.numRowsAffected();
    return st;
}

Query Database::query(const QString& sql, const Params& params)
{
    Query result;
    result.normalise_ = settings_.engine == Engine::PostgreSQL;
    result.sql_ = sql;
    if (open_) {
        result.query_ = QSqlQuery(sqlDatabase());
        // Forward-only reading saves memory in SQLite; the server's driver would instead hold the
        // connection busy row by row, which statements run while reading must not meet.
        result.query_.setForwardOnly(settings_.engine == Engine::SQLite);
    }
    DbStatus st = run(result.query_, sql, params, true);
    if (!st.ok()) result.error_ = st.message();
    return result;
}

QVariant Database::scalar(const QString& sql, const Params& params, DbStatus* status)
{
    Query q = query(sql, params);
    if (!q.ok()) {
        if (status) *status = DbStatus::failure(q.error());
        return {};
    }
    if (status) *status = DbStatus::success();
    return q.next() ? q.value(0) : QVariant();
}

qint64 Database::lastInsertId()
{
    if (!open_) return 0;
    const QString sql = settings_.engine == Engine::PostgreSQL ? QStringLiteral("select lastval()")
                                                                : QStringLiteral("select last_insert_rowid()");
    QSqlQuery q(sqlDatabase());
    if (!q.exec(sql) || !q.next()) return 0;
    return q.value(0).toLongLong();
}

DbStatus Database::begin()
{
    if (!open_) return DbStatus::failure(QStringLiteral("The database is not connected."));
    if (inTransaction_) return DbStatus::failure(QStringLiteral("A transaction is already running."));
    // SQLite: take the write lock at once, so a change never meets a lock half way.
    DbStatus st = control(settings_.engine == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    if (st.ok()) inTransaction_ = true;
    return st;
}

DbStatus Database::commit()
{
    if (!inTransaction_) return DbStatus::failure(QStringLiteral("No transaction is running."));
    DbStatus st = control(QStringLiteral("COMMIT"));
    if (st.ok()) inTransaction_ = false;
    else rollback();
    return st;
}

DbStatus Database::rollback()
{
    if (!inTransaction_) return DbStatus::success();
    inTransaction_ = false;
    return control(QStringLiteral("ROLLBACK"));
}

DbStatus Database::control(const QString& statement)
{
    if (!open_) return DbStatus::failure(QStringLiteral("The database is not connected."));
    QSqlQuery q(sqlDatabase());
    if (!q.exec(statement)) return DbStatus::failure(engineText(q.lastError()));
    return DbStatus::success();
}

// ---- Transaction ----

Transaction::Transaction(Database& db) : db_(db)
{
    begun_ = db_.begin();
    active_ = begun_.ok();
}

Transaction::~Transaction() { rollback(); }

DbStatus Transaction::commit()
{
    if (!begun_.ok()) return begun_;
    if (!active_) return DbStatus::failure(QStringLiteral("The transaction has already ended."));
    active_ = false;
    return db_.commit();
}

void Transaction::rollback()
{
    if (!active_) return;
    active_ = false;
    db_.rollback();
}

} // namespace kelvork
