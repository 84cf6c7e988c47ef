#include "schema.h"

#include "dialect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <QAtomicInt>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace kelvork {

namespace {

using T = ColumnType;

// A default as SQL text per engine; nullptr means none.
struct Default {
    const char* sqlite = nullptr;
    const char* postgres = nullptr;
};

const Default kNone{};
const Default kZero{"0", "0"};
const Default kOne{"1", "1"};
const Default kNo{"0", "false"};
const Default kYes{"1", "true"};
const Default kEmpty{"''", "''"};
// The moment of the insert, in the stored text form on SQLite.
const Default kNow{"(strftime('%Y-%m-%d %H:%M:%S','now','localtime'))", "LOCALTIMESTAMP(0)"};

struct ColumnDef {
    const char* name;
    ColumnType type;
    int width = 0;
    Default byDefault = kNone;
    bool addedByUpgrade = false;   // missing from the old layout
};

struct TableDef {
    const char* name;
    std::vector<ColumnDef> columns;
    const char* primaryKey = nullptr;          // a key of several columns
    std::vector<const char*> uniqueRules = {}; // column lists
};

const std::vector<TableDef>& tables()
{
    static const std::vector<TableDef> defs = {
        {"Dept", {
            {"Deptid", T::Counter},
            {"Deptname", T::Text, 50},
            {"SupDeptid", T::Integer, 0, kZero},
        }, nullptr, {"Deptname"}},
        {"Userinfo", {
            {"Userid", T::Text, 20},
            {"Name", T::Text, 30},
            {"Sex", T::Text, 10},
            {"Pwd", T::Text, 50},
            {"Deptid", T::Integer},
            {"Nation", T::Text, 50},
            {"Brithday", T::DateTime},
            {"EmployDate", T::DateTime},
            {"Telephone", T::Text, 50},
            {"Duty", T::Text, 50},
            {"NativePlace", T::Text, 50},
            {"IDCard", T::Text, 50},
            {"Address", T::Text, 150},
            {"Mobile", T::Text, 50},
            {"Educated", T::Text, 50},
            {"Polity", T::Text, 50},
            {"Specialty", T::Text, 50},
            {"IsAtt", T::YesNo, 0, kYes},
            {"Isovertime", T::YesNo, 0, kNo},
            {"Isrest", T::YesNo, 0, kNo},
            {"Remark", T::Text, 250},
            {"MgFlag", T::SmallInt, 0, kOne},
            {"Cardnum", T::Text, 20},
            {"Groupid", T::Integer, 0, kZero},
            {"UserFlag", T::Integer},
        }, "Userid"},
        {"OPinfo", {
            {"Opid", T::Counter},
            {"Name", T::Text, 50},
            {"Pwd", T::Text, 50},
            {"Authority", T::Text, 32},
            {"Deptpower", T::Memo, 0, kEmpty, true},
        }},
        {"OPLog", {
            {"Logid", T::Counter},
            {"OPid", T::Integer},
            {"Optime", T::DateTime, 0, kNow},
            {"OPlog", T::Text, 250},
        }},
        {"Checkinout", {
            {"Userid", T::Text, 20},
            {"Checktime", T::DateTime},
            {"Checktype", T::Text, 1},
            {"Sensorid", T::Text, 5},
            {"Checked", T::YesNo, 0, kNo, true},
            {"WorkType", T::Integer, 0, kZero},
        }, "Userid, Checktime"},
        {"CheckLog", {
            {"Logid", T::Counter},
            {"Userid", T::Text, 20},
            {"Checktime", T::DateTime},
            {"Checktype", T::Text, 1},
            {"Sensorid", T::Text, 5},
            {"OPFlag", T::SmallInt},
            {"Whys", T::Text, 250},
            {"OPname", T::Text, 50},
            {"DTime", T::DateTime, 0, kNow},
        }},
        {"TimeTable", {
            {"Timeid", T::Counter},
            {"Timename", T::Text, 50},
            {"Intime", T::DateTime},
            {"Outtime", T::DateTime},
            {"BIntime", T::DateTime},
            {"EIntime", T::DateTime},
            {"BOuttime", T::DateTime},
            {"EOuttime", T::DateTime},
            {"Latetime", T::Integer, 0, kZero},
            {"Leavetime", T::Integer, 0, kZero},
            {"WorkDays", T::Double, 0, kZero},
            {"Longtime", T::Integer, 0, kZero},
            {"MustIn", T::YesNo, 0, kNo},
            {"MustOut", T::YesNo, 0, kNo},
            {"IsFreetime", T::YesNo, 0, kNo, true},
            {"IsOvertime", T::YesNo, 0, kNo, true},
        }},
        {"Schedule", {
            {"Schid", T::Counter},
            {"Schname", T::Text, 50},
            {"Cycles", T::SmallInt, 0, kOne},
            {"Units", T::SmallInt, 0, kZero},
            {"AutoClass", T::YesNo, 0, kNo, true},
        }},
        {"SchTime", {
            {"Schid", T::Integer},
            {"BeginDay", T::SmallInt},
            {"Timeid", T::Integer},
        }},
        {"Usershift", {
            {"Userid", T::Text, 20},
            {"Schid", T::Integer},
            {"BeginDate", T::Text, 10},
            {"EndDate", T::Text, 10},
        }},
        {"UserTempshift", {
            {"Userid", T::Text, 20},
            {"Timeid", T::Integer},
            {"Workdate", T::Text, 10},
            {"Isovertime", T::YesNo, 0, kNo},
        }},
        {"Holiday", {
            {"Holidayid", T::Counter},
            {"Name", T::Text, 50},
            {"BDate", T::DateTime},
            {"Days", T::Integer, 0, kOne},
        }},
        {"UserLeave", {
            {"Lsh", T::Counter, 0, kNone, true},
            {"Userid", T::Text, 20},
            {"BeginTime", T::DateTime},
            {"EndTime", T::DateTime},
            {"LeaveClassid", T::Integer, 0, kZero},
            {"Whys", T::Text, 250},
        }, nullptr, {"Userid, BeginTime, EndTime"}},
        {"LeaveClass", {
            {"Classid", T::Counter},
            {"Classname", T::Text, 50},
            {"ViewColor", T::Integer, 0, kZero},
            {"Showas", T::Text, 2, kNone, true},
        }},
        {"BasePara", {
            {"Company", T::Text, 50},
            {"Twoday", T::Integer, 0, kZero},
            {"Noclockin", T::YesNo, 0, kNo},
            {"Noclockout", T::YesNo, 0, kNo},
            {"Isovertime", T::YesNo, 0, kNo},
            {"Latetime", T::Integer, 0, kZero},
            {"Leavetime", T::Integer, 0, kZero},
            {"Overtime", T::Integer, 0, kZero},
            {"Workdaylong", T::Integer, 0, {"480", "480"}},
            {"WOvertime", T::Numeric181, 0, kOne, true},
            {"HOvertime", T::Numeric181, 0, kOne, true},
            {"FOvertime", T::Numeric181, 0, kOne, true},
            {"OvertimeIn", T::Integer, 0, kZero, true},
            {"IsovertimeIn", T::YesNo, 0, kNo, true},
            {"DeductIn", T::YesNo, 0, kNo, true},
            {"DeductOut", T::YesNo, 0, kNo, true},
        }},
        {"Statitems", {
            {"Itemname", T::Text, 50},
            {"Units", T::Integer, 0, kZero},
            {"MinUnit", T::Double, 0, kOne},
            {"SRControl", T::Integer, 0, {"2", "2"}},
            {"Isaddup", T::YesNo, 0, kNo},
            {"Istimes", T::YesNo, 0, kNo},
        }},
        {"DefineField", {
            {"Fieldid", T::Counter},
            {"Fieldname", T::Text, 50},
            {"FieldValue", T::Text, 50},
        }},
        {"AddTimeSet", {
            {"Userid", T::Integer},
            {"date", T::Text, 10},
            {"TimeID", T::Integer},
            {"AddTime", T::Text, 20},
        }},
        {"OutProg", {
            {"Progid", T::Counter},
            {"ProgName", T::Text, 50},
            {"ProgPath", T::Text, 250},
        }},
    };
    return defs;
}

QString createTableSql(const TableDef& table, SchemaLayout layout, Engine engine, const QString& asName = {},
                       bool withUniqueRules = true)
{
    QStringList parts;
    for (const ColumnDef& c : table.columns) {
        if (layout == SchemaLayout::Old && c.addedByUpgrade) continue;
        QString line = engine == Engine::PostgreSQL ? QString::fromLatin1(c.name).toLower() : QString::fromLatin1(c.name);
        if (engine == Engine::PostgreSQL && line == "date") line = "\"date\"";
        line += ' ' + columnTypeSql(c.type, c.width, engine);
        if (c.type == T::Text && c.name == QLatin1String("Userid") && table.primaryKey
            && QString::fromLatin1(table.primaryKey).startsWith("Userid"))
            line += " NOT NULL";
        const char* def = engine == Engine::PostgreSQL ? c.byDefault.postgres : c.byDefault.sqlite;
        if (def) line += QStringLiteral(" DEFAULT ") + QString::fromLatin1(def);
        parts << line;
    }
    if (table.primaryKey) parts << QStringLiteral("PRIMARY KEY (%1)").arg(QString::fromLatin1(table.primaryKey));
    // Old files held repeated leaves: their rule came with the leave counter.
    const bool oldLeaves = layout == SchemaLayout::Old && table.name == QLatin1String("UserLeave");
    if (!oldLeaves && withUniqueRules)
        for (const char* rule : table.uniqueRules) parts << QStringLiteral("UNIQUE (%1)").arg(QString::fromLatin1(rule));
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n)").arg(asName.isEmpty() ? QString::fromLatin1(table.name) : asName,
                                                          parts.join(",\n  "));
}

