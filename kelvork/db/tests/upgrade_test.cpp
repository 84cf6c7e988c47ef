// The start-up upgrade on databases of the old layout and of the current one, and the renaming
// of old item names.
#include "database.h"
#include "schema.h"
#include "schema_upgrade.h"
#include "test_database.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace kelvork;
using kelvork::testdb::TestDatabase;

namespace {

// Table -> its column names in lower case, as the engine reports them.
QMap<QString, QSet<QString>> columnsOf(Database& db)
{
    QMap<QString, QSet<QString>> result;
    for (const QString& table : schemaTableNames()) {
        Query q = db.query("select * from " + table + " where 1=0");
        QSet<QString> names;
        for (int i = 0; i < q.columnCount(); ++i) names.insert(q.columnName(i).toLower());
        result.insert(table, names);
    }
    return result;
}

// The whole definition of the database as text: tables, columns with types and defaults, keys.
QString layoutOf(Database& db)
{
    QStringList lines;
    if (db.engine() == Engine::SQLite) {
        Query q = db.query("select type, name, sql from sqlite_master where name not like 'sqlite_%' order by type, name");
        while (q.next()) lines << q.text("type") + ' ' + q.text("name") + ": " + q.text("sql");
    } else {
        Query q = db.query("select table_name, column_name, data_type, column_default, is_nullable, is_identity "
                           "from information_schema.columns where table_schema='public' order by table_name, ordinal_position");
        while (q.next()) {
            QStringList parts;
            for (int i = 0; i < q.columnCount(); ++i) parts << q.value(i).toString();
            lines << parts.join(' ');
        }
        Query k = db.query("select tc.table_name, tc.constraint_type, kcu.column_name from information_schema.table_constraints tc "
                           "join information_schema.key_column_usage kcu on tc.constraint_name=kcu.constraint_name "
                           "where tc.table_schema='public' order by 1, 2, 3");
        while (k.next()) lines << k.text("table_name") + ' ' + k.text("constraint_type") + ' ' + k.text("column_name");
        Query v = db.query("select table_name, view_definition from information_schema.views where table_schema='public'");
        while (v.next()) lines << v.text("table_name") + ' ' + v.text("view_definition");
    }
    return lines.join('\n');
}

} // namespace

class Upgrade : public ::testing::TestWithParam<Engine> {};

TEST_P(Upgrade, OldLayoutGainsEveryColumnAndKeepsItsRows)
{
    TestDatabase old(GetParam(), SchemaLayout::Old);
    if (!old.available()) GTEST_SKIP() << old.skipReason().toStdString();
    ASSERT_TRUE(old.ok()) << old.error().toStdString();
    Database& db = old.db();
    EXPECT_FALSE(db.query("select AutoClass from Schedule").ok());
    for (const char* sql : {
             "insert into Schedule (Schname, Cycles, Units) values ('Week', 1, 1)",
             "insert into TimeTable (Timename, Intime, Outtime) values ('Day', '1899-12-30 08:00:00', '1899-12-30 17:00:00')",
             "insert into SchTime (Schid, BeginDay, Timeid) values (1, 0, 1)",
             "insert into OPinfo (Name, Pwd, Authority) values ('Admin', '', 'YYYY')",
             "insert into Checkinout (Userid, Checktime, Checktype) values ('12', '2004-01-31 08:00:00', 'I')",
             "insert into UserLeave (Userid, BeginTime, EndTime, LeaveClassid, Whys) values ('12', '2004-01-05 08:00:00', '2004-01-05 17:00:00', 1, 'a')",
             "insert into UserLeave (Userid, BeginTime, EndTime, LeaveClassid, Whys) values ('13', '2004-01-05 08:00:00', '2004-01-05 17:00:00', 0, 'b')",
             "insert into LeaveClass (Classname) values ('Sick')",
             "insert into BasePara (Company) values ('HQ')"})
        ASSERT_TRUE(db.exec(sql).ok()) << sql;

    upgradeSchema(db);

    TestDatabase fresh(GetParam());
    ASSERT_TRUE(fresh.ok());
    EXPECT_EQ(columnsOf(db), columnsOf(fresh.db()));
    // Old rows read the defaults of the new columns.
    EXPECT_EQ(db.scalar("select Deptpower from OPinfo").toString(), "");
    EXPECT_EQ(db.scalar("select Checked from Checkinout"), QVariant(0));
    EXPECT_EQ(db.scalar("select AutoClass from Schedule"), QVariant(0));
    EXPECT_DOUBLE_EQ(db.scalar("select HOvertime from BasePara").toDouble(), 1.0);
    EXPECT_EQ(db.scalar("select OvertimeIn from BasePara").toInt(), 0);
    // The leaves are numbered in their old order and new ones are numbered on.
    EXPECT_EQ(db.scalar("select Whys from UserLeave where Lsh=1").toString(), "a");
    EXPECT_EQ(db.scalar("select Whys from UserLeave where Lsh=2").toString(), "b");
    ASSERT_TRUE(db.exec("insert into UserLeave (Userid, BeginTime, EndTime) values ('14', '2004-01-05 08:00:00', '2004-01-05 17:00:00')").ok());
    EXPECT_EQ(db.lastInsertId(), 3);
    // The view exists at once, with the columns the upgrade added.
    Query v = db.query("Select * from V_Class where Schid=:Schid", {{"Schid", 1}});
    ASSERT_TRUE(v.ok()) << v.error().toStdString();
    ASSERT_TRUE(v.next());
    EXPECT_EQ(v.text("Timename"), "Day");
    EXPECT_EQ(v.value("IsFreetime"), QVariant(0));
}

