// The bulk load of a run, on both engines: which rows reach the core, and which are reported.
#include "calc_loader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "test_database.h"

namespace kelvork::loader {
namespace {

using engine::DayNumber;
using engine::ParseDateText;

class CalcLoaderTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        tdb_ = std::make_unique<testdb::TestDatabase>(GetParam());
        if (!tdb_->available()) GTEST_SKIP() << tdb_->skipReason().toStdString();
        ASSERT_TRUE(tdb_->ok()) << tdb_->error().toStdString();
    }
    Database& db() { return tdb_->db(); }

    void exec(const QString& sql, const Params& params = {})
    {
        const DbStatus st = db().exec(sql, params);
        ASSERT_TRUE(st.ok()) << sql.toStdString() << ": " << st.message().toStdString();
    }
    void dept(int id, const QString& name, int sup)
    {
        exec("insert into Dept (Deptid, Deptname, SupDeptid) values (:Deptid, :Deptname, :SupDeptid)",
             {{"Deptid", id}, {"Deptname", name}, {"SupDeptid", sup}});
    }
    void employee(const QString& userid, const QString& name, int deptid, bool isAtt = true)
    {
        exec("insert into Userinfo (Userid, Name, Deptid, IsAtt, Isrest) values (:Userid, :Name, :Deptid, :IsAtt, :Isrest)",
             {{"Userid", userid}, {"Name", name}, {"Deptid", deptid}, {"IsAtt", isAtt}, {"Isrest", true}});
    }
    void punch(const QString& userid, const QString& time, const QString& type = "I")
    {
        exec("insert into Checkinout (Userid, Checktime, Checktype, Sensorid, Checked, WorkType) "
             "values (:Userid, :Checktime, :Checktype, '1', False, 0)",
             {{"Userid", userid}, {"Checktime", time}, {"Checktype", type}});
    }

    // Departments 1 (root) > 2 > 3, and 4 beside 2; employees in each; one day shift cycle.
    void writeCompany()
    {
        dept(1, "总公司", 0);
        dept(2, "生产部", 1);
        dept(3, "一车间", 2);
        dept(4, "财务部", 1);
        employee("9", "Nine", 3);
        employee("10", "Ten", 2);
        employee("2", "Two", 4);
        employee("30", "Thirty", 1, false);
        exec("insert into TimeTable (Timeid, Timename, Intime, Outtime, BIntime, EIntime, BOuttime, EOuttime, "
             "Latetime, Leavetime, WorkDays, Longtime, MustIn, MustOut, IsFreetime, IsOvertime) values "
             "(1, 'Day', '1899-12-30 08:00:00', '1899-12-30 17:00:00', '1899-12-30 07:00:00', '1899-12-30 09:00:00', "
             "'1899-12-30 16:00:00', '1899-12-30 18:00:00', 5, 5, 1, 480, True, True, False, False)");
        exec("insert into Schedule (Schid, Schname, Cycles, Units, AutoClass) values (1, 'Week', 1, 1, False)");
        for (int day = 1; day <= 5; ++day)
            exec("insert into SchTime (Schid, BeginDay, Timeid) values (1, :D, 1)", {{"D", day}});
        for (const char* u : {"9", "10", "2", "30"}) {
            exec("insert into Usershift (Userid, Schid, BeginDate, EndDate) values (:U, 1, '2004-01-01', '2004-12-31')",
                 {{"U", QString::fromLatin1(u)}});
            // An assignment that ended before the span is not read.
            exec("insert into Usershift (Userid, Schid, BeginDate, EndDate) values (:U, 1, '2003-01-01', '2003-12-31')",
                 {{"U", QString::fromLatin1(u)}});
        }
        exec("insert into UserTempshift (Userid, Timeid, Workdate, Isovertime) values ('9', -1, '2004-01-06', False)");
        exec("insert into UserTempshift (Userid, Timeid, Workdate, Isovertime) values ('9', 1, '2004-02-06', False)");
        exec("insert into Holiday (Name, BDate, Days) values ('New year', '2003-12-31', 2)");
        exec("insert into Holiday (Name, BDate, Days) values ('Old', '2001-05-01', 3)");
        exec("insert into UserLeave (Userid, BeginTime, EndTime, LeaveClassid, Whys) values "
             "('9', '2004-01-07 10:00:00', '2004-01-07 12:00:00', 0, 'trip')");
        exec("insert into UserLeave (Userid, BeginTime, EndTime, LeaveClassid, Whys) values "
             "('9', '2004-03-07 10:00:00', '2004-03-07 12:00:00', 0, 'later')");
        // Span 2004-01-05 ... 2004-01-09: punches are read from 01-04 00:00:00 to 01-10 23:59:59.
        punch("9", "2004-01-03 23:59:59");
        punch("9", "2004-01-04 00:00:00");
        punch("9", "2004-01-05 07:55:00");
        punch("9", "2004-01-10 23:59:59", "O");
        punch("9", "2004-01-11 00:00:00", "O");
        punch("10", "2004-01-05 08:01:00");
        punch("2", "2004-01-05 08:02:00");
        punch("30", "2004-01-05 08:03:00");
    }

