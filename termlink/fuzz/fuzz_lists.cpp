// Whole person and clocking-record lists, as a blocking download hands them to the parser; and
// the hand-written reader of clocking-record lines against the pattern it stands for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "protocol/list_format.h"
#include "protocol/text_scan.h"
#include "termlink.h"

using namespace termlink;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const ListFormat* format : {&personList(), &clockingList()}) {
    std::int32_t count = -1;
    void* records = nullptr;
    const bool ok = parseWholeList(text, 5, *format, &count, &records);
    if (ok && (count < 0 || (count > 0) != (records != nullptr))) std::abort();
    if (!ok && records != nullptr) std::abort();
    std::free(records);
  }

  ClockingRecord byPattern{};
  int consumed = -1;
  const bool patternReads = scanText(text, "%d,%19[^,],%d)%n", &byPattern.PersonID, byPattern.Time,
                                     &byPattern.Value, &consumed) == 3 && consumed > 0;
  byPattern.Sno = 5;
  ClockingRecord byHand{};
  const std::size_t used = clockingList().parseRecord(text, 5, &byHand);
  if (patternReads != (used > 0)) std::abort();
  if (patternReads && (used != static_cast<std::size_t>(consumed) ||
                       std::memcmp(&byHand, &byPattern, sizeof byHand) != 0))
    std::abort();
  return 0;
}
