// Fingerprint templates as the terminals frame them: two frames back to back, type 02 then 08,
// each C0, type, five 00 bytes, the data count, the data and a 16-bit checksum (high byte first),
// C0. Data and checksum bytes C0 and DB travel escaped as DB DC and DB DD; the count byte travels
// as it is. The checksum is the sum of the type, reserved, count and data bytes, modulo 65536.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace termlink {

inline constexpr std::uint8_t kFrameMark = 0xC0;
inline constexpr std::uint8_t kFirstFrameType = 0x02;
inline constexpr std::uint8_t kSecondFrameType = 0x08;
// The most data bytes one frame can announce in its count byte.
inline constexpr std::size_t kMostFrameData = 255;

// True when `bytes` begin with a valid type 02 frame directly followed by a valid type 08 frame;
// bytes after the second frame are allowed.
bool isValidTemplate(std::string_view bytes);

// The raw template carried by a valid framed template: the data of both frames, escapes undone.
// Nothing when a frame is invalid or carries more than kMostFrameData bytes.
std::optional<std::string> rawTemplateOf(std::string_view framed);

// True when raw bytes of this length can be framed: each half fits the count byte, and neither
// count is C0 or DB, which the unescaped count byte would turn into a frame mark or an escape.
bool isFrameableLength(std::size_t length);

// Frames raw template bytes: the first frame carries the first length/2 bytes, the second the
// rest. The caller has checked isFrameableLength.
std::string frameRawTemplate(std::string_view raw);

}  // namespace termlink
