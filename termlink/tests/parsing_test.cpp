// Reading replies and list texts: the scanf rules of the patterns, the reply tests, whole lists
// and realtime lines.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "protocol/list_format.h"
#include "protocol/list_progress.h"
#include "protocol/realtime.h"
#include "protocol/reply_tests.h"
#include "protocol/template_frame.h"
#include "protocol/text_scan.h"
#include "termlink.h"

namespace termlink {
namespace {

struct ClockCase {
  const char* reply;
  int fields;
  char after;
};

TEST(ScanText, ClockReplyFollowsTheScanfRules) {
  const ClockCase cases[] = {
      {"(8,sysclock,2009-6-3 9:20:52)\r\n", 8, ')'},
      {"(8,sysclock,2009-6-3 9:20:52]\r\n", 8, ']'},
      {"(8,sysclock,2009-06-03   09:20:52)", 8, ')'},  // a blank in the pattern takes any run
      {"(8,sysclock,2009-6-3 9:20)\r\n", 6, 0},
      {"(8,sysinfo,2009-6-3 9:20:52)\r\n", 1, 0},
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    int sno = 0, y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char after = 0;
    EXPECT_EQ(scanText(c.reply, "(%d,sysclock,%d-%d-%d %d:%d:%d%c\r\n", &sno, &y, &mo, &d, &h, &mi,
                       &s, &after),
              c.fields);
    if (c.fields == 8) {
      EXPECT_EQ(after, c.after);
      EXPECT_EQ(y * 10000 + mo * 100 + d, 20090603);
      EXPECT_EQ(h * 10000 + mi * 100 + s, 92052);
    }
  }
}

TEST(ScanText, NamesNumbersAndPositions) {
  char name[16];
  int a = 0, b = 0, used = -1;
  EXPECT_EQ(scanText("12,Anna Li,-7)\r\nrest", "%d,%15[^,],%d)\r\n%n", &a, name, &b, &used), 3);
  EXPECT_STREQ(name, "Anna Li");
  EXPECT_EQ(b, -7);
  EXPECT_EQ(used, 16) << "the CR LF directive takes the line end";

  EXPECT_EQ(scanText("1,SixteenLetters!!,2)", "%d,%15[^,],%d)", &a, name, &b), 2)
      << "a 16-byte name stops at 15 bytes and the comma does not follow";
  EXPECT_EQ(scanText("1,,2)", "%d,%15[^,],%d)", &a, name, &b), 1) << "an empty name converts nothing";
  EXPECT_EQ(scanText("4294967295", "%u", &a), 1);
  EXPECT_EQ(a, -1) << "numbers keep their low 32 bits";
  EXPECT_EQ(scanText("  +42", "%d", &a), 1);
  EXPECT_EQ(a, 42);
  EXPECT_EQ(scanText("-", "%d", &a), 0);
}

TEST(ScanText, NeverReadsPastTheTextItIsGiven) {
  const char buffer[] = {'(', '5', '5', '5'};  // no NUL after it
  int sno = 0;
  EXPECT_EQ(scanText(std::string_view(buffer, 2), "(%d", &sno), 1);
  EXPECT_EQ(sno, 5);
}

TEST(ReplyTests, ExactTailAndPrefix) {
  EXPECT_TRUE(replyIsExactly("(9,setdoor,ok)\r\n", formatText("(%u,setdoor,ok)\r\n", sno(9))));
  EXPECT_FALSE(replyIsExactly("(9,setdoor,ok)", "(9,setdoor,ok)\r\n"));
  EXPECT_EQ(formatText("(%u,sysinfo)", sno(-1)), "(4294967295,sysinfo)");

  const auto tails = {std::string_view(",ygadd,ok)\r\n"), std::string_view(",ygchg,ok)\r\n")};
  EXPECT_EQ(replyTailIndex("(777,ygchg,ok)\r\n", tails), 1) << "the serial number is not compared";
  EXPECT_EQ(replyTailIndex("(777,ygadd,ok)\r\n", tails), 0);
  EXPECT_EQ(replyTailIndex("(777,ygadd,err)\r\n", tails), -1);
  EXPECT_EQ(replyTailIndex("no comma", tails), -1);

  EXPECT_TRUE(replyHasPrefix("(5,gettemplet,err,none)", "(5,gettemplet,"));
  EXPECT_FALSE(replyHasPrefix("(5,gettemplet,", "(5,gettemplet,")) << "must be longer";
}

// Reads a person list text for serial number 5.
struct Persons {
  bool ok;
  std::int32_t count = -99;
  std::vector<PersonInfo> records;
};
Persons readPersons(const std::string& text) {
  Persons out{};
  void* array = reinterpret_cast<void*>(1);
  out.ok = parseWholeList(text, 5, personList(), &out.count, &array);
  if (array != reinterpret_cast<void*>(1) && array != nullptr) {
    const auto* p = static_cast<PersonInfo*>(array);
    out.records.assign(p, p + out.count);
    std::free(array);
  }
  return out;
}

TEST(WholeList, PersonsWithAndWithoutNames) {
  const Persons p = readPersons(
      "(5,ygdata,2)\r\n(5,yg,1,Anna,10,4294967295,3,4,5)\r\n(5,yg,2,,0,1,2,3,4)\r\n(5,ygdataend)\r\n");
  ASSERT_TRUE(p.ok);
  ASSERT_EQ(p.count, 2);
  ASSERT_EQ(p.records.size(), 2u);
  EXPECT_EQ(p.records[0].PersonID, 1);
  EXPECT_STREQ(p.records[0].Name, "Anna");
  EXPECT_EQ(p.records[0].Value2, -1);
  EXPECT_EQ(p.records[0].Value5, 5);
  EXPECT_STREQ(p.records[1].Name, "") << "two adjacent commas give an empty name";
  EXPECT_EQ(p.records[1].Value5, 4);
}

TEST(WholeList, EmptyTerminalGivesCountZeroAndNoArray) {
  void* array = reinterpret_cast<void*>(1);
  std::int32_t count = -1;
  EXPECT_TRUE(parseWholeList("(5,ygdata,0)\r\n(5,ygdataend)\r\n", 5, personList(), &count, &array));
  EXPECT_EQ(count, 0);
  EXPECT_EQ(array, nullptr);
}

TEST(WholeList, FaultsFailTheWholeList) {
  struct Case {
    const char* why;
    std::string text;
  };
  const Case cases[] = {
      {"end line of another terminal", "(5,ygdata,1)\r\n(5,yg,1,A,1,2,3,4,5)\r\n(6,ygdataend)\r\n"},
      {"name of 16 bytes", "(5,ygdata,1)\r\n(5,yg,1,SixteenLetters!!,1,2,3,4,5)\r\n(5,ygdataend)\r\n"},
      {"record of another terminal", "(5,ygdata,1)\r\n(6,yg,1,A,1,2,3,4,5)\r\n(5,ygdataend)\r\n"},
      {"fewer records than announced", "(5,ygdata,2)\r\n(5,yg,1,A,1,2,3,4,5)\r\n(5,ygdataend)\r\n"},
      {"missing end line", "(5,ygdata,1)\r\n(5,yg,1,A,1,2,3,4,5)\r\n"},
      {"a huge announced count", "(5,ygdata,2000000000)\r\n(5,yg,1,A,1,2,3,4,5)\r\n(5,ygdataend)\r\n"},
      {"a negative count", "(5,ygdata,-3)\r\n(5,ygdataend)\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const Persons p = readPersons(c.text);
    EXPECT_FALSE(p.ok);
    EXPECT_TRUE(p.records.empty());
  }
  EXPECT_EQ(readPersons("(5,ygdata,3)\r\n").count, 3) << "a failed list keeps the stored count";
  EXPECT_EQ(readPersons("(5,ygdatx,3)\r\n").count, -99) << "an unread header leaves it untouched";
}

TEST(WholeList, ClockingRecordsTakeTheRequestedSerialNumber) {
  void* array = nullptr;
  std::int32_t count = 0;
  ASSERT_TRUE(parseWholeList(
      "(77,kqdata,1)\r\n(77,kq,5,2009-06-03 09:20:52,1)\r\n(77,kqdataend)\r\n", 77, clockingList(),
      &count, &array));
  ASSERT_EQ(count, 1);
  const auto* r = static_cast<ClockingRecord*>(array);
  EXPECT_EQ(r->Sno, 77);
  EXPECT_EQ(r->PersonID, 5);
  EXPECT_EQ(r->Value, 1);
  EXPECT_STREQ(r->Time, "2009-06-03 09:20:52");
  std::free(array);

  EXPECT_FALSE(parseWholeList(
      "(77,kqdata,1)\r\n(77,kq,5,2009-06-03 09:20:52.5,1)\r\n(77,kqdataend)\r\n", 77,
      clockingList(), &count, &array))
      << "a time text of 20 bytes";
}

// The hand-written reader of clocking-record lines accepts, rejects and fills exactly what the
// pattern it replaces does, byte for byte, down to the length it reports.
TEST(ClockingLine, HandReaderAgreesWithThePattern) {
  const char* const lines[] = {
      "5,2009-06-03 09:20:52,1)",         // the regular line
      "0,x,0)",                           // shortest fields
      "-17,2009-06-03 09:20:52,-3)",      // signs
      "+4,t,+0)",
      " \t12,t, \r\n7)",                 // white space before numbers
      "12 ,t,7)",                         // white space after a number is not skipped
      "4294967301,t,2147483648)",         // numbers wrapping to 32 bits
      "99999999999999999999,t,1)",
      "5,2009-06-03 09:20:52.,1)",        // a time of 20 bytes
      "5,1234567890123456789,1)",         // a time of exactly 19 bytes
      "5,,1)",                            // an empty time
      "5, spaced  time ,1)",              // a time keeps its blanks
      "5,time)with(brackets,1)",
      "5,t,1",                            // no closing bracket
      "5,t,1)\r\n",                       // what follows the bracket is not read
      "5,t,)",                            // a missing value
      "5,t,-)",
      ",t,1)",                            // a missing person
      "x5,t,1)",
      "5;t,1)",
      "5,t",                              // the text ends in the middle
      "5,",
      "5",
      "",
      "-",
      "5,t,1,2)",                         // a field too many
  };
  for (const char* line : lines) {
    SCOPED_TRACE(::testing::Message() << '"' << line << '"');
    const std::string_view text(line);
    ClockingRecord byPattern{};
    int consumed = -1;
    const bool patternReads = scanText(text, "%d,%19[^,],%d)%n", &byPattern.PersonID,
                                       byPattern.Time, &byPattern.Value, &consumed) == 3 &&
                              consumed > 0;
    ClockingRecord byHand;
    std::memset(&byHand, 0x5a, sizeof byHand);
    const ClockingRecord untouched = byHand;
    const std::size_t used = clockingList().parseRecord(text, 31, &byHand);
    if (!patternReads) {
      EXPECT_EQ(used, 0u);
      EXPECT_EQ(std::memcmp(&byHand, &untouched, sizeof byHand), 0) << "a refused line writes nothing";
      continue;
    }
    byPattern.Sno = 31;
    EXPECT_EQ(used, static_cast<std::size_t>(consumed));
    EXPECT_EQ(std::memcmp(&byHand, &byPattern, sizeof byHand), 0);
  }
}

TEST(Realtime, LinesAreReadInOrderAndNoiseIsSkipped) {
  std::vector<ClockingRecord> out;
  parseRealtimeText(
      "(77,kq,5,2009-06-03 09:20:52,1)\r\nnoise\r\n(78,kq,6,2009-06-03 09:21:00,0)\r\n(77,kq,", out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].Sno, 77);
  EXPECT_EQ(out[0].PersonID, 5);
  EXPECT_EQ(out[0].Value, 1);
  EXPECT_STREQ(out[0].Time, "2009-06-03 09:20:52");
  EXPECT_EQ(out[1].Sno, 78);
}

TEST(TemplateFrames, RawBytesAreFramedEscapedAndReadBack) {
  std::string raw(338, 'a');
  raw[0] = '\xC0';
  raw[200] = '\xDB';
  const std::string framed = frameRawTemplate(raw);
  EXPECT_EQ(framed.substr(0, 8), std::string("\xC0\x02\0\0\0\0\0\xA9", 8)) << "169 bytes in each";
  EXPECT_EQ(framed.substr(8, 2), "\xDB\xDC");
  EXPECT_NE(framed.find(std::string("\xC0\xC0\x08\0\0\0\0\0\xA9", 9)), std::string::npos);
  EXPECT_LE(framed.size(), 2 * raw.size() + 26);
  EXPECT_TRUE(isValidTemplate(framed));
  EXPECT_TRUE(isValidTemplate(framed + "trailing bytes"));
  EXPECT_EQ(rawTemplateOf(framed), raw);
}

TEST(TemplateFrames, DamagedFramesAreInvalid) {
  const std::string good = frameRawTemplate(std::string(256, '\x11'));
  std::string badSum = good;
  badSum[100] = '\x12';
  std::string badEscape = good;
  badEscape[20] = '\xDB';
  const std::string first = good.substr(0, good.find(std::string("\xC0\xC0", 2)) + 1);
  for (const std::string& bad : {badSum, badEscape, good.substr(0, good.size() - 1), first + first,
                                 good.substr(first.size()) + first, std::string("\xC0", 1)}) {
    EXPECT_FALSE(isValidTemplate(bad));
    EXPECT_FALSE(rawTemplateOf(bad).has_value());
  }
}

TEST(TemplateFrames, LengthsThatFitTheCountBytes) {
  for (std::size_t n : {1u, 256u, 338u, 510u}) EXPECT_TRUE(isFrameableLength(n)) << n;
  for (std::size_t n : {0u, 511u, 384u, 385u, 438u, 1000u}) EXPECT_FALSE(isFrameableLength(n)) << n;
}

// Feeds a list text to the progress reader in pieces of `piece` bytes, a call after each piece.
struct Fed {
  int result = 2;
  std::int32_t total = 0;
  std::vector<ClockingRecord> records;
};
Fed feed(const std::string& text, std::size_t piece, std::int32_t serial = 77) {
  ListProgress progress;
  progress.format = &clockingList();
  progress.sno = serial;
  Fed out;
  for (std::size_t have = 0; out.result == 2;) {
    have = std::min(text.size(), have + piece);
    const auto state = have < text.size() ? TransferState::running : TransferState::complete;
    std::int32_t count = 0;
    void* array = nullptr;
    out.result = readListProgress(progress, std::string_view(text).substr(0, have), state,
                                  &out.total, &count, &array);
    const auto* r = static_cast<ClockingRecord*>(array);
    if (r != nullptr) out.records.insert(out.records.end(), r, r + count);
    std::free(array);
    if (state == TransferState::complete && out.result == 2) break;  // would never end
  }
  return out;
}

TEST(ListProgress, RecordsArriveWhateverThePiecesAre) {
  std::string text = "(77,kqdata,40)\r\n";
  for (int i = 1; i <= 40; ++i)
    text += formatText("(77,kq,%d,2009-06-03 09:%02d:00,%d)\r\n", i, i, i % 3);
  text += "(77,kqdataend)\r\n";
  for (std::size_t piece : {1u, 2u, 7u, 15u, 200u, 100000u}) {
    SCOPED_TRACE(piece);
    const Fed f = feed(text, piece);
    EXPECT_EQ(f.result, 1);
    EXPECT_EQ(f.total, 40);
    ASSERT_EQ(f.records.size(), 40u);
    for (int i = 0; i < 40; ++i) {
      EXPECT_EQ(f.records[static_cast<std::size_t>(i)].PersonID, i + 1);
      EXPECT_EQ(f.records[static_cast<std::size_t>(i)].Sno, 77);
    }
  }
}

TEST(ListProgress, ListsThatAreNotTheOneAskedFor) {
  const std::string tail = "(77,kq,1,2009-06-03 09:00:00,1)\r\n(77,kqdataend)\r\n";
  EXPECT_EQ(feed("(78,kqdata,1)\r\n" + tail, 5).result, 0) << "header of another terminal";
  EXPECT_EQ(feed("(77,kqdata,1)\r\n(77,kq,1,x)\r\n(77,kqdataend)\r\n", 5).result, 0);
  EXPECT_EQ(feed("(77,kqdata,1)\r\n(77,kq,1,2009-06-03 09:00:00,1)\r\n", 5).result, 0)
      << "a complete transfer without its end line";
  const Fed empty = feed("(77,kqdata,0)\r\n(77,kqdataend)\r\n", 3);
  EXPECT_EQ(empty.result, 1);
  EXPECT_EQ(empty.total, 0);
  ListProgress p;
  p.format = &clockingList();
  std::int32_t total = 0, count = 0;
  void* array = nullptr;
  EXPECT_EQ(readListProgress(p, "(77,kqdata,3)\r\n", TransferState::failed, &total, &count, &array), 0);
}

}  // namespace
}  // namespace termlink