TEST_P(Upgrade, CurrentLayoutIsLeftAsItIs)
{
    TestDatabase current(GetParam());
    if (!current.available()) GTEST_SKIP() << current.skipReason().toStdString();
    ASSERT_TRUE(current.ok()) << current.error().toStdString();
    Database& db = current.db();
    ASSERT_TRUE(db.exec("insert into UserLeave (Userid, BeginTime, EndTime) values ('1', '2004-01-05 08:00:00', '2004-01-05 17:00:00')").ok());
    const QString before = layoutOf(db);
    upgradeSchema(db);
    upgradeSchema(db);
    EXPECT_EQ(layoutOf(db).toStdString(), before.toStdString());
    EXPECT_EQ(db.scalar("select Lsh from UserLeave").toInt(), 1);
}

TEST_P(Upgrade, ADamagedLayoutNeverStopsTheUpgrade)
{
    TestDatabase old(GetParam(), SchemaLayout::Old);
    if (!old.available()) GTEST_SKIP() << old.skipReason().toStdString();
    ASSERT_TRUE(old.ok());
    Database& db = old.db();
    ASSERT_TRUE(db.exec("drop table Schedule").ok());
    upgradeSchema(db);   // the view cannot be built; the other steps still run
    EXPECT_TRUE(db.query("select Checked from Checkinout").ok());
    EXPECT_TRUE(db.query("select Showas from LeaveClass").ok());
    EXPECT_FALSE(db.query("select * from V_Class").ok());
}

TEST_P(Upgrade, OldItemAndListNamesAreRenamed)
{
    TestDatabase tdb(GetParam());
    if (!tdb.available()) GTEST_SKIP() << tdb.skipReason().toStdString();
    ASSERT_TRUE(tdb.ok());
    Database& db = tdb.db();
    const char* items[] = {"正常", "迟到", "早退", "公出", "请假", "旷工", "外出", "加班", "自由加班", "Late"};
    for (const char* item : items)
        ASSERT_TRUE(db.exec("insert into Statitems (Itemname) values (:I)", {{"I", QString::fromUtf8(item)}}).ok());
    for (const char* field : {"职务", "学历", "专业", "民族", "政治面貌"})
        ASSERT_TRUE(db.exec("insert into DefineField (Fieldname, FieldValue) values (:F, 'v')", {{"F", QString::fromUtf8(field)}}).ok());
    ASSERT_TRUE(renameOldNames(db).ok());
    QStringList names;
    for (Query q = db.query("select Itemname from Statitems order by Itemname"); q.next();) names << q.text("Itemname");
    EXPECT_EQ(names.join(' ').toStdString(), "Absent BLeave Early FreeOT Late Late Leave Normal Out Overtime");
    names.clear();
    for (Query q = db.query("select Fieldname from DefineField order by Fieldid"); q.next();) names << q.text("Fieldname");
    EXPECT_EQ(names.join(' '), QString::fromUtf8("Field1 Field2 Field3 Field4 政治面貌"));

    ASSERT_TRUE(db.exec("drop table Statitems").ok());
    EXPECT_FALSE(renameOldNames(db).ok());
}

INSTANTIATE_TEST_SUITE_P(Engines, Upgrade, ::testing::ValuesIn(kelvork::testdb::allEngines()), kelvork::testdb::engineName);

TEST(UpgradeSqlite, RepeatedOldLeavesAreKeptWhenTheCounterIsAdded)
{
    TestDatabase old(Engine::SQLite, SchemaLayout::Old);
    ASSERT_TRUE(old.ok());
    Database& db = old.db();
    // The old layout has no unique rule for leaves: a file may hold the same leave twice.
    for (const char* why : {"first", "second"})
        ASSERT_TRUE(db.exec("insert into UserLeave (Userid, BeginTime, EndTime, Whys) values ('1', '2004-01-05 08:00:00', "
                            "'2004-01-05 17:00:00', :W)", {{"W", why}}).ok());
    upgradeSchema(db);
    EXPECT_EQ(db.scalar("select count(Lsh) from UserLeave").toInt(), 2);
    EXPECT_EQ(db.scalar("select Whys from UserLeave where Lsh=2").toString(), "second");
}
