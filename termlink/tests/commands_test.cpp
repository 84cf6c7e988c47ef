// The command exports against the simulator: settings, persons, templates, clocking records and
// realtime collection, with the refusals and faults a real terminal produces.
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "protocol/template_frame.h"
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

constexpr std::int32_t S = 8;

bool saw(const termsim::Endpoint& endpoint, const std::string& request) {
  const auto all = endpoint.requests();
  return std::find(all.begin(), all.end(), request) != all.end();
}

// A raw template holding the bytes that framing must escape.
std::string rawTemplate(std::size_t n) {
  std::string raw(n, '\0');
  for (std::size_t i = 0; i < n; ++i) raw[i] = static_cast<char>((i * 37 + 11) & 0xFF);
  raw[3] = '\xC0';
  raw[n - 2] = '\xDB';
  return raw;
}

void writeFile(const std::string& name, const std::string& data) {
  std::ofstream(name, std::ios::binary) << data;
}

// A terminal with serial number 8 on COM3.
class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TERMLINK_COM3", line.devicePath().c_str(), 1);
    ASSERT_EQ(CKT_RegisterSno(S, 3), 1);
    CKT_SetRespTimeouts(300, 3000);  // faults here are wrong replies, not silence
  }
  void TearDown() override { resetLibrary(); }
  void withOptions(void (*change)(SimOptions&)) {
    SimOptions o;
    change(o);
    line.setOptions(o);
  }

  ScratchDir scratch;
  std::shared_ptr<TerminalState> terminal = std::make_shared<TerminalState>(S);
  PtyEndpoint line{terminal};
};

// ---- Settings ----------------------------------------------------------------------------------

TEST_F(Commands, SetDeviceDateSendsTheLowSixteenBitsOfTheYear) {
  EXPECT_EQ(CKT_SetDeviceDate(S, 2009, 6, 3), 1);
  EXPECT_TRUE(saw(line, "(8,setdate,2009,6,3)"));
  line.clearRequests();
  EXPECT_EQ(CKT_SetDeviceDate(S, 65536 + 2009, 6 + 256, 3), 1);
  EXPECT_TRUE(saw(line, "(8,setdate,2009,6,3)"));
  EXPECT_EQ(CKT_SetDeviceTime(S, 9, 20, 52), 1);
  EXPECT_EQ(terminal->clock(), (termsim::DateTime{2009, 6, 3, 9, 20, 52}));
}

TEST_F(Commands, ClockReplyIsReadAndOneWithABracketIsRefused) {
  terminal->setClock({2009, 6, 3, 9, 20, 52});
  DeviceClock clock{};
  ASSERT_EQ(CKT_GetDeviceClock(S, &clock), 1);
  EXPECT_EQ(clock.Sno, S);
  EXPECT_EQ(clock.Year, 2009);
  EXPECT_EQ(clock.Month, 6);
  EXPECT_EQ(clock.Day, 3);
  EXPECT_EQ(clock.Hour, 9);
  EXPECT_EQ(clock.Minute, 20);
  EXPECT_EQ(clock.Second, 52);
  EXPECT_EQ(clock.Reserved, 0);

  withOptions([](SimOptions& o) { o.malformation = Malformation::ClosingBracket; });
  DeviceClock refused{};
  refused.Year = 1999;
  EXPECT_EQ(CKT_GetDeviceClock(S, &refused), 0);
  EXPECT_EQ(refused.Sno, S) << "the serial number is stored all the same";
  EXPECT_EQ(refused.Year, 0);
}

