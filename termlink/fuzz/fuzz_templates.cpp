// Template frames: validation, raw extraction with escapes and checksums, and framing back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "protocol/template_frame.h"

using namespace termlink;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const bool valid = isValidTemplate(bytes);
  const auto raw = rawTemplateOf(bytes);
  if (raw && !valid) std::abort();
  if (raw && isFrameableLength(raw->size()) && rawTemplateOf(frameRawTemplate(*raw)) != raw)
    std::abort();
  // Any bytes that fit the count bytes frame into a valid template of the same raw bytes.
  if (isFrameableLength(size)) {
    const std::string framed = frameRawTemplate(bytes);
    if (!isValidTemplate(framed) || rawTemplateOf(framed) != std::string(bytes)) std::abort();
    if (framed.size() > 2 * size + 26) std::abort();
  }
  return 0;
}
