// The command line of kelvork-calc: what it accepts, and the one line it gives for what it refuses.
#include "calc_options.h"

#include <gtest/gtest.h>

namespace kelvork::calc {
namespace {

std::optional<CalcOptions> parse(const std::vector<std::string>& args, std::string* error = nullptr)
{
    std::string e;
    auto o = ParseCalcOptions(args, e);
    if (error) *error = e;
    return o;
}

TEST(CalcOptions, RunWithDefaultsAndWithEveryOption)
{
    auto o = parse({"--db", "a.db", "--from", "2004-01-01", "--to", "2004-01-31"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->db, "a.db");
    EXPECT_EQ(o->from, *engine::ParseDateText("2004-01-01"));
    EXPECT_EQ(o->to, *engine::ParseDateText("2004-01-31"));
    EXPECT_EQ(o->fromTime, 1);
    EXPECT_EQ(o->toTime, 86399);
    EXPECT_EQ(o->table, TableName::MemStat);
    EXPECT_EQ(o->format, OutputFormat::Csv);
    EXPECT_FALSE(o->dept || o->user || o->out);

    o = parse({"--db=a.db", "--from=2004-01-01", "--to", "2004-01-01", "--from-time", "00:00:00", "--to-time=12:30:05",
               "--dept", "3", "--table", "memrecord2", "--format", "json", "--out", "r.json"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->fromTime, 0);
    EXPECT_EQ(o->toTime, 12 * 3600 + 30 * 60 + 5);
    EXPECT_EQ(o->dept, 3);
    EXPECT_EQ(o->table, TableName::MemRecord2);
    EXPECT_EQ(o->format, OutputFormat::Json);
    EXPECT_EQ(o->out, "r.json");

    o = parse({"--db", "a.db", "--init"});
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->init);
}

TEST(CalcOptions, BadCommandLinesSayWhatIsWrong)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "--db FILE is required"},
        {{"--db", "a.db"}, "--from and --to are required (or --init)"},
        {{"--db", "a.db", "--from", "2004-01-01"}, "--from and --to are required (or --init)"},
        {{"--db", "a.db", "--from", "2004-02-30", "--to", "2004-03-01"}, "--from is not a date yyyy-mm-dd: 2004-02-30"},
        {{"--db", "a.db", "--from", "2004-01-01", "--to", "2004-1-31"}, "--to is not a date yyyy-mm-dd: 2004-1-31"},
        {{"--db", "a.db", "--from", "2004-01-02", "--to", "2004-01-01"}, "--from 2004-01-02 is after --to 2004-01-01"},
        {{"--db", "a.db", "--from", "2004-01-01", "--to", "2004-01-01", "--from-time", "24:00:00"},
         "--from-time is not a time HH:mm:ss: 24:00:00"},
        {{"--db", "a.db", "--from", "2004-01-01", "--to", "2004-01-01", "--to-time", "8:00"},
         "--to-time is not a time HH:mm:ss: 8:00"},
        {{"--db", "a.db", "--from", "2004-01-01", "--to", "2004-01-01", "--dept", "x"}, "--dept is not a department number: x"},
        {{"--db", "a.db", "--from", "2004-01-01", "--to", "2004-01-01", "--dept", "1", "--user", "7"},
         "--dept and --user exclude each other"},
        {{"--db", "a.db", "--from", "2004-01-01", "--to", "2004-01-01", "--table", "MemTab"},
         "--table must be MemRecord2, MemUClass, MemAbnor, MemStat or MemDay: MemTab"},
        {{"--db", "a.db", "--from", "2004-01-01", "--to", "2004-01-01", "--format", "xml"}, "--format must be csv or json: xml"},
        {{"--db", "a.db", "--init", "--from", "2004-01-01"}, "--init takes only --db"},
        {{"--db", "a.db", "--db", "b.db"}, "--db is given twice"},
        {{"--db"}, "--db needs a value"},
        {{"--db", "a.db", "--verbose"}, "unknown argument --verbose (see --help)"},
        {{"a.db"}, "unknown argument a.db (see --help)"},
    };
    for (const auto& [args, expected] : cases) {
        std::string error;
        EXPECT_FALSE(parse(args, &error)) << expected;
        EXPECT_EQ(error, expected);
    }
}

TEST(CalcOptions, ShortestRoundTripNumbers)
{
    EXPECT_EQ(NumberText(0.25), "0.25");
    EXPECT_EQ(NumberText(16), "16");
    EXPECT_EQ(NumberText(5.5), "5.5");
    EXPECT_EQ(NumberText(-0.0), "0");
    EXPECT_EQ(NumberText(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(NumberText(-3), "-3");
}

}  // namespace
}  // namespace kelvork::calc
