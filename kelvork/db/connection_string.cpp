#include "connection_string.h"

#include <QStringList>

namespace kelvork {

namespace {

// Splits "Key=Value;Key=Value" with optional double quotes around a value.
QList<std::pair<QString, QString>> splitParts(const QString& text)
{
    QList<std::pair<QString, QString>> parts;
    int i = 0;
    const int n = text.size();
    while (i < n) {
        int eq = text.indexOf('=', i);
        int semi = text.indexOf(';', i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {   // a part without '=' is ignored
            if (semi < 0) break;
            i = semi + 1;
            continue;
        }
        QString key = text.mid(i, eq - i).trimmed();
        int v = eq + 1;
        while (v < n && text[v] == ' ') ++v;
        QString value;
        if (v < n && text[v] == '"') {
            int close = text.indexOf('"', v + 1);
            if (close < 0) close = n;
            value = text.mid(v + 1, close - v - 1);
            int next = text.indexOf(';', close);
            i = next < 0 ? n : next + 1;
        } else {
            int next = text.indexOf(';', v);
            value = text.mid(v, (next < 0 ? n : next) - v).trimmed();
            i = next < 0 ? n : next + 1;
        }
        parts.append({key.toLower(), value});
    }
    return parts;
}

QString quoted(const QString& value)
{
    if (value.contains(';') || value.startsWith(' ') || value.endsWith(' ') || value.startsWith('"'))
        return '"' + value + '"';
    return value;
}

} // namespace

ConnectionSettings parseConnectionString(const QString& text, QString* error)
{
    ConnectionSettings s;
    QString provider;
    for (const auto& [key, value] : splitParts(text)) {
        if (key == "provider") provider = value.toLower();
        else if (key == "data source") s.filePath = value;
        else if (key == "host" || key == "server") s.host = value;
        else if (key == "port") { bool ok = false; int p = value.toInt(&ok); if (ok) s.port = p; }
        else if (key == "database" || key == "initial catalog") s.database = value;
        else if (key == "user id" || key == "user" || key == "uid") s.user = value;
        else if (key == "password" || key == "pwd") s.password = value;
    }
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        ConnectionSettings none;
        return none;
    };
    if (provider == "sqlite") {
        if (s.filePath.isEmpty()) return fail(QStringLiteral("The connection string names no database file (Data Source=)."));
        s.engine = Engine::SQLite;
    } else if (provider == "postgresql" || provider == "postgres" || provider == "psql") {
        if (s.database.isEmpty()) return fail(QStringLiteral("The connection string names no database (Database=)."));
        s.engine = Engine::PostgreSQL;
    } else if (provider.isEmpty()) {
        return fail(QStringLiteral("The connection string names no provider (Provider=SQLite or Provider=PostgreSQL)."));
    } else {
        return fail(QStringLiteral("Unknown database provider \"%1\" (use SQLite or PostgreSQL).").arg(provider));
    }
    if (error) error->clear();
    return s;
}

QString buildConnectionString(const ConnectionSettings& s)
{
    switch (s.engine) {
    case Engine::SQLite:
        return "Provider=SQLite;Data Source=" + quoted(s.filePath);
    case Engine::PostgreSQL:
        return QStringLiteral("Provider=PostgreSQL;Host=%1;Port=%2;Database=%3;User ID=%4;Password=%5")
            .arg(quoted(s.host), QString::number(s.port), quoted(s.database), quoted(s.user), quoted(s.password));
    case Engine::None:
        break;
    }
    return {};
}

QString defaultConnectionString(const QString& programFolder)
{
    return "Provider=SQLite;Data Source=" + programFolder + "Rud2003.db";
}

QString databaseFilePath(const QString& connectionString)
{
    ConnectionSettings s = parseConnectionString(connectionString);
    return s.engine == Engine::SQLite ? s.filePath : QString();
}

bool isFileConnection(const QString& connectionString)
{
    return parseConnectionString(connectionString).engine == Engine::SQLite;
}

} // namespace kelvork
