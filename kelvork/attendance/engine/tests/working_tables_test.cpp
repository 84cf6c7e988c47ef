#include "working_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace kelvork::engine {
namespace {

TEST(WorkingTables, TextFieldsHoldAtMostTheirWidthInCharacters) {
    MemTabRow row;
    row.Udept = std::string(50, 'D');
    EXPECT_EQ(row.Udept.str(), std::string(20, 'D'));
    // Twenty-one Chinese characters (three bytes each) keep twenty whole characters.
    std::string name;
    for (int i = 0; i < 21; ++i) name += "部";
    row.TimeName = name;
    EXPECT_EQ(row.TimeName.str().size(), 60u);
    MemRecordRow rec;
    rec.Utype = "IO";
    EXPECT_EQ(rec.Utype, "I");
    // A broken sequence is cut byte by byte and never leaves half a character it kept.
    EXPECT_EQ(FitText("ab\xE9\x83", 3), "ab\xE9");
    EXPECT_EQ(FitText("a部b", 2), "a部");
    EXPECT_EQ(FitText("", 0), "");
    // Long texts live outside the field; copies, moves and self-assignment keep them whole.
    Text<30> a = std::string(60, 'x');
    Text<30> b = a;
    Text<30> c = std::move(b);
    c = c.view().substr(2, 25);
    a = a.view().substr(0, 3);
    EXPECT_EQ(c.str(), std::string(25, 'x'));
    EXPECT_EQ(a.str(), "xxx");
    EXPECT_TRUE(b.empty());
    c = a;
    EXPECT_EQ(c, a);
}

TEST(WorkingTables, MemStatHasOneColumnPerLeaveClassAfterLeave) {
    MemStatTable stat;
    std::vector<TLeaveClass> classes = {{3, "A", 0, "a"}, {1, "B", 0, "b"}, {4, "leave", 0, "x"}, {5, "A", 0, "y"},
                                        {6, "", 0, ""}};
    auto problems = DefineMemStat(stat, classes);
    auto names = stat.FieldNames();
    std::vector<std::string> tail(names.end() - 5, names.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Leave", "A", "B", "Worktime", "Attrate"}));
    EXPECT_EQ(names.front(), "Lsh");
    ASSERT_EQ(problems.size(), 3u);  // a fixed name in other letter case, a repeated name, no name
    EXPECT_EQ(problems[0].Classid, 4);
    EXPECT_EQ(problems[1].Classid, 5);
    EXPECT_EQ(problems[2].Classid, 6);
    EXPECT_EQ(stat.ColumnOfClass(1), 1u);
    EXPECT_FALSE(stat.ColumnOfClass(4).has_value());
    MemStatRow& row = stat.AppendEmployee("7", "Dept", "Ann");
    EXPECT_EQ(row.Lsh, 1);
    EXPECT_EQ(row.LeaveClasses, (std::vector<double>{0, 0}));
    EXPECT_EQ(stat.AppendEmployee("8", "Dept", "Bob").Lsh, 2);
    DefineMemStat(stat, {});
    EXPECT_TRUE(stat.table.rows.empty());
    EXPECT_EQ(stat.AppendEmployee("9", "", "").Lsh, 1);
}

TEST(WorkingTables, RecordCategoryFilter) {
    const CalcTexts texts;
    auto rowWith = [](const std::string& errorshow) {
        MemRecordRow r;
        r.Errorshow = errorshow;
        return r;
    };
    RecordCategoryFilter all({}, texts);
    EXPECT_EQ(all.Expression(), "");
    EXPECT_TRUE(all.Accepts(rowWith("anything")));

    RecordCategoryFilter none({false, false, false, false, false}, texts);
    EXPECT_EQ(none.Expression(), "Errorshow='Null'");
    for (const auto& t : {texts.RecordErrorType1, texts.RecordErrorType2, texts.RecordErrorType3,
                          texts.RecordErrorType4, texts.RecordErrorType5}) {
        EXPECT_FALSE(none.Accepts(rowWith(t)));
    }

    RecordCategoryFilter some({false, true, false, true, true}, texts);
    EXPECT_EQ(some.Expression(), "Errorshow='重复记录' or Errorshow='状态错误' or Errorshow='手工处理'");
    EXPECT_TRUE(some.Accepts(rowWith(texts.RecordErrorType4)));
    EXPECT_FALSE(some.Accepts(rowWith(texts.RecordErrorType1)));
}

TEST(WorkingTables, PeriodCategoryFilter) {
    PeriodFields normal;
    PeriodFields late;
    late.TLate = "00:05:30";
    late.AbnorFlag = AbnorLate;
    PeriodFields absent;
    absent.IsNowork = true;
    absent.AbnorFlag = AbnorAbsent;
    PeriodFields overtime;
    overtime.IsOverTime = true;
    PeriodFields floatingOvertime;
    floatingOvertime.IsOverTime = true;
    floatingOvertime.IsFreeTime = true;
    floatingOvertime.AbnorFlag = AbnorFreeIncomplete;

    struct Case {
        PeriodCategories categories;
        const char* expression;
        bool normal, late, absent, overtime, floatingOvertime;
    } cases[] = {
        {{}, "", true, true, true, true, true},
        // Only "late" unchecked: the overtime and floating items, both checked, narrow the rest to
        // periods that are overtime and floating periods at once.
        {{true, false, true, true, true, true, true, true},
         "((AbnorFlag=0 or TEarly > '' or IsNowork=True or IsNoin=True or IsNoout=True) and IsOverTime=True) and "
         "IsFreeTime=True",
         false, false, false, false, false},
        {{true, true, true, true, true, true, false, false},
         "((AbnorFlag=0 or TLate > '' or TEarly > '' or IsNowork=True or IsNoin=True or IsNoout=True) and "
         "IsOverTime=False) and IsFreeTime=False",
         true, true, true, false, false},
        // The first six cleared, both last set: floating overtime periods only.
        {{false, false, false, false, false, false, true, true}, "(IsOverTime=True) and IsFreeTime=True", false,
         false, false, false, true},
        {{false, true, false, true, false, false, true, false},
         "((TLate > '' or IsNowork=True) and IsOverTime=True) and IsFreeTime=False", false, false, false, false,
         false},
        {{false, false, false, false, false, false, false, false}, "(IsOverTime=False) and IsFreeTime=False", true,
         true, true, false, false},
    };
    for (const Case& c : cases) {
        PeriodCategoryFilter f(c.categories);
        EXPECT_EQ(f.Expression(), c.expression);
        EXPECT_EQ(f.Accepts(normal), c.normal) << c.expression;
        EXPECT_EQ(f.Accepts(late), c.late) << c.expression;
        EXPECT_EQ(f.Accepts(absent), c.absent) << c.expression;
        EXPECT_EQ(f.Accepts(overtime), c.overtime) << c.expression;
        EXPECT_EQ(f.Accepts(floatingOvertime), c.floatingOvertime) << c.expression;
    }
}

TEST(WorkingTables, OrdersAreStableAndCompareAsText) {
    std::vector<MemTabRow> tab(4);
    const char* data[][3] = {{"2004-01-06", "2004-01-06 08:00", "a"},
                             {"2004-01-05", "2004-01-05 08:00", "b"},
                             {"2004-01-05", "2004-01-04 22:00", "c"},
                             {"2004-01-05", "2004-01-05 08:00", "d"}};
    for (std::size_t i = 0; i < tab.size(); ++i) {
        tab[i].UDate = data[i][0];
        tab[i].OnTime = data[i][1];
        tab[i].TimeName = data[i][2];
    }
    SortMemTab(tab);
    std::string order;
    for (const auto& r : tab) order += r.TimeName.str();
    EXPECT_EQ(order, "cbda");

    std::vector<MemStatRow> stat(3);
    stat[0].Udept = "B";
    stat[0].Ucode = "1";
    stat[1].Udept = "A";
    stat[1].Ucode = "9";
    stat[2].Udept = "A";
    stat[2].Ucode = "10";  // text order: "10" before "9"
    SortMemStatAfterRun(stat);
    EXPECT_EQ(stat[0].Ucode, "10");
    EXPECT_EQ(stat[1].Ucode, "9");
    EXPECT_EQ(stat[2].Ucode, "1");
}

TEST(WorkingTables, LargeTablesSortLikeAStableSort) {
    std::vector<MemStatRow> rows(2000);
    unsigned seed = 12345;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        rows[i].Udept = std::string(1, static_cast<char>('A' + (seed >> 16) % 5));
        rows[i].Ucode = std::to_string((seed >> 8) % 50);
        rows[i].Lsh = static_cast<int>(i);
    }
    std::vector<MemStatRow> expected = rows;
    std::stable_sort(expected.begin(), expected.end(), [](const MemStatRow& a, const MemStatRow& b) {
        return std::tie(a.Udept, a.Ucode) < std::tie(b.Udept, b.Ucode);
    });
    SortMemStatAfterRun(rows);
    for (std::size_t i = 0; i < rows.size(); ++i) ASSERT_EQ(rows[i].Lsh, expected[i].Lsh) << i;
}

TEST(WorkingTables, PeriodListSortsLikeAStableSort) {
    // Blocks of one employee, an employee appearing in two separate blocks, equal start times.
    std::vector<MemUClassRow> rows;
    unsigned seed = 777;
    for (int block = 0; block < 60; ++block) {
        seed = seed * 1103515245u + 12345u;
        const std::string dept(1, static_cast<char>('A' + (seed >> 16) % 3));
        const std::string code = std::to_string((seed >> 8) % 20);
        for (int k = 0; k < 1 + static_cast<int>((seed >> 4) % 5); ++k) {
            MemUClassRow r;
            r.Udept = dept;
            r.Ucode = code;
            seed = seed * 1103515245u + 12345u;
            r.OnTime = "2004-01-0" + std::to_string(1 + (seed >> 16) % 3) + " 08:00";
            r.TimeID = static_cast<int>(rows.size());
            rows.push_back(r);
        }
    }
    std::vector<MemUClassRow> expected = rows;
    std::stable_sort(expected.begin(), expected.end(), [](const MemUClassRow& a, const MemUClassRow& b) {
        return std::tie(a.Udept, a.Ucode, a.OnTime) < std::tie(b.Udept, b.Ucode, b.OnTime);
    });
    SortMemUClassAfterRun(rows);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) ASSERT_EQ(rows[i].TimeID, expected[i].TimeID) << i;
}

