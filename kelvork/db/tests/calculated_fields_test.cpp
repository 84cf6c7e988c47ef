// The display texts computed from codes, with the built-in texts and with installed ones.
#include "calculated_fields.h"

#include <gtest/gtest.h>

using namespace kelvork;

TEST(CalculatedFields, PunchTypeTextsOfTheRecordAndEditLogLists)
{
    struct Case { const char* code; const char* record; const char* editLog; };
    const Case cases[] = {
        {"I", "上班签到", "上班签到"}, {"O", "下班签退", "下班签退"}, {"i", "加班到", "加班到"},
        {"o", "加班退", "加班退"},     {"0", "外出", "外出"},         {"1", "外出回", "外出回"},
        {"X", "X", ""},                {"", "", ""},                  {"2", "2", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(recordTypename(QString::fromUtf8(c.code)), QString::fromUtf8(c.record));
        EXPECT_EQ(editLogTypename(QString::fromUtf8(c.code)), QString::fromUtf8(c.editLog));
    }
}

TEST(CalculatedFields, EditKindsUnitsAndEmployeeNumbers)
{
    EXPECT_EQ(edittypeName(1), QString::fromUtf8("增加"));
    EXPECT_EQ(edittypeName(2), QString::fromUtf8("修改"));
    EXPECT_EQ(edittypeName(QString("3")), QString::fromUtf8("删除"));
    for (const QVariant& other : {QVariant(0), QVariant(4), QVariant(), QVariant("x")}) EXPECT_EQ(edittypeName(other), "");

    EXPECT_EQ(unitsName(0), QString::fromUtf8("天"));
    EXPECT_EQ(unitsName(1), QString::fromUtf8("周"));
    EXPECT_EQ(unitsName(2), QString::fromUtf8("月"));
    for (const QVariant& other : {QVariant(3), QVariant(-1), QVariant()}) EXPECT_EQ(unitsName(other), "");

    EXPECT_EQ(useridInt("12").toLongLong(), 12);
    EXPECT_EQ(useridInt("0012").toLongLong(), 12);
    EXPECT_EQ(useridInt("99999999999").toLongLong(), 99999999999LL);
    for (const char* bad : {"A12", "", "12A", "1.5"}) EXPECT_TRUE(useridInt(bad).isNull()) << bad;
}

TEST(CalculatedFields, TextsComeFromTheInstalledLookup)
{
    setTextLookup([](const QString& section, const QString& key, const QString& def) {
        if (section == "Resource" && key == "CheckType1") return QString("Check in");
        if (section == "Resource" && key == "Beaway") return QString("Business trip");
        return def;
    });
    EXPECT_EQ(recordTypename("I"), "Check in");
    EXPECT_EQ(editLogTypename("I"), "Check in");
    EXPECT_EQ(businessTripName(), "Business trip");
    EXPECT_EQ(recordTypename("O"), QString::fromUtf8("下班签退"));   // a key the file lacks keeps its default
    setTextLookup({});
    EXPECT_EQ(recordTypename("I"), QString::fromUtf8("上班签到"));
}
