#pragma once
// The program folder and the configuration file Pendrix.dat: what the program reads once at start
// (section SYSCONTROL, and the remembered selection of section OPTIONS) and the two writers of the
// file (the connection dialog writes DBConnection, the shutdown writes OPTIONS).

#include <QDate>
#include <QString>
#include <QStringList>

namespace kelvork::config {

// Dates and times of the program: every text date is "yyyy-MM-dd", every time "HH:mm:ss".
inline constexpr const char* kDateFormat = "yyyy-MM-dd";
inline constexpr const char* kTimeFormat = "HH:mm:ss";
inline constexpr const char* kDateTimeFormat = "yyyy-MM-dd HH:mm:ss";

// The program folder, always absolute and with a trailing '/': the folder given by `--home DIR`
// (or `--home=DIR`) in `arguments`, else the environment value `envHome` (KELVORK_HOME), else
// `executableFolder`. Pure: creates nothing.
QString resolveProgramFolder(const QStringList& arguments, const QString& envHome,
                             const QString& executableFolder);

// The program folder of this run, set once at start by setProgramFolder (empty before that).
const QString& programFolder();
void setProgramFolder(const QString& folder);

QString configFilePath(const QString& programFolder);   // programFolder + "Pendrix.dat"

// "Provider=SQLite;Data Source=" + programFolder + "Rud2003.db": the connection of a missing or
// empty DBConnection.
QString defaultConnectionString(const QString& programFolder);

// Section SYSCONTROL, every value with its default when the file or key is missing, empty or not a
// number. Language is held as 1, 2 or 3 (any other value counts as 1).
struct SysConfig {
    QString loginType = QStringLiteral("1");  // "1": pick the operator, all rights
    int userMachine = 0;                       // 0: the employee screen hides terminal user fields
    int language = 1;                          // 1 Simplified Chinese, 2 English, 3 Traditional Chinese
    int classShiftType = 1;                    // default 0 when Language is 2
    QString dbConnection;                      // never empty after reading
    int viewMenuConnDev = 1;                   // 1: the terminal-program menu item is visible
};
SysConfig readSysConfig(const QString& programFolder);

// Writes SYSCONTROL/DBConnection (the connection dialog). Other lines of the file stay as they are.
bool writeDbConnection(const QString& programFolder, const QString& connection, QString* error = nullptr);

// The program-wide selection record: what the department and period pickers last chose. Read from
// section OPTIONS at start; written back only by the normal shutdown.
struct TSelinfo {
    QString dept;          // Deptname of the department last chosen in a picker
    int userIndex = 0;     // index of the entry last chosen in the employee pick lists
    QDate fromDate;        // start of the last chosen period (today when missing)
    QDate endDate;         // end of the last chosen period (today when missing)
};
TSelinfo readSelinfo(const QString& programFolder, const QDate& today = QDate::currentDate());
bool writeSelinfo(const QString& programFolder, const TSelinfo& selinfo, QString* error = nullptr);

// The record every screen of this run consults and updates.
TSelinfo& selinfo();

} // namespace kelvork::config

namespace kelvork {

// The interface font of the chosen language (section LanguageOptions of the language file).
// Every screen takes its font name and size from it when shown; the main window also the charset.
struct TFontSet {
    QString name = QStringLiteral("宋体");
    int size = 9;
    int charSet = 1;
};

// The font record of this run (filled by the main window at start).
TFontSet& fontSet();

} // namespace kelvork
