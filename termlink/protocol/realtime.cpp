#include "realtime.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "text_scan.h"
#include "transport/com_routes.h"
#include "transport/locks.h"
#include "transport/net_table.h"
#include "transport/serial_port.h"

namespace termlink {
namespace {

constexpr std::size_t kSerialFirstRead = 200;
constexpr std::size_t kSerialMostRead = 500;
constexpr std::size_t kNetRead = 500;

// RealtimeQueue, guarded by ExchangeLock.
std::vector<ClockingRecord>& queue() {
  static std::vector<ClockingRecord>& q = *new std::vector<ClockingRecord>;
  return q;
}

// Reads one realtime line at the start of `text`; returns how far to advance (at least 1).
std::size_t readRealtimeLine(std::string_view text, std::vector<ClockingRecord>& out) {
  ClockingRecord record{};
  int consumed = -1;
  const int fields = scanText(text, "(%d,kq,%d,%19[^,],%d)\r\n%n", &record.Sno, &record.PersonID,
                              record.Time, &record.Value, &consumed);
  if (fields == 4) out.push_back(record);
  if (consumed > 0) return static_cast<std::size_t>(consumed);
  const std::size_t lf = text.find('\n');
  return lf == std::string_view::npos ? text.size() : lf + 1;
}

}  // namespace

void parseRealtimeText(std::string_view text, std::vector<ClockingRecord>& out) {
  while (!text.empty()) text.remove_prefix(readRealtimeLine(text, out));
}

void collectSerialRealtime() {
  std::lock_guard lock(exchangeLock());
  forEachOpenPort([](SerialPort& port) {
    if (port.bytesWaiting() == 0) return;
    char buffer[kSerialMostRead + 1];
    std::size_t n = port.read(buffer, kSerialFirstRead);
    if (n > 0 && buffer[n - 1] != '\n') n += port.read(buffer + n, kSerialMostRead - n);
    parseRealtimeText(std::string_view(buffer, ::strnlen(buffer, n)), queue());
  });
}

void collectNetRealtime() {
  std::lock_guard exchange(exchangeLock());
  std::lock_guard table(netTableLock());
  for (const NetEntry& entry : netEntries()) {
    char buffer[kNetRead + 1];
    const ssize_t got = ::recv(entry.socket, buffer, kNetRead, MSG_DONTWAIT);
    if (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      removeSocket(entry.socket);
      ::close(entry.socket);
      return;
    }
    if (got <= 0) continue;  // nothing yet, or a closed peer that the next command will notice
    std::string_view text(buffer, ::strnlen(buffer, static_cast<std::size_t>(got)));
    while (!text.empty()) {
      // Leftovers of the form "x)" before a line are skipped two bytes at a time.
      while (text.size() > 1 && text[1] == ')') text.remove_prefix(2);
      if (text.empty()) break;
      text.remove_prefix(readRealtimeLine(text, queue()));
    }
  }
}

std::vector<ClockingRecord> takeRealtimeRecords() {
  std::lock_guard lock(exchangeLock());
  std::vector<ClockingRecord> out;
  out.swap(queue());
  return out;
}

ClockingRecord* handOutRealtimeRecords(std::size_t& count) {
  std::lock_guard lock(exchangeLock());
  count = 0;
  if (queue().empty()) return nullptr;
  auto* out = static_cast<ClockingRecord*>(std::malloc(queue().size() * sizeof(ClockingRecord)));
  if (out == nullptr) return nullptr;
  std::memcpy(out, queue().data(), queue().size() * sizeof(ClockingRecord));
  count = queue().size();
  queue().clear();
  return out;
}

}  // namespace termlink
