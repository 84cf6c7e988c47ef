#pragma once
// The program's one text lookup. Every text the program shows comes from the language file chosen
// by `Language` in Pendrix.dat, with the built-in (Simplified Chinese) text as the default, so a
// missing file or key leaves the program fully usable in its built-in texts.

#include <QFont>
#include <QList>
#include <QString>

#include "sys_config.h"

namespace kelvork::texts {

// Chooses the program folder (held with a trailing '/') and the interface language for every
// later lookup: 1 Simplified Chinese (Kelvork.chs), 2 English (Kelvork.en), 3 Traditional Chinese
// (Kelvork.cht); any other value reads Kelvork.chs. Also reads the font of section
// "LanguageOptions" into kelvork::fontSet() (see readFontSet()). Called once at start; tests
// call it again freely.
void configure(const QString& programFolder, int language);

// The language-file path the lookups read: program folder + "Kelvork" + the language's extension.
QString languageFilePath();
// The extension for a `Language` value: ".chs", ".en" or ".cht" (".chs" for anything else).
QString languageExtension(int language);
int language();

// Looks `key` up in `section` of the language file. The four characters \r\n inside the value
// become a line break ('\n'); a value that begins with them loses that first break. A missing key,
// or one whose value is empty, gives `defaultText` (with the same line-break rule applied).
// The parsed file is cached and read again whenever the file changes on disk or disappears.
QString lookup(const QString& section, const QString& key, const QString& defaultText);

// lookup("Resource", key, defaultText): messages, questions and shared words.
QString resource(const QString& key, const QString& defaultText);

// The line-break rule alone, for texts that do not come through lookup().
QString convertLineBreaks(const QString& value);

// Reads section "LanguageOptions" of the current language file into a font record: FontName
// (default "宋体"), FontSize (default 9), FontCharSet (default 1); a size or character set that is
// not a number takes its default. configure() stores it into kelvork::fontSet().
TFontSet readFontSet();

// The font screens use, from kelvork::fontSet(): the family of its name when the system has it,
// otherwise an installed family that shows the interface language (Noto Sans CJK SC or TC, or any
// family with Chinese glyphs), at its size in points. Needs a QGuiApplication.
QFont screenFont();
// The installed family that stands in for `name` (itself when installed, case-insensitively).
QString resolveFontFamily(const QString& name, int language);

// Records every lookup made while an instance lives (section, key, default), for the check that
// the language files hold every key the screens look up. Only one recorder may live at a time.
class KeyRecorder {
public:
    struct Entry {
        QString section;
        QString key;
        QString defaultText;
    };
    KeyRecorder();
    ~KeyRecorder();
    KeyRecorder(const KeyRecorder&) = delete;
    KeyRecorder& operator=(const KeyRecorder&) = delete;

    const QList<Entry>& entries() const { return entries_; }

private:
    friend void recordLookup(const QString&, const QString&, const QString&);
    QList<Entry> entries_;
};

} // namespace kelvork::texts
