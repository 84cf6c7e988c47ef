// kelvork-calc end to end on SQLite: a database made with --init, filled through the data layer,
// calculated by the program, one table per case.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <map>

#include "database.h"

namespace {

using kelvork::Database;
using kelvork::Params;

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result runCalc(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(KELVORK_CALC_PROGRAM), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    Result r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// RFC 4180 records: fields split at commas outside quotes, doubled quotes read as one.
std::vector<QStringList> parseCsv(const QString& text)
{
    std::vector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') { field += '"'; ++i; }
            else if (c == '"') quoted = false;
            else field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record << field;
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            record << field;
            field.clear();
            records.push_back(record);
            record.clear();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(field.isEmpty() && record.isEmpty()) << "the last line must end with CR LF";
    return records;
}

// The rows of a CSV table as field name -> value.
std::vector<std::map<QString, QString>> csvRows(const QString& text, QStringList* header = nullptr)
{
    const auto records = parseCsv(text);
    std::vector<std::map<QString, QString>> rows;
    if (records.empty()) return rows;
    if (header) *header = records[0];
    for (std::size_t r = 1; r < records.size(); ++r) {
        EXPECT_EQ(records[r].size(), records[0].size());
        std::map<QString, QString> row;
        for (int i = 0; i < records[0].size() && i < records[r].size(); ++i) row[records[0][i]] = records[r][i];
        rows.push_back(row);
    }
    return rows;
}

class KelvorkCalc : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath("Rud2003.db");
        const Result init = runCalc({"--db", path_, "--init"});
        ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
        ASSERT_TRUE(db_.open("Provider=SQLite;Data Source=" + path_).ok());
        writeWeek();
        db_.close();
    }

    void exec(const QString& sql, const Params& params = {})
    {
        const auto st = db_.exec(sql, params);
        ASSERT_TRUE(st.ok()) << sql.toStdString() << ": " << st.message().toStdString();
    }
    void punch(const QString& userid, const QString& time, const QString& type)
    {
        exec("insert into Checkinout (Userid, Checktime, Checktype, Sensorid, Checked, WorkType) "
             "values (:Userid, :Checktime, :Checktype, '1', False, 0)",
             {{"Userid", userid}, {"Checktime", time}, {"Checktype", type}});
    }

    // Monday 2004-01-05 to Friday 2004-01-09, a day period 08:00-17:00 from a weekly cycle.
    // Ann (1): late on Monday, no check-out on Tuesday (absent), absent on Wednesday with free overtime in
    // the evening, two hours of sick leave on Thursday, forty minutes out on Friday. Bob (2) comes
    // on Monday only. Cy (3) takes no part in attendance.
    void writeWeek()
    {
        exec("insert into Dept (Deptid, Deptname, SupDeptid) values (2, '生产部', 1)");
        exec("insert into Dept (Deptid, Deptname, SupDeptid) values (3, '财务部', 1)");
        exec("insert into Userinfo (Userid, Name, Deptid, IsAtt, Isrest) values ('1', 'Ann', 2, True, True)");
        exec("insert into Userinfo (Userid, Name, Deptid, IsAtt, Isrest) values ('2', 'Bob, \"B\"', 3, True, True)");
        exec("insert into Userinfo (Userid, Name, Deptid, IsAtt, Isrest) values ('3', 'Cy', 2, False, True)");
        exec("insert into TimeTable (Timeid, Timename, Intime, Outtime, BIntime, EIntime, BOuttime, EOuttime, "
             "Latetime, Leavetime, WorkDays, Longtime, MustIn, MustOut, IsFreetime, IsOvertime) values "
             "(1, 'Day', '1899-12-30 08:00:00', '1899-12-30 17:00:00', '1899-12-30 07:00:00', '1899-12-30 09:00:00', "
             "'1899-12-30 16:00:00', '1899-12-30 18:00:00', 0, 0, 1, 480, True, True, False, False)");
        exec("insert into Schedule (Schid, Schname, Cycles, Units, AutoClass) values (1, 'Week', 1, 1, False)");
        for (int day = 1; day <= 5; ++day) exec("insert into SchTime (Schid, BeginDay, Timeid) values (1, :D, 1)", {{"D", day}});
        for (const char* u : {"1", "2", "3"})
            exec("insert into Usershift (Userid, Schid, BeginDate, EndDate) values (:U, 1, '2004-01-01', '2004-12-31')",
                 {{"U", QString::fromLatin1(u)}});
        exec("insert into LeaveClass (Classname, ViewColor, Showas) values ('Sick', 255, 'S')");
        exec("insert into UserLeave (Userid, BeginTime, EndTime, LeaveClassid, Whys) values "
             "('1', '2004-01-08 10:00:00', '2004-01-08 12:00:00', 1, 'flu')");
        punch("1", "2004-01-05 08:10:00", "I");
        punch("1", "2004-01-05 17:05:00", "O");
        punch("1", "2004-01-06 07:55:00", "I");
        punch("1", "2004-01-07 19:00:00", "i");
        punch("1", "2004-01-07 21:30:00", "o");
        punch("1", "2004-01-08 07:58:00", "I");
        punch("1", "2004-01-08 17:02:00", "O");
        punch("1", "2004-01-09 07:59:00", "I");
        punch("1", "2004-01-09 10:00:00", "0");
        punch("1", "2004-01-09 10:40:00", "1");
        punch("1", "2004-01-09 17:01:00", "O");
        punch("2", "2004-01-05 08:00:00", "I");
        punch("2", "2004-01-05 17:00:00", "O");
        punch("3", "2004-01-05 08:00:00", "I");
    }

