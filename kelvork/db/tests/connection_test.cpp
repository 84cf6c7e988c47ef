// Connection strings, opening and the refusals of files that cannot serve as the database.
#include "connection_string.h"
#include "database.h"
#include "schema.h"
#include "test_database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

using namespace kelvork;

TEST(ConnectionString, ReadsBothProvidersAndRefusesWhatNamesNoDatabase)
{
    struct Case { const char* text; Engine engine; const char* file; const char* host; int port; const char* database; const char* user; const char* password; };
    const Case cases[] = {
        {"Provider=SQLite;Data Source=/home/att/Rud2003.db", Engine::SQLite, "/home/att/Rud2003.db", "", 5432, "", "", ""},
        {"provider=sqlite; data source = /a b/x.db ;", Engine::SQLite, "/a b/x.db", "", 5432, "", "", ""},
        {"Provider=PostgreSQL;Host=db1;Port=5433;Database=att;User ID=clerk;Password=p;w", Engine::PostgreSQL, "", "db1", 5433, "att", "clerk", "p"},
        {"Provider=PostgreSQL;Host=db1;Database=att;User ID=clerk;Password=\"se;cret\"", Engine::PostgreSQL, "", "db1", 5432, "att", "clerk", "se;cret"},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:/x/Rud2003.mdb", Engine::None, "", "", 5432, "", "", ""},
        {"Provider=SQLite;", Engine::None, "", "", 5432, "", "", ""},
        {"Provider=PostgreSQL;Host=db1", Engine::None, "", "", 5432, "", "", ""},
        {"", Engine::None, "", "", 5432, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QString error;
        const ConnectionSettings s = parseConnectionString(QString::fromUtf8(c.text), &error);
        EXPECT_EQ(s.engine, c.engine);
        EXPECT_EQ(error.isEmpty(), c.engine != Engine::None);
        if (s.engine == Engine::None) continue;
        EXPECT_EQ(s.filePath, QString::fromUtf8(c.file));
        EXPECT_EQ(s.host, QString::fromUtf8(c.host));
        EXPECT_EQ(s.port, c.port);
        EXPECT_EQ(s.database, QString::fromUtf8(c.database));
        EXPECT_EQ(s.user, QString::fromUtf8(c.user));
        EXPECT_EQ(s.password, QString::fromUtf8(c.password));
        // Written back, the string reads the same.
        const ConnectionSettings again = parseConnectionString(buildConnectionString(s));
        EXPECT_EQ(again.filePath, s.filePath);
        EXPECT_EQ(again.password, s.password);
        EXPECT_EQ(again.host, s.host);
    }
    EXPECT_EQ(databaseFilePath("Provider=SQLite;Data Source=/x/Rud2003.db"), "/x/Rud2003.db");
    EXPECT_EQ(databaseFilePath("Provider=PostgreSQL;Host=h;Database=d"), "");
    EXPECT_TRUE(isFileConnection(defaultConnectionString("/opt/kelvork/")));
    EXPECT_EQ(databaseFilePath(defaultConnectionString("/opt/kelvork/")), "/opt/kelvork/Rud2003.db");
}

TEST(OpenSqlite, MissingFileIsCreatedWithTheSchemaInWalMode)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Rud2003.db");
    Database db;
    const DbStatus st = db.open("Provider=SQLite;Data Source=" + path);
    ASSERT_TRUE(st.ok()) << st.message().toStdString();
    EXPECT_TRUE(db.isOpen());
    EXPECT_TRUE(db.isFileDatabase());
    EXPECT_EQ(db.engine(), Engine::SQLite);
    EXPECT_EQ(db.filePath(), path);
    EXPECT_EQ(db.scalar("PRAGMA journal_mode").toString(), "wal");
    for (const QString& table : schemaTableNames())
        EXPECT_TRUE(db.query("select * from " + table).ok()) << table.toStdString();
    EXPECT_TRUE(db.query("select * from V_Class").ok());
    db.close();
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(db.isFileDatabase());
    EXPECT_FALSE(db.exec("select 1").ok());
}

