#include "date_time.h"

#include <gtest/gtest.h>

namespace kelvork::engine {
namespace {

TEST(DateTime, ReadsTheTextsTheDatabaseHolds) {
    const Moment base = MomentOf(DayFromCivil(2004, 1, 5), 0);
    struct Case {
        const char* text;
        std::optional<Moment> moment;
    } cases[] = {
        {"2004-01-05 08:30:00", base + 8 * 3600 + 1800},
        {"2004-01-05 08:30", base + 8 * 3600 + 1800},
        {"2004-01-05T08:30:15", base + 8 * 3600 + 1815},
        {"2004-01-05 08:30:15.999", base + 8 * 3600 + 1815},
        {"2004-1-5 8:30:00", base + 8 * 3600 + 1800},
        {"2004-01-05", base},
        {"2004-02-30 08:00:00", std::nullopt},
        {"2004-01-05 24:00:00", std::nullopt},
        {"2004-01-05 08:60", std::nullopt},
        {"2004-01-05 08:3a:00", std::nullopt},
        {"2004-13-05 08:30", std::nullopt},
        {"2004-01-05 08:30:60", std::nullopt},
        {"2004-01-05 08:30:00x", std::nullopt},
        {"05.01.2004 08:30", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseMoment(c.text), c.moment) << c.text;

    EXPECT_EQ(ParseTimeOfDay("1899-12-30 22:15:00"), 22 * 3600 + 900);
    EXPECT_EQ(ParseTimeOfDay("07:05"), 7 * 3600 + 300);
    EXPECT_EQ(ParseTimeOfDay("  :  "), std::nullopt);
    EXPECT_EQ(ParseDateText("2004-02-29"), DayFromCivil(2004, 2, 29));
    EXPECT_EQ(ParseDateText("2004-2-29"), std::nullopt);
    EXPECT_EQ(ParseDateText("2003-02-29"), std::nullopt);
}

TEST(DateTime, WritesDatesClocksAndDurations) {
    const DayNumber d = DayFromCivil(2004, 1, 5);
    EXPECT_EQ(DateText(d), "2004-01-05");
    EXPECT_EQ(ClockText(d - 5, 23 * 3600 + 30 * 60 + 59), "2003-12-31 23:30");
    EXPECT_EQ(MomentText(MomentOf(d, 8 * 3600 + 5)), "2004-01-05 08:00:05");
    EXPECT_EQ(MomentText(MomentOf(DayFromCivil(1899, 12, 30), 3600)), "1899-12-30 01:00:00");
    EXPECT_EQ(WeekdayOf(d), 1);  // Monday
    EXPECT_EQ(WeekdayOf(DayFromCivil(2004, 1, 4)), 0);
    EXPECT_EQ(WeekdayOf(DayFromCivil(1899, 12, 30)), 6);
    EXPECT_EQ(DurationText(330), "00:05:30");
    EXPECT_EQ(DurationText(kSecondsPerDay + 60), "00:01:00");
    EXPECT_EQ(DurationText(-90), "00:01:30");
    EXPECT_EQ(LongDurationText(36 * 3600), "36:00:00");
    EXPECT_EQ(LongDurationText(16 * 3600), "16:00:00");
    EXPECT_EQ(FractionalDurationText(1.9996), "00:00:02");
    EXPECT_EQ(FractionalDurationText(1.9), "00:00:01");
    EXPECT_EQ(FractionalLongDurationText(1.5 * 86400), "36:00:00");
}

TEST(DateTime, CivilRoundTrip) {
    for (DayNumber d = DayFromCivil(1899, 12, 1); d < DayFromCivil(2101, 1, 1); d += 13) {
        const CivilDate c = CivilFromDay(d);
        ASSERT_TRUE(IsValidDate(c.year, c.month, c.day));
        ASSERT_EQ(DayFromCivil(c.year, c.month, c.day), d);
    }
    EXPECT_EQ(DayOfMoment(-1), -1);
    EXPECT_EQ(SecondOfDay(-1), 86399);
}

}  // namespace
}  // namespace kelvork::engine
