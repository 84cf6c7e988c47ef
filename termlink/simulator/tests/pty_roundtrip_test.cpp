// A tiny serial client against the simulator's pseudo-terminal.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>

#include "terminal_simulator.h"

namespace termsim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class SerialClient {
 public:
  explicit SerialClient(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
    if (fd_ < 0) return;
    termios tio{};
    ::tcgetattr(fd_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd_, TCSANOW, &tio);
  }
  ~SerialClient() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool open() const { return fd_ >= 0; }
  void send(std::string_view text) { ASSERT_EQ(::write(fd_, text.data(), text.size()), ssize_t(text.size())); }
  // Reads until `quiet` passes without a byte (the serial line's end of a reply).
  std::string receive(std::chrono::milliseconds first = 1000ms, std::chrono::milliseconds quiet = 150ms) {
    std::string got;
    for (auto wait = first;; wait = quiet) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0) return got;
      char buffer[4096];
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n <= 0) return got;
      got.append(buffer, static_cast<std::size_t>(n));
    }
  }

 private:
  int fd_;
};

TEST(PtyEndpoint, AnswersOverTheLineAndLogsRequests) {
  auto terminal = std::make_shared<TerminalState>(123456);
  terminal->setClock({2009, 6, 3, 9, 20, 52});
  PtyEndpoint line(terminal);
  SerialClient client(line.devicePath());
  ASSERT_TRUE(client.open()) << line.devicePath();

  client.send("(123456,sysclock)");
  EXPECT_EQ(client.receive(), "(123456,sysclock,2009-6-3 9:20:52)\r\n");
  client.send("(123456,setdate,2009,6,3)");
  EXPECT_EQ(client.receive(), "(123456,setdate,ok)\r\n");
  EXPECT_EQ(line.requests(), (std::vector<std::string>{"(123456,sysclock)", "(123456,setdate,2009,6,3)"}));

  // A realtime punch is pushed only while realtime mode is on.
  line.punch({5, "2009-06-03 09:20:52", 1});
  EXPECT_EQ(client.receive(300ms), "");
  client.send("(123456,setreal,1)");
  EXPECT_EQ(client.receive(), "(123456,setreal,ok)\r\n");
  line.punch({5, "2009-06-03 09:20:53", 1});
  EXPECT_EQ(client.receive(), "(123456,kq,5,2009-06-03 09:20:53,1)\r\n");
  line.punch({{6, "2009-06-03 09:21:00", 0}, {7, "2009-06-03 09:21:01", 1}});
  EXPECT_EQ(client.receive(),
            "(123456,kq,6,2009-06-03 09:21:00,0)\r\n(123456,kq,7,2009-06-03 09:21:01,1)\r\n");
  EXPECT_EQ(terminal->recordCount(), 4u);
}

TEST(PtyEndpoint, TerminalsSharingALineAnswerTheirOwnRequests) {
  auto first = std::make_shared<TerminalState>(11);
  auto second = std::make_shared<TerminalState>(22);
  PtyEndpoint line({first, second});
  SerialClient client(line.devicePath());
  ASSERT_TRUE(client.open());
  client.send("(22,setvol,5)");
  EXPECT_EQ(client.receive(), "(22,setvol,ok)\r\n");
  client.send("(33,setvol,5)");
  EXPECT_EQ(client.receive(400ms), "");
  EXPECT_EQ(second->option("setvol"), 5);
  EXPECT_EQ(first->option("setvol"), 0);
}

TEST(PtyEndpoint, SplitsAndPacesReplies) {
  auto terminal = std::make_shared<TerminalState>(7);
  SimOptions options;
  options.splitReplies = true;
  options.splitPauseMs = 300;  // longer than the 150 ms quiet that ends a serial reply
  PtyEndpoint line(terminal, options);
  SerialClient client(line.devicePath());
  ASSERT_TRUE(client.open());
  client.send("(7,setdoor,1)");
  const std::string firstPiece = client.receive();
  EXPECT_EQ(firstPiece + client.receive(), "(7,setdoor,ok)\r\n");
  EXPECT_EQ(firstPiece, "(7,setdo");

  options.splitReplies = false;
  options.baud = 9600;
  line.setOptions(options);
  terminal->fillRecords(4);  // about 190 bytes: some 200 ms at 960 bytes a second
  const auto start = Clock::now();
  client.send("(7,kqdata)");
  const std::string list = client.receive(1000ms, 300ms);
  const auto took = Clock::now() - start - 300ms;
  EXPECT_TRUE(list.ends_with("(7,kqdataend)\r\n")) << list;
  EXPECT_GE(took, std::chrono::microseconds(list.size() * 10'000'000 / 9600) * 9 / 10);
}

}  // namespace
}  // namespace termsim
