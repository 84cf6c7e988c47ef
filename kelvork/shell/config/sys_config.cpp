#include "sys_config.h"

#include "ini_file.h"

#include <QDir>
#include <QFileInfo>

namespace kelvork::config {
namespace {

const QString kSys = QStringLiteral("SYSCONTROL");
const QString kOptions = QStringLiteral("OPTIONS");

QString withTrailingSlash(QString folder)
{
    folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

// An integer value the way the program always read them: a missing, empty or non-numeric value
// gives the default.
int readInt(const IniFile& ini, const QString& section, const QString& key, int defaultValue)
{
    bool ok = false;
    const int v = ini.value(section, key).trimmed().toInt(&ok);
    return ok ? v : defaultValue;
}

QDate readDate(const IniFile& ini, const QString& key, const QDate& defaultValue)
{
    const QDate d = QDate::fromString(ini.value(kOptions, key).trimmed(), QString::fromLatin1(kDateFormat));
    return d.isValid() ? d : defaultValue;
}

QString g_programFolder;

} // namespace

QString resolveProgramFolder(const QStringList& arguments, const QString& envHome,
                             const QString& executableFolder)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--home") && i + 1 < arguments.size() && !arguments[i + 1].isEmpty())
            return withTrailingSlash(arguments[i + 1]);
        if (a.startsWith(QLatin1String("--home=")) && a.size() > 7)
            return withTrailingSlash(a.mid(7));
    }
    if (!envHome.isEmpty())
        return withTrailingSlash(envHome);
    return withTrailingSlash(executableFolder);
}

const QString& programFolder() { return g_programFolder; }

void setProgramFolder(const QString& folder)
{
    g_programFolder = folder.endsWith(u'/') ? folder : folder + u'/';
}

QString configFilePath(const QString& folder) { return folder + QStringLiteral("Pendrix.dat"); }

QString defaultConnectionString(const QString& folder)
{
    return QStringLiteral("Provider=SQLite;Data Source=") + folder + QStringLiteral("Rud2003.db");
}

SysConfig readSysConfig(const QString& folder)
{
    const IniFile ini(configFilePath(folder));
    SysConfig c;
    c.loginType = ini.value(kSys, QStringLiteral("LoginType"), QStringLiteral("1"));
    c.userMachine = readInt(ini, kSys, QStringLiteral("UserMachine"), 0);
    const int language = readInt(ini, kSys, QStringLiteral("Language"), 1);
    c.language = (language >= 1 && language <= 3) ? language : 1;
    c.classShiftType = readInt(ini, kSys, QStringLiteral("ClassShiftType"), c.language == 2 ? 0 : 1);
    c.dbConnection = ini.value(kSys, QStringLiteral("DBConnection")).trimmed();
    if (c.dbConnection.isEmpty())
        c.dbConnection = defaultConnectionString(folder);
    c.viewMenuConnDev = readInt(ini, kSys, QStringLiteral("ViewMenuConnDev"), 1);
    return c;
}

bool writeDbConnection(const QString& folder, const QString& connection, QString* error)
{
    return IniFile::writeString(configFilePath(folder), kSys, QStringLiteral("DBConnection"),
                                connection, error);
}

TSelinfo readSelinfo(const QString& folder, const QDate& today)
{
    const IniFile ini(configFilePath(folder));
    TSelinfo s;
    s.dept = ini.value(kOptions, QStringLiteral("Selected_Dept"));
    s.userIndex = readInt(ini, kOptions, QStringLiteral("Selected_User"), 0);
    s.fromDate = readDate(ini, QStringLiteral("Selected_FromDate"), today);
    s.endDate = readDate(ini, QStringLiteral("Selected_EndDate"), today);
    return s;
}

bool writeSelinfo(const QString& folder, const TSelinfo& s, QString* error)
{
    IniFile ini(configFilePath(folder));
    const QString fmt = QString::fromLatin1(kDateFormat);
    ini.setValue(kOptions, QStringLiteral("Selected_Dept"), s.dept);
    ini.setValue(kOptions, QStringLiteral("Selected_User"), QString::number(s.userIndex));
    ini.setValue(kOptions, QStringLiteral("Selected_FromDate"), s.fromDate.toString(fmt));
    ini.setValue(kOptions, QStringLiteral("Selected_EndDate"), s.endDate.toString(fmt));
    return ini.save(error);
}

TSelinfo& selinfo()
{
    static TSelinfo s;
    return s;
}

} // namespace kelvork::config

namespace kelvork {

TFontSet& fontSet()
{
    static TFontSet f;
    return f;
}

} // namespace kelvork