    Result run(QStringList extra)
    {
        QStringList args{"--db", path_, "--from", "2004-01-05", "--to", "2004-01-09"};
        args += extra;
        return runCalc(args);
    }

    QTemporaryDir dir_;
    QString path_;
    Database db_;
};

TEST_F(KelvorkCalc, MemRecord2ListsEveryPunchWithItsRole)
{
    const Result r = run({"--table", "MemRecord2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    QStringList header;
    const auto rows = csvRows(r.out, &header);
    EXPECT_EQ(header.join(','), "Lsh,Ucode,Checktime,Udept,Uname,Utype,Utypename,Sensorid,Timename,Disposeplan,"
                                "Errorshow,Checked,WorkCode");
    ASSERT_EQ(rows.size(), 13u);  // Cy is passed over
    EXPECT_TRUE(r.out.startsWith(header.join(',') + "\r\n1,1,2004-01-05 08:10:00,生产部,Ann,I,上班签到,1,Day,,正常记录,0,0\r\n"));
    auto at = [&](const QString& userid, const QString& time) {
        for (const auto& row : rows)
            if (row.at("Ucode") == userid && row.at("Checktime") == time) return row;
        ADD_FAILURE() << "no row " << time.toStdString();
        return std::map<QString, QString>{};
    };
    EXPECT_EQ(at("1", "2004-01-07 19:00:00").at("Utype"), "i");
    EXPECT_EQ(at("1", "2004-01-07 21:30:00").at("Utype"), "o");
    EXPECT_EQ(at("1", "2004-01-09 10:00:00").at("Utype"), "0");
    EXPECT_EQ(at("1", "2004-01-09 10:00:00").at("Errorshow"), "正常记录");
    EXPECT_EQ(at("1", "2004-01-09 10:40:00").at("Utype"), "1");
    EXPECT_EQ(at("2", "2004-01-05 17:00:00").at("Uname"), "Bob, \"B\"");
    EXPECT_TRUE(r.out.contains(",\"Bob, \"\"B\"\"\","));  // quoted as RFC 4180 says
    EXPECT_EQ(rows.back().at("Lsh"), "13");
}

TEST_F(KelvorkCalc, MemUClassHoldsTheEvaluatedPeriods)
{
    const Result r = run({"--table", "MemUClass", "--user", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList header;
    const auto rows = csvRows(r.out, &header);
    EXPECT_EQ(header.join(','), "Ucode,UDate,Udept,Uname,TimeName,TimeID,OnTime,OffTime,SOntime,SOfftime,EOntime,"
                                "EOfftime,LateTime,EarlyTime,OnFlag,OffFlag,Workday,WorkLong,AOntime,AOfftime,TLate,"
                                "TEarly,TAdd,IsNoIn,IsNoOut,IsNowork,IsFreeTime,IsOverTime,Memo,AbnorFlag");
    ASSERT_EQ(rows.size(), 5u);
    const auto& monday = rows[0];
    EXPECT_EQ(monday.at("UDate"), "2004-01-05");
    EXPECT_EQ(monday.at("OnTime"), "2004-01-05 08:00");
    EXPECT_EQ(monday.at("EOfftime"), "2004-01-05 18:00");
    EXPECT_EQ(monday.at("AOntime"), "2004-01-05 08:10:00");
    EXPECT_EQ(monday.at("TLate"), "00:10:00");
    EXPECT_EQ(monday.at("OnFlag"), "1");
    EXPECT_EQ(monday.at("Workday"), "1");
    EXPECT_EQ(monday.at("AbnorFlag"), "1");
    // No check-out where one is required, and no parameter to count it as early leave: absent.
    EXPECT_EQ(rows[1].at("IsNowork"), "1");
    EXPECT_EQ(rows[1].at("AbnorFlag"), "3");
    EXPECT_EQ(rows[2].at("IsNowork"), "1");
    EXPECT_EQ(rows[2].at("AbnorFlag"), "3");
    EXPECT_EQ(rows[3].at("Memo"), "Sick");
}

TEST_F(KelvorkCalc, MemAbnorHoldsLeaveOutingAndFreeOvertime)
{
    const Result r = run({"--table", "MemAbnor"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList header;
    const auto rows = csvRows(r.out, &header);
    EXPECT_EQ(header.join(','), "Lsh,Ucode,Udept,Uname,Begintime,Endtime,Abnorshow,Timelong,Workday,Remark");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].at("Begintime"), "2004-01-07 19:00:00");
    EXPECT_EQ(rows[0].at("Abnorshow"), "自由加班");
    EXPECT_EQ(rows[0].at("Timelong"), "02:30:00");
    EXPECT_EQ(rows[1].at("Abnorshow"), "Sick");
    EXPECT_EQ(rows[1].at("Timelong"), "02:00:00");
    EXPECT_EQ(rows[1].at("Remark"), "flu");
    EXPECT_EQ(rows[2].at("Abnorshow"), "外出");
    EXPECT_EQ(rows[2].at("Timelong"), "00:40:00");
    EXPECT_EQ(rows[2].at("Workday"), "0");
}

TEST_F(KelvorkCalc, MemStatIsTheDefaultWithTheLeaveClassColumns)
{
    const Result r = run({});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList header;
    const auto rows = csvRows(r.out, &header);
    EXPECT_EQ(header.join(','), "Lsh,Udept,Ucode,Uname,Normal,Actual,Latetime,Earlytime,Absenttime,Overtime,WOvertime,"
                                "HOvertime,FOvertime,Freeovertime,Noin,Noout,Awaytime,Busyleave,Leave,Sick,Worktime,Attrate");
    ASSERT_EQ(rows.size(), 2u);
    const auto& ann = rows[0];
    EXPECT_EQ(ann.at("Ucode"), "1");
    EXPECT_EQ(ann.at("Latetime"), "10");
    EXPECT_EQ(ann.at("Noin"), "0");
    EXPECT_EQ(ann.at("Noout"), "0");
    EXPECT_NE(ann.at("Absenttime"), "0");
    EXPECT_EQ(ann.at("Sick"), ann.at("Leave"));
    EXPECT_NE(ann.at("Leave"), "0");
    EXPECT_EQ(rows[1].at("Ucode"), "2");

    // The same table as JSON: an array of objects with the same names, numbers as numbers.
    const Result j = run({"--format", "json", "--dept", "3"});
    ASSERT_EQ(j.exitCode, 0) << j.err.toStdString();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(j.out.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << j.out.toStdString();
    ASSERT_TRUE(doc.isArray());
    ASSERT_EQ(doc.array().size(), 1);  // department 3: Bob alone
    const QJsonObject bob = doc.array()[0].toObject();
    EXPECT_EQ(bob.keys().size(), header.size());
    EXPECT_EQ(bob["Ucode"].toString(), "2");
    EXPECT_EQ(bob["Uname"].toString(), "Bob, \"B\"");
    EXPECT_TRUE(bob["Latetime"].isDouble());
    EXPECT_EQ(bob["Noin"].toInt(), 0);
}

TEST_F(KelvorkCalc, MemDayMarksTheDaysOfTheSpan)
{
    const QString out = dir_.filePath("day.csv");
    const Result r = run({"--table", "MemDay", "--out", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList header;
    const auto rows = csvRows(QString::fromUtf8(file.readAll()), &header);
    ASSERT_EQ(header.size(), 34);
    EXPECT_EQ(header.mid(0, 4).join(','), "Ucode,Uname,Udept,Day1");
    EXPECT_EQ(header.last(), "Day31");
    ASSERT_EQ(rows.size(), 2u);
    const auto& ann = rows[0];
    EXPECT_FALSE(ann.at("Day1").isEmpty());  // late
    EXPECT_FALSE(ann.at("Day3").isEmpty());  // absent
    for (int d = 6; d <= 31; ++d) EXPECT_TRUE(ann.at(QString("Day%1").arg(d)).isEmpty()) << d;
}

TEST_F(KelvorkCalc, FailuresGiveOneLineAndTheirExitStatus)
{
    Result r = run({"--table", "MemTab"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.count('\n'), 1);
    EXPECT_TRUE(r.out.isEmpty());

    r = runCalc({"--db", dir_.filePath("missing.db"), "--from", "2004-01-05", "--to", "2004-01-09"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count('\n'), 1);
    EXPECT_FALSE(QFile::exists(dir_.filePath("missing.db")));  // a run never makes a database

    r = runCalc({"--db", path_, "--init"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count('\n'), 1);

    QFile junk(dir_.filePath("junk.db"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a database at all, just some text that is long enough to be a header");
    junk.close();
    r = runCalc({"--db", junk.fileName(), "--from", "2004-01-05", "--to", "2004-01-09"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();

    // Rows the run cannot use are warnings: the run goes on.
    ASSERT_TRUE(db_.open("Provider=SQLite;Data Source=" + path_).ok());
    exec("insert into Checkinout (Userid, Checktime, Checktype) values ('1', '2004-01-06 7:5', 'O')");
    exec("insert into Checkinout (Userid, Checktime, Checktype) values ('1', '2004-01-06 99:00:00', 'O')");
    db_.close();
    r = run({"--user", "1"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("warning: employee 1, Checkinout Checktime=2004-01-06 99:00:00")) << r.err.toStdString();
    EXPECT_EQ(csvRows(r.out).size(), 1u);
}

}  // namespace