TEST_F(Commands, NetInfoIsReadAndFiveMacNumbersAreRefused) {
  NetInfo info{};
  ASSERT_EQ(CKT_GetDeviceNetInfo(S, &info), 1);
  const termsim::NetSettings net = terminal->net();
  EXPECT_EQ(info.Sno, S);
  EXPECT_TRUE(std::equal(net.ip.begin(), net.ip.end(), info.IPAddr));
  EXPECT_TRUE(std::equal(net.mask.begin(), net.mask.end(), info.Mask));
  EXPECT_TRUE(std::equal(net.gateway.begin(), net.gateway.end(), info.Gateway));
  EXPECT_TRUE(std::equal(net.server.begin(), net.server.end(), info.ServerIPAddr));
  EXPECT_TRUE(std::equal(net.mac.begin(), net.mac.end(), info.MAC));
  EXPECT_EQ(info.Extra, net.extra);

  withOptions([](SimOptions& o) { o.malformation = Malformation::FiveMacNumbers; });
  EXPECT_EQ(CKT_GetDeviceNetInfo(S, &info), 0);
}

TEST_F(Commands, CountsNeedTheRequestedSerialNumberAndDeviceInfoTakesAny) {
  int32_t a = -1, b = -1, c = -1;
  EXPECT_EQ(CKT_GetCounts(S, &a, &b, &c), 1);
  DeviceInfo info{};
  ASSERT_EQ(CKT_GetDeviceInfo(S, &info), 1);
  EXPECT_EQ(info.MajorVersion, 3);
  EXPECT_EQ(info.MinorVersion, 12);

  withOptions([](SimOptions& o) { o.replySno = 99; });
  a = b = c = -7;
  EXPECT_EQ(CKT_GetCounts(S, &a, &b, &c), 0);
  EXPECT_EQ(a, -7) << "nothing stored";
  EXPECT_EQ(CKT_GetDeviceInfo(S, &info), 1);
  EXPECT_EQ(info.Sno, 99);
}

