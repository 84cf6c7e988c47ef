// The three process-wide locks. All are recursive: the thread that holds one may take it again.
//
// Order: ExchangeLock may be held while taking either table lock; a table lock is never held
// while taking ExchangeLock. Table locks are held only for one table operation.
#pragma once

#include <mutex>

namespace termlink {

// Serialises all traffic with the terminals: every exchange, whole downloads, the modem
// dialogue, each pass of the collection threads, and the realtime queue.
std::recursive_mutex& exchangeLock();
// Guards ComTable and the COM port slots.
std::recursive_mutex& comTableLock();
// Guards NetTable.
std::recursive_mutex& netTableLock();

}  // namespace termlink
