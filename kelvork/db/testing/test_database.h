#pragma once
// For tests of every module: a fresh database with the whole schema, on SQLite (a file in a
// temporary folder) or on the PostgreSQL test server (a new database, dropped afterwards).
//
//   kelvork::testdb::TestDatabase tdb(kelvork::Engine::PostgreSQL);
//   if (!tdb.available()) GTEST_SKIP() << tdb.skipReason().toStdString();
//   ASSERT_TRUE(tdb.ok()) << tdb.error().toStdString();
//   kelvork::Database& db = tdb.db();                 // open, with the whole schema
//
// The PostgreSQL server is the one the CTest fixture "kelvork_pg" starts (kelvork_add_db_test in
// kelvork/db/CMakeLists.txt registers a suite with it); its connection is read from the folder named
// by KELVORK_TEST_PG_DIR, else the one of this build. Run the suite through ctest (or start the
// server with kelvork/db/tests/pg_test_server.sh start DIR) for the PostgreSQL cases to run.

#include "connection_string.h"
#include "database.h"
#include "schema.h"

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

namespace kelvork::testdb {

class TestDatabase {
public:
    // Creates the database with `layout` (Current, or Old for upgrade tests) and opens it.
    explicit TestDatabase(Engine engine, SchemaLayout layout = SchemaLayout::Current);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // False when the engine cannot be had here (no PostgreSQL test server); skipReason() says why.
    bool available() const { return available_; }
    const QString& skipReason() const { return skipReason_; }
    // True when the database was made and is open; error() says what failed otherwise.
    bool ok() const { return available_ && error_.isEmpty(); }
    const QString& error() const { return error_; }

    Database& db() { return *db_; }
    // The connection string of this database, for a second connection or another process.
    const QString& connectionString() const { return connectionString_; }
    // A temporary folder that lives as long as this object.
    QString folder() const { return dir_.path(); }

private:
    Engine engine_;
    bool available_ = true;
    QString skipReason_;
    QString error_;
    QString connectionString_;
    QString pgDatabase_;
    QTemporaryDir dir_;
    std::unique_ptr<Database> db_;
};

// The PostgreSQL test server's connection string to `database` (default: the maintenance database
// "postgres"), or "" with `why` when no server is running for this test.
QString postgresTestConnection(const QString& database = QStringLiteral("postgres"), QString* why = nullptr);

// Both engines, for INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::ValuesIn(allEngines()),
// engineName) in suites that run once per engine.
std::vector<Engine> allEngines();
std::string engineName(const ::testing::TestParamInfo<Engine>& info);

} // namespace kelvork::testdb
