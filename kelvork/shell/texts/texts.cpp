#include "texts.h"

#include "ini_file.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFontDatabase>
#include <optional>

namespace kelvork::texts {

namespace {

struct State {
    QString programFolder;
    int language = 1;
};

State& state()
{
    static State s;
    return s;
}

// The parsed language file with the file identity it was read from; read again when the file
// is replaced, changed or deleted, so a lookup always sees the file's current content.
struct CachedFile {
    QString path;
    bool exists = false;
    QDateTime modified;
    qint64 size = -1;
    std::optional<IniFile> ini;
};

const IniFile& currentFile()
{
    static CachedFile cache;
    const QString path = languageFilePath();
    const QFileInfo info(path);
    const bool exists = info.exists();
    const QDateTime modified = exists ? info.lastModified() : QDateTime();
    const qint64 size = exists ? info.size() : -1;
    if (!cache.ini || cache.path != path || cache.exists != exists || cache.modified != modified
        || cache.size != size) {
        cache.ini.emplace(path);
        cache.path = path;
        cache.exists = exists;
        cache.modified = modified;
        cache.size = size;
    }
    return *cache.ini;
}

KeyRecorder* activeRecorder = nullptr;

int toInt(const QString& text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

void recordLookup(const QString& section, const QString& key, const QString& defaultText)
{
    if (activeRecorder)
        activeRecorder->entries_.append({section, key, defaultText});
}

KeyRecorder::KeyRecorder()
{
    Q_ASSERT(!activeRecorder);
    activeRecorder = this;
}

KeyRecorder::~KeyRecorder()
{
    activeRecorder = nullptr;
}

QString languageExtension(int language)
{
    switch (language) {
    case 2: return QStringLiteral(".en");
    case 3: return QStringLiteral(".cht");
    default: return QStringLiteral(".chs");
    }
}

void configure(const QString& programFolder, int language)
{
    State& s = state();
    s.programFolder = programFolder;
    if (!s.programFolder.isEmpty() && !s.programFolder.endsWith(QLatin1Char('/')))
        s.programFolder += QLatin1Char('/');
    s.language = language;
    fontSet() = readFontSet();
}

TFontSet readFontSet()
{
    TFontSet font;
    font.name = lookup(QStringLiteral("LanguageOptions"), QStringLiteral("FontName"), QStringLiteral("宋体"));
    font.size = toInt(lookup(QStringLiteral("LanguageOptions"), QStringLiteral("FontSize"), QStringLiteral("9")), 9);
    font.charSet = toInt(lookup(QStringLiteral("LanguageOptions"), QStringLiteral("FontCharSet"),
                                QStringLiteral("1")), 1);
    return font;
}

QString languageFilePath()
{
    return state().programFolder + QStringLiteral("Kelvork") + languageExtension(state().language);
}

int language()
{
    return state().language;
}

QString convertLineBreaks(const QString& value)
{
    QStringList pieces = value.split(QStringLiteral("\\r\\n"));
    if (pieces.size() > 1 && pieces.first().isEmpty())
        pieces.removeFirst();
    QString joined = pieces.join(QLatin1Char('\n'));
    // Built-in defaults may carry a real CR LF; the screens show '\n' as the line break.
    joined.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return joined;
}

QString lookup(const QString& section, const QString& key, const QString& defaultText)
{
    recordLookup(section, key, defaultText);
    const QString value = convertLineBreaks(currentFile().value(section, key, defaultText));
    return value.isEmpty() ? convertLineBreaks(defaultText) : value;
}

QString resource(const QString& key, const QString& defaultText)
{
    return lookup(QStringLiteral("Resource"), key, defaultText);
}

QString resolveFontFamily(const QString& name, int language)
{
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families)
        if (family.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return family;
    // The Windows names (宋体, SimSun, 細明體 ...) do not exist here: take a family that shows the
    // interface's script, the one the set-up installs first.
    const bool traditional = language == 3;
    const QStringList preferred = traditional
        ? QStringList{QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans CJK HK"),
                      QStringLiteral("Noto Sans CJK SC")}
        : QStringList{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK TC")};
    for (const QString& wanted : preferred)
        if (families.contains(wanted, Qt::CaseInsensitive))
            return wanted;
    const auto script = traditional ? QFontDatabase::TraditionalChinese
                                    : QFontDatabase::SimplifiedChinese;
    for (const QString& family : families)
        if (QFontDatabase::writingSystems(family).contains(script))
            return family;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QFont screenFont()
{
    const TFontSet& choice = fontSet();
    QFont font(resolveFontFamily(choice.name, language()));
    if (choice.size > 0)
        font.setPointSize(choice.size);
    return font;
}

} // namespace kelvork::texts
