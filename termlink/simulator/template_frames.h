// The terminal's framing of fingerprint template bytes: two frames back to back, type 02 then 08,
// each C0 type 00x5 count data checksum(high, low) C0, data and checksum escaped (C0 -> DB DC,
// DB -> DB DD), the checksum being the sum of type, reserved, count and data bytes modulo 65536.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace termsim {

// Frames raw template bytes: the first frame carries raw.size() / 2 bytes, the second the rest.
// Each half must fit a count byte (at most 255 bytes); longer halves are cut to 255. A nonzero
// checksumError is added to both checksums (frames a terminal with a fault would send).
std::string frameTemplate(std::string_view raw, int checksumError = 0);

// The raw bytes of two valid frames at the start of `frames`, or nothing when either frame is
// malformed (wrong start or type, bad escape, bad checksum, missing end). `used`, when given,
// receives the number of bytes the two frames take.
std::optional<std::string> unframeTemplate(std::string_view frames, std::size_t* used = nullptr);

// Length of the frame pair at the start of `bytes` when both closing C0 bytes have arrived, else 0.
// Checks nothing else: it tells when template data is complete.
std::size_t framePairLength(std::string_view bytes);

}  // namespace termsim