QHash<QString, const ColumnDef*> columnsByLowerName()
{
    QHash<QString, const ColumnDef*> map;
    for (const TableDef& t : tables())
        for (const ColumnDef& c : t.columns) map.insert(QString::fromLatin1(c.name).toLower(), &c);
    return map;
}

const QHash<QString, const ColumnDef*>& columnIndex()
{
    static const QHash<QString, const ColumnDef*> map = columnsByLowerName();
    return map;
}

const QHash<QString, QString>& canonicalNames()
{
    static const QHash<QString, QString> map = [] {
        QHash<QString, QString> m;
        // Columns first, tables after (a table name wins where both exist).
        for (const TableDef& t : tables())
            for (const ColumnDef& c : t.columns) {
                const QString name = QString::fromLatin1(c.name);
                if (!m.contains(name.toLower())) m.insert(name.toLower(), name);
            }
        for (const TableDef& t : tables()) m.insert(QString::fromLatin1(t.name).toLower(), QString::fromLatin1(t.name));
        m.insert("v_class", "V_Class");
        // The calculated columns of the datasets.
        for (const char* extra : {"DeptName", "Userid_int", "Username", "Typename", "Unitsname", "LeaveType",
                                  "Timename", "UserClass", "Classname", "Edittype", "OPname", "DIFF"})
            if (!m.contains(QString::fromLatin1(extra).toLower()))
                m.insert(QString::fromLatin1(extra).toLower(), QString::fromLatin1(extra));
        return m;
    }();
    return map;
}

} // namespace

