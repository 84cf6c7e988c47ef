// The diagnostic log file: where it goes, its start and end lines, and the two forms of a block.
#include <sys/stat.h>

#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "protocol/log.h"
#include "termlink.h"
#include "test_support.h"

namespace termlink {
namespace {

using namespace termlink::testing;

std::string todaysLogName() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char name[64];
  std::snprintf(name, sizeof name, "LOG/%4d_%02d_%02d.log", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  return name;
}

class Log : public ::testing::Test {
 protected:
  void SetUp() override { ::mkdir("LOG", 0755); }
  void TearDown() override { CKT_EnableLog(0); }
  ScratchDir scratch;
};

TEST_F(Log, SwitchedOnTwiceInADayAppendsAfterANewStartLine) {
  CKT_EnableLog(1);
  log::entry("[COM]\trecv() timeout!\r\n");
  CKT_EnableLog(1);
  CKT_EnableLog(0);
  CKT_EnableLog(5);
  CKT_EnableLog(0);
  EXPECT_EQ(readFile(todaysLogName()),
            ">>>--L-o-G--<<<\r\n"
            "[COM]\trecv() timeout!\r\n"
            ">>>--L-o-G--<<<\r\n"
            ">>>---------<<<\r\n"
            ">>>--L-o-G--<<<\r\n"
            ">>>---------<<<\r\n");
}

TEST_F(Log, BlockHoldingAC0ByteIsWrittenInHex) {
  CKT_EnableLog(1);
  log::block("[NET]\tsend():{{{\r\n", std::string("\xC0\x02\x00\xDB\x7F", 5));
  log::block("[NET]\tsend():{{{\r\n", "(5,gettemplet,1,0)");
  CKT_EnableLog(0);
  EXPECT_EQ(readFile(todaysLogName()),
            ">>>--L-o-G--<<<\r\n"
            "[NET]\tsend():{{{\r\nc0 02 00 db 7f }}}\r\n"
            "[NET]\tsend():{{{\r\n(5,gettemplet,1,0)}}}\r\n"
            ">>>---------<<<\r\n");
}

TEST_F(Log, NothingIsWrittenWhileOff) {
  CKT_EnableLog(1);
  CKT_EnableLog(0);
  log::entry("[COM]\trecv() abort!\r\n");
  EXPECT_EQ(readFile(todaysLogName()), ">>>--L-o-G--<<<\r\n>>>---------<<<\r\n");
}

TEST(LogWithoutFolder, StaysSilent) {
  ScratchDir scratch;  // no LOG folder in it
  CKT_EnableLog(1);
  EXPECT_FALSE(log::active());
  log::entry("[COM]\trecv() abort!\r\n");
  CKT_EnableLog(0);
  struct stat st{};
  EXPECT_NE(::stat("LOG", &st), 0) << "the folder is not created";
}

}  // namespace
}  // namespace termlink
