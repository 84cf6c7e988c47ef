#include "texts.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace texts = kelvork::texts;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

TEST(TextLookup, LanguageChoosesTheFileAndUnknownValuesReadSimplifiedChinese)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("Kelvork.chs"), "[Resource]\nNoRight=chs\n");
    writeFile(dir.filePath("Kelvork.en"), "[Resource]\nNoRight=en\n");
    writeFile(dir.filePath("Kelvork.cht"), "[Resource]\nNoRight=cht\n");
    const struct { int language; const char* expected; } cases[] = {
        {1, "chs"}, {2, "en"}, {3, "cht"}, {5, "chs"}, {0, "chs"}, {-2, "chs"}};
    for (const auto& c : cases) {
        texts::configure(dir.path(), c.language);  // no trailing slash: one is added
        EXPECT_EQ(texts::resource("NoRight", "built-in"), c.expected) << "Language " << c.language;
    }
    texts::configure(dir.path() + "/", 5);
    EXPECT_EQ(texts::languageFilePath(), dir.path() + "/Kelvork.chs");
}

TEST(TextLookup, LineBreakSequenceAndEmptyValues)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("Kelvork.chs"),
              "[Resource]\n"
              "Two=first\\r\\nsecond\n"
              "Leading=\\r\\nsecond\n"
              "Inner=a\\r\\n\\r\\nb\\r\\n\n"
              "OnlyBreak=\\r\\n\n"
              "Empty=\n"
              "Plain=a\\rb\\n%d\n");
    texts::configure(dir.path(), 1);
    const struct { const char* key; const char* expected; } cases[] = {
        {"Two", "first\nsecond"},
        {"Leading", "second"},          // only the leading break is dropped
        {"Inner", "a\n\nb\n"},          // later empty pieces stay
        {"OnlyBreak", "dflt"},          // nothing left: the default
        {"Empty", "dflt"},              // present but empty: the default
        {"Missing", "dflt"},
        {"Plain", "a\\rb\\n%d"},        // half sequences are not escapes
    };
    for (const auto& c : cases)
        EXPECT_EQ(texts::resource(c.key, "dflt"), QString::fromUtf8(c.expected)) << c.key;
    // A built-in default written with the sequence reaches the screen with a line break too.
    EXPECT_EQ(texts::resource("Empty", "one\\r\\ntwo"), "one\ntwo");
    EXPECT_EQ(texts::resource("Missing", "\\r\\none\r\ntwo"), "one\ntwo");
    EXPECT_EQ(texts::resource("Missing", ""), "");
}

TEST(TextLookup, DeletedOrChangedFileIsSeenAtOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Kelvork.en");
    writeFile(path, "[FrmLogin]\nSP_OK.Caption=&OK\n");
    texts::configure(dir.path(), 2);
    EXPECT_EQ(texts::lookup("FrmLogin", "SP_OK.Caption", "确定(&O)"), "&OK");
    writeFile(path, "[FrmLogin]\nSP_OK.Caption=&Log in now\n");
    EXPECT_EQ(texts::lookup("FrmLogin", "SP_OK.Caption", "确定(&O)"), "&Log in now");
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(texts::lookup("FrmLogin", "SP_OK.Caption", "确定(&O)"), "确定(&O)");
}

TEST(TextLookup, FontFromLanguageOptionsFallsBackToAnInstalledChineseFamily)
{
    QTemporaryDir dir;
    texts::configure(dir.path(), 1);  // no file: 宋体, 9, 1
    EXPECT_EQ(kelvork::fontSet().name, "宋体");
    EXPECT_EQ(kelvork::fontSet().size, 9);
    EXPECT_EQ(kelvork::fontSet().charSet, 1);
    const QFont font = texts::screenFont();
    EXPECT_EQ(font.pointSize(), 9);
    ASSERT_TRUE(QFontDatabase::families().contains(font.family())) << font.family().toStdString();
    const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese);
    for (const QChar ch : QStringLiteral("员工维护考勤統計"))
        EXPECT_TRUE(raw.supportsCharacter(ch)) << "no glyph in " << font.family().toStdString();

    writeFile(dir.filePath("Kelvork.en"),
              "[LanguageOptions]\nFontName=dejavu sans\nFontSize=10\nFontCharSet=0\n");
    texts::configure(dir.path(), 2);
    EXPECT_EQ(kelvork::fontSet().charSet, 0);
    EXPECT_EQ(texts::screenFont().family(), "DejaVu Sans");
    EXPECT_EQ(texts::screenFont().pointSize(), 10);

    writeFile(dir.filePath("Kelvork.cht"), "[LanguageOptions]\nFontName=細明體\nFontSize=x\n");
    texts::configure(dir.path(), 3);
    EXPECT_EQ(kelvork::fontSet().size, 9);  // unreadable size: the default
    EXPECT_EQ(texts::resolveFontFamily("細明體", 3), "Noto Sans CJK TC");
}
