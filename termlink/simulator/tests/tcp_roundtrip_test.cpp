// A tiny server standing in for the library's: the simulator connects to it as a terminal does.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "terminal_simulator.h"

namespace termsim {
namespace {

using namespace std::chrono_literals;

class Server {
 public:
  Server() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(listener_, 8);
    socklen_t size = sizeof a;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &size);
    port_ = ntohs(a.sin_port);
  }
  ~Server() {
    if (peer_ >= 0) ::close(peer_);
    ::close(listener_);
  }
  std::uint16_t port() const { return port_; }
  bool accept() {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, 2000) <= 0) return false;
    if (peer_ >= 0) ::close(peer_);
    peer_ = ::accept(listener_, nullptr, nullptr);
    return peer_ >= 0;
  }
  void send(std::string_view text) { ::send(peer_, text.data(), text.size(), MSG_NOSIGNAL); }
  // One receive call, as the library's exchange makes it; "" on timeout, "<closed>" at the end.
  std::string receiveOnce(int timeoutMs = 1000) {
    pollfd p{peer_, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return "";
    char buffer[65536];
    const ssize_t n = ::recv(peer_, buffer, sizeof buffer, 0);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : "<closed>";
  }
  std::string receiveAll() {
    std::string all;
    for (std::string piece; (piece = receiveOnce(500)) != "" && piece != "<closed>";) all += piece;
    return all;
  }

 private:
  int listener_ = -1, peer_ = -1;
  std::uint16_t port_ = 0;
};

TEST(TcpEndpoint, IdentifiesItselfAndAnswers) {
  Server server;
  auto terminal = std::make_shared<TerminalState>(123456);
  TcpEndpoint net(terminal, server.port());
  ASSERT_TRUE(server.accept());
  ASSERT_TRUE(net.waitConnected(2s));
  server.send("(0,sysinfo)");
  EXPECT_EQ(server.receiveOnce(), "(123456,sysinfo,v3.12,3000,0,0,0,0,0)\r\n");

  terminal->fillRecords(3000);
  server.send("(123456,kqdata)");
  const std::string list = server.receiveAll();
  EXPECT_TRUE(list.starts_with("(123456,kqdata,3000)\r\n(123456,kq,1,2009-06-03 08:00:00,0)\r\n"));
  EXPECT_TRUE(list.ends_with("(123456,kq,90,2009-06-05 09:59:00,1)\r\n(123456,kqdataend)\r\n"));
}

TEST(TcpEndpoint, SplitsRepliesAndDropsInMidList) {
  Server server;
  auto terminal = std::make_shared<TerminalState>(5);
  SimOptions options;
  options.splitReplies = true;
  TcpEndpoint net(terminal, server.port(), options);
  ASSERT_TRUE(server.accept());
  server.send("(5,setwg,1)");
  EXPECT_EQ(server.receiveOnce(), "(5,setw");
  EXPECT_EQ(server.receiveOnce(), "g,ok)\r\n");

  options.splitReplies = false;
  options.tailPieceBytes = 5;
  options.pieceBytes = 4;
  net.setOptions(options);
  server.send("(5,setwg,1)");
  for (const char* piece : {"(5,s", "etwg", ",", "ok)", "\r\n"}) EXPECT_EQ(server.receiveOnce(), piece);

  options.tailPieceBytes = options.pieceBytes = 0;
  options.dropAfterRecords = 2;
  net.setOptions(options);
  terminal->fillRecords(10);
  server.send("(5,kqdata)");
  std::string got;
  for (std::string piece; (piece = server.receiveOnce()) != "<closed>" && !piece.empty();) got += piece;
  EXPECT_EQ(got, "(5,kqdata,10)\r\n(5,kq,1,2009-06-03 08:00:00,0)\r\n(5,kq,2,2009-06-03 08:01:00,1)\r\n");
  EXPECT_EQ(net.connectionCount(), 1);  // no reconnection unless asked for
}

TEST(TcpEndpoint, ReconnectsWhenAsked) {
  Server server;
  SimOptions options;
  options.reconnect = true;
  TcpEndpoint net(std::make_shared<TerminalState>(9), server.port(), options);
  ASSERT_TRUE(server.accept());
  ASSERT_TRUE(net.waitConnected(2s));
  net.disconnect();
  ASSERT_TRUE(server.accept());
  EXPECT_TRUE(net.waitConnected(2s, 2));
  server.send("(9,kqclr)");
  EXPECT_EQ(server.receiveOnce(), "(9,kqclr,ok)\r\n");
}

}  // namespace
}  // namespace termsim