    engine::RunRequest span() const
    {
        engine::RunRequest r;
        r.firstDate = *ParseDateText("2004-01-05");
        r.lastDate = *ParseDateText("2004-01-09");
        return r;
    }

    static std::vector<std::string> userids(const engine::CalcInput& in)
    {
        std::vector<std::string> ids;
        for (const auto& e : in.employees) ids.push_back(e.Userid);
        return ids;
    }
    static std::vector<std::string> punchTimes(const engine::CalcInput& in, const std::string& userid)
    {
        std::vector<std::string> times;
        for (const auto& p : in.punches)
            if (p.Userid == userid) times.push_back(p.Checktime);
        std::sort(times.begin(), times.end());
        return times;
    }

    std::unique_ptr<testdb::TestDatabase> tdb_;
};

TEST_P(CalcLoaderTest, EveryEmployeeWithTheRowsOfTheSpanAndItsWindows)
{
    writeCompany();
    engine::CalcInput in;
    std::vector<engine::RunProblem> problems;
    ASSERT_TRUE(LoadCalcInput(db(), span(), in, problems).ok());
    EXPECT_TRUE(problems.empty());

    EXPECT_EQ(userids(in), (std::vector<std::string>{"10", "2", "30", "9"}));  // text order
    EXPECT_EQ(in.employees[3].Deptname, "一车间");
    EXPECT_FALSE(in.employees[2].IsAtt);
    EXPECT_TRUE(in.employees[0].Isrest);
    EXPECT_EQ(in.departments.size(), 4u);

    ASSERT_EQ(in.periods.size(), 1u);
    EXPECT_EQ(in.periods[0].Intime, "1899-12-30 08:00:00");
    EXPECT_EQ(in.periods[0].EOuttime, "1899-12-30 18:00:00");
    EXPECT_EQ(in.periods[0].Latetime, 5);
    EXPECT_DOUBLE_EQ(in.periods[0].WorkDays, 1);
    EXPECT_TRUE(in.periods[0].MustIn);
    ASSERT_EQ(in.cycles.size(), 5u);
    EXPECT_EQ(in.cycles[0].Schname, "Week");
    EXPECT_EQ(in.cycles[0].Units, 1);
    EXPECT_EQ(in.cycles[4].BeginDay, 5);

    EXPECT_EQ(in.assignments.size(), 3u);  // the 2003 ones end before the span; 30 takes no part
    ASSERT_EQ(in.tempShifts.size(), 1u);
    EXPECT_EQ(in.tempShifts[0].Timeid, -1);
    EXPECT_EQ(in.holidays.size(), 2u);  // every holiday: the day type needs them all
    EXPECT_EQ(in.holidays[0].Name, "Old");
    ASSERT_EQ(in.leaves.size(), 1u);
    EXPECT_EQ(in.leaves[0].Whys, "trip");
    EXPECT_EQ(in.leaves[0].BeginTime, "2004-01-07 10:00:00");

    // The day before S and the day after E, to their edges.
    EXPECT_EQ(punchTimes(in, "9"), (std::vector<std::string>{"2004-01-04 00:00:00", "2004-01-05 07:55:00",
                                                              "2004-01-10 23:59:59"}));
    EXPECT_EQ(in.punches.size(), 5u);
    EXPECT_TRUE(punchTimes(in, "30").empty());
    EXPECT_EQ(in.parameters.items[engine::ItemLate].Itemname, "Late");
}

