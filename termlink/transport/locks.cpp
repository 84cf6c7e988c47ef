#include "locks.h"

namespace termlink {

// The locks live until the process ends: threads that are still finishing may use them while
// the library's other objects are being destroyed.
std::recursive_mutex& exchangeLock() {
  static std::recursive_mutex& lock = *new std::recursive_mutex;
  return lock;
}

std::recursive_mutex& comTableLock() {
  static std::recursive_mutex& lock = *new std::recursive_mutex;
  return lock;
}

std::recursive_mutex& netTableLock() {
  static std::recursive_mutex& lock = *new std::recursive_mutex;
  return lock;
}

}  // namespace termlink
