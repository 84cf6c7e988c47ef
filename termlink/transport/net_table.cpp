#include "net_table.h"

#include <unistd.h>

#include "locks.h"

namespace termlink {
namespace {

struct NetState {
  std::vector<NetEntry> table;
  std::vector<int> idle;
};

NetState& net() {
  static NetState& s = *new NetState;  // lives until the process ends, like the locks
  return s;
}

}  // namespace

bool fileConnection(std::int32_t sno, int socket) {
  std::lock_guard lock(netTableLock());
  for (const auto& entry : net().table)
    if (entry.sno == sno) return false;
  net().table.push_back({sno, socket});
  return true;
}

int findSocket(std::int32_t sno) {
  std::lock_guard lock(netTableLock());
  for (const auto& entry : net().table)
    if (entry.sno == sno) return entry.socket;
  return -1;
}

void removeSocket(int socket) {
  std::lock_guard lock(netTableLock());
  auto& table = net().table;
  for (auto it = table.begin(); it != table.end(); ++it) {
    if (it->socket == socket) {
      table.erase(it);
      return;
    }
  }
}

std::vector<std::int32_t> connectedSerialNumbers() {
  std::lock_guard lock(netTableLock());
  std::vector<std::int32_t> out;
  out.reserve(net().table.size());
  for (const auto& entry : net().table) out.push_back(entry.sno);
  return out;
}

std::vector<NetEntry> netEntries() {
  std::lock_guard lock(netTableLock());
  return net().table;
}

void keepIdleConnection(int socket) {
  std::lock_guard lock(netTableLock());
  net().idle.push_back(socket);
}

void closeAllConnections() {
  std::lock_guard exchange(exchangeLock());
  std::lock_guard lock(netTableLock());
  for (const auto& entry : net().table) ::close(entry.socket);
  for (int socket : net().idle) ::close(socket);
  net().table.clear();
  net().idle.clear();
}

}  // namespace termlink