TEST(WorkingTables, LookupsByIndex) {
    NumberedTable<MemRecordRow> rec;
    for (const char* t : {"2004-01-05 08:00:00", "2004-01-05 17:00:00"}) {
        MemRecordRow r;
        r.Ucode = "7";
        r.Checktime = t;
        rec.Append(r);
    }
    EXPECT_EQ(FindMemRecordByLsh(rec.rows, 2)->Checktime, "2004-01-05 17:00:00");
    EXPECT_EQ(FindMemRecord(rec.rows, "7", "2004-01-05 08:00:00")->Lsh, 1);
    EXPECT_EQ(FindMemRecord(rec.rows, "8", "2004-01-05 08:00:00"), nullptr);
    rec.Clear();
    MemRecordRow r;
    EXPECT_EQ(rec.Append(r).Lsh, 1);

    std::vector<MemTabRow> tab(2);
    tab[0].UDate = "2004-01-05";
    tab[0].TimeName = "A";
    tab[1].UDate = "2004-01-05";
    tab[1].TimeName = "B";
    EXPECT_EQ(FindMemTab(tab, "2004-01-05", "B"), &tab[1]);
    EXPECT_EQ(FindMemTab(tab, "2004-01-06", "B"), nullptr);
}

TEST(CalcTexts, TypeTextOfStoredTypes) {
    const CalcTexts t;
    EXPECT_EQ(t.TypeText("I"), "上班签到");
    EXPECT_EQ(t.TypeText("1"), "外出回");
    EXPECT_EQ(t.TypeText("X"), "X");
    EXPECT_EQ(t.TypeText(""), "");
}

}  // namespace
}  // namespace kelvork::engine
