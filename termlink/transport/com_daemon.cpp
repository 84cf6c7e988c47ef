#include "com_daemon.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <system_error>
#include <thread>

#include "protocol/realtime.h"

namespace termlink {
namespace {

constexpr int kPassPauseMs = 10;

struct DaemonState {
  std::mutex mutex;
  std::thread thread;
  bool created = false;
  std::atomic<bool> run{false};
};

DaemonState& daemon() {
  static DaemonState& s = *new DaemonState;  // lives until the process ends, like the locks
  return s;
}

void loop() {
  while (daemon().run) {
    collectSerialRealtime();
    std::this_thread::sleep_for(std::chrono::milliseconds(kPassPauseMs));
  }
}

}  // namespace

int startComDaemon() {
  DaemonState& d = daemon();
  std::lock_guard lock(d.mutex);
  if (d.created) return -1;
  d.run = true;
  try {
    d.thread = std::thread(loop);
  } catch (const std::system_error&) {
    d.run = false;
    return 0;
  }
  d.created = true;
  return 1;
}

void stopComDaemon() { daemon().run = false; }

void joinComDaemon() {
  DaemonState& d = daemon();
  d.run = false;
  std::thread thread;
  {
    std::lock_guard lock(d.mutex);
    thread = std::move(d.thread);
  }
  if (thread.joinable()) thread.join();
}

}  // namespace termlink
