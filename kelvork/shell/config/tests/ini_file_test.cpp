#include "ini_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kelvork::IniFile;

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath("Pendrix.dat");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

} // namespace

TEST(IniFile, ReadsByWindowsProfileRules)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir,
        "\xEF\xBB\xBF; comment\r\n"
        "garbage before any section\r\n"
        "[SysControl]\r\n"
        "  language = 2  \r\n"
        "LANGUAGE=3\r\n"               // second spelling: first match wins
        "no equals sign here\r\n"
        "Empty=\r\n"
        "Quoted=\"a b\"\r\n"
        "Path=C:\\a\\n%d'x\r\n"        // no escape processing
        "[syscontrol]\r\n"
        "LoginType=7\r\n"              // second section of the same name is never read
        "[Options]\r\n"
        "Selected_User=4\r\n");
    const IniFile ini(path);
    EXPECT_TRUE(ini.exists());
    EXPECT_EQ(ini.value("SYSCONTROL", "Language"), "2");
    EXPECT_EQ(ini.value("SYSCONTROL", "Empty", "dflt"), "");
    EXPECT_EQ(ini.value("SYSCONTROL", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.value("SYSCONTROL", "Quoted"), "a b");
    EXPECT_EQ(ini.value("SYSCONTROL", "Path"), "C:\\a\\n%d'x");
    EXPECT_EQ(ini.value("SYSCONTROL", "LoginType", "1"), "1");
    EXPECT_EQ(ini.value("options", "selected_user"), "4");
    EXPECT_EQ(ini.keys("SYSCONTROL"), QStringList({"language", "Empty", "Quoted", "Path"}));
}

TEST(IniFile, MissingFileGivesDefaults)
{
    QTemporaryDir dir;
    const IniFile ini(dir.filePath("none.dat"));
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(ini.value("A", "B", "x"), "x");
}

TEST(IniFile, WritingKeepsOtherLinesAndReplacesFirstMatch)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir,
        "; keep me\r\n[SYSCONTROL]\r\nLanguage=2\r\n\r\n[OPTIONS]\r\nSelected_User=1\r\nodd line\r\n");
    IniFile ini(path);
    ini.setValue("options", "SELECTED_USER", "9");
    ini.setValue("OPTIONS", "Selected_Dept", "总公司");
    ini.setValue("SYSCONTROL", "DBConnection", "Provider=SQLite;Data Source=/x/Rud2003.db");
    ini.setValue("NEW", "K", "v");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(QString::fromUtf8(readFile(path)),
              "; keep me\r\n[SYSCONTROL]\r\nLanguage=2\r\nDBConnection=Provider=SQLite;Data Source=/x/Rud2003.db\r\n"
              "\r\n[OPTIONS]\r\nSELECTED_USER=9\r\nSelected_Dept=总公司\r\nodd line\r\n\r\n[NEW]\r\nK=v\r\n");
    EXPECT_EQ(IniFile::readString(path, "OPTIONS", "Selected_Dept"), "总公司");
}

TEST(IniFile, SaveIntoMissingFolderFailsAndSaysWhy)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(IniFile::writeString(dir.filePath("no/such/folder/P.dat"), "A", "B", "C", &error));
    EXPECT_FALSE(error.isEmpty());
}
