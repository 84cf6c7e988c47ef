#include "dialect.h"

#include "schema.h"

#include <QDateTime>
#include <QRegularExpression>

namespace kelvork {

namespace {

enum class Tok { Word, Placeholder, Op, Literal, Punct };

struct Token {
    Tok kind;
    QString text;   // Word: the name without brackets/quotes, last part of a dotted name
};

bool isWordStart(QChar c) { return c.isLetter() || c == '_'; }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == '_' || c == '$'; }

// A rough tokeniser, enough to see which column a placeholder stands beside.
QList<Token> tokenise(const QString& sql)
{
    QList<Token> out;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) { ++i; continue; }
        if (c == '\'') {
            int j = i + 1;
            while (j < n) {
                if (sql[j] == '\'') { if (j + 1 < n && sql[j + 1] == '\'') { j += 2; continue; } break; }
                ++j;
            }
            out.append({Tok::Literal, {}});
            i = j + 1;
            continue;
        }
        if (c == '"' || c == '[' || isWordStart(c)) {
            // A name, possibly dotted (Table.Column, [Table].[Column]).
            QString last;
            while (i < n) {
                if (sql[i] == '"' || sql[i] == '[') {
                    const QChar close = sql[i] == '"' ? '"' : ']';
                    int j = sql.indexOf(close, i + 1);
                    if (j < 0) j = n;
                    last = sql.mid(i + 1, j - i - 1);
                    i = j + 1;
                } else if (i < n && isWordStart(sql[i])) {
                    int j = i;
                    while (j < n && isWordChar(sql[j])) ++j;
                    last = sql.mid(i, j - i);
                    i = j;
                } else {
                    break;
                }
                if (i < n && sql[i] == '.') ++i; else break;
            }
            out.append({Tok::Word, last});
            continue;
        }
        if (c == ':') {
            if (i + 1 < n && sql[i + 1] == ':') { i += 2; continue; }   // a PostgreSQL cast
            if (i + 1 < n && isWordStart(sql[i + 1])) {
                int j = i + 1;
                while (j < n && isWordChar(sql[j])) ++j;
                out.append({Tok::Placeholder, sql.mid(i + 1, j - i - 1)});
                i = j;
                continue;
            }
        }
        if (c == '<' || c == '>' || c == '=' || c == '!') {
            int j = i + 1;
            if (j < n && (sql[j] == '=' || sql[j] == '>')) ++j;
            out.append({Tok::Op, sql.mid(i, j - i)});
            i = j;
            continue;
        }
        out.append({Tok::Punct, QString(c)});
        ++i;
    }
    return out;
}