QString createViewClassSql(Engine engine)
{
    Q_UNUSED(engine);   // the same text on both engines
    return QStringLiteral(
        "CREATE VIEW V_Class AS "
        "SELECT Schedule.Schid, Schedule.Schname, Schedule.Cycles, Schedule.Units, Schedule.AutoClass, "
        "SchTime.BeginDay, SchTime.Timeid, TimeTable.Timename, TimeTable.Intime, "
        "TimeTable.Outtime, TimeTable.BIntime, TimeTable.EIntime, TimeTable.BOuttime, TimeTable.EOuttime, "
        "TimeTable.Latetime, TimeTable.Leavetime, TimeTable.WorkDays, "
        "TimeTable.Longtime, TimeTable.MustIn, TimeTable.MustOut, TimeTable.IsFreetime, TimeTable.IsOvertime\n"
        "FROM (Schedule INNER JOIN SchTime ON Schedule.Schid = SchTime.Schid) "
        "INNER JOIN TimeTable ON SchTime.Timeid = TimeTable.Timeid");
}

DbStatus createSchema(Database& db, SchemaLayout layout)
{
    Transaction tx(db);
    if (!tx.ok()) return tx.commit();
    for (const TableDef& t : tables()) {
        DbStatus st = db.exec(createTableSql(t, layout, db.engine()));
        if (!st.ok()) return DbStatus::failure(QStringLiteral("Creating table %1: %2").arg(QString::fromLatin1(t.name), st.message()));
    }
    if (layout == SchemaLayout::Current) {
        DbStatus st = db.exec(createViewClassSql(db.engine()));
        if (!st.ok()) return DbStatus::failure(QStringLiteral("Creating view V_Class: %1").arg(st.message()));
    }
    return tx.commit();
}

