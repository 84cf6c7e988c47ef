// Registering terminals on serial lines, the TCP server and its identification of terminals,
// the COM daemon, and the modem, against the terminal simulator.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "protocol/exchange.h"
#include "terminal_simulator.h"
#include "termlink.h"
#include "test_support.h"
#include "transport/com_routes.h"
#include "transport/tcp_server.h"

namespace termlink {
namespace {

using namespace termlink::testing;
using termsim::PtyEndpoint;
using termsim::SimOptions;
using termsim::TcpEndpoint;
using termsim::TerminalState;

std::shared_ptr<TerminalState> terminal(std::uint32_t sno) {
  return std::make_shared<TerminalState>(sno);
}

void pointComPortAt(int port, const std::string& device) {
  ::setenv(("TERMLINK_COM" + std::to_string(port)).c_str(), device.c_str(), 1);
}

bool sawRequest(const termsim::Endpoint& endpoint, const std::string& request) {
  const auto all = endpoint.requests();
  return std::find(all.begin(), all.end(), request) != all.end();
}

// Asks `sno` for its identity; true when a reply of that terminal came back.
bool answers(std::int32_t sno) {
  ReplyArea reply(200);
  const std::string request = "(" + std::to_string(sno) + ",sysinfo)";
  return exchange(sno, request, reply, 400) &&
         reply.text().starts_with("(" + std::to_string(sno) + ",sysinfo,");
}

class Termlink : public ::testing::Test {
 protected:
  void TearDown() override { resetLibrary(); }
};

// ---- Serial lines ------------------------------------------------------------------------------

TEST_F(Termlink, PortOutsideOneToNineIsRefusedAndChangesNothing) {
  PtyEndpoint line(terminal(5));
  pointComPortAt(3, line.devicePath());
  ASSERT_EQ(CKT_RegisterSno(5, 3), 1);
  for (int port : {0, 10, -1, 100}) {
    EXPECT_EQ(CKT_RegisterSno(5, port), -1) << port;
    EXPECT_EQ(registeredPort(5), 3) << port;
  }
  EXPECT_EQ(CKT_RegisterSno(6, 0), -1);
  EXPECT_EQ(registeredPort(6), 0);
}

TEST_F(Termlink, RegisteringAgainKeepsOneEntryWithTheLaterPort) {
  PtyEndpoint first(terminal(7)), second(terminal(7));
  pointComPortAt(2, first.devicePath());
  pointComPortAt(4, second.devicePath());
  ASSERT_EQ(CKT_RegisterSno(7, 2), 1);
  ASSERT_EQ(CKT_RegisterSno(7, 4), 1);
  EXPECT_EQ(registeredPort(7), 4);
  EXPECT_TRUE(answers(7));
  EXPECT_TRUE(sawRequest(second, "(7,sysinfo)"));
  EXPECT_FALSE(sawRequest(first, "(7,sysinfo)"));

  CKT_UnregisterSno(7);
  second.clearRequests();
  EXPECT_FALSE(answers(7));
  EXPECT_TRUE(second.requests().empty()) << "no traffic for a serial number without a route";
}

TEST_F(Termlink, TwoSerialNumbersShareOnePortAndUnregisteringOneKeepsItOpen) {
  PtyEndpoint line(std::vector{terminal(11), terminal(12)});
  pointComPortAt(3, line.devicePath());
  ASSERT_EQ(CKT_RegisterSno(11, 3), 1);
  ASSERT_EQ(CKT_RegisterSno(12, 3), 1);
  EXPECT_TRUE(answers(11));
  EXPECT_TRUE(answers(12));
  CKT_UnregisterSno(11);
  EXPECT_FALSE(answers(11));
  EXPECT_TRUE(answers(12));
}

TEST_F(Termlink, PortThatCannotBeOpenedKeepsTheRegistrationAndIsTriedAgain) {
  pointComPortAt(5, "/nonexistent/termlink-line");
  EXPECT_EQ(CKT_RegisterSno(21, 5), 0);
  EXPECT_EQ(registeredPort(21), 5);
  EXPECT_FALSE(answers(21));

  PtyEndpoint line(terminal(21));
  pointComPortAt(5, line.devicePath());
  EXPECT_TRUE(answers(21)) << "a later command opens the port";
}

TEST_F(Termlink, DisconnectClosesPortsAndForgetsRegistrations) {
  PtyEndpoint line(terminal(8));
  pointComPortAt(1, line.devicePath());
  ASSERT_EQ(CKT_RegisterSno(8, 1), 1);
  CKT_Disconnect();
  EXPECT_EQ(registeredPort(8), 0);
  EXPECT_FALSE(answers(8));
  EXPECT_EQ(CKT_RegisterSno(8, 1), 1) << "the port opens again";
  EXPECT_TRUE(answers(8));
}

// ---- Daemons -----------------------------------------------------------------------------------

TEST_F(Termlink, NetDaemonStartsOnceAndAgainAfterDisconnect) {
  useOwnTcpPort();
  EXPECT_EQ(CKT_NetDaemon(), 1);
  EXPECT_EQ(CKT_NetDaemon(), -1);
  CKT_Disconnect();
  int result = -1;
  EXPECT_TRUE(waitUntil([&] { return (result = CKT_NetDaemon()) != -1; }, 3s));
  EXPECT_EQ(result, 1);
}

TEST_F(Termlink, NetDaemonFailsWhenThePortIsTaken) {
  const std::uint16_t port = useOwnTcpPort();
  const int taken = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_ANY);
  a.sin_port = htons(port);
  ASSERT_EQ(::bind(taken, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  ASSERT_EQ(::listen(taken, 1), 0);
  EXPECT_EQ(CKT_NetDaemon(), 0);
  EXPECT_FALSE(netServerRunning());
  ::close(taken);
}

TEST_F(Termlink, ComDaemonIsCreatedOncePerProcess) {
  EXPECT_EQ(CKT_ComDaemon(), 1);
  EXPECT_EQ(CKT_ComDaemon(), -1);
  CKT_Disconnect();
  EXPECT_EQ(CKT_ComDaemon(), -1);
}

TEST_F(Termlink, ReportConnectionsWithoutConnectionsGivesZeroAndNull) {
  std::int32_t dummy = 0;
  std::int32_t* list = &dummy;
  EXPECT_EQ(CKT_ReportConnections(&list), 0);
  EXPECT_EQ(list, nullptr);
}

// ---- Identification of TCP terminals -----------------------------------------------------------

TEST_F(Termlink, ConnectingTerminalIsFiledUnderTheSerialNumberItReports) {
  const std::uint16_t port = useOwnTcpPort();
  ASSERT_EQ(CKT_NetDaemon(), 1);
  TcpEndpoint net(terminal(123456), port);
  EXPECT_TRUE(waitUntil([] { return connections() == std::vector<std::int32_t>{123456}; }, 3s));
  EXPECT_TRUE(sawRequest(net, "(0,sysinfo)"));
  EXPECT_TRUE(answers(123456));
}

TEST_F(Termlink, IdentificationWithoutASerialNumberClosesTheConnection) {
  for (const char* answer : {"(A123456,sysinfo,v3.12)\r\n", "(0,sysinfo,v3.12)\r\n", "x(5,sysinfo)\r\n"}) {
    SCOPED_TRACE(answer);
    const std::uint16_t port = useOwnTcpPort();
    ASSERT_EQ(CKT_NetDaemon(), 1);
    SimOptions options;
    options.rewriteReply = [answer](std::string_view request, std::string reply) {
      return request == "(0,sysinfo)" ? std::string(answer) : reply;
    };
    TcpEndpoint net(terminal(55), port, options);
    ASSERT_TRUE(net.waitConnected(3s));
    ASSERT_TRUE(net.waitForRequests(1, 3s));
    EXPECT_TRUE(waitUntil([&] { return !net.connected(); }, 5s)) << "the library closes it";
    EXPECT_TRUE(connections().empty());
    resetLibrary();
  }
}

TEST_F(Termlink, SecondConnectionWithAFiledSerialNumberLeavesTheTableAsItIs) {
  const std::uint16_t port = useOwnTcpPort();
  ASSERT_EQ(CKT_NetDaemon(), 1);
  TcpEndpoint first(terminal(77), port);
  ASSERT_TRUE(waitUntil([] { return connections().size() == 1; }, 3s));
  TcpEndpoint second(terminal(77), port);
  ASSERT_TRUE(second.waitForRequests(1, 3s));
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(connections(), std::vector<std::int32_t>{77});

  first.clearRequests();
  EXPECT_TRUE(answers(77));
  EXPECT_TRUE(sawRequest(first, "(77,sysinfo)")) << "commands keep using the first connection";
  EXPECT_FALSE(sawRequest(second, "(77,sysinfo)"));

  first.disconnect();
  EXPECT_TRUE(waitUntil([] { return !answers(77); }, 3s)) << "until an exchange on it fails";
  EXPECT_TRUE(connections().empty());
  EXPECT_TRUE(second.connected()) << "the second connection stays open and idle";
}

TEST_F(Termlink, TcpServesATerminalThatIsAlsoOnASerialLine) {
  const auto t = terminal(42);
  PtyEndpoint line(t);
  pointComPortAt(6, line.devicePath());
  ASSERT_EQ(CKT_RegisterSno(42, 6), 1);
  const std::uint16_t port = useOwnTcpPort();
  ASSERT_EQ(CKT_NetDaemon(), 1);
  TcpEndpoint net(t, port);
  ASSERT_TRUE(waitUntil([] { return connections().size() == 1; }, 3s));
  line.clearRequests();
  EXPECT_TRUE(answers(42));
  EXPECT_TRUE(sawRequest(net, "(42,sysinfo)"));
  EXPECT_TRUE(line.requests().empty());
}

// ---- Modem -------------------------------------------------------------------------------------

TEST_F(Termlink, ModemDialsRunsTheHandshakeAndHangsUp) {
  SimOptions options;
  options.modem = true;
  options.modemDialMs = 100;
  PtyEndpoint line(terminal(9), options);
  pointComPortAt(7, line.devicePath());
  ASSERT_EQ(CKT_RegisterSno(9, 7), 1);
  EXPECT_EQ(CKT_ConnectModem(9, "5551234"), 1);
  EXPECT_TRUE(sawRequest(line, "ATD5551234\r"));
  EXPECT_TRUE(answers(9)) << "the terminal behind the modem answers";
  EXPECT_EQ(CKT_DisconnectModem(9), 1);
  EXPECT_TRUE(sawRequest(line, "+++"));
  EXPECT_TRUE(sawRequest(line, "ATD\r"));
}

TEST_F(Termlink, ModemThatDoesNotConnectGivesZero) {
  for (const char* answer : {"BUSY", "NO DIALTONE", "NO CARRIER"}) {
    SCOPED_TRACE(answer);
    SimOptions options;
    options.modem = true;
    options.modemDialMs = 50;
    options.modemAnswer = answer;
    PtyEndpoint line(terminal(9), options);
    pointComPortAt(7, line.devicePath());
    ASSERT_EQ(CKT_RegisterSno(9, 7), 1);
    long long took = elapsedMs([] { EXPECT_EQ(CKT_ConnectModem(9, "5551234"), 0); });
    EXPECT_LT(took, 2500) << "the answer ends the dialling";
    resetLibrary();
  }
  EXPECT_EQ(CKT_ConnectModem(9, "5551234"), 0) << "no route";
}

// ---- Many callers ------------------------------------------------------------------------------

TEST_F(Termlink, CommandsFromSeveralThreadsAndADisconnectInTheirMidst) {
  PtyEndpoint line(terminal(61));
  pointComPortAt(8, line.devicePath());
  ASSERT_EQ(CKT_RegisterSno(61, 8), 1);
  const std::uint16_t port = useOwnTcpPort();
  ASSERT_EQ(CKT_NetDaemon(), 1);
  TcpEndpoint net(terminal(62), port);
  ASSERT_TRUE(waitUntil([] { return connections().size() == 1; }, 3s));
  ASSERT_EQ(CKT_ComDaemon(), 1);

  std::atomic<int> answered{0};
  std::atomic<bool> stop{false};
  std::vector<std::thread> callers;
  for (std::int32_t sno : {61, 62, 61, 62}) {
    callers.emplace_back([sno, &answered, &stop] {
      while (!stop) {
        if (answers(sno)) ++answered;
        std::int32_t* list = nullptr;
        CKT_ReportConnections(&list);
        CKT_FreeMemory(list);
      }
    });
  }
  EXPECT_TRUE(waitUntil([&] { return answered >= 8; }, 10s));
  CKT_Disconnect();
  const int before = answered;
  std::this_thread::sleep_for(300ms);
  stop = true;
  for (auto& caller : callers) caller.join();
  EXPECT_LE(answered - before, 4) << "after the disconnect nothing is answered any more";
  EXPECT_FALSE(answers(61));
  EXPECT_FALSE(answers(62));
}

}  // namespace
}  // namespace termlink