bool isComparison(const Token& t) { return t.kind == Tok::Op; }
bool isKeyword(const Token& t, const char* word)
{
    return t.kind == Tok::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// The column a placeholder at tokens[i] stands beside, or "".
QString columnBeside(const QList<Token>& t, int i)
{
    auto at = [&](int k) -> const Token* { return k >= 0 && k < t.size() ? &t[k] : nullptr; };
    const Token* p1 = at(i - 1);
    const Token* p2 = at(i - 2);
    if (p1 && p2 && isComparison(*p1) && p2->kind == Tok::Word) return p2->text;
    if (p1 && p2 && isKeyword(*p1, "between") && p2->kind == Tok::Word) return p2->text;
    if (p1 && isKeyword(*p1, "and")) {
        const Token* lo = at(i - 2);
        const Token* bw = at(i - 3);
        const Token* col = at(i - 4);
        if (lo && bw && col && (lo->kind == Tok::Placeholder || lo->kind == Tok::Literal)
            && isKeyword(*bw, "between") && col->kind == Tok::Word)
            return col->text;
    }
    const Token* n1 = at(i + 1);
    const Token* n2 = at(i + 2);
    if (n1 && n2 && isComparison(*n1) && n2->kind == Tok::Word && !isKeyword(*n2, "select")) return n2->text;
    return {};
}

// For "insert into T (c1, c2, ...) values (v1, v2, ...)": the column of each value placeholder.
QHash<int, QString> insertColumns(const QList<Token>& t)
{
    QHash<int, QString> result;
    int k = 0;
    while (k < t.size() && !isKeyword(t[k], "insert")) ++k;
    if (k >= t.size()) return result;
    while (k < t.size() && !(t[k].kind == Tok::Punct && t[k].text == "(")) ++k;
    QStringList columns;
    for (++k; k < t.size() && !(t[k].kind == Tok::Punct && t[k].text == ")"); ++k)
        if (t[k].kind == Tok::Word) columns << t[k].text;
    while (k < t.size() && !isKeyword(t[k], "values")) ++k;
    while (k < t.size() && !(t[k].kind == Tok::Punct && t[k].text == "(")) ++k;
    int position = 0;
    int depth = 0;
    for (++k; k < t.size(); ++k) {
        const Token& tok = t[k];
        if (tok.kind == Tok::Punct && tok.text == "(") { ++depth; continue; }
        if (tok.kind == Tok::Punct && tok.text == ")") { if (depth == 0) break; --depth; continue; }
        if (depth == 0 && tok.kind == Tok::Punct && tok.text == ",") { ++position; continue; }
        if (tok.kind == Tok::Placeholder && depth == 0 && position < columns.size()) result.insert(k, columns[position]);
    }
    return result;
}

// Applies `edit` to the parts of `sql` outside quoted texts.
template <typename Edit>
QString outsideLiterals(const QString& sql, Edit edit)
{
    QString out;
    QString code;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        if (sql[i] == '\'') {
            out += edit(code);
            code.clear();
            int j = i + 1;
            while (j < n) {
                if (sql[j] == '\'') { if (j + 1 < n && sql[j + 1] == '\'') { j += 2; continue; } break; }
                ++j;
            }
            out += sql.mid(i, j + 1 - i);
            i = j + 1;
            continue;
        }
        code += sql[i];
        ++i;
    }
    out += edit(code);
    return out;
}

