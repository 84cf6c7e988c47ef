// The progressive reader of background lists, fed in pieces whose size the first byte chooses.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "protocol/list_format.h"
#include "protocol/list_progress.h"

using namespace termlink;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t piece = data[0] % 64 + 1;
  const ListFormat& format = data[1] % 2 == 0 ? personList() : clockingList();
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
  ListProgress progress;
  progress.format = &format;
  progress.sno = 5;
  int result = 2;
  for (std::size_t have = 0; result == 2;) {
    have = have + piece < text.size() ? have + piece : text.size();
    const bool done = have == text.size();
    std::int32_t total = 0, count = 0;
    void* records = nullptr;
    result = readListProgress(progress, text.substr(0, have),
                              done ? TransferState::complete : TransferState::running, &total,
                              &count, &records);
    if (count < 0 || (count > 0) != (records != nullptr)) std::abort();
    if (progress.parsePos > have) std::abort();
    std::free(records);
    if (done && result == 2) {
      // Only a text that ends in the middle of a line may stay "in progress" once complete.
      if (progress.parsePos == have) std::abort();
      break;
    }
  }
  return 0;
}