TEST_F(Commands, SettersSendTheirLinesAndNeedTheExactOk) {
  const uint8_t ip[4] = {10, 0, 0, 7};
  const uint8_t mac[6] = {1, 2, 3, 4, 5, 250};
  struct Case {
    const char* request;
    int32_t (*call)(const uint8_t*, const uint8_t*);
  };
  const Case cases[] = {
      {"(8,netsetip,10,0,0,7)", [](const uint8_t* a, const uint8_t*) { return CKT_SetDeviceIPAddr(S, a); }},
      {"(8,netsetmask,10,0,0,7)", [](const uint8_t* a, const uint8_t*) { return CKT_SetDeviceMask(S, a); }},
      {"(8,netsetdra,10,0,0,7)", [](const uint8_t* a, const uint8_t*) { return CKT_SetDeviceGateway(S, a); }},
      {"(8,netsetser,10,0,0,7)", [](const uint8_t* a, const uint8_t*) { return CKT_SetDeviceServerIPAddr(S, a); }},
      {"(8,netsetmac,1,2,3,4,5,250)", [](const uint8_t*, const uint8_t* m) { return CKT_SetDeviceMAC(S, m); }},
      {"(8,setregdef,3)", [](const uint8_t*, const uint8_t*) { return CKT_SetDefaultAuth(S, 3); }},
      {"(8,setdoor,-1)", [](const uint8_t*, const uint8_t*) { return CKT_SetDoor(S, -1); }},
      {"(8,setvol,5)", [](const uint8_t*, const uint8_t*) { return CKT_SetSpeakerVolume(S, 5); }},
      {"(8,menups,1234)", [](const uint8_t*, const uint8_t*) { return CKT_SetDeviceAdminPassword(S, 1234); }},
      {"(8,setwg,26)", [](const uint8_t*, const uint8_t*) { return CKT_SetWG(S, 26); }},
      {"(8,setnosearch,1)", [](const uint8_t*, const uint8_t*) { return CKT_SetNoSearch(S, 1); }},
      {"(8,setreal,1)", [](const uint8_t*, const uint8_t*) { return CKT_SetRealtimeMode(S, 1); }},
      {"(8,kqclr)", [](const uint8_t*, const uint8_t*) { return CKT_ClearClockingRecord(S); }},
      {"(8,kqback,4)", [](const uint8_t*, const uint8_t*) { return CKT_RecallClockingRecord(S, 4); }},
      {"(8,sysclr)", [](const uint8_t*, const uint8_t*) { return CKT_ResetDevice(S); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.request);
    line.setOptions({});
    line.clearRequests();
    EXPECT_EQ(c.call(ip, mac), 1);
    EXPECT_TRUE(saw(line, c.request));
    withOptions([](SimOptions& o) { o.malformation = Malformation::WrongWord; });
    EXPECT_EQ(c.call(ip, mac), 0) << "a reply other than ok";
  }
  EXPECT_EQ(terminal->net().ip, (std::array<std::uint8_t, 4>{10, 0, 0, 7}));
  EXPECT_EQ(terminal->option("setwg"), 0) << "the factory reset came last";
}

TEST_F(Commands, UnknownSerialNumberGivesZeroWithoutTraffic) {
  line.clearRequests();
  DeviceClock clock{};
  EXPECT_EQ(CKT_GetDeviceClock(12345, &clock), 0);
  EXPECT_EQ(CKT_SetDoor(12345, 1), 0);
  EXPECT_EQ(CKT_SetDeviceIPAddr(S, nullptr), 0) << "a null address is refused";
  std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(line.requests().empty());
  EXPECT_EQ(CKT_FreeMemory(nullptr), 1);
}

// ---- Persons -----------------------------------------------------------------------------------

TEST_F(Commands, PersonsAreAddedChangedListedAndDeleted) {
  PersonInfo p{};
  p.PersonID = 17;
  std::strcpy(p.Name, "Anna Li");
  p.Value1 = 1;
  p.Value2 = -2;  // sent unsigned
  p.Value3 = 3;
  EXPECT_EQ(CKT_ModifyPersonInfo(S, &p), 1);
  EXPECT_TRUE(saw(line, "(8,ygmod,17,Anna Li,1,4294967294,3)"));
  EXPECT_EQ(CKT_ModifyPersonInfo(S, &p), 2);

  int32_t count = -1;
  PersonInfo* list = nullptr;
  ASSERT_EQ(CKT_ListPersonInfo(S, &count, &list), 1);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(list[0].PersonID, 17);
  EXPECT_STREQ(list[0].Name, "Anna Li");
  EXPECT_EQ(list[0].Value2, -2);
  CKT_FreeMemory(list);

  EXPECT_EQ(CKT_DeletePersonInfo(S, 17), 1);
  EXPECT_EQ(CKT_DeletePersonInfo(S, 17), -1);
  ASSERT_EQ(CKT_ListPersonInfo(S, &count, &list), 1);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(list, nullptr);
}

TEST_F(Commands, PersonRefusalsAndTheTailTest) {
  terminal->setPersonCapacity(0);
  PersonInfo p{};
  p.PersonID = 1;
  EXPECT_EQ(CKT_ModifyPersonInfo(S, &p), -1) << "terminal full";
  terminal->setPersonCapacity(10);
  terminal->setPersons({{1, "Old", 0, 0, 0, 0, 0}});
  withOptions([](SimOptions& o) { o.replySno = 4711; });
  EXPECT_EQ(CKT_ModifyPersonInfo(S, &p), 2) << "only the text from the first comma counts";

  line.setOptions({});
  line.clearRequests();
  std::strcpy(p.Name, "Li,Anna");
  EXPECT_EQ(CKT_ModifyPersonInfo(S, &p), 0) << "a comma would shift the values sent";
  EXPECT_TRUE(line.requests().empty());

  EXPECT_EQ(CKT_EraseAllPerson(S), 1);
  EXPECT_TRUE(terminal->persons().empty());
}

TEST_F(Commands, BlockingListsDecideAsTheWholeTextSays) {
  struct Case {
    const char* list;
    int32_t result;
    int32_t count;
  };
  const Case cases[] = {
      {"(8,ygdata,1)\r\n(8,yg,3,Ann,1,2,3,4,5)\r\n(8,ygdataend)\r\n", 1, 1},
      {"(8,ygdata,1) trailing\r\n(8,yg,3,Ann,1,2,3,4,5)\r\n(8,ygdataend)\r\n", 1, 1},
      {"(9,ygdata,1)\r\n(8,yg,3,Ann,1,2,3,4,5)\r\n(8,ygdataend)\r\n", 1, 1},  // not compared
      {"(8,ygdata,1)\r\n(8,yg,3,Ann,1,2,3,4,5)\r\n(9,ygdataend)\r\n", 0, 1},
      {"(8,ygdata,2)\r\n(8,yg,3,Ann,1,2,3,4,5)\r\n(8,ygdataend)\r\n", 0, 2},
      {"(8,ygdata,0)\r\n(8,ygdataend)\r\n", 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.list);
    SimOptions o;
    const std::string list = c.list;
    o.rewriteReply = [list](std::string_view request, std::string reply) {
      return request.ends_with(",ygdata)") ? list : reply;
    };
    line.setOptions(o);
    int32_t count = -1;
    PersonInfo* persons = reinterpret_cast<PersonInfo*>(1);
    EXPECT_EQ(CKT_ListPersonInfo(S, &count, &persons), c.result);
    EXPECT_EQ(count, c.count);
    if (c.result == 1 && c.count == 1) {
      ASSERT_NE(persons, nullptr);
      EXPECT_EQ(persons[0].PersonID, 3);
      CKT_FreeMemory(persons);
    } else {
      EXPECT_EQ(persons, nullptr);
    }
  }
}

TEST_F(Commands, BackgroundPersonListIsHandedOutSliceBySlice) {
  std::vector<termsim::Person> persons;
  for (int i = 1; i <= 30; ++i) persons.push_back({i, "P" + std::to_string(i), i, 0, 0, 0, 0});
  terminal->setPersons(persons);
  SimOptions paced;
  paced.baud = 19200;
  line.setOptions(paced);
  CKT_DownloadHandle handle = nullptr;
  ASSERT_EQ(CKT_ListPersonInfoEx(S, &handle), 1);
  std::vector<int32_t> ids;
  int slices = 0, result = 2;
  while (result == 2) {
    int32_t total = 0, count = 0;
    PersonInfo* slice = nullptr;
    result = CKT_ListPersonProgress(handle, &total, &count, &slice);
    if (slice != nullptr) {
      ++slices;
      for (int32_t i = 0; i < count; ++i) ids.push_back(slice[i].PersonID);
      CKT_FreeMemory(slice);
    }
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_EQ(result, 1);
  ASSERT_EQ(ids.size(), 30u);
  for (int i = 0; i < 30; ++i) EXPECT_EQ(ids[static_cast<std::size_t>(i)], i + 1);
  EXPECT_GT(slices, 1);
  int32_t total = 0, count = 0;
  PersonInfo* slice = nullptr;
  EXPECT_EQ(CKT_ListPersonProgress(handle, &total, &count, &slice), 0) << "the handle is gone";
}

// ---- Templates ---------------------------------------------------------------------------------

TEST_F(Commands, TemplatesTravelEscapedBothWaysAndAreLoggedInHex) {
  const std::string raw = rawTemplate(338);
  terminal->setPersons({{5, "A", 0, 0, 0, 0, 0}, {6, "B", 0, 0, 0, 0, 0}});
  terminal->setTemplateRaw(5, 0, raw);
  ::mkdir("LOG", 0755);
  CKT_EnableLog(1);

  uint8_t* block = nullptr;
  int32_t length = 0;
  ASSERT_EQ(CKT_GetFPTemplate(S, 5, 0, &block, &length), 1);
  const std::string framed(reinterpret_cast<char*>(block), static_cast<std::size_t>(length));
  CKT_FreeMemory(block);
  EXPECT_EQ(framed, frameRawTemplate(raw));
  uint8_t buffer[510];
  ASSERT_EQ(CKT_GetFPRawData(S, 5, 0, buffer), 338);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 338), raw);

  EXPECT_EQ(CKT_PutFPRawData(S, 6, 1, reinterpret_cast<const uint8_t*>(raw.data()), 338), 1);
  EXPECT_EQ(terminal->templateFrames(6, 1), frameRawTemplate(raw));
  CKT_EnableLog(0);

  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char name[64];
  std::snprintf(name, sizeof name, "LOG/%4d_%02d_%02d.log", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  EXPECT_NE(readFile(name).find("send():{{{\r\nc0 02 00 00 00 00 00 a9 "), std::string::npos)
      << "a framed template is logged as hexadecimal pairs";
}

TEST_F(Commands, TemplateRefusalsAndFaults) {
  uint8_t* block = reinterpret_cast<uint8_t*>(1);
  int32_t length = 9;
  EXPECT_EQ(CKT_GetFPTemplate(S, 5, 0, &block, &length), -1) << "none on the terminal";
  EXPECT_EQ(block, nullptr);
  EXPECT_EQ(length, 0);

  terminal->setTemplateRaw(5, 0, rawTemplate(256));
  withOptions([](SimOptions& o) { o.malformation = Malformation::BadChecksum; });
  EXPECT_EQ(CKT_GetFPTemplate(S, 5, 0, &block, &length), 0);

  line.setOptions({});
  const std::string raw = rawTemplate(256);
  EXPECT_EQ(CKT_PutFPRawData(S, 99, 0, reinterpret_cast<const uint8_t*>(raw.data()), 256), -1)
      << "no such person";
  terminal->setPersons({{99, "X", 0, 0, 0, 0, 0}});
  withOptions([](SimOptions& o) { o.refuseTemplates = true; });
  EXPECT_EQ(CKT_PutFPRawData(S, 99, 0, reinterpret_cast<const uint8_t*>(raw.data()), 256), -2);
  EXPECT_EQ(CKT_PutFPRawData(S, 99, 0, reinterpret_cast<const uint8_t*>(raw.data()), 384), 0)
      << "halves of 192 cannot be framed";
}

TEST_F(Commands, TemplateFilesAndTheirCodes) {
  terminal->setPersons({{5, "X", 0, 0, 0, 0, 0}});
  const std::string raw = rawTemplate(338);
  terminal->setTemplateRaw(5, 0, raw);

  EXPECT_EQ(CKT_GetFPTemplateSaveFile(S, 5, 0, nullptr), -3);
  EXPECT_EQ(CKT_GetFPRawDataSaveFile(S, 5, 0, ""), -3);
  EXPECT_EQ(CKT_PutFPTemplateLoadFile(S, 5, 0, ""), -3);
  EXPECT_EQ(CKT_PutFPRawDataLoadFile(S, 5, 0, nullptr), -3);
  EXPECT_EQ(CKT_GetFPTemplateSaveFile(S, 5, 0, "no/such/folder/t.qvf"), -2);
  EXPECT_EQ(CKT_PutFPTemplateLoadFile(S, 5, 0, "missing.qvf"), -4);
  EXPECT_EQ(CKT_PutFPRawDataLoadFile(S, 5, 0, "missing.raw"), -4);
  EXPECT_EQ(CKT_GetFPTemplateSaveFile(S, 5, 7, "none.qvf"), -1) << "the read result";

  ASSERT_EQ(CKT_GetFPTemplateSaveFile(S, 5, 0, "t.qvf"), 1);
  EXPECT_EQ(readFile("t.qvf"), frameRawTemplate(raw));
  ASSERT_EQ(CKT_GetFPRawDataSaveFile(S, 5, 0, "t.raw"), 1);
  EXPECT_EQ(readFile("t.raw"), raw);
  EXPECT_EQ(CKT_PutFPTemplateLoadFile(S, 5, 1, "t.qvf"), 1);
  EXPECT_EQ(terminal->templateFrames(5, 1), frameRawTemplate(raw));

  writeFile("short.raw", std::string(300, 'x'));
  line.clearRequests();
  EXPECT_EQ(CKT_PutFPRawDataLoadFile(S, 5, 2, "short.raw"), -5);
  EXPECT_TRUE(line.requests().empty()) << "nothing sent for a file of the wrong size";
  writeFile("long.raw", raw + std::string(62, 'z'));
  EXPECT_EQ(CKT_PutFPRawDataLoadFile(S, 5, 2, "long.raw"), 1);
  EXPECT_EQ(terminal->templateFrames(5, 2), frameRawTemplate(raw)) << "the first 338 bytes";
}

// ---- Clocking records and realtime -------------------------------------------------------------

TEST_F(Commands, ClockingRecordsDownloadAtOnceAndInTheBackground) {
  terminal->fillRecords(500);
  int32_t count = 0;
  ClockingRecord* records = nullptr;
  ASSERT_EQ(CKT_GetClockingRecord(S, &count, &records), 1);
  ASSERT_EQ(count, 500);
  EXPECT_EQ(records[0].Sno, S);
  EXPECT_EQ(std::string(records[499].Time), terminal->records()[499].time);
  CKT_FreeMemory(records);

  CKT_DownloadHandle handle = nullptr;
  ASSERT_EQ(CKT_GetClockingRecordEx(S, &handle), 1);
  std::size_t received = 0;
  int result = 2;
  while (result == 2) {
    int32_t total = 0, n = 0;
    ClockingRecord* slice = nullptr;
    result = CKT_GetClockingRecordProgress(handle, &total, &n, &slice);
    received += static_cast<std::size_t>(n);
    CKT_FreeMemory(slice);
    std::this_thread::sleep_for(5ms);
  }
  EXPECT_EQ(result, 1);
  EXPECT_EQ(received, 500u);

  terminal->setRecords({});
  ASSERT_EQ(CKT_GetClockingRecord(S, &count, &records), 1);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(records, nullptr);
}

TEST_F(Commands, ComDaemonQueuesRealtimeLinesInOrder) {
  ASSERT_EQ(CKT_ComDaemon(), 1);
  line.sendRaw("(77,kq,5,2009-06-03 09:20:52,1)\r\n(77,kq,6,2009-06-03 09:21:00,0)\r\n");
  std::vector<ClockingRecord> got;
  EXPECT_TRUE(waitUntil([&] {
    ClockingRecord* records = nullptr;
    const int32_t n = CKT_ReadRealtimeClocking(&records);
    got.insert(got.end(), records, records + n);
    CKT_FreeMemory(records);
    return got.size() >= 2;
  }, 3s));
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].Sno, 77);
  EXPECT_EQ(got[0].PersonID, 5);
  EXPECT_EQ(got[0].Value, 1);
  EXPECT_STREQ(got[0].Time, "2009-06-03 09:20:52");
  EXPECT_EQ(got[1].PersonID, 6);

  ClockingRecord* records = reinterpret_cast<ClockingRecord*>(1);
  EXPECT_EQ(CKT_ReadRealtimeClocking(&records), 0);
  EXPECT_EQ(records, nullptr);
}

TEST(RealtimeOverTcp, ReceiveThreadQueuesPunchesOfConnectedTerminals) {
  const std::uint16_t port = useOwnTcpPort();
  ASSERT_EQ(CKT_NetDaemon(), 1);
  auto t = std::make_shared<TerminalState>(31);
  TcpEndpoint net(t, port);
  ASSERT_TRUE(waitUntil([] { return connections().size() == 1; }, 3s));
  ASSERT_EQ(CKT_SetRealtimeMode(31, 1), 1);
  net.punch({12, "2009-06-03 10:00:00", 3});
  std::vector<ClockingRecord> got;
  EXPECT_TRUE(waitUntil([&] {
    ClockingRecord* records = nullptr;
    const int32_t n = CKT_ReadRealtimeClocking(&records);
    got.insert(got.end(), records, records + n);
    CKT_FreeMemory(records);
    return !got.empty();
  }, 3s));
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].Sno, 31);
  EXPECT_EQ(got[0].PersonID, 12);
  EXPECT_EQ(got[0].Value, 3);
  resetLibrary();
}

}  // namespace
}  // namespace termlink