TEST(OpenSqlite, FilesThatCannotServeFailWithAMessage)
{
    QTemporaryDir dir;
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    };
    QDir(dir.path()).mkdir("folder");
    QByteArray damaged("SQLite format 3");
    damaged.append('\0');
    damaged.append(QByteArray(4000, '\x7f'));
    struct Case { const char* what; QString path; };
    const Case cases[] = {
        {"not a database", write("garbage.db", QByteArray("this is a text file, not a database\n").repeated(200))},
        {"damaged header", write("damaged.db", damaged)},
        {"a folder", dir.filePath("folder")},
        {"missing folder", dir.filePath("no/such/folder/Rud2003.db")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Database db;
        const DbStatus st = db.open("Provider=SQLite;Data Source=" + c.path);
        EXPECT_FALSE(st.ok());
        EXPECT_FALSE(st.message().isEmpty());
        EXPECT_FALSE(db.isOpen());
    }
}

TEST(OpenSqlite, UnreadableFileFails)
{
    if (::geteuid() == 0) GTEST_SKIP() << "file permissions do not bind root";
    testdb::TestDatabase tdb(Engine::SQLite);
    ASSERT_TRUE(tdb.ok());
    tdb.db().close();
    const QString path = tdb.folder() + "/Rud2003.db";
    QFile::setPermissions(path, QFileDevice::Permissions());
    Database db;
    EXPECT_FALSE(db.open(tdb.connectionString()).ok());
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(OpenSqlite, FileLockedByAnotherProgramFails)
{
    testdb::TestDatabase tdb(Engine::SQLite);
    ASSERT_TRUE(tdb.ok()) << tdb.error().toStdString();
    // Another program holds the file exclusively (it left write-ahead logging and locked it).
    Database holder;
    ASSERT_TRUE(holder.open(tdb.connectionString()).ok());
    tdb.db().close();
    ASSERT_TRUE(holder.scalar("PRAGMA journal_mode=DELETE").isValid());
    ASSERT_TRUE(holder.exec("PRAGMA locking_mode=EXCLUSIVE").ok());
    ASSERT_TRUE(holder.exec("insert into OutProg (ProgName, ProgPath) values ('x', 'y')").ok());
    Database db;
    const DbStatus st = db.open(tdb.connectionString());
    EXPECT_FALSE(st.ok());
    EXPECT_TRUE(st.message().contains("locked")) << st.message().toStdString();
}

TEST(OpenSqlite, FileAnotherProgramIsWritingOpens)
{
    testdb::TestDatabase tdb(Engine::SQLite);
    ASSERT_TRUE(tdb.ok()) << tdb.error().toStdString();
    // A program adding punches holds the write lock (in write-ahead logging readers go on).
    ASSERT_TRUE(tdb.db().begin().ok());
    ASSERT_TRUE(tdb.db().exec("insert into OutProg (ProgName, ProgPath) values ('x', 'y')").ok());
    Database db;
    const DbStatus st = db.open(tdb.connectionString());
    ASSERT_TRUE(st.ok()) << st.message().toStdString();
    EXPECT_EQ(db.scalar("select count(*) from OutProg").toInt(), 0);
    ASSERT_TRUE(tdb.db().commit().ok());
    EXPECT_TRUE(db.exec("insert into OutProg (ProgName, ProgPath) values ('z', 'w')").ok());
}

TEST(OpenPostgres, UnreachableServerOrUnknownDatabaseFails)
{
    QString why;
    Database db;
    DbStatus st = db.open("Provider=PostgreSQL;Host=/nonexistent-socket-folder;Port=5999;Database=att;User ID=x;Password=y");
    EXPECT_FALSE(st.ok());
    EXPECT_FALSE(st.message().isEmpty());
    EXPECT_FALSE(db.isOpen());
    const QString server = testdb::postgresTestConnection("no_such_database", &why);
    if (server.isEmpty()) GTEST_SKIP() << why.toStdString();
    st = db.open(server);
    EXPECT_FALSE(st.ok());
    EXPECT_TRUE(st.message().contains("no_such_database")) << st.message().toStdString();
}

TEST(OpenPostgres, ServerConnectionIsNoFileDatabase)
{
    testdb::TestDatabase tdb(Engine::PostgreSQL);
    if (!tdb.available()) GTEST_SKIP() << tdb.skipReason().toStdString();
    ASSERT_TRUE(tdb.ok()) << tdb.error().toStdString();
    EXPECT_TRUE(tdb.db().isOpen());
    EXPECT_FALSE(tdb.db().isFileDatabase());
    EXPECT_EQ(tdb.db().filePath(), "");
    EXPECT_EQ(tdb.db().engine(), Engine::PostgreSQL);
}