namespace {

// Builds a fresh schema file under a name of its own, then moves it to `path`: replacing what is
// there, or (when `replace` is false) only if nothing is there yet.
DbStatus writeFreshDatabase(const QString& path, bool replace)
{
    static QAtomicInt counter;
    const QFileInfo target(path);
    if (!target.absoluteDir().exists())
        return DbStatus::failure(QStringLiteral("The folder of %1 does not exist.").arg(path));
    const QString temp = QStringLiteral("%1.new-%2-%3").arg(target.absoluteFilePath()).arg(::getpid()).arg(counter.fetchAndAddRelaxed(1));
    auto removeTemp = [&temp] {
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) QFile::remove(temp + QLatin1String(suffix));
    };
    removeTemp();
    DbStatus st;
    {
        Database db;
        st = db.openFileAsIs(temp);
        if (st.ok()) st = createSchema(db);
        db.close();
    }
    if (!st.ok()) {
        removeTemp();
        return st;
    }
    const QByteArray from = QFile::encodeName(temp);
    const QByteArray to = QFile::encodeName(target.absoluteFilePath());
    int rc = 0;
    if (replace) {
        rc = ::rename(from.constData(), to.constData());
    } else {
        // link() never replaces: a file another program made meanwhile stays as it is.
        rc = ::link(from.constData(), to.constData());
        if (rc != 0 && errno == EEXIST) rc = 0;
    }
    const int saved = errno;
    removeTemp();
    if (rc != 0)
        return DbStatus::failure(QStringLiteral("Cannot write %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(saved))));
    return DbStatus::success();
}

} // namespace

DbStatus writePristineDatabase(const QString& path) { return writeFreshDatabase(path, true); }

DbStatus createDatabaseFileIfMissing(const QString& path) { return writeFreshDatabase(path, false); }

QString createTableStatement(const QString& table, Engine engine, const QString& asName, bool withUniqueRules)
{
    for (const TableDef& t : tables())
        if (table.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            return createTableSql(t, SchemaLayout::Current, engine, asName, withUniqueRules);
    return {};
}

QStringList schemaTableNames()
{
    QStringList names;
    for (const TableDef& t : tables()) names << QString::fromLatin1(t.name);
    return names;
}

QString canonicalName(const QString& name)
{
    return canonicalNames().value(name.toLower(), name);
}

QString canonicalColumnName(const QString& name, const QString& sql)
{
    if (name != name.toLower()) return name;
    static const QRegularExpression tableWord(QStringLiteral(R"(\b(?:from|join)\s+\(*\s*(\w+))"),
                                              QRegularExpression::CaseInsensitiveOption);
    for (auto it = tableWord.globalMatch(sql); it.hasNext();) {
        const QString table = it.next().captured(1);
        for (const TableDef& t : tables()) {
            if (table.compare(QLatin1String(t.name), Qt::CaseInsensitive) != 0) continue;
            for (const ColumnDef& c : t.columns)
                if (name.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) return QString::fromLatin1(c.name);
        }
        if (table.compare(QLatin1String("V_Class"), Qt::CaseInsensitive) == 0) {
            for (const char* c : {"IsOvertime", "IsFreetime", "Intime", "Outtime"})
                if (name.compare(QLatin1String(c), Qt::CaseInsensitive) == 0) return QString::fromLatin1(c);
        }
    }
    return canonicalName(name);
}

bool isDateTimeColumn(const QString& column)
{
    const ColumnDef* c = columnIndex().value(column.toLower());
    return c && c->type == T::DateTime;
}

bool isYesNoColumn(const QString& column)
{
    const ColumnDef* c = columnIndex().value(column.toLower());
    return c && c->type == T::YesNo;
}

} // namespace kelvork
