// The day marks of an employee's MemDay row.

#include "day_marks.h"

#include <gtest/gtest.h>

namespace kelvork::engine {
namespace {

MemTabRow Period(DayNumber day, int abnor, bool overtime = false, const char* memo = "",
                 int maxFlag = MaxEvaluated) {
    MemTabRow row;
    row.Ucode = "7";
    row.UDate = DateText(day);
    row.AbnorFlag = abnor;
    row.IsOverTime = overtime;
    row.Memo = memo;
    row.MaxFlag = maxFlag;
    return row;
}

const std::vector<TLeaveClass> kClasses = {{3, "Sick", 0, "S"}, {4, "Annual", 0, ""}};

TEST(DayMarks, MarkOfOnePeriod) {
    const CalcTexts texts;
    struct Case { int abnor; bool overtime; const char* memo; const char* mark; } cases[] = {
        {AbnorNormal, false, "", "/"},   {AbnorLate, false, "", ">"},  {AbnorEarly, false, "", "<"},
        {AbnorAbsent, false, "", "-"},   {AbnorNoIn, false, "", "["},  {AbnorNoOut, false, "", "]"},
        {AbnorFreeIncomplete, false, "", ""}, {AbnorNormal, true, "", "+"}, {AbnorLate, true, "", ">"},
        {AbnorNormal, false, "公出", "BL"}, {AbnorNoIn, false, "Sick", "S"},
        {AbnorNormal, false, "Sick;Annual", "L"}, {AbnorNormal, false, "Gone", "L"},
        {AbnorNormal, false, "Annual", ""},
    };
    const DayNumber day = *ParseDateText("2024-01-08");
    for (const Case& c : cases)
        EXPECT_EQ(DayMark(Period(day, c.abnor, c.overtime, c.memo), texts, kClasses), c.mark)
            << c.abnor << " " << c.overtime << " " << c.memo;
}

TEST(DayMarks, ADayKeepsItsLastAbnormalMark) {
    const CalcTexts texts;
    const DayNumber s = *ParseDateText("2024-01-01");
    std::vector<MemTabRow> memTab = {
        Period(s, AbnorNormal),        Period(s, AbnorLate),           // day 1: ">"
        Period(s + 1, AbnorLate),      Period(s + 1, AbnorNormal),     // day 2: ">" whatever the order
        Period(s + 2, AbnorNormal, true),                              // day 3: "+"
        Period(s + 3, AbnorLate),      Period(s + 3, AbnorAbsent),     // day 4: the last, "-"
        Period(s + 4, AbnorFreeIncomplete),                            // day 5: empty
        Period(s + 5, AbnorNormal, false, "", MaxNotChosen),           // day 6: passed over
        Period(s + 5, AbnorFreeIncomplete),
        Period(s + 30, AbnorAbsent),                                   // day 31
        Period(s + 31, AbnorAbsent),                                   // day 32: past the row
        Period(s + 39, AbnorAbsent),
    };
    MemDayRow day;
    WriteDayMarks(memTab, s, texts, kClasses, day);
    EXPECT_EQ(day.Day[0], ">");
    EXPECT_EQ(day.Day[1], ">");
    EXPECT_EQ(day.Day[2], "+");
    EXPECT_EQ(day.Day[3], "-");
    EXPECT_EQ(day.Day[4], "");
    EXPECT_EQ(day.Day[5], "");
    EXPECT_EQ(day.Day[30], "-");
    for (int i = 6; i < 30; ++i) EXPECT_EQ(day.Day[static_cast<std::size_t>(i)], "") << i;
}

}  // namespace
}  // namespace kelvork::engine
