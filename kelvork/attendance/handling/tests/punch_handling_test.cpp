// Applying a punch's proposed handling: the punch table and the edit log change together or not
// at all, and the listed row follows only what was committed.
#include "punch_handling.h"

#include <gtest/gtest.h>

#include "test_database.h"

#include <QStringList>

namespace kelvork::handling {
namespace {

using engine::CalcTexts;
using engine::MemRecordRow;

class PunchHandlingTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        tdb_ = std::make_unique<testdb::TestDatabase>(GetParam());
        if (!tdb_->available()) GTEST_SKIP() << tdb_->skipReason().toStdString();
        ASSERT_TRUE(tdb_->ok()) << tdb_->error().toStdString();
        // The punch handled, and a neighbour of the same employee that must stay as it is.
        addPunch("08:01:00", "I", "3");
        addPunch("17:02:00", "O", "3");
    }
    void addPunch(const QString& time, const QString& type, const QString& sensor)
    {
        ASSERT_TRUE(db().exec("insert into Checkinout (Userid, Checktime, Checktype, Sensorid) "
                              "values (:Userid, :Checktime, :Checktype, :Sensorid)",
                              {{"Userid", "12"}, {"Checktime", "2004-01-31 " + time},
                               {"Checktype", type}, {"Sensorid", sensor}})
                        .ok());
    }
    Database& db() { return tdb_->db(); }

    // "time type checked" of each stored punch, in time order.
    QStringList punches()
    {
        QStringList out;
        Query q = db().query("select Checktime, Checktype, Checked from Checkinout order by Checktime");
        while (q.next())
            out << q.text("Checktime").mid(11) + " " + q.text("Checktype") + " " + QString::number(q.flag("Checked"));
        EXPECT_TRUE(q.ok()) << q.error().toStdString();
        return out;
    }
    // "user|time|type|sensor|flag|why|operator" of each edit-log row.
    QStringList logRows()
    {
        QStringList out;
        Query q = db().query("select * from CheckLog order by Logid");
        while (q.next())
            out << QStringList{q.text("Userid"), q.text("Checktime"), q.text("Checktype"), q.text("Sensorid"),
                               q.text("OPFlag"), q.text("Whys"), q.text("OPname")}
                       .join('|');
        EXPECT_TRUE(q.ok()) << q.error().toStdString();
        return out;
    }
    static MemRecordRow listedRow(const std::string& time, const std::string& plan)
    {
        MemRecordRow row;
        row.Ucode = "12";
        row.Checktime = "2004-01-31 " + time;
        row.Utype = "I";
        row.Utypename = "上班签到";
        row.Sensorid = "3";
        row.Disposeplan = plan;
        row.Errorshow = "手工处理";
        return row;
    }

    std::unique_ptr<testdb::TestDatabase> tdb_;
};

struct Case {
    const char* name;
    std::string plan;
    QString whys;  // empty: the built-in text
    PunchHandlingOutcome outcome;
    QStringList punches;
    QStringList log;
    std::string typename_, disposeplan, errorshow;  // the listed row afterwards
    bool checked;
};

