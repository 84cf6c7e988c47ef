#include "password.h"

#include <gtest/gtest.h>

#include <string>

using namespace kelvork::operators;

TEST(Password, ScramblesToTheStoredForm)
{
    // Stored passwords of existing databases: the exact letters matter.
    const struct { const char* plain; const char* stored; } cases[] = {
        {"", ""}, {"abc", "CNGQJQ"}, {"517306", "AVGMDPCNDDBB"}, {"Admin", "DTDRDNJIHU"}};
    for (const auto& c : cases) {
        EXPECT_EQ(scrambleBytes(c.plain), c.stored) << c.plain;
        EXPECT_EQ(scramblePassword(QString::fromLatin1(c.plain)), QString::fromLatin1(c.stored));
        EXPECT_EQ(unscramblePassword(QString::fromLatin1(c.stored)), QString::fromLatin1(c.plain));
    }
    // Chinese passwords go through the interface's code page (GBK bytes C3 DC C2 EB here).
    EXPECT_EQ(scramblePassword(QStringLiteral("密码")), "ITCEAAHB");
    EXPECT_EQ(unscramblePassword("ITCEAAHB"), QStringLiteral("密码"));
}

TEST(Password, ThreeCharactersGiveSixCapitalsWithTheOddOnesBetweenAAndJ)
{
    for (const char* plain : {"abc", "\xff\xfe\xfd", "   ", "Z9!", "\x01\x80\x7f"}) {
        const std::string stored = scrambleBytes(plain);
        ASSERT_EQ(stored.size(), 6u) << plain;
        for (std::size_t i = 0; i < stored.size(); ++i) {
            EXPECT_GE(stored[i], 'A');
            EXPECT_LE(stored[i], i % 2 == 0 ? 'J' : 'Z') << stored << " place " << i + 1;
        }
    }
}

TEST(Password, EveryByteValueRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(unscrambleBytes(scrambleBytes(one)), one) << b;
        all.push_back(static_cast<char>(b));
    }
    // The key runs on from byte to byte, so whole sequences must come back too, in both orders.
    EXPECT_EQ(unscrambleBytes(scrambleBytes(all)), all);
    const std::string reversed(all.rbegin(), all.rend());
    EXPECT_EQ(unscrambleBytes(scrambleBytes(reversed)), reversed);
}

TEST(Password, UnscramblingIgnoresAnUnpairedLetterAndSurvivesDamagedText)
{
    EXPECT_EQ(unscrambleBytes("CNGQJQX"), "abc");
    EXPECT_EQ(unscrambleBytes("C"), "");
    // Letters outside A..J in a first place or other characters still give bytes, never a crash.
    EXPECT_EQ(unscrambleBytes("ZZ!a").size(), 2u);
}
