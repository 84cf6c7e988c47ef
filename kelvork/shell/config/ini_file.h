#pragma once
// A profile (INI) file read and written by the rules the program's files were made with:
// section and key names are case-insensitive, the first matching section and key win, values are
// taken as they stand (no escape processing; one pair of enclosing quotes is dropped), lines that
// are not understood are ignored on reading and kept unchanged on writing. Text is UTF-8.

#include <QString>
#include <QStringList>

namespace kelvork {

class IniFile {
public:
    // Reads `path` at once; a missing or unreadable file reads as empty (every value takes its
    // default), which is how the program treats a missing configuration or language file.
    explicit IniFile(QString path);

    const QString& path() const { return path_; }
    bool exists() const { return exists_; }

    // The value of `key` in `section`, or `defaultValue` when the section or key is missing.
    // An existing key with an empty value gives the empty text, not the default.
    QString value(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    bool contains(const QString& section, const QString& key) const;

    // The keys of `section` in file order (first spelling of each), empty when it is missing.
    QStringList keys(const QString& section) const;

    // Changes the value in memory: the first matching key line is replaced; a missing key is
    // added after the section's last entry; a missing section is appended at the end.
    void setValue(const QString& section, const QString& key, const QString& value);

    // Writes the file atomically (a temporary file renamed over the old one). On failure the old
    // file is untouched and `error` (when given) says why.
    bool save(QString* error = nullptr) const;

    // One-shot helpers: read one value / write one value and save.
    static QString readString(const QString& path, const QString& section, const QString& key,
                              const QString& defaultValue = {});
    static bool writeString(const QString& path, const QString& section, const QString& key,
                            const QString& value, QString* error = nullptr);

private:
    struct Found { int sectionLine = -1; int keyLine = -1; int lastEntryLine = -1; };
    Found find(const QString& section, const QString& key) const;

    QString path_;
    bool exists_ = false;
    QStringList lines_;
};

} // namespace kelvork
