// Realtime lines as the collection threads read them from serial ports and connections.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "protocol/realtime.h"

using namespace termlink;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<ClockingRecord> records;
  termlink::parseRealtimeText(std::string_view(reinterpret_cast<const char*>(data), size), records);
  for (const ClockingRecord& r : records)
    if (::strnlen(r.Time, sizeof r.Time) >= sizeof r.Time) __builtin_trap();
  return 0;
}
