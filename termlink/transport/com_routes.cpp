#include "com_routes.h"

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "locks.h"
#include "serial_port.h"

namespace termlink {
namespace {

struct ComState {
  std::vector<std::pair<std::int32_t, int>> table;                 // ComTable, in filing order
  std::array<std::unique_ptr<SerialPort>, kLastComPort + 1> slots;  // slot 0 is never used
};

ComState& com() {
  static ComState& s = *new ComState;  // lives until the process ends, like the locks
  return s;
}

}  // namespace

void registerSerialNumber(std::int32_t sno, int port) {
  std::lock_guard lock(comTableLock());
  for (auto& entry : com().table) {
    if (entry.first == sno) {
      entry.second = port;
      return;
    }
  }
  com().table.emplace_back(sno, port);
}

void unregisterSerialNumber(std::int32_t sno) {
  std::lock_guard lock(comTableLock());
  auto& table = com().table;
  for (auto it = table.begin(); it != table.end(); ++it) {
    if (it->first == sno) {
      table.erase(it);
      return;
    }
  }
}

int registeredPort(std::int32_t sno) {
  std::lock_guard lock(comTableLock());
  for (const auto& entry : com().table)
    if (entry.first == sno) return entry.second;
  return 0;
}

SerialPort* findSerialRoute(std::int32_t sno) {
  std::lock_guard lock(comTableLock());
  const int port = registeredPort(sno);
  if (port < kFirstComPort || port > kLastComPort) return nullptr;
  auto& slot = com().slots[static_cast<std::size_t>(port)];
  if (!slot) slot = SerialPort::open(comDeviceName(port));
  return slot.get();
}

void forEachOpenPort(const std::function<void(SerialPort&)>& visit) {
  std::lock_guard lock(comTableLock());
  for (int port = kFirstComPort; port <= kLastComPort; ++port)
    if (auto& slot = com().slots[static_cast<std::size_t>(port)]) visit(*slot);
}

void closeAllPorts() {
  std::lock_guard exchange(exchangeLock());
  std::lock_guard lock(comTableLock());
  for (auto& slot : com().slots) slot.reset();
  com().table.clear();
}

}  // namespace termlink
