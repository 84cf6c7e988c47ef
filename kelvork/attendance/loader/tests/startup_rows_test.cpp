// The rows a new database gets: parameters row, root department, items, Admin.
#include "startup_rows.h"

#include <gtest/gtest.h>

#include "test_database.h"

namespace kelvork::loader {
namespace {

class StartupRowsTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        tdb_ = std::make_unique<testdb::TestDatabase>(GetParam());
        if (!tdb_->available()) GTEST_SKIP() << tdb_->skipReason().toStdString();
        ASSERT_TRUE(tdb_->ok()) << tdb_->error().toStdString();
    }
    QStringList column(const QString& sql)
    {
        QStringList values;
        Query q = tdb_->db().query(sql);
        while (q.next()) values << q.value(0).toString();
        EXPECT_TRUE(q.ok()) << q.error().toStdString();
        return values;
    }
    std::unique_ptr<testdb::TestDatabase> tdb_;
};

TEST_P(StartupRowsTest, NewDatabaseGetsEachRowOnce)
{
    Database& db = tdb_->db();
    ASSERT_TRUE(EnsureStartupRows(db).ok());
    ASSERT_TRUE(EnsureStartupRows(db).ok());
    EXPECT_EQ(column("select Company from BasePara"), QStringList{"总公司"});
    EXPECT_EQ(column("select Deptname || '/' || SupDeptid from Dept"), QStringList{"总公司/0"});
    EXPECT_EQ(column("select Itemname from Statitems order by Itemname"),
              (QStringList{"Absent", "BLeave", "Early", "FreeOT", "Late", "Leave", "Normal", "Out", "Overtime"}));
    EXPECT_EQ(column("select MinUnit from Statitems where Itemname = 'Late'"), QStringList{"1"});
    const QString root = column("select Deptid from Dept").value(0);
    EXPECT_EQ(column("select Name || '|' || Pwd || '|' || Authority || '|' || Deptpower from OPinfo"),
              QStringList{"Admin||" + QString(32, 'Y') + "|A" + root + "Z"});
}

TEST_P(StartupRowsTest, ExistingRowsStayAndAdminGetsEveryRightAgain)
{
    Database& db = tdb_->db();
    ASSERT_TRUE(db.exec("insert into BasePara (Company) values ('ACME')").ok());
    ASSERT_TRUE(db.exec("insert into Dept (Deptid, Deptname, SupDeptid) values (7, 'Other', 3)").ok());
    ASSERT_TRUE(db.exec("insert into OPinfo (Name, Pwd, Authority, Deptpower) values ('clerk', '', 'NNN', '')").ok());
    ASSERT_TRUE(db.exec("insert into OPinfo (Name, Pwd, Authority, Deptpower) values ('admin', 'AB', 'NNN', '')").ok());
    ASSERT_TRUE(EnsureStartupRows(db).ok());
    EXPECT_EQ(column("select Company from BasePara"), QStringList{"ACME"});
    EXPECT_EQ(column("select Deptname from Dept"), QStringList{"Other"});  // BasePara was there: no root
    EXPECT_EQ(column("select Authority || Deptpower from OPinfo order by Opid"),
              (QStringList{"NNN", QString(32, 'Y') + "A7Z"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, StartupRowsTest, ::testing::ValuesIn(testdb::allEngines()), testdb::engineName);

}  // namespace
}  // namespace kelvork::loader
