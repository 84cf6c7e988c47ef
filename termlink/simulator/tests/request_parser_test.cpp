#include "request_parser.h"

#include <gtest/gtest.h>

namespace termsim {
namespace {

TEST(RequestParser, ReadsSerialNumberWordAndArguments) {
  const auto r = parseRequest("(4294967295,setdate,2009,6,3)");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->sno, 4294967295u);
  EXPECT_EQ(r->word, "setdate");
  EXPECT_EQ(r->args, (std::vector<std::string>{"2009", "6", "3"}));

  const auto bare = parseRequest("(0,sysinfo)");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->sno, 0u);
  EXPECT_TRUE(bare->args.empty());
}

TEST(RequestParser, RefusesOtherShapes) {
  for (const char* text : {"", "()", "(123)", "(123,)", "123,sysinfo)", "(123,sysinfo",
                           "(4294967296,sysinfo)", "(-1,sysinfo)", "(12a,sysinfo)", "(1,sys info)"})
    EXPECT_FALSE(parseRequest(text)) << text;
}

TEST(RequestParser, FindsTheEndOfARequestInAStream) {
  struct Case {
    std::string_view buffer;
    std::size_t length;
  };
  const Case cases[] = {
      {"(1,sysinfo)(1,sysclock)", 11},
      {"(1,sysinf", 0},                                        // still arriving
      {"(1,ygmod,5,a)b,1,2,3)", 21},                           // a name holding ")"
      {"(1,ygmod,5,Ann,1,2,3)(1,ygdata)", 21},
      {"(1,ygmod,5,Ann", 0},
      {"(noise)(1,sysinfo)", std::string_view::npos},          // the "(" is noise
  };
  for (const Case& c : cases) EXPECT_EQ(requestLength(c.buffer), c.length) << c.buffer;
}

TEST(RequestParser, NumbersFitThirtyTwoBits) {
  EXPECT_EQ(parseNumber("-2147483648"), -2147483648LL);
  EXPECT_EQ(parseNumber("4294967295"), 4294967295LL);
  EXPECT_FALSE(parseNumber("4294967296"));
  EXPECT_FALSE(parseNumber("-2147483649"));
  EXPECT_FALSE(parseNumber("1x"));
  EXPECT_FALSE(parseNumber("-"));
}

}  // namespace
}  // namespace termsim
