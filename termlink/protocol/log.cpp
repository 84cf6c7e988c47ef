#include "log.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>

namespace termlink::log {
namespace {

struct LogState {
  std::mutex mutex;
  int fd = -1;
  std::atomic<bool> open{false};  // read without the mutex to keep idle exchanges cheap
};

LogState& state() {
  static LogState& s = *new LogState;  // lives until the process ends: threads may still log
  return s;
}

void writeAll(int fd, const char* data, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, data, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return;
    }
    data += w;
    n -= static_cast<std::size_t>(w);
  }
}

void closeLocked(LogState& s) {
  if (s.fd >= 0) ::close(s.fd);
  s.fd = -1;
  s.open = false;
}

std::string todaysPath() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char name[64];
  std::snprintf(name, sizeof name, "LOG/%4d_%02d_%02d.log", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  return name;
}

}  // namespace

void enable(int flag) {
  LogState& s = state();
  std::lock_guard lock(s.mutex);
  if (flag != 0) {
    closeLocked(s);
    const int fd = ::open(todaysPath().c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {  // another process writes it: stay silent
      ::close(fd);
      return;
    }
    s.fd = fd;
    s.open = true;
    static constexpr std::string_view start = ">>>--L-o-G--<<<\r\n";
    writeAll(fd, start.data(), start.size());
  } else {
    if (s.fd >= 0) {
      static constexpr std::string_view end = ">>>---------<<<\r\n";
      writeAll(s.fd, end.data(), end.size());
    }
    closeLocked(s);
  }
}

bool active() { return state().open.load(std::memory_order_relaxed); }

void entry(std::string_view text) {
  LogState& s = state();
  if (!active()) return;
  std::lock_guard lock(s.mutex);
  if (s.fd >= 0) writeAll(s.fd, text.data(), text.size());
}

void block(std::string_view header, std::string_view data) {
  LogState& s = state();
  if (!active()) return;
  std::string out(header);
  if (data.find('\xC0') != std::string_view::npos) {
    static constexpr char hex[] = "0123456789abcdef";
    out.reserve(out.size() + data.size() * 3 + 5);
    for (char c : data) {
      const auto b = static_cast<unsigned char>(c);
      out += hex[b >> 4];
      out += hex[b & 15];
      out += ' ';
    }
  } else {
    out.append(data);
  }
  out += "}}}\r\n";
  std::lock_guard lock(s.mutex);
  if (s.fd >= 0) writeAll(s.fd, out.data(), out.size());
}

}  // namespace termlink::log