// PostgreSQL sorts empty values (NULL) last, SQLite first: each item of an ORDER BY list says
// where they go, so both engines return the same order.
QString nullsAsInSqlite(const QString& code)
{
    static const QRegularExpression orderBy(QStringLiteral(R"(\border\s+by\b)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression stopWord(QStringLiteral(R"(^(limit|offset|union|except|intersect|fetch|for)\b)"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression descending(QStringLiteral(R"(\bdesc$)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression hasNulls(QStringLiteral(R"(\bnulls\s+(first|last)\b)"), QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype from = 0;
    for (auto it = orderBy.globalMatch(code); it.hasNext();) {
        const auto m = it.next();
        if (m.capturedStart() < from) continue;
        qsizetype i = m.capturedEnd();
        out += code.mid(from, i - from);
        const qsizetype n = code.size();
        int depth = 0;
        QStringList items;
        QString item;
        for (; i < n; ++i) {
            const QChar c = code[i];
            if (c == '(') ++depth;
            else if (c == ')') { if (depth == 0) break; --depth; }
            else if (c == ';' && depth == 0) break;
            else if (depth == 0 && (i == 0 || !code[i - 1].isLetterOrNumber()) && stopWord.match(code.mid(i, 12)).hasMatch()) break;
            if (c == ',' && depth == 0) { items << item; item.clear(); continue; }
            item += c;
        }
        items << item;
        // Keep the blanks that separate the list from what follows.
        qsizetype blanks = 0;
        while (blanks < items.last().size() && items.last()[items.last().size() - 1 - blanks].isSpace()) ++blanks;
        const QString trailing = items.last().right(blanks);
        QStringList rewritten;
        for (const QString& raw : items) {
            const QString t = raw.trimmed();
            if (t.isEmpty() || hasNulls.match(t).hasMatch()) { rewritten << t; continue; }
            rewritten << t + (descending.match(t).hasMatch() ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST"));
        }
        out += ' ' + rewritten.join(QStringLiteral(", ")) + (trailing.isEmpty() && i < n && code[i] != ')' ? QStringLiteral(" ") : trailing);
        from = i;
    }
    out += code.mid(from);
    return out;
}

} // namespace

QList<Placeholder> findPlaceholders(const QString& sql)
{
    const QList<Token> tokens = tokenise(sql);
    const QHash<int, QString> inserted = insertColumns(tokens);
    QList<Placeholder> result;
    for (int i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Tok::Placeholder) continue;
        QString column = inserted.value(i);
        if (column.isEmpty()) column = columnBeside(tokens, i);
        result.append({tokens[i].text, column});
    }
    return result;
}

QString positionalSql(const QString& sql)
{
    QString out;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == '\'' || c == '"' || c == '[') {
            const QChar close = c == '[' ? QChar(']') : c;
            int j = i + 1;
            while (j < n) {
                if (sql[j] == close) {
                    if (close != ']' && j + 1 < n && sql[j + 1] == close) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            out += sql.mid(i, j + 1 - i);
            i = j + 1;
            continue;
        }
        if (c == ':' && i + 1 < n && sql[i + 1] == ':') { out += QStringLiteral("::"); i += 2; continue; }
        if (c == ':' && i + 1 < n && isWordStart(sql[i + 1])) {
            int j = i + 1;
            while (j < n && isWordChar(sql[j])) ++j;
            out += '?';
            i = j;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

QString translateSql(const QString& sql, Engine engine)
{
    static const QRegularExpression span(
        QStringLiteral(R"(\bMax\s*\(\s*([\w.\[\]"]+)\s*\)\s*-\s*Min\s*\(\s*([\w.\[\]"]+)\s*\))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bracket(QStringLiteral(R"(\[([^\]\[]+)\])"));
    static const QRegularExpression like(QStringLiteral(R"(\bLIKE\b)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression flagCompare(
        QStringLiteral(R"(([\w.\]"]+)(\s*(?:=|<>|!=)\s*)([01])\b)"));

    return outsideLiterals(sql, [engine](QString code) {
        if (code.isEmpty()) return code;
        // Max(c)-Min(c) of a date-time column: the span in days.
        QString rewritten;
        qsizetype last = 0;
        for (auto it = span.globalMatch(code); it.hasNext();) {
            const auto m = it.next();
            auto bare = [](QString name) { name.remove('[').remove(']').remove('"'); return name.section('.', -1); };
            if (!isDateTimeColumn(bare(m.captured(1))) || !isDateTimeColumn(bare(m.captured(2)))) continue;
            rewritten += code.mid(last, m.capturedStart() - last);
            if (engine == Engine::PostgreSQL)
                rewritten += QStringLiteral("(extract(epoch from (Max(%1)-Min(%2)))/86400.0)").arg(m.captured(1), m.captured(2));
            else
                rewritten += QStringLiteral("(julianday(Max(%1))-julianday(Min(%2)))").arg(m.captured(1), m.captured(2));
            last = m.capturedEnd();
        }
        rewritten += code.mid(last);
        code = rewritten;

        if (engine == Engine::PostgreSQL) {
            // Bracketed names become quoted lower-case names (the tables are made unquoted).
            QString out;
            last = 0;
            for (auto it = bracket.globalMatch(code); it.hasNext();) {
                const auto m = it.next();
                out += code.mid(last, m.capturedStart() - last);
                out += '"' + m.captured(1).toLower() + '"';
                last = m.capturedEnd();
            }
            out += code.mid(last);
            code = out;
            code.replace(like, QStringLiteral("ILIKE"));
            code = nullsAsInSqlite(code);
            // A yes/no column compared with 0 or 1 compares with false or true.
            out.clear();
            last = 0;
            for (auto it = flagCompare.globalMatch(code); it.hasNext();) {
                const auto m = it.next();
                QString name = m.captured(1);
                name.remove('[').remove(']').remove('"');
                if (!isYesNoColumn(name.section('.', -1))) continue;
                out += code.mid(last, m.capturedStart() - last);
                out += m.captured(1) + m.captured(2) + (m.captured(3) == "1" ? "true" : "false");
                last = m.capturedEnd();
            }
            out += code.mid(last);
            code = out;
        }
        return code;
    });
}

QString dateTimeText(const QDateTime& value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString timeOfDayText(const QTime& value)
{
    return QStringLiteral("1899-12-30 ") + value.toString(QStringLiteral("HH:mm:ss"));
}

QDateTime parseDateTimeText(const QString& text)
{
    QString t = text.trimmed();
    t.replace('T', ' ');
    for (const char* format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        QDateTime dt = QDateTime::fromString(t, QLatin1String(format));
        if (dt.isValid()) return dt;
    }
    return {};
}

QVariant bindValue(const QVariant& value, const QString& column, Engine engine)
{
    if (value.isNull()) return value;
    const bool dateTimeColumn = !column.isEmpty() && isDateTimeColumn(column);
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return dateTimeText(value.toDateTime());
    case QMetaType::QDate: {
        const QString day = value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        return dateTimeColumn ? day + QStringLiteral(" 00:00:00") : day;
    }
    case QMetaType::QTime:
        return timeOfDayText(value.toTime());
    case QMetaType::Bool:
        return engine == Engine::PostgreSQL ? value : QVariant(value.toBool() ? 1 : 0);
    default:
        break;
    }
    if (engine == Engine::PostgreSQL && !column.isEmpty() && isYesNoColumn(column)) {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (ok) return QVariant(n != 0);
        const QString t = value.toString().trimmed().toLower();
        if (t == "true" || t == "false") return QVariant(t == "true");
    }
    if (dateTimeColumn && value.typeId() == QMetaType::QString) {
        // Shorter forms of a moment name its first second, in the stored form.
        const QString t = value.toString();
        static const QRegularExpression dayOnly(QStringLiteral(R"(^\d{4}-\d{2}-\d{2}$)"));
        static const QRegularExpression toMinute(QStringLiteral(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}$)"));
        static const QRegularExpression timeOnly(QStringLiteral(R"(^\d{2}:\d{2}(:\d{2})?$)"));
        if (dayOnly.match(t).hasMatch()) return t + QStringLiteral(" 00:00:00");
        if (toMinute.match(t).hasMatch()) return t + QStringLiteral(":00");
        if (timeOnly.match(t).hasMatch()) return QStringLiteral("1899-12-30 ") + (t.size() == 5 ? t + QStringLiteral(":00") : t);
    }
    return value;
}

QString columnTypeSql(ColumnType type, int width, Engine engine)
{
    const bool pg = engine == Engine::PostgreSQL;
    switch (type) {
    case ColumnType::Counter:
        return pg ? QStringLiteral("integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
                  : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case ColumnType::Integer: return pg ? "integer" : "INTEGER";
    case ColumnType::SmallInt: return pg ? "smallint" : "SMALLINT";
    case ColumnType::Text:
        // Binary collation on the server, so texts order as in a SQLite file.
        return pg ? QStringLiteral("varchar(%1) COLLATE \"C\"").arg(width) : QStringLiteral("VARCHAR(%1)").arg(width);
    case ColumnType::Memo: return pg ? "text COLLATE \"C\"" : "TEXT";
    case ColumnType::DateTime: return pg ? "timestamp" : "DATETIME";
    case ColumnType::YesNo: return pg ? "boolean" : "BOOLEAN";
    case ColumnType::Double: return pg ? "double precision" : "DOUBLE";
    case ColumnType::Numeric181: return pg ? "numeric(18,1)" : "NUMERIC(18,1)";
    }
    return {};
}

} // namespace kelvork
