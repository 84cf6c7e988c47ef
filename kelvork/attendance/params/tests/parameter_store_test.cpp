#include "parameter_store.h"
#include "test_database.h"

#include <gtest/gtest.h>

using namespace kelvork;
using namespace kelvork::params;

namespace {

class ParameterStore : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (!tdb_.available()) GTEST_SKIP() << tdb_.skipReason().toStdString();
        ASSERT_TRUE(tdb_.ok()) << tdb_.error().toStdString();
    }
    Database& db() { return tdb_.db(); }
    void exec(const QString& sql, const Params& p = {}) { ASSERT_TRUE(db().exec(sql, p).ok()) << sql.toStdString(); }
    qlonglong count(const QString& sql, const Params& p = {}) { return db().scalar(sql, p).toLongLong(); }
    QStringList column(const QString& sql)
    {
        QStringList out;
        Query q = db().query(sql);
        while (q.next()) out << q.value(0).toString();
        return out;
    }

    testdb::TestDatabase tdb_{GetParam()};
};

TEST_P(ParameterStore, ADatabaseWithoutParametersGetsTheRowTheRootDepartmentAndTheItems)
{
    engine::AttendanceParameters p;
    ASSERT_TRUE(loadAtStart(db(), "总公司", p).ok());
    EXPECT_EQ(column("select Company from BasePara"), QStringList{"总公司"});
    EXPECT_EQ(column("select Deptname from Dept where SupDeptid = 0"), QStringList{"总公司"});
    EXPECT_EQ(p.basePar.Company, "总公司");
    EXPECT_EQ(p.basePar.Workdaylong, 480);
    EXPECT_EQ(count("select count(*) from Statitems"), 9);
    EXPECT_EQ(p.items[engine::ItemFreeOT].Itemname, "FreeOT");
    EXPECT_EQ(p.items[engine::ItemFreeOT].SRControl, 2);   // a fresh row's values

    // A second start adds nothing.
    ASSERT_TRUE(loadAtStart(db(), "总公司", p).ok());
    EXPECT_EQ(count("select count(*) from BasePara"), 1);
    EXPECT_EQ(count("select count(*) from Dept"), 1);
    EXPECT_EQ(count("select count(*) from Statitems"), 9);
}

TEST_P(ParameterStore, TheRootDepartmentIsAddedOnlyWithAMissingParameterRow)
{
    exec("insert into Dept (Deptname, SupDeptid) values ('Head', 0)");
    engine::AttendanceParameters p;
    ASSERT_TRUE(loadAtStart(db(), "总公司", p).ok());
    EXPECT_EQ(column("select Deptname from Dept"), QStringList{"Head"});

    exec("delete from Dept");
    ASSERT_TRUE(loadAtStart(db(), "总公司", p).ok());   // BasePara is there now
    EXPECT_EQ(count("select count(*) from Dept"), 0);
}

TEST_P(ParameterStore, OldNamesAreRenamedBeforeMissingItemsAreAdded)
{
    exec("insert into Statitems (Itemname, Units, MinUnit, SRControl) values ('迟到', 1, 0.5, 0)");
    exec("insert into Statitems (Itemname, Units) values ('自由加班', 2)");
    exec("insert into DefineField (Fieldname, FieldValue) values ('职务', '经理')");
    exec("insert into DefineField (Fieldname, FieldValue) values ('民族', '汉')");
    engine::AttendanceParameters p;
    ASSERT_TRUE(loadAtStart(db(), "总公司", p).ok());

    EXPECT_EQ(count("select count(*) from Statitems where Itemname='Late'"), 1);
    EXPECT_EQ(count("select count(*) from Statitems where Itemname='迟到'"), 0);
    EXPECT_EQ(count("select count(*) from Statitems"), 9);
    EXPECT_EQ(p.items[engine::ItemLate].Units, 1);
    EXPECT_DOUBLE_EQ(p.items[engine::ItemLate].MinUnit, 0.5);
    EXPECT_EQ(p.items[engine::ItemLate].SRControl, 0);
    EXPECT_EQ(p.items[engine::ItemFreeOT].Units, 2);
    EXPECT_EQ(column("select Fieldname from DefineField order by Fieldid"), QStringList({"Field1", "Field4"}));
    // A created item holds only its name: the columns' defaults.
    EXPECT_EQ(p.items[engine::ItemEarly].Units, 0);
    EXPECT_DOUBLE_EQ(p.items[engine::ItemEarly].MinUnit, 1);
}

