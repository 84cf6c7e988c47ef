#include "responder.h"

#include <gtest/gtest.h>

#include "template_frames.h"

namespace termsim {
namespace {

// One terminal on a line, fed request texts as the library sends them.
struct Line {
  std::shared_ptr<TerminalState> terminal = std::make_shared<TerminalState>(123456);
  Responder responder{{terminal}};
  SimOptions options;
  std::vector<std::string> log;

  std::string send(std::string_view bytes) {
    std::string out;
    for (const Outgoing& o : responder.onInput(bytes, options, Responder::Clock::now(), log)) out += o.bytes;
    return out;
  }
};

TEST(Responder, AnswersSettingsCommands) {
  Line line;
  line.terminal->setClock({2009, 6, 3, 9, 20, 52});
  struct Case {
    const char* request;
    const char* reply;
  };
  const Case cases[] = {
      {"(123456,sysclock)", "(123456,sysclock,2009-6-3 9:20:52)\r\n"},
      {"(123456,setdate,2010,2,29)", "(123456,setdate,err)\r\n"},
      {"(123456,setdate,2012,2,29)", "(123456,setdate,ok)\r\n"},
      {"(123456,settime,23,5,7)", "(123456,settime,ok)\r\n"},
      {"(123456,sysclock)", "(123456,sysclock,2012-2-29 23:5:7)\r\n"},
      {"(123456,netsetip,10,0,0,7)", "(123456,netsetip,ok)\r\n"},
      {"(123456,netsetmac,1,2,3,4,5)", "(123456,netsetmac,err)\r\n"},
      {"(123456,netinfo)",
       "(123456,netinfo,10.0.0.7,255.255.255.0,192.168.1.1,192.168.1.100,0-18-52-86-120-154,5010)\r\n"},
      {"(123456,setdoor,-3)", "(123456,setdoor,ok)\r\n"},
      {"(123456,syscount)", "(123456,syscount,0,0,0)\r\n"},
      {"(123456,sysinfo)", "(123456,sysinfo,v3.12,3000,0,0,0,0,0)\r\n"},
      {"(0,sysinfo)", "(123456,sysinfo,v3.12,3000,0,0,0,0,0)\r\n"},  // who is there
      {"(654321,sysinfo)", ""},                                      // another terminal's
      {"(123456,frobnicate)", "(123456,frobnicate,err)\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(line.send(c.request), c.reply) << c.request;
  EXPECT_EQ(line.terminal->option("setdoor"), -3);
  EXPECT_EQ(line.log.size(), std::size(cases));
}

TEST(Responder, KeepsPersonsAndListsThem) {
  Line line;
  EXPECT_EQ(line.send("(123456,ygdata)"), "(123456,ygdata,0)\r\n(123456,ygdataend)\r\n");
  EXPECT_EQ(line.send("(123456,ygmod,7,Ann,1,4294967295,3)"), "(123456,ygadd,ok)\r\n");
  EXPECT_EQ(line.send("(123456,ygmod,7,Ann,Lee,1,2,3)"), "(123456,ygchg,ok)\r\n");
  EXPECT_EQ(line.send("(123456,ygmod,8,,0,0,0)"), "(123456,ygadd,ok)\r\n");
  EXPECT_EQ(line.send("(123456,ygdata)"),
            "(123456,ygdata,2)\r\n(123456,yg,7,Ann,Lee,1,2,3,0,0)\r\n(123456,yg,8,,0,0,0,0,0)\r\n"
            "(123456,ygdataend)\r\n");
  line.terminal->setPersonCapacity(2);
  EXPECT_EQ(line.send("(123456,ygmod,9,Bo,0,0,0)"), "(123456,ygadd,err,full)\r\n");
  EXPECT_EQ(line.send("(123456,ygdel,9)"), "(123456,ygdel,err,none)\r\n");
  EXPECT_EQ(line.send("(123456,ygdel,8)"), "(123456,ygdel,ok)\r\n");
  EXPECT_EQ(line.send("(123456,ygeraseall)"), "(123456,ygeraseall,ok)\r\n");
  EXPECT_TRUE(line.terminal->persons().empty());
}

TEST(Responder, ListsRecordsClearsAndRecalls) {
  Line line;
  line.terminal->setRecords({{5, "2009-06-03 09:20:52", 1}, {6, "2009-06-03 09:21:00", 0}});
  EXPECT_EQ(line.send("(123456,kqdata)"),
            "(123456,kqdata,2)\r\n(123456,kq,5,2009-06-03 09:20:52,1)\r\n"
            "(123456,kq,6,2009-06-03 09:21:00,0)\r\n(123456,kqdataend)\r\n");
  EXPECT_EQ(line.send("(123456,kqclr)"), "(123456,kqclr,ok)\r\n");
  EXPECT_EQ(line.send("(123456,kqdata)"), "(123456,kqdata,0)\r\n(123456,kqdataend)\r\n");
  EXPECT_EQ(line.send("(123456,kqback,1)"), "(123456,kqback,ok)\r\n");
  EXPECT_EQ(line.terminal->records(), (std::vector<ClockingRecord>{{6, "2009-06-03 09:21:00", 0}}));

  line.options.dropAfterRecords = 0;
  line.options.replySno = 99;
  EXPECT_EQ(line.send("(123456,kqdata)"), "(99,kqdata,1)\r\n");
}

TEST(Responder, TemplatesTravelBothWays) {
  Line line;
  line.terminal->putPerson({7, "Ann"});
  std::string raw(338, '\0');
  for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<char>(0xC0 + i % 32);
  const std::string frames = frameTemplate(raw);

  EXPECT_EQ(line.send("(123456,gettemplet,7,0)"), "(123456,gettemplet,err,none)\r\n");
  EXPECT_EQ(line.send("(123456,sendtemplet,8,0)"), "(123456,sendtemplet,err,none)\r\n");
  EXPECT_EQ(line.send("(123456,sendtemplet,7,0)"), "(123456,sendtemplet,ready)\r\n");
  EXPECT_EQ(line.send(frames.substr(0, 100)), "");  // the frames arrive in pieces
  EXPECT_EQ(line.send(frames.substr(100)), "(123456,sendtemplet,ok)\r\n");
  EXPECT_EQ(line.send("(123456,gettemplet,7,0)"), "(123456,gettemplet,start)" + frames);

  std::string spoiled = frames;
  spoiled[spoiled.size() - 2] ^= 1;
  EXPECT_EQ(line.send("(123456,sendtemplet,7,1)"), "(123456,sendtemplet,ready)\r\n");
  EXPECT_EQ(line.send(spoiled), "(123456,sendtemplet,err,err)\r\n");
  EXPECT_FALSE(line.terminal->templateFrames(7, 1));
  EXPECT_EQ(line.log.back(), "<template " + std::to_string(spoiled.size()) + " bytes>");
}

TEST(Responder, SpoilsRepliesOnRequest) {
  Line line;
  line.terminal->setClock({2009, 6, 3, 9, 20, 52});
  line.options.malformation = Malformation::ClosingBracket;
  EXPECT_EQ(line.send("(123456,sysclock)"), "(123456,sysclock,2009-6-3 9:20:52]\r\n");
  line.options.malformation = Malformation::OneByte;
  EXPECT_EQ(line.send("(123456,setvol,3)"), "(");
  line.options.malformation = Malformation::FiveMacNumbers;
  EXPECT_NE(line.send("(123456,netinfo)").find(",0-18-52-86-120,5010)"), std::string::npos);
  line.options.malformation = Malformation::None;
  line.options.rewriteReply = [](std::string_view, std::string) { return std::string("(A,x)\r\n"); };
  EXPECT_EQ(line.send("(0,sysinfo)"), "(A,x)\r\n");
  line.options.silent = true;
  EXPECT_EQ(line.send("(123456,sysinfo)"), "");
}

TEST(Responder, AnswersTheModemDialogue) {
  Line line;
  line.options.modem = true;
  EXPECT_EQ(line.send("ATD5551234\r"), "\r\nCONNECT 9600\r\n");
  EXPECT_EQ(line.send(std::string("\xC0\x02\x09\x00\x0C\xC0", 6)), std::string("\xC0\x02\0\0\x02\xC0", 6));
  EXPECT_EQ(line.send(std::string("\xC0\x08\x00\x09\xC0", 5)), std::string("\xC0\x08\0\0\x08\xC0", 6));
  EXPECT_EQ(line.send("(123456,setwg,1)"), "(123456,setwg,ok)\r\n");
  EXPECT_EQ(line.send("++"), "");
  EXPECT_EQ(line.send("+"), "\r\nOK\r\n");
  EXPECT_EQ(line.send("ATD\r"), "\r\nOK\r\n");
}

}  // namespace
}  // namespace termsim
