// Pendrix.dat: every default, the Language-dependent ClassShiftType, garbage lines, the program
// folder rule and the OPTIONS round trip.
#include "ini_file.h"
#include "sys_config.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kelvork::config;

namespace {

struct ConfigFolder {
    QTemporaryDir dir;
    QString folder() const { return dir.path() + u'/'; }
    void write(const QByteArray& text) const
    {
        QFile f(configFilePath(folder()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

} // namespace

TEST(SysConfig, MissingFileGivesEveryDefault)
{
    ConfigFolder c;
    const SysConfig s = readSysConfig(c.folder());
    EXPECT_EQ(s.loginType, "1");
    EXPECT_EQ(s.userMachine, 0);
    EXPECT_EQ(s.language, 1);
    EXPECT_EQ(s.classShiftType, 1);
    EXPECT_EQ(s.dbConnection, "Provider=SQLite;Data Source=" + c.folder() + "Rud2003.db");
    EXPECT_EQ(s.viewMenuConnDev, 1);
    EXPECT_FALSE(QFile::exists(configFilePath(c.folder()))) << "reading must not create the file";

    const TSelinfo sel = readSelinfo(c.folder(), QDate(2024, 3, 5));
    EXPECT_EQ(sel.dept, "");
    EXPECT_EQ(sel.userIndex, 0);
    EXPECT_EQ(sel.fromDate, QDate(2024, 3, 5));
    EXPECT_EQ(sel.endDate, QDate(2024, 3, 5));
}

TEST(SysConfig, ClassShiftTypeDefaultFollowsLanguage)
{
    struct Case { const char* file; int language; int classShiftType; };
    const Case cases[] = {
        {"[SYSCONTROL]\nLanguage=2\n", 2, 0},                       // English: no floating periods
        {"[SYSCONTROL]\nLanguage=1\n", 1, 1},
        {"[SYSCONTROL]\nLanguage=3\n", 3, 1},
        {"[SYSCONTROL]\nLanguage=5\n", 1, 1},                       // unknown counts as 1
        {"[SYSCONTROL]\nLanguage=2\nClassShiftType=1\n", 2, 1},     // an explicit value wins
        {"[sysControl]\nlanguage=2\nCLASSSHIFTTYPE=abc\n", 2, 0},   // names ignore case; junk -> default
    };
    for (const Case& k : cases) {
        ConfigFolder c;
        c.write(k.file);
        const SysConfig s = readSysConfig(c.folder());
        EXPECT_EQ(s.language, k.language) << k.file;
        EXPECT_EQ(s.classShiftType, k.classShiftType) << k.file;
    }
}

TEST(SysConfig, EmptyConnectionTakesTheDefaultAndGarbageIsIgnored)
{
    ConfigFolder c;
    c.write("this is not an ini line\n=no key\n[SYSCONTROL\n[SYSCONTROL]\n\x01\x02 junk\n"
            "DBConnection=\nUserMachine=1\nLoginType=2\nViewMenuConnDev=0\n"
            "LoginType=3\n[SYSCONTROL]\nUserMachine=7\n");
    const SysConfig s = readSysConfig(c.folder());
    EXPECT_EQ(s.dbConnection, defaultConnectionString(c.folder()));
    EXPECT_EQ(s.userMachine, 1) << "the first matching key wins";
    EXPECT_EQ(s.loginType, "2");
    EXPECT_EQ(s.viewMenuConnDev, 0);
}

TEST(SysConfig, SelectionRoundTripKeepsOtherLines)
{
    ConfigFolder c;
    c.write("; site notes\n[SYSCONTROL]\nDBConnection=Provider=PostgreSQL;Host=db1\nLanguage=2\n");
    TSelinfo sel;
    sel.dept = QStringLiteral("生产部 100% \"A\"\\B");
    sel.userIndex = 12;
    sel.fromDate = QDate(2024, 1, 31);
    sel.endDate = QDate(2024, 2, 29);
    ASSERT_TRUE(writeSelinfo(c.folder(), sel));

    const TSelinfo back = readSelinfo(c.folder(), QDate(2000, 1, 1));
    EXPECT_EQ(back.dept, sel.dept);
    EXPECT_EQ(back.userIndex, 12);
    EXPECT_EQ(back.fromDate, sel.fromDate);
    EXPECT_EQ(back.endDate, sel.endDate);
    const SysConfig s = readSysConfig(c.folder());
    EXPECT_EQ(s.dbConnection, "Provider=PostgreSQL;Host=db1");
    EXPECT_EQ(s.language, 2);
    EXPECT_EQ(kelvork::IniFile(configFilePath(c.folder())).value("OPTIONS", "Selected_FromDate"),
              "2024-01-31");

    ASSERT_TRUE(writeDbConnection(c.folder(), "Provider=SQLite;Data Source=/x/y.db"));
    EXPECT_EQ(readSysConfig(c.folder()).dbConnection, "Provider=SQLite;Data Source=/x/y.db");
    EXPECT_EQ(readSelinfo(c.folder()).userIndex, 12);
}

TEST(SysConfig, ProgramFolderRule)
{
    EXPECT_EQ(resolveProgramFolder({"kelvork", "--home", "/srv/att"}, "/env/home", "/opt/k"), "/srv/att/");
    EXPECT_EQ(resolveProgramFolder({"kelvork", "--home=/srv/att/"}, "/env/home", "/opt/k"), "/srv/att/");
    EXPECT_EQ(resolveProgramFolder({"kelvork"}, "/env/home", "/opt/k"), "/env/home/");
    EXPECT_EQ(resolveProgramFolder({"kelvork"}, "", "/opt/k"), "/opt/k/");
    EXPECT_EQ(resolveProgramFolder({"kelvork", "--home"}, "", "/opt/k"), "/opt/k/");
}
