#include "ini_file.h"
#include "language_check.h"
#include "texts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QRawFont>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace kelvork;
using namespace kelvork::languages;

namespace {

QString path(const QString& name)
{
    return sourceFolder() + QLatin1Char('/') + name;
}

// Section -> keys in file order, with every repeated section or key reported (the first one wins,
// so a repeat is text nobody sees).
struct FileKeys {
    QMap<QString, QStringList> keys;
    QStringList repeats;
};

FileKeys readKeys(const QString& name)
{
    FileKeys out;
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    QString section;
    QSet<QString> seenSections;
    QSet<QString> seenKeys;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            section = line.mid(1, line.indexOf(QLatin1Char(']')) - 1).toLower();
            if (seenSections.contains(section))
                out.repeats << "[" + section + "]";
            seenSections.insert(section);
        } else if (!line.isEmpty() && !line.startsWith(QLatin1Char(';'))) {
            const QString key = line.left(line.indexOf(QLatin1Char('='))).trimmed();
            if (seenKeys.contains(section + "/" + key.toLower()))
                out.repeats << section + "/" + key;
            seenKeys.insert(section + "/" + key.toLower());
            out.keys[section] << key.toLower();
        }
    }
    return out;
}

} // namespace

TEST(LanguageFiles, HoldEveryKeyTheSourceLooksUp)
{
    const QList<TextKey> keys = scanSourceKeys(sourceRoot());
    // The scan itself must see the program's look-ups (messages of the operators module among them).
    ASSERT_GT(keys.size(), 30);
    bool sawNoRight = false;
    for (const TextKey& k : keys)
        sawNoRight = sawNoRight || (k.section == "Resource" && k.key == "NoRight");
    EXPECT_TRUE(sawNoRight);

    const QStringList missing = missingKeys(keys);
    EXPECT_TRUE(missing.isEmpty()) << "missing keys:\n" << missing.join('\n').toStdString();
}

TEST(LanguageFiles, SimplifiedChineseHoldsTheBuiltInTexts)
{
    const IniFile chs(path("Kelvork.chs"));
    QStringList differ;
    for (const TextKey& k : scanSourceKeys(sourceRoot())) {
        const QString builtIn = texts::convertLineBreaks(k.defaultText).trimmed();
        const QString inFile = texts::convertLineBreaks(chs.value(k.section, k.key)).trimmed();
        if (!builtIn.isEmpty() && inFile != builtIn)
            differ << QStringLiteral("[%1] %2: file \"%3\", built in \"%4\" (%5)")
                          .arg(k.section, k.key, inFile, builtIn, k.where);
    }
    EXPECT_TRUE(differ.isEmpty()) << differ.join('\n').toStdString();
}

TEST(LanguageFiles, AllThreeHaveTheSameKeysEachOnceAndNoneEmpty)
{
    const FileKeys reference = readKeys("Kelvork.chs");
    for (const QString& name : languageFileNames()) {
        const FileKeys file = readKeys(name);
        EXPECT_TRUE(file.repeats.isEmpty()) << name.toStdString() << ": " << file.repeats.join(", ").toStdString();
        QStringList differences;
        for (auto it = reference.keys.begin(); it != reference.keys.end(); ++it)
            for (const QString& key : it.value())
                if (!file.keys.value(it.key()).contains(key))
                    differences << "lacks [" + it.key() + "] " + key;
        for (auto it = file.keys.begin(); it != file.keys.end(); ++it)
            for (const QString& key : it.value())
                if (!reference.keys.value(it.key()).contains(key))
                    differences << "has more: [" + it.key() + "] " + key;
        const IniFile ini(path(name));
        for (auto it = file.keys.begin(); it != file.keys.end(); ++it)
            for (const QString& key : it.value())
                if (ini.value(it.key(), key).isEmpty())
                    differences << "empty: [" + it.key() + "] " + key;
        EXPECT_TRUE(differences.isEmpty()) << name.toStdString() << ":\n" << differences.join('\n').toStdString();
    }
}

TEST(LanguageFiles, EveryTextHasGlyphsInTheFontItsFileNames)
{
    // The check has teeth: a Latin font lacks the Chinese glyphs.
    ASSERT_FALSE(QRawFont::fromFont(QFont("DejaVu Sans")).supportsCharacter(QChar(0x4E2D)));
    const int languages[] = {1, 2, 3};
    for (int i = 0; i < 3; ++i) {
        const QString name = languageFileNames()[i];
        const IniFile ini(path(name));
        const QString fontName = ini.value("LanguageOptions", "FontName");
        const QString family = texts::resolveFontFamily(fontName, languages[i]);
        if (name == "Kelvork.en") {
            EXPECT_EQ(family, fontName) << "the English file names an installed Latin font";
            EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Latin));
        }
        const QRawFont raw = QRawFont::fromFont(QFont(family));
        QString lacking;
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        for (const QChar ch : QString::fromUtf8(file.readAll()))
            if (ch.isPrint() && !ch.isSpace() && !raw.supportsCharacter(ch) && !lacking.contains(ch))
                lacking += ch;
        EXPECT_TRUE(lacking.isEmpty()) << name.toStdString() << " in " << family.toStdString()
                                       << " lacks: " << lacking.toStdString();
    }
}

TEST(LanguageFiles, QuotedValuesKeepTheirBlanksAndBreaksBecomeLines)
{
    texts::configure(sourceFolder(), 1);
    EXPECT_EQ(texts::resource("WriteOPLog3", "x"), "删除管理员 ");
    EXPECT_EQ(texts::resource("DeleteOP", "x"), " 确定要删除该管理员吗？");
    EXPECT_EQ(texts::resource("ErrorPwd", "x").count('\n'), 1);
    EXPECT_EQ(texts::lookup("Frmop", "C_limit.Items.Text", "x").split('\n').size(), 16);
    texts::configure(sourceFolder(), 2);
    EXPECT_EQ(texts::resource("WriteOPLog4", "x"), "Added operator ");
    EXPECT_EQ(texts::lookup("Frmop", "C_limit.Items.Text", "x").split('\n').size(), 16);
    texts::configure(sourceFolder(), 3);
    EXPECT_EQ(texts::lookup("Frmop", "C_limit.Items.Text", "x").split('\n').size(), 16);
    EXPECT_EQ(texts::lookup("FrmMain", "Frmmain.Caption", "x"), "指紋考勤管理系統");
}

TEST(LanguageFiles, TheBuildPlacesThemBesideTheProgram)
{
    for (const QString& name : languageFileNames()) {
        QFile source(path(name));
        QFile installed(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        ASSERT_TRUE(installed.open(QIODevice::ReadOnly)) << installed.fileName().toStdString();
        EXPECT_EQ(installed.readAll(), source.readAll()) << name.toStdString();
    }
}
