// The parameter records as the calculation reads them from BasePara, Statitems and LeaveClass.
#include "parameter_loader.h"

#include <gtest/gtest.h>

#include "test_database.h"

namespace kelvork::loader {
namespace {

class ParameterLoaderTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        tdb_ = std::make_unique<testdb::TestDatabase>(GetParam());
        if (!tdb_->available()) GTEST_SKIP() << tdb_->skipReason().toStdString();
        ASSERT_TRUE(tdb_->ok()) << tdb_->error().toStdString();
    }
    void exec(const QString& sql)
    {
        const DbStatus st = tdb_->db().exec(sql);
        ASSERT_TRUE(st.ok()) << sql.toStdString() << ": " << st.message().toStdString();
    }
    engine::AttendanceParameters load(std::vector<engine::RunProblem>& problems)
    {
        engine::AttendanceParameters p;
        EXPECT_TRUE(LoadAttendanceParameters(tdb_->db(), p, problems).ok());
        return p;
    }
    std::unique_ptr<testdb::TestDatabase> tdb_;
};

TEST_P(ParameterLoaderTest, StoredValuesAsTheyStand)
{
    exec("insert into BasePara (Company, Twoday, Noclockin, Noclockout, Isovertime, Latetime, Leavetime, Overtime, "
         "Workdaylong, WOvertime, HOvertime, FOvertime, IsovertimeIn, OvertimeIn, DeductIn, DeductOut) values "
         "('ACME', 1, True, False, True, 30, 45, 60, 0, 1.5, 2, 3, True, 15, False, True)");
    // Old names are read as the new ones, letter case does not matter, the first row wins.
    exec("insert into Statitems (Itemname, Units, MinUnit, SRControl, Isaddup, Istimes) values ('迟到', 1, 0.5, 1, True, False)");
    exec("insert into Statitems (Itemname, Units, MinUnit, SRControl, Isaddup, Istimes) values ('EARLY', 2, 0.1, 0, False, True)");
    exec("insert into Statitems (Itemname, Units, MinUnit, SRControl, Isaddup, Istimes) values ('Early', 0, 9, 2, False, False)");
    exec("insert into Statitems (Itemname, Units, MinUnit, SRControl) values ('Absent', 7, 0, 5)");
    exec("insert into LeaveClass (Classid, Classname, ViewColor, Showas) values (5, 'Sick', 255, 'S')");
    exec("insert into LeaveClass (Classid, Classname, ViewColor, Showas) values (3, 'Annual', 16, 'A')");

    std::vector<engine::RunProblem> problems;
    const auto p = load(problems);
    EXPECT_TRUE(problems.empty());
    const engine::TBasePar& b = p.basePar;
    EXPECT_EQ(b.Company, "ACME");
    EXPECT_EQ(b.Twoday, 1);
    EXPECT_TRUE(b.Noclockin);
    EXPECT_FALSE(b.Noclockout);
    EXPECT_TRUE(b.Isovertime);
    EXPECT_EQ(b.Latetime, 30);
    EXPECT_EQ(b.Leavetime, 45);
    EXPECT_EQ(b.Overtime, 60);
    EXPECT_EQ(b.Workdaylong, 0);  // kept as stored: the core reports it
    EXPECT_DOUBLE_EQ(b.WOvertime, 1.5);
    EXPECT_DOUBLE_EQ(b.HOvertime, 2);
    EXPECT_DOUBLE_EQ(b.FOvertime, 3);
    EXPECT_TRUE(b.IsovertimeIn);
    EXPECT_EQ(b.OvertimeIn, 15);
    EXPECT_FALSE(b.DeductIn);
    EXPECT_TRUE(b.DeductOut);

    const auto& late = p.items[engine::ItemLate];
    EXPECT_EQ(late.Itemname, "Late");
    EXPECT_EQ(late.Units, 1);
    EXPECT_DOUBLE_EQ(late.MinUnit, 0.5);
    EXPECT_EQ(late.SRControl, 1);
    EXPECT_TRUE(late.Isaddup);
    const auto& early = p.items[engine::ItemEarly];
    EXPECT_EQ(early.Units, 2);
    EXPECT_TRUE(early.Istimes);
    const auto& absent = p.items[engine::ItemAbsent];
    EXPECT_EQ(absent.Units, 7);
    EXPECT_DOUBLE_EQ(absent.MinUnit, 0);
    EXPECT_EQ(absent.SRControl, 5);
    // No row: a new row's values.
    const auto& normal = p.items[engine::ItemNormal];
    EXPECT_EQ(normal.Itemname, "Normal");
    EXPECT_EQ(normal.Units, 0);
    EXPECT_DOUBLE_EQ(normal.MinUnit, 1);
    EXPECT_EQ(normal.SRControl, 2);

    ASSERT_EQ(p.leaveClasses.size(), 2u);
    EXPECT_EQ(p.leaveClasses[0].Classname, "Annual");  // Classid order
    EXPECT_EQ(p.leaveClasses[1].Classid, 5);
    EXPECT_EQ(p.leaveClasses[1].ViewColor, 255);
    EXPECT_EQ(p.leaveClasses[1].Showas, "S");
}

TEST_P(ParameterLoaderTest, WithoutRowsTheValuesOfNewRows)
{
    std::vector<engine::RunProblem> problems;
    const auto p = load(problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(p.basePar.Company, "总公司");
    EXPECT_EQ(p.basePar.Workdaylong, 480);
    EXPECT_EQ(p.basePar.Latetime, 0);
    EXPECT_EQ(p.basePar.Overtime, 0);
    EXPECT_DOUBLE_EQ(p.basePar.HOvertime, 1);
    EXPECT_FALSE(p.basePar.Noclockin);
    EXPECT_TRUE(p.leaveClasses.empty());
}

TEST_P(ParameterLoaderTest, UnreadableValuesAreReportedAndReplaced)
{
    if (GetParam() != Engine::SQLite) GTEST_SKIP() << "the server's column types refuse such values";
    exec("insert into BasePara (Company, Latetime, Workdaylong) values ('X', 'abc', 450)");
    exec("insert into Statitems (Itemname, Units, MinUnit) values ('Late', 1, 'half')");
    std::vector<engine::RunProblem> problems;
    const auto p = load(problems);
    EXPECT_EQ(p.basePar.Latetime, 0);
    EXPECT_EQ(p.basePar.Workdaylong, 450);
    EXPECT_EQ(p.items[engine::ItemLate].Units, 1);
    EXPECT_DOUBLE_EQ(p.items[engine::ItemLate].MinUnit, 1);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].table, "BasePara");
    EXPECT_EQ(problems[0].value, "Latetime=abc");
    EXPECT_EQ(problems[1].table, "Statitems");
    EXPECT_EQ(problems[1].value, "Itemname=Late MinUnit=half");
}

INSTANTIATE_TEST_SUITE_P(Engines, ParameterLoaderTest, ::testing::ValuesIn(testdb::allEngines()), testdb::engineName);

}  // namespace
}  // namespace kelvork::loader
