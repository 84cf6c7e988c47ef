#pragma once
// Connection strings, the form the configuration keeps (Pendrix.dat, SYSCONTROL/DBConnection):
//   Provider=SQLite;Data Source=<path>
//   Provider=PostgreSQL;Host=<host or socket folder>;Port=<n>;Database=<name>;User ID=<u>;Password=<p>
// Keys are case-insensitive, parts are separated by ';', a value may be enclosed in double quotes
// (needed when it contains ';'); unknown keys are ignored.

#include <QString>

namespace kelvork {

enum class Engine { None, SQLite, PostgreSQL };

struct ConnectionSettings {
    Engine engine = Engine::None;
    QString filePath;             // SQLite
    QString host;                 // PostgreSQL: name, address or a Unix-socket folder
    int port = 5432;
    QString database;
    QString user;
    QString password;
};

// Reads a connection string. An unknown or missing provider, a SQLite string without a file or a
// PostgreSQL string without a database gives engine None and `error` (when given) says why.
ConnectionSettings parseConnectionString(const QString& text, QString* error = nullptr);

// Writes settings back as a connection string that parseConnectionString reads unchanged.
QString buildConnectionString(const ConnectionSettings& settings);

// The default connection: a SQLite file Rud2003.db in `programFolder` (which ends with '/').
QString defaultConnectionString(const QString& programFolder);

// The database file a connection string names ("" for a server connection or a bad string): what
// compaction, backup and the connection log entry use.
QString databaseFilePath(const QString& connectionString);

// True when the string names a file database (SQLite): compaction, backup, initialisation apply.
bool isFileConnection(const QString& connectionString);

} // namespace kelvork
