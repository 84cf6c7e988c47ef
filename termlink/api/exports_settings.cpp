// The terminal settings commands: network settings, clock, identity, counters and options.
// Each is one request and one reply line.
#include <cstring>

#include "termlink.h"
#include "protocol/commands.h"
#include "protocol/reply_tests.h"
#include "protocol/text_scan.h"

using namespace termlink;

namespace {

// One reading command: true with the reply when the exchange succeeded.
bool ask(int32_t serial, const char* word, ReplyArea& reply) {
  return exchange(serial, formatText("(%u,%s)", sno(serial), word), reply, kCommandTimeoutMs);
}

int32_t setAddress4(int32_t serial, const char* word, const uint8_t* a) {
  if (a == nullptr) return 0;
  return settingCommand(serial, formatText("(%u,%s,%d,%d,%d,%d)", sno(serial), word, a[0], a[1],
                                           a[2], a[3]),
                        word);
}

int32_t setValue(int32_t serial, const char* word, int32_t value) {
  return settingCommand(serial, formatText("(%u,%s,%d)", sno(serial), word, value), word);
}

}  // namespace

extern "C" {

int32_t CKT_GetDeviceNetInfo(int32_t Sno, NetInfo* info) {
  if (info == nullptr) return 0;
  ReplyArea reply(kCommandReplyArea);
  if (!ask(Sno, "netinfo", reply)) return 0;
  int v[24] = {};
  const int fields = scanText(
      reply.text(), "(%d,netinfo,%d.%d.%d.%d,%d.%d.%d.%d,%d.%d.%d.%d,%d.%d.%d.%d,%d-%d-%d-%d-%d-%d,%d",
      &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10], &v[11], &v[12],
      &v[13], &v[14], &v[15], &v[16], &v[17], &v[18], &v[19], &v[20], &v[21], &v[22], &v[23]);
  NetInfo out{};
  out.Sno = v[0];
  for (int i = 0; i < 4; ++i) {
    out.IPAddr[i] = static_cast<uint8_t>(v[1 + i]);
    out.Mask[i] = static_cast<uint8_t>(v[5 + i]);
    out.Gateway[i] = static_cast<uint8_t>(v[9 + i]);
    out.ServerIPAddr[i] = static_cast<uint8_t>(v[13 + i]);
  }
  for (int i = 0; i < 6; ++i) out.MAC[i] = static_cast<uint8_t>(v[17 + i]);
  out.Extra = static_cast<uint16_t>(v[23]);
  std::memcpy(info, &out, sizeof out);
  return fields == 24 ? 1 : 0;
}

int32_t CKT_GetDeviceClock(int32_t Sno, DeviceClock* clock) {
  if (clock == nullptr) return 0;
  ReplyArea reply(kCommandReplyArea);
  if (!ask(Sno, "sysclock", reply)) return 0;
  int v[7] = {};
  char after = 0;
  const int fields = scanText(reply.text(), "(%d,sysclock,%d-%d-%d %d:%d:%d%c\r\n", &v[0], &v[1],
                              &v[2], &v[3], &v[4], &v[5], &v[6], &after);
  DeviceClock out{};
  out.Sno = v[0];
  const bool ok = fields == 8 && after == ')';
  if (ok) {
    out.Year = static_cast<uint16_t>(v[1]);
    out.Month = static_cast<uint8_t>(v[2]);
    out.Day = static_cast<uint8_t>(v[3]);
    out.Hour = static_cast<uint8_t>(v[4]);
    out.Minute = static_cast<uint8_t>(v[5]);
    out.Second = static_cast<uint8_t>(v[6]);
  }
  std::memcpy(clock, &out, sizeof out);
  return ok ? 1 : 0;
}

