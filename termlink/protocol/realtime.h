// Realtime clocking records: the lines a terminal in realtime mode sends on its own,
// "(" Sno ",kq," person "," time "," value ")" CR LF, collected from the serial ports and the TCP
// connections into one queue that the caller empties.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "api/termlink.h"

namespace termlink {

// Reads every realtime line of `text` into `out`, in order. Text that is not a realtime line is
// skipped up to the byte after its next LF, so the scan always makes progress.
void parseRealtimeText(std::string_view text, std::vector<ClockingRecord>& out);

// One pass over the serial ports with waiting bytes (the COM daemon's body). Takes ExchangeLock.
void collectSerialRealtime();
// One pass over the filed TCP connections (the receive thread's body). Takes ExchangeLock, then
// NetTableLock. A connection with a hard receive error is dropped and closed.
void collectNetRealtime();

// Hands out the queued records in arrival order and empties the queue.
std::vector<ClockingRecord> takeRealtimeRecords();

// The same in a new block for a caller (released with CKT_FreeMemory); null with count 0 when
// the queue is empty. The queue is emptied only when the block could be allocated.
ClockingRecord* handOutRealtimeRecords(std::size_t& count);

}  // namespace termlink
