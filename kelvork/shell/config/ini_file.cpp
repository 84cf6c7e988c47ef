#include "ini_file.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QTextStream>

namespace kelvork {
namespace {

// "[name]" with optional blanks around; anything after the closing bracket is ignored.
bool parseSection(const QString& line, QString* name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return false;
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

bool isComment(const QString& line)
{
    const QString t = line.trimmed();
    return t.isEmpty() || t.startsWith(u';');
}

// "key=value"; the key and the value are trimmed; a line without '=' is not an entry.
bool parseEntry(const QString& line, QString* key, QString* value)
{
    if (isComment(line))
        return false;
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0)
        return false;
    *key = line.left(eq).trimmed();
    if (key->isEmpty())
        return false;
    QString v = line.mid(eq + 1).trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    *value = v;
    return true;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile::IniFile(QString path)
    : path_(std::move(path))
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    exists_ = true;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString text = QString::fromUtf8(bytes);
    lines_ = text.split(u'\n');
    for (QString& l : lines_)
        if (l.endsWith(u'\r'))
            l.chop(1);
    if (!lines_.isEmpty() && lines_.back().isEmpty())
        lines_.removeLast();
}

IniFile::Found IniFile::find(const QString& section, const QString& key) const
{
    Found f;
    bool inSection = false;
    for (int i = 0; i < lines_.size(); ++i) {
        QString name;
        if (parseSection(lines_[i], &name)) {
            if (inSection)
                break; // the first matching section ends here
            if (sameName(name, section)) {
                inSection = true;
                f.sectionLine = i;
                f.lastEntryLine = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        QString k, v;
        if (parseEntry(lines_[i], &k, &v)) {
            f.lastEntryLine = i;
            if (f.keyLine < 0 && !key.isEmpty() && sameName(k, key))
                f.keyLine = i;
        }
    }
    return f;
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Found f = find(section, key);
    if (f.keyLine < 0)
        return defaultValue;
    QString k, v;
    parseEntry(lines_[f.keyLine], &k, &v);
    return v;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    return find(section, key).keyLine >= 0;
}

QStringList IniFile::keys(const QString& section) const
{
    QStringList out;
    const Found f = find(section, {});
    if (f.sectionLine < 0)
        return out;
    for (int i = f.sectionLine + 1; i <= f.lastEntryLine; ++i) {
        QString k, v;
        if (parseEntry(lines_[i], &k, &v)) {
            bool seen = false;
            for (const QString& s : out)
                seen = seen || sameName(s, k);
            if (!seen)
                out << k;
        }
    }
    return out;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString entry = key + u'=' + value;
    const Found f = find(section, key);
    if (f.keyLine >= 0) {
        lines_[f.keyLine] = entry;
    } else if (f.sectionLine >= 0) {
        lines_.insert(f.lastEntryLine + 1, entry);
    } else {
        if (!lines_.isEmpty() && !lines_.back().trimmed().isEmpty())
            lines_ << QString();
        lines_ << u'[' + section + u']' << entry;
    }
}

bool IniFile::save(QString* error) const
{
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QByteArray bytes;
    for (const QString& l : lines_) {
        bytes += l.toUtf8();
        bytes += "\r\n";
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString IniFile::readString(const QString& path, const QString& section, const QString& key,
                            const QString& defaultValue)
{
    return IniFile(path).value(section, key, defaultValue);
}

bool IniFile::writeString(const QString& path, const QString& section, const QString& key,
                          const QString& value, QString* error)
{
    IniFile ini(path);
    ini.setValue(section, key, value);
    return ini.save(error);
}

} // namespace kelvork
