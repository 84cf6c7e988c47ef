// Whole person and clocking-record lists, as a blocking download hands them to the parser.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "protocol/list_format.h"

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
  return 0;
}
