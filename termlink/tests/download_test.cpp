// Multi-part list downloads against the simulator: blocking and in the background, over TCP and
// the serial line, complete, broken and bigger than the terminals' old limits.
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "protocol/download.h"
#include "protocol/exchange.h"
#include "protocol/list_format.h"
#include "protocol/reply_tests.h"
#include "terminal_simulator.h"
#include "termlink.h"
#include "test_support.h"

namespace termlink {
namespace {

using namespace termlink::testing;
using termsim::PtyEndpoint;
using termsim::SimOptions;
using termsim::TcpEndpoint;
using termsim::TerminalState;

std::vector<termsim::Person> somePersons(int n) {
  std::vector<termsim::Person> out;
  for (int i = 1; i <= n; ++i)
    out.push_back({i, i % 7 == 0 ? "" : "Person " + std::to_string(i), i, 4000000000u, 3, 4, i * 2});
  return out;
}

struct Slices {
  int result = -1;
  std::int32_t total = 0;
  int calls = 0;
  std::vector<PersonInfo> persons;
};

// Polls a background person download until it ends, keeping every slice (each one freed).
Slices pollPersons(CKT_DownloadHandle handle) {
  Slices out;
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  do {
    std::int32_t total = 0, count = 0;
    void* array = nullptr;
    out.result = downloadProgress(handle, &total, &count, &array);
    ++out.calls;
    out.total = total;
    if (array != nullptr) {
      const auto* p = static_cast<PersonInfo*>(array);
      out.persons.insert(out.persons.end(), p, p + count);
      CKT_FreeMemory(array);
    }
    if (out.result == 2) std::this_thread::sleep_for(5ms);
  } while (out.result == 2 && std::chrono::steady_clock::now() < deadline);
  return out;
}

class Downloads : public ::testing::Test {
 protected:
  void TearDown() override {
    resetLibrary();
    net.reset();
    line.reset();
  }
  void overTcp(SimOptions options = {}) {
    const std::uint16_t port = useOwnTcpPort();
    ASSERT_EQ(CKT_NetDaemon(), 1);
    net = std::make_unique<TcpEndpoint>(terminal, port, options);
    ASSERT_TRUE(waitUntil([] { return connections().size() == 1; }, 3s));
  }
  void overSerial(SimOptions options = {}) {
    line = std::make_unique<PtyEndpoint>(terminal, options);
    ::setenv("TERMLINK_COM2", line->devicePath().c_str(), 1);
    ASSERT_EQ(CKT_RegisterSno(kSno, 2), 1);
  }
  bool blockingPersons(std::int32_t& count, std::vector<PersonInfo>& persons) {
    std::string text;
    if (!downloadAll(kSno, formatText(personList().request, sno(kSno)), personList().endMarker, text))
      return false;
    void* array = nullptr;
    const bool ok = parseWholeList(text, kSno, personList(), &count, &array);
    if (array != nullptr) {
      const auto* p = static_cast<PersonInfo*>(array);
      persons.assign(p, p + count);
      CKT_FreeMemory(array);
    }
    return ok;
  }