int32_t CKT_GetDeviceInfo(int32_t Sno, DeviceInfo* info) {
  if (info == nullptr) return 0;
  ReplyArea reply(kCommandReplyArea);
  if (!ask(Sno, "sysinfo", reply)) return 0;
  int32_t values[9];
  std::memcpy(values, info, sizeof values);  // values not converted stay as they were
  int v[9] = {};
  const int fields = scanText(reply.text(), "(%d,sysinfo,v%d.%d,%d,%d,%d,%d,%d,%d)", &v[0], &v[1],
                              &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8]);
  for (int i = 0; i < fields && i < 9; ++i) values[i] = v[i];
  std::memcpy(info, values, sizeof values);
  return fields == 9 ? 1 : 0;
}

int32_t CKT_GetCounts(int32_t Sno, int32_t* count1, int32_t* count2, int32_t* count3) {
  if (count1 == nullptr || count2 == nullptr || count3 == nullptr) return 0;
  ReplyArea reply(kCommandReplyArea);
  if (!ask(Sno, "syscount", reply)) return 0;
  int replied = 0, a = 0, b = 0, c = 0;
  if (scanText(reply.text(), "(%d,syscount,%d,%d,%d)\r\n", &replied, &a, &b, &c) != 4 ||
      replied != Sno)
    return 0;
  *count1 = a;
  *count2 = b;
  *count3 = c;
  return 1;
}

int32_t CKT_SetDeviceIPAddr(int32_t Sno, const uint8_t* address) {
  return setAddress4(Sno, "netsetip", address);
}

int32_t CKT_SetDeviceMask(int32_t Sno, const uint8_t* mask) {
  return setAddress4(Sno, "netsetmask", mask);
}

int32_t CKT_SetDeviceGateway(int32_t Sno, const uint8_t* address) {
  return setAddress4(Sno, "netsetdra", address);
}

int32_t CKT_SetDeviceServerIPAddr(int32_t Sno, const uint8_t* address) {
  return setAddress4(Sno, "netsetser", address);
}

int32_t CKT_SetDeviceMAC(int32_t Sno, const uint8_t* m) {
  if (m == nullptr) return 0;
  return settingCommand(Sno, formatText("(%u,netsetmac,%d,%d,%d,%d,%d,%d)", sno(Sno), m[0], m[1],
                                        m[2], m[3], m[4], m[5]),
                        "netsetmac");
}

int32_t CKT_SetDeviceDate(int32_t Sno, int32_t year, int32_t month, int32_t day) {
  return settingCommand(Sno,
                        formatText("(%u,setdate,%d,%d,%d)", sno(Sno), static_cast<uint16_t>(year),
                                   static_cast<uint8_t>(month), static_cast<uint8_t>(day)),
                        "setdate");
}

int32_t CKT_SetDeviceTime(int32_t Sno, int32_t hour, int32_t minute, int32_t second) {
  return settingCommand(Sno,
                        formatText("(%u,settime,%d,%d,%d)", sno(Sno), static_cast<uint8_t>(hour),
                                   static_cast<uint8_t>(minute), static_cast<uint8_t>(second)),
                        "settime");
}

int32_t CKT_SetDefaultAuth(int32_t Sno, int32_t value) { return setValue(Sno, "setregdef", value); }
int32_t CKT_SetDoor(int32_t Sno, int32_t value) { return setValue(Sno, "setdoor", value); }
int32_t CKT_SetSpeakerVolume(int32_t Sno, int32_t value) { return setValue(Sno, "setvol", value); }
int32_t CKT_SetDeviceAdminPassword(int32_t Sno, int32_t value) {
  return setValue(Sno, "menups", value);
}
int32_t CKT_SetWG(int32_t Sno, int32_t value) { return setValue(Sno, "setwg", value); }
int32_t CKT_SetNoSearch(int32_t Sno, int32_t value) { return setValue(Sno, "setnosearch", value); }

int32_t CKT_ResetDevice(int32_t Sno) {
  return settingCommand(Sno, formatText("(%u,sysclr)", sno(Sno)), "sysclr");
}

}  // extern "C"
