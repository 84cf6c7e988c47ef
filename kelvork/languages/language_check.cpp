#include "language_check.h"

#include "apply_texts.h"
#include "ini_file.h"
#include "texts.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QWidget>

namespace kelvork::languages {

namespace {

// A string literal in any of the spellings the code uses: "x", u"x"_s, QStringLiteral("x"), ...
const QString kString = QString::fromLatin1(
    R"re((?:QStringLiteral\(\s*|QString\(\s*|QLatin1String\(\s*|QString::fromUtf8\(\s*)?u?"((?:[^"\\]|\\.)*)"(?:_s|_L1)?\s*\)?)re");

QString unescape(const QString& literal)
{
    // The C++ escapes that matter for comparing with the file: \" and \\ (the four characters
    // \r\n of a line break are written \\r\\n in the source).
    QString out;
    for (qsizetype i = 0; i < literal.size(); ++i) {
        if (literal[i] == QLatin1Char('\\') && i + 1 < literal.size()) {
            const QChar next = literal[++i];
            if (next == QLatin1Char('r'))
                out += QLatin1Char('\r');
            else if (next == QLatin1Char('n'))
                out += QLatin1Char('\n');
            else
                out += next;
        } else {
            out += literal[i];
        }
    }
    return out;
}

bool hasLetter(const QString& text)
{
    for (const QChar ch : text)
        if (ch.isLetter())
            return true;
    return false;
}

} // namespace

QString sourceFolder()
{
    return QStringLiteral(KELVORK_LANGUAGES_SOURCE_DIR);
}

QString sourceRoot()
{
    return QStringLiteral(KELVORK_SOURCE_ROOT);
}

QStringList languageFileNames()
{
    return {QStringLiteral("Kelvork.chs"), QStringLiteral("Kelvork.en"), QStringLiteral("Kelvork.cht")};
}

QList<TextKey> scanSourceKeys(const QString& root)
{
    static const QRegularExpression lookupCall(
        QStringLiteral("\\blookup\\(\\s*") + kString + QStringLiteral("\\s*,\\s*") + kString
        + QStringLiteral("\\s*,\\s*") + kString);
    static const QRegularExpression resourceCall(
        QStringLiteral("\\bresource\\(\\s*") + kString + QStringLiteral("\\s*,\\s*") + kString);
    QList<TextKey> keys;
    QDirIterator files(root, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (path.contains(QStringLiteral("/tests/")) || path.contains(QStringLiteral("/testing/")))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        const QString where = path.mid(root.size() + 1);
        for (auto m = lookupCall.globalMatch(text); m.hasNext();) {
            const auto match = m.next();
            keys.append({match.captured(1), match.captured(2), unescape(match.captured(3)), where});
        }
        for (auto m = resourceCall.globalMatch(text); m.hasNext();) {
            const auto match = m.next();
            keys.append({QStringLiteral("Resource"), match.captured(1), unescape(match.captured(2)), where});
        }
    }
    return keys;
}

QStringList missingKeys(const QList<TextKey>& keys, const QString& folder)
{
    QStringList missing;
    for (const QString& name : languageFileNames()) {
        const IniFile file(folder + QLatin1Char('/') + name);
        for (const TextKey& k : keys)
            if (file.value(k.section, k.key).isEmpty())
                missing << QStringLiteral("%1 [%2] %3 (%4)").arg(name, k.section, k.key, k.where);
    }
    missing.removeDuplicates();
    return missing;
}

QStringList missingScreenKeys(QWidget* screen, const QString& section)
{
    QList<TextKey> keys;
    {
        texts::KeyRecorder recorder;
        texts::applyToScreen(screen, section);
        for (const auto& e : recorder.entries())
            if (hasLetter(e.defaultText) && !e.section.isEmpty())
                keys.append({e.section, e.key, e.defaultText, screen->objectName()});
    }
    return missingKeys(keys);
}

} // namespace kelvork::languages