TEST_P(ParameterStore, StoringTheParametersRenamesTheFirstDepartmentAndKeepsOneDecimalRates)
{
    exec("insert into Dept (Deptname, SupDeptid) values ('总公司', 0)");
    exec("insert into Dept (Deptname, SupDeptid) values ('生产部', 1)");
    engine::AttendanceParameters p;
    ASSERT_TRUE(loadAtStart(db(), "总公司", p).ok());

    p.basePar.Company = "Acme";
    p.basePar.WOvertime = 1.25;
    p.basePar.HOvertime = 2;
    p.basePar.Latetime = 35;
    p.basePar.DeductOut = true;
    ASSERT_TRUE(writeBaseParaAndCompany(db(), p.basePar).ok());
    EXPECT_EQ(column("select Deptname from Dept order by Deptid"), QStringList({"Acme", "生产部"}));
    engine::TBasePar stored;
    ASSERT_TRUE(readBasePara(db(), stored).ok());
    EXPECT_EQ(stored.Company, "Acme");
    EXPECT_DOUBLE_EQ(stored.WOvertime, 1.3);
    EXPECT_DOUBLE_EQ(stored.HOvertime, 2);
    EXPECT_EQ(stored.Latetime, 35);
    EXPECT_TRUE(stored.DeductOut);

    // A name another department has: refused, and nothing of the step is stored.
    p.basePar.Company = "生产部";
    p.basePar.Latetime = 50;
    EXPECT_FALSE(writeBaseParaAndCompany(db(), p.basePar).ok());
    ASSERT_TRUE(readBasePara(db(), stored).ok());
    EXPECT_EQ(stored.Company, "Acme");
    EXPECT_EQ(stored.Latetime, 35);

    // A row deleted meanwhile is added again rather than the values lost.
    exec("delete from BasePara");
    p.basePar.Company = "Acme";
    ASSERT_TRUE(writeBaseParaAndCompany(db(), p.basePar).ok());
    EXPECT_EQ(count("select count(*) from BasePara where Latetime = 50"), 1);
}

TEST_P(ParameterStore, LeaveClassesAndFieldValuesRoundTrip)
{
    engine::TLeaveClass c{0, "事假", 0x00FF8000, "事"};
    ASSERT_TRUE(addLeaveClass(db(), c).ok());
    EXPECT_GT(c.Classid, 0);
    c.Showas = "S";
    ASSERT_TRUE(updateLeaveClass(db(), c).ok());
    std::vector<engine::TLeaveClass> classes;
    ASSERT_TRUE(readLeaveClasses(db(), classes).ok());
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(classes[0].ViewColor, 0x00FF8000);
    EXPECT_EQ(classes[0].Showas, "S");
    ASSERT_TRUE(deleteLeaveClass(db(), c.Classid).ok());
    ASSERT_TRUE(readLeaveClasses(db(), classes).ok());
    EXPECT_TRUE(classes.empty());

    ASSERT_TRUE(addFieldValue(db(), "Field2", "本科").ok());
    ASSERT_TRUE(addFieldValue(db(), "Field2", "硕士").ok());
    ASSERT_TRUE(addFieldValue(db(), "Field3", "本科").ok());
    ASSERT_TRUE(deleteFieldValue(db(), "Field2", "本科").ok());
    QStringList values;
    ASSERT_TRUE(readFieldValues(db(), "Field2", values).ok());
    EXPECT_EQ(values, QStringList{"硕士"});
    ASSERT_TRUE(readFieldValues(db(), "Field3", values).ok());
    EXPECT_EQ(values, QStringList{"本科"});
}

INSTANTIATE_TEST_SUITE_P(Engines, ParameterStore, ::testing::ValuesIn(testdb::allEngines()), testdb::engineName);

TEST(LeaveClassName, MustDifferFromOtherClassesAndTheFixedStatisticFields)
{
    const std::vector<engine::TLeaveClass> classes{{1, "事假", 0, ""}, {2, "病假", 0, ""}};
    struct Case {
        int own;
        const char* name;
        LeaveNameProblem want;
    };
    const Case cases[] = {
        {0, "婚假", LeaveNameProblem::None},
        {0, "病假", LeaveNameProblem::SameAsClass},
        {1, " 病假 ", LeaveNameProblem::SameAsClass},
        {2, "病假", LeaveNameProblem::None},          // a class keeps its own name
        {0, "latetime", LeaveNameProblem::FixedField},
        {0, "Leave", LeaveNameProblem::FixedField},
        {0, "Attrate", LeaveNameProblem::FixedField},
        {0, "  ", LeaveNameProblem::Empty},
    };
    for (const Case& c : cases)
        EXPECT_EQ(checkLeaveClassName(classes, c.own, QString::fromUtf8(c.name)), c.want) << c.name;
}

} // namespace
