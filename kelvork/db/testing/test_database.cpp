#include "test_database.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include <unistd.h>

namespace kelvork::testdb {

namespace {

QAtomicInt databaseCounter;

QString readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).trimmed();
}

} // namespace

QString postgresTestConnection(const QString& database, QString* why)
{
    QString dir = qEnvironmentVariable("KELVORK_TEST_PG_DIR");
#ifdef KELVORK_TEST_PG_DIR
    if (dir.isEmpty()) dir = QStringLiteral(KELVORK_TEST_PG_DIR);
#endif
    auto reason = [&](const QString& text) { if (why) *why = text; return QString(); };
    if (dir.isEmpty())
        return reason(QStringLiteral("PostgreSQL tests skipped: no test server for this run (KELVORK_TEST_PG_DIR is not set)."));
    const QString unavailable = readFile(dir + "/unavailable");
    if (!unavailable.isEmpty()) return reason(QStringLiteral("PostgreSQL tests skipped: ") + unavailable);
    const QString socketDir = readFile(dir + "/socket_dir");
    const QString port = readFile(dir + "/port");
    const QString user = readFile(dir + "/user");
    if (socketDir.isEmpty() || port.isEmpty())
        return reason(QStringLiteral("PostgreSQL tests skipped: the test server in %1 is not running.").arg(dir));
    ConnectionSettings s;
    s.engine = Engine::PostgreSQL;
    s.host = socketDir;
    s.port = port.toInt();
    s.database = database;
    s.user = user;
    return buildConnectionString(s);
}

TestDatabase::TestDatabase(Engine engine, SchemaLayout layout) : engine_(engine), db_(std::make_unique<Database>())
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("Cannot make a temporary folder.");
        return;
    }
    if (engine == Engine::SQLite) {
        const QString path = dir_.filePath(QStringLiteral("Rud2003.db"));
        ConnectionSettings s;
        s.engine = Engine::SQLite;
        s.filePath = path;
        connectionString_ = buildConnectionString(s);
        DbStatus st;
        if (layout == SchemaLayout::Current) {
            st = db_->open(connectionString_);
        } else {
            st = db_->openFileAsIs(path);
            if (st.ok()) st = createSchema(*db_, layout);
        }
        if (!st.ok()) error_ = st.message();
        return;
    }

    QString why;
    const QString admin = postgresTestConnection(QStringLiteral("postgres"), &why);
    if (admin.isEmpty()) {
        available_ = false;
        skipReason_ = why;
        return;
    }
    pgDatabase_ = QStringLiteral("kvtest_%1_%2_%3")
                      .arg(::getpid())
                      .arg(databaseCounter.fetchAndAddRelaxed(1))
                      .arg(QRandomGenerator::global()->bounded(1000000));
    {
        Database adminDb;
        DbStatus st = adminDb.open(admin);
        if (st.ok()) st = adminDb.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(pgDatabase_));
        if (!st.ok()) {
            error_ = QStringLiteral("Cannot create the test database: ") + st.message();
            pgDatabase_.clear();
            return;
        }
    }
    connectionString_ = postgresTestConnection(pgDatabase_);
    DbStatus st = db_->open(connectionString_);
    if (st.ok()) st = createSchema(*db_, layout);
    if (!st.ok()) error_ = st.message();
}

TestDatabase::~TestDatabase()
{
    db_->close();
    if (pgDatabase_.isEmpty()) return;
    Database adminDb;
    if (adminDb.open(postgresTestConnection()).ok())
        (void)adminDb.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(pgDatabase_));
}

std::vector<Engine> allEngines() { return {Engine::SQLite, Engine::PostgreSQL}; }

std::string engineName(const ::testing::TestParamInfo<Engine>& info)
{
    return info.param == Engine::PostgreSQL ? "PostgreSQL" : "SQLite";
}

} // namespace kelvork::testdb
