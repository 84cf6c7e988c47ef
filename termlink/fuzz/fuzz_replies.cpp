// Single-line replies: every reply pattern of the terminal commands and the reply tests, on any
// bytes a terminal might send.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "protocol/reply_tests.h"
#include "protocol/text_scan.h"

using namespace termlink;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view reply(reinterpret_cast<const char*>(data), size);
  int v[24];
  char c = 0;
  scanText(reply,
           "(%d,netinfo,%d.%d.%d.%d,%d.%d.%d.%d,%d.%d.%d.%d,%d.%d.%d.%d,%d-%d-%d-%d-%d-%d,%d", &v[0],
           &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10], &v[11], &v[12],
           &v[13], &v[14], &v[15], &v[16], &v[17], &v[18], &v[19], &v[20], &v[21], &v[22], &v[23]);
  scanText(reply, "(%d,sysclock,%d-%d-%d %d:%d:%d%c\r\n", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
           &v[6], &c);
  scanText(reply, "(%d,sysinfo,v%d.%d,%d,%d,%d,%d,%d,%d)", &v[0], &v[1], &v[2], &v[3], &v[4],
           &v[5], &v[6], &v[7], &v[8]);
  scanText(reply, "(%d,syscount,%d,%d,%d)\r\n", &v[0], &v[1], &v[2], &v[3]);
  replyTailIndex(reply, {",ygadd,ok)\r\n", ",ygchg,ok)\r\n", ",ygadd,err,full)\r\n"});
  replyHasPrefix(reply, "(5,gettemplet,");
  return 0;
}