TEST_P(PunchHandlingTest, AppliesEachKindOfHandlingWithItsLogRow)
{
    const QString logged = "12|2004-01-31 08:01:00|I|3|";
    const Case cases[] = {
        {"delete", "删除", {}, PunchHandlingOutcome::Deleted, {"17:02:00 O 0"},
         {logged + "3|考勤数据审核|Admin"}, "上班签到", "删除", "手工处理", false},
        {"to check-out", "下班签退", {}, PunchHandlingOutcome::Retyped, {"08:01:00 O 1", "17:02:00 O 0"},
         {logged + "2|考勤数据审核|Admin"}, "下班签退", "", "正常记录", true},
        {"to back from going out, translated reason", "外出回", "Attendance audit", PunchHandlingOutcome::Retyped,
         {"08:01:00 1 1", "17:02:00 O 0"}, {logged + "2|Attendance audit|Admin"}, "外出回", "", "正常记录", true},
        {"no handling", "", {}, PunchHandlingOutcome::NoHandling, {"08:01:00 I 0", "17:02:00 O 0"}, {},
         "上班签到", "", "手工处理", false},
        {"a text that names no handling", "保留", {}, PunchHandlingOutcome::NoHandling,
         {"08:01:00 I 0", "17:02:00 O 0"}, {}, "上班签到", "保留", "手工处理", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(db().exec("delete from CheckLog").ok());
        ASSERT_TRUE(db().exec("delete from Checkinout").ok());
        addPunch("08:01:00", "I", "3");
        addPunch("17:02:00", "O", "3");

        MemRecordRow row = listedRow("08:01:00", c.plan);
        const PunchHandlingResult r = c.whys.isEmpty() ? ApplyPunchHandling(db(), row, CalcTexts{}, "Admin")
                                                       : ApplyPunchHandling(db(), row, CalcTexts{}, "Admin", c.whys);
        EXPECT_EQ(r.outcome, c.outcome) << r.message.toStdString();
        EXPECT_EQ(punches(), c.punches);
        EXPECT_EQ(logRows(), c.log);
        EXPECT_EQ(row.Utypename.str(), c.typename_);
        EXPECT_EQ(row.Disposeplan.str(), c.disposeplan);
        EXPECT_EQ(row.Errorshow.str(), c.errorshow);
        EXPECT_EQ(row.Checked, c.checked);
        EXPECT_EQ(row.Utype.str(), "I");  // the matching's role is not redone
    }
}

TEST_P(PunchHandlingTest, PunchGoneMeanwhileIsReportedAndWritesNothing)
{
    for (const std::string plan : {"删除", "下班签退"}) {
        SCOPED_TRACE(plan);
        MemRecordRow row = listedRow("12:00:00", plan);  // no such punch
        const PunchHandlingResult r = ApplyPunchHandling(db(), row, CalcTexts{}, "Admin");
        EXPECT_EQ(r.outcome, PunchHandlingOutcome::PunchGone);
        EXPECT_TRUE(r.message.contains("2004-01-31 12:00:00")) << r.message.toStdString();
        EXPECT_EQ(punches(), (QStringList{"08:01:00 I 0", "17:02:00 O 0"}));
        EXPECT_TRUE(logRows().isEmpty());
        EXPECT_EQ(row.Disposeplan.str(), plan);
        EXPECT_EQ(row.Utypename.str(), "上班签到");
    }
}

TEST_P(PunchHandlingTest, FailedChangeTakesItsLogRowBackAndLeavesTheRow)
{
    // The edit-log row goes in, then the type change fails: the punch table lost its Checked column.
    ASSERT_TRUE(db().exec("alter table Checkinout drop column Checked").ok());
    MemRecordRow row = listedRow("08:01:00", "下班签退");
    const PunchHandlingResult r = ApplyPunchHandling(db(), row, CalcTexts{}, "Admin");
    EXPECT_EQ(r.outcome, PunchHandlingOutcome::Failed);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_FALSE(db().inTransaction());
    EXPECT_TRUE(logRows().isEmpty());
    EXPECT_EQ(db().scalar("select Checktype from Checkinout where Checktime=:T", {{"T", "2004-01-31 08:01:00"}}).toString(),
              "I");
    EXPECT_EQ(row.Disposeplan.str(), "下班签退");
    EXPECT_EQ(row.Utypename.str(), "上班签到");
    EXPECT_EQ(row.Errorshow.str(), "手工处理");
    EXPECT_FALSE(row.Checked);
}

INSTANTIATE_TEST_SUITE_P(Engines, PunchHandlingTest, ::testing::ValuesIn(testdb::allEngines()), testdb::engineName);

} // namespace
} // namespace kelvork::handling