  static constexpr std::int32_t kSno = 4242;
  std::shared_ptr<TerminalState> terminal = std::make_shared<TerminalState>(kSno);
  std::unique_ptr<TcpEndpoint> net;
  std::unique_ptr<PtyEndpoint> line;
};

TEST_F(Downloads, BlockingPersonListOverTcpAndSerial) {
  terminal->setPersons(somePersons(40));
  for (bool tcp : {true, false}) {
    SCOPED_TRACE(tcp ? "tcp" : "serial");
    if (tcp) overTcp(); else overSerial();
    std::int32_t count = 0;
    std::vector<PersonInfo> persons;
    ASSERT_TRUE(blockingPersons(count, persons));
    ASSERT_EQ(count, 40);
    EXPECT_EQ(persons[0].PersonID, 1);
    EXPECT_STREQ(persons[0].Name, "Person 1");
    EXPECT_EQ(static_cast<std::uint32_t>(persons[0].Value2), 4000000000u);
    EXPECT_STREQ(persons[6].Name, "");
    EXPECT_EQ(persons[39].Value5, 80);
    resetLibrary();
  }
}

TEST_F(Downloads, BlockingListBiggerThanTheOldBuffersArrivesWhole) {
  terminal->fillRecords(70000);  // about 3.2 MB of text: over 2,500,000 bytes
  overTcp();
  std::string text;
  ASSERT_TRUE(downloadAll(kSno, formatText("(%u,kqdata)", sno(kSno)), "kqdataend)\r\n", text));
  EXPECT_GT(text.size(), 2500000u);
  std::int32_t count = 0;
  void* array = nullptr;
  ASSERT_TRUE(parseWholeList(text, kSno, clockingList(), &count, &array));
  EXPECT_EQ(count, 70000);
  const auto* last = static_cast<ClockingRecord*>(array) + 69999;
  EXPECT_EQ(std::string(last->Time), terminal->records().back().time);
  CKT_FreeMemory(array);
}

TEST_F(Downloads, BlockingListInTwoPiecesOnTheSerialLine) {
  terminal->setPersons(somePersons(5));
  SimOptions split;
  split.splitReplies = true;
  split.splitPauseMs = 200;  // more than the 150 ms of quiet that ends a read
  overSerial(split);
  std::int32_t count = 0;
  std::vector<PersonInfo> persons;
  ASSERT_TRUE(blockingPersons(count, persons));
  EXPECT_EQ(count, 5);
}

TEST_F(Downloads, ConnectionDroppedInMidListFails) {
  terminal->setPersons(somePersons(50));
  SimOptions drop;
  drop.dropAfterRecords = 3;
  overTcp(drop);
  std::int32_t count = 0;
  std::vector<PersonInfo> persons;
  EXPECT_FALSE(blockingPersons(count, persons));
  EXPECT_TRUE(connections().empty());
}

TEST_F(Downloads, BackgroundSlicesAddUpToTheWholeList) {
  terminal->setPersons(somePersons(3000));
  overTcp();
  CKT_DownloadHandle handle = startDownload(kSno, personList());
  ASSERT_NE(handle, nullptr);
  const Slices s = pollPersons(handle);
  EXPECT_EQ(s.result, 1);
  EXPECT_EQ(s.total, 3000);
  ASSERT_EQ(s.persons.size(), 3000u);
  for (int i = 0; i < 3000; ++i) ASSERT_EQ(s.persons[static_cast<std::size_t>(i)].PersonID, i + 1);
}

TEST_F(Downloads, BackgroundListOnAPacedSerialLineShowsProgress) {
  terminal->setPersons(somePersons(12));
  SimOptions paced;
  paced.baud = 9600;
  overSerial(paced);
  CKT_DownloadHandle handle = startDownload(kSno, personList());
  ASSERT_NE(handle, nullptr);
  const Slices s = pollPersons(handle);
  EXPECT_EQ(s.result, 1);
  EXPECT_EQ(s.persons.size(), 12u);
  EXPECT_GT(s.calls, 3) << "records come in slices while the line delivers them";
}

// A person list of n persons whose names have `nameLength` bytes, as a terminal sends it.
std::string personListText(std::int32_t serial, int n, int nameLength) {
  std::string text = formatText("(%u,ygdata,%d)\r\n", sno(serial), n);
  for (int i = 1; i <= n; ++i)
    text += formatText("(%u,yg,%d,%s,1,2,3,4,5)\r\n", sno(serial), i,
                       std::string(static_cast<std::size_t>(nameLength), 'n').c_str());
  return text + formatText("(%u,ygdataend)\r\n", sno(serial));
}

TEST_F(Downloads, BackgroundListWhoseLastPieceIsShortStillCompletes) {
  // On the serial line a background download reads pieces of 200 bytes; pick a list whose last
  // piece is shorter than the 12 bytes of the end marker.
  std::string list;
  int persons = 0;
  for (int n = 2; n < 30 && list.empty(); ++n)
    for (int length = 1; length <= 15 && list.empty(); ++length)
      if (const std::string text = personListText(kSno, n, length);
          text.size() % kSerialPieceBytes > 0 && text.size() % kSerialPieceBytes < 12) {
        list = text;
        persons = n;
      }
  ASSERT_FALSE(list.empty());
  SimOptions options;
  options.rewriteReply = [list](std::string_view request, std::string reply) {
    return request.ends_with(",ygdata)") ? list : reply;
  };
  overSerial(options);
  const Slices s = pollPersons(startDownload(kSno, personList()));
  EXPECT_EQ(s.result, 1);
  EXPECT_EQ(s.persons.size(), static_cast<std::size_t>(persons));
}

TEST_F(Downloads, HandleIsRefusedOnceTheDownloadHasEnded) {
  terminal->setPersons(somePersons(3));
  overTcp();
  CKT_DownloadHandle handle = startDownload(kSno, personList());
  ASSERT_EQ(pollPersons(handle).result, 1);
  std::int32_t total = 7, count = 7;
  void* array = reinterpret_cast<void*>(1);
  EXPECT_EQ(downloadProgress(handle, &total, &count, &array), 0) << "a stale handle";
  EXPECT_EQ(array, nullptr);
  EXPECT_EQ(downloadProgress(reinterpret_cast<CKT_DownloadHandle>(0x5a5a5a), &total, &count, &array),
            0)
      << "an unknown handle";
}

TEST_F(Downloads, BackgroundDownloadOfAnEmptyTerminalCompletesAtOnce) {
  overTcp();
  const Slices s = pollPersons(startDownload(kSno, personList()));
  EXPECT_EQ(s.result, 1);
  EXPECT_EQ(s.total, 0);
  EXPECT_TRUE(s.persons.empty());
}

TEST_F(Downloads, BackgroundDownloadFailsOnBrokenLists) {
  struct Case {
    const char* why;
    SimOptions options;
  };
  SimOptions drop, noEnd, other;
  drop.dropAfterRecords = 10;
  noEnd.malformation = termsim::Malformation::MissingEndLine;
  other.replySno = 9999;
  for (const auto& c : {Case{"dropped connection", drop}, Case{"no end line", noEnd},
                        Case{"another serial number", other}}) {
    SCOPED_TRACE(c.why);
    terminal->setPersons(somePersons(200));
    CKT_SetRespTimeouts(200, 3000);
    overSerial(c.options);
    const Slices s = pollPersons(startDownload(kSno, personList()));
    EXPECT_EQ(s.result, 0);
    resetLibrary();
    line.reset();
  }
}

TEST_F(Downloads, DownloadsHoldOffOtherCommandsUntilTheyEnd) {
  terminal->setPersons(somePersons(20));
  SimOptions paced;
  paced.baud = 9600;
  overSerial(paced);
  CKT_DownloadHandle handle = startDownload(kSno, personList());
  std::this_thread::sleep_for(50ms);
  ReplyArea reply(200);
  ASSERT_TRUE(exchange(kSno, formatText("(%u,setdoor,1)", sno(kSno)), reply, 400));
  EXPECT_EQ(reply.text(), formatText("(%u,setdoor,ok)\r\n", sno(kSno)))
      << "the command waited for the whole list instead of reading part of it";
  EXPECT_EQ(pollPersons(handle).persons.size(), 20u);
}

}  // namespace
}  // namespace termlink