TEST_P(CalcLoaderTest, DepartmentChoiceReadsOnlyItsEmployeesRows)
{
    writeCompany();
    std::vector<engine::RunProblem> problems;
    std::vector<engine::DepartmentRow> departments;
    ASSERT_TRUE(LoadDepartments(db(), departments, problems).ok());

    engine::RunRequest request = span();
    request.deptids = engine::DepartmentSubtree(departments, 2);
    engine::CalcInput in;
    ASSERT_TRUE(LoadCalcInput(db(), request, in, problems).ok());
    EXPECT_EQ(userids(in), (std::vector<std::string>{"10", "9"}));
    EXPECT_EQ(in.punches.size(), 4u);
    EXPECT_EQ(in.assignments.size(), 2u);
    EXPECT_EQ(in.departments.size(), 4u);  // the tree stays whole

    // A department list too long for the statement is applied while reading: same rows.
    std::vector<int> longList = *request.deptids;
    for (int i = 1000; i < 1700; ++i) longList.push_back(i);
    request.deptids = longList;
    engine::CalcInput wide;
    ASSERT_TRUE(LoadCalcInput(db(), request, wide, problems).ok());
    EXPECT_EQ(userids(wide), userids(in));
    EXPECT_EQ(wide.punches.size(), 4u);

    request.deptids.reset();
    request.userid = "10";
    engine::CalcInput one;
    ASSERT_TRUE(LoadCalcInput(db(), request, one, problems).ok());
    EXPECT_EQ(userids(one), (std::vector<std::string>{"10"}));
    EXPECT_EQ(punchTimes(one, "10"), (std::vector<std::string>{"2004-01-05 08:01:00"}));
    EXPECT_EQ(one.assignments.size(), 1u);
    EXPECT_TRUE(one.leaves.empty());
    EXPECT_TRUE(problems.empty());
}

TEST_P(CalcLoaderTest, UnreadableValuesAreReportedAndTheRowLeftOut)
{
    if (GetParam() != Engine::SQLite) GTEST_SKIP() << "the server's column types refuse such values";
    writeCompany();
    exec("update Userinfo set Deptid = 'abc' where Userid = '2'");
    exec("insert into TimeTable (Timeid, Timename, Intime, Outtime, Latetime) values "
         "(2, 'Odd', '1899-12-30 08:00:00', '1899-12-30 12:00:00', 'five')");
    exec("update Checkinout set WorkType = 'w7' where Userid = '10'");
    exec("update Checkinout set Checked = 'maybe' where Userid = '9' and Checktime = '2004-01-05 07:55:00'");
    exec("insert into Checkinout (Userid, Checktime, Checktype) values ('9', '2004-01-06 25:61:00', 'I')");

    engine::CalcInput in;
    std::vector<engine::RunProblem> problems;
    ASSERT_TRUE(LoadCalcInput(db(), span(), in, problems).ok());
    auto has = [&](const std::string& userid, const std::string& table, const std::string& value) {
        return std::any_of(problems.begin(), problems.end(), [&](const engine::RunProblem& p) {
            return p.Userid == userid && p.table == table && p.value == value;
        });
    };
    EXPECT_TRUE(has("2", "Userinfo", "Deptid=abc"));
    EXPECT_TRUE(has("", "TimeTable", "Latetime=five"));
    EXPECT_TRUE(has("10", "Checkinout", "WorkType=w7"));
    EXPECT_TRUE(has("9", "Checkinout", "Checked=maybe"));
    EXPECT_EQ(problems.size(), 4u);

    EXPECT_EQ(userids(in), (std::vector<std::string>{"10", "30", "9"}));
    EXPECT_EQ(in.periods.size(), 1u);
    // The work code is only shown: the punch stays. An unknown confirmation does not.
    EXPECT_EQ(punchTimes(in, "10").size(), 1u);
    // The time that is no time reaches the core as stored; the core reports it.
    EXPECT_EQ(punchTimes(in, "9"), (std::vector<std::string>{"2004-01-04 00:00:00", "2004-01-06 25:61:00",
                                                              "2004-01-10 23:59:59"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, CalcLoaderTest, ::testing::ValuesIn(testdb::allEngines()), testdb::engineName);

}  // namespace
}  // namespace kelvork::loader
