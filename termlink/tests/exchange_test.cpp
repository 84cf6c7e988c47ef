// The exchange over both transports: timeouts and their caps, what counts as a reply, and the
// log entries an exchange writes.
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "protocol/exchange.h"
#include "protocol/reply_tests.h"
#include "terminal_simulator.h"
#include "termlink.h"
#include "test_support.h"

namespace termlink {
namespace {

using namespace termlink::testing;
using termsim::Malformation;
using termsim::PtyEndpoint;
using termsim::SimOptions;
using termsim::TcpEndpoint;
using termsim::TerminalState;

// Today's log file, read from the current directory.
std::string todaysLog() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char name[64];
  std::snprintf(name, sizeof name, "LOG/%4d_%02d_%02d.log", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  return readFile(name);
}

TEST(WaitCounts, SerialWaitIsCappedByComRespTimeout) {
  EXPECT_EQ(serialWaitCount(8500, kDefaultComRespTimeoutMs), 100);  // 2000 ms
  EXPECT_EQ(serialWaitCount(8500, 10000), 425);                     // the full 8500 ms
  EXPECT_EQ(serialWaitCount(400, 2000), 20);
  EXPECT_EQ(serialWaitCount(10, 2000), 1) << "at least one wait";
  EXPECT_EQ(serialWaitCount(-5, 2000), 1);
}

TEST(WaitCounts, TcpWaitsInWholeFiveSecondWaits) {
  EXPECT_EQ(netWaitCount(3000), 1);
  EXPECT_EQ(netWaitCount(12000), 2);
  EXPECT_EQ(netWaitCount(kDefaultNetRespTimeoutMs), 4);
  EXPECT_EQ(netWaitCount(0), 1);
}

TEST(SetRespTimeouts, ReturnsTheSerialTimeoutAndSetsBoth) {
  EXPECT_EQ(CKT_SetRespTimeouts(1234, 5678), 1234);
  EXPECT_EQ(comResponseTimeout(), 1234);
  EXPECT_EQ(netResponseTimeout(), 5678);
  CKT_SetRespTimeouts(kDefaultComRespTimeoutMs, kDefaultNetRespTimeoutMs);
}

class SerialExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TERMLINK_COM3", line.devicePath().c_str(), 1);
    ASSERT_EQ(CKT_RegisterSno(21, 3), 1);
    ::mkdir("LOG", 0755);
  }
  void TearDown() override { resetLibrary(); }

  ScratchDir scratch;  // the log goes to LOG/ below it
  std::shared_ptr<TerminalState> terminal = std::make_shared<TerminalState>(21);
  PtyEndpoint line{terminal};
};

TEST_F(SerialExchange, ReplyIsWhatArrivesUntilTheLineIsQuiet) {
  ReplyArea reply(200);
  ASSERT_TRUE(exchange(21, "(21,setdoor,1)", reply, 400));
  EXPECT_EQ(reply.text(), "(21,setdoor,ok)\r\n");
  EXPECT_TRUE(replyIsExactly(reply.text(), formatText("(%u,setdoor,ok)\r\n", sno(21))));
}

TEST_F(SerialExchange, SilentTerminalGivesAnEmptyReplyAndLogsTimeoutAndAbort) {
  SimOptions silent;
  silent.silent = true;
  line.setOptions(silent);
  CKT_EnableLog(1);
  ReplyArea reply(200);
  EXPECT_TRUE(exchange(21, "(21,sysclock)", reply, 400)) << "a serial exchange does not fail";
  EXPECT_EQ(reply.size(), 0u);
  CKT_EnableLog(0);
  EXPECT_EQ(todaysLog(),
            ">>>--L-o-G--<<<\r\n"
            "[COM]\tsend():{{{\r\n(21,sysclock)}}}\r\n"
            "[COM]\trecv() timeout!\r\n"
            "[COM]\trecv() abort!\r\n"
            ">>>---------<<<\r\n");
}

TEST_F(SerialExchange, OneByteReplyIsATimeout) {
  SimOptions oneByte;
  oneByte.malformation = Malformation::OneByte;
  line.setOptions(oneByte);
  CKT_EnableLog(1);
  ReplyArea reply(200);
  EXPECT_TRUE(exchange(21, "(21,sysclock)", reply, 400));
  EXPECT_EQ(reply.size(), 0u);
  EXPECT_NE(todaysLog().find("[COM]\trecv() timeout!\r\n"), std::string::npos);
}

