#pragma once
// Checks that the shipped language files hold every text key the program looks up, so that no
// screen shows a Chinese built-in text inside the English or Traditional Chinese interface.
// Two sources of keys, both taken from the code itself:
// - the literal look-ups in the source tree: lookup("Section", "Key", ...) and resource("Key", ...);
// - the keys a screen asks for when its texts are applied (its named labels, buttons, actions,
//   columns, lists ...), recorded while applyToScreen runs over a real screen in its tests.

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace kelvork::languages {

// A key the program looks up, with the default it brings and where it was found.
struct TextKey {
    QString section;
    QString key;
    QString defaultText;  // as written in the source (the four characters \r\n kept), or as recorded
    QString where;        // file of the look-up, or the screen's name
};

// The folder of the language files in the source tree, and their file names (.chs, .en, .cht).
QString sourceFolder();
QStringList languageFileNames();
// The kelvork/ source folder that scanSourceKeys reads.
QString sourceRoot();

// Every literal look-up in the .cpp and .h files below `root`, test folders left out. Look-ups
// whose section or key is not a literal are not seen.
QList<TextKey> scanSourceKeys(const QString& root);

// "Kelvork.en [Section] Key (where)" for every key that one of the three files in `folder` lacks
// or holds empty.
QStringList missingKeys(const QList<TextKey>& keys, const QString& folder = sourceFolder());

// Applies the screen's texts (as its show handler does) while recording, and returns the keys
// that the language files lack among those whose default holds a letter; an empty list is the pass.
QStringList missingScreenKeys(QWidget* screen, const QString& section);

} // namespace kelvork::languages
