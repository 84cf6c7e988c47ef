// The reading side of a background list download: each progress call reads the records whose
// lines have arrived since the previous call, so the work over a whole list grows with its length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "list_format.h"

namespace termlink {

// What the progress calls have read of one list so far.
struct ListProgress {
  const ListFormat* format = nullptr;
  std::int32_t sno = 0;        // the serial number the list was requested from
  std::size_t parsePos = 0;    // the text before this has been read
  std::int32_t announced = 0;  // the count of the header line, once read
  bool headerRead = false;
};

enum class TransferState { running, complete, failed };

// One progress call over `text`, every byte received so far. Sets *total to the announced count
// and hands out the records of the lines complete since the previous call in *records (a new
// array of *count records, released with CKT_FreeMemory; null when none). Returns 2 while more
// is to come, 1 when the end line was read, 0 for a failed transfer or a text that is not the
// list (a header of another serial number, a line that does not read).
int readListProgress(ListProgress& progress, std::string_view text, TransferState state,
                     std::int32_t* total, std::int32_t* count, void** records);

}  // namespace termlink