TEST_F(SerialExchange, WaitForTheStartOfAReplyIsCappedByComRespTimeout) {
  SimOptions silent;
  silent.silent = true;
  line.setOptions(silent);
  ReplyArea reply(200);
  CKT_SetRespTimeouts(200, 20000);
  const long long capped = elapsedMs([&] { exchange(21, "(21,ygeraseall)", reply, 1500); });
  EXPECT_GE(capped, 190);
  EXPECT_LT(capped, 1000) << "ComRespTimeout caps the command's own timeout";

  CKT_SetRespTimeouts(5000, 20000);
  const long long own = elapsedMs([&] { exchange(21, "(21,ygeraseall)", reply, 600); });
  EXPECT_GE(own, 580) << "a raised cap lets the command's timeout run";
  EXPECT_LT(own, 2500);
}

TEST_F(SerialExchange, ReplyLongerThanItsAreaIsCutAtTheArea) {
  ReplyArea reply(10);
  ASSERT_TRUE(exchange(21, "(21,setdoor,1)", reply, 400));
  EXPECT_EQ(reply.text(), "(21,setdoo");
  EXPECT_EQ(reply.data()[10], '\0');
}

TEST_F(SerialExchange, SerialNumberWithoutARouteFailsWithoutTraffic) {
  line.clearRequests();
  ReplyArea reply(200);
  EXPECT_FALSE(exchange(999, "(999,sysinfo)", reply, 400));
  EXPECT_EQ(reply.size(), 0u);
  std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(line.requests().empty());
}

class TcpExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    port = useOwnTcpPort();
    ASSERT_EQ(CKT_NetDaemon(), 1);
    net = std::make_unique<TcpEndpoint>(terminal, port);
    ASSERT_TRUE(waitUntil([] { return connections().size() == 1; }, 3s));
    ::mkdir("LOG", 0755);
  }
  void TearDown() override {
    resetLibrary();
    net.reset();
  }

  ScratchDir scratch;
  std::uint16_t port = 0;
  std::shared_ptr<TerminalState> terminal = std::make_shared<TerminalState>(31);
  std::unique_ptr<TcpEndpoint> net;
};

TEST_F(TcpExchange, ReplyInTwoPiecesYieldsOnlyTheFirstPiece) {
  SimOptions split;
  split.splitReplies = true;
  split.splitPauseMs = 100;
  net->setOptions(split);
  ReplyArea reply(200);
  ASSERT_TRUE(exchange(31, "(31,setdoor,1)", reply, 400));
  const std::string expected = "(31,setdoor,ok)\r\n";
  EXPECT_FALSE(replyIsExactly(reply.text(), expected));
  EXPECT_EQ(reply.text(), expected.substr(0, expected.size() / 2));
}

TEST_F(TcpExchange, SilentTerminalGetsOneFiveSecondWaitThenAnEmptyReply) {
  SimOptions silent;
  silent.silent = true;
  net->setOptions(silent);
  CKT_SetRespTimeouts(2000, 3000);
  CKT_EnableLog(1);
  ReplyArea reply(200);
  bool ok = false;
  const long long took = elapsedMs([&] { ok = exchange(31, "(31,sysclock)", reply, 400); });
  EXPECT_TRUE(ok);
  EXPECT_EQ(reply.size(), 0u);
  EXPECT_GE(took, 4900);
  EXPECT_LT(took, 9000);
  EXPECT_EQ(connections(), std::vector<std::int32_t>{31}) << "the connection stays";
  const std::string log = todaysLog();
  EXPECT_NE(log.find("[NET]\tsend():{{{\r\n(31,sysclock)}}}\r\n[NET]\trecv() timeout!\r\n"),
            std::string::npos)
      << log;
}

TEST_F(TcpExchange, PeerThatClosedIsDroppedFromTheTable) {
  CKT_EnableLog(1);
  net->disconnect();
  ReplyArea reply(200);
  EXPECT_TRUE(waitUntil([&] { return !exchange(31, "(31,sysclock)", reply, 400); }, 3s));
  EXPECT_TRUE(connections().empty());
  const std::string log = todaysLog();
  EXPECT_TRUE(log.find("[NET]\trecv() close friendly!\r\n") != std::string::npos ||
              log.find("[NET]\tsend() abort!\r\n") != std::string::npos ||
              log.find("[NET]\trecv() abort!\r\n") != std::string::npos)
      << log;
}

TEST_F(TcpExchange, RepliesAreLoggedAsTheyCame) {
  CKT_EnableLog(1);
  ReplyArea reply(200);
  ASSERT_TRUE(exchange(31, "(31,setdoor,1)", reply, 400));
  CKT_EnableLog(0);
  EXPECT_EQ(todaysLog(),
            ">>>--L-o-G--<<<\r\n"
            "[NET]\tsend():{{{\r\n(31,setdoor,1)}}}\r\n"
            "[NET]\trecv():{{{\r\n(31,setdoor,ok)\r\n}}}\r\n"
            ">>>---------<<<\r\n");
}

}  // namespace
}  // namespace termlink
