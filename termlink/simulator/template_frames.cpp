#include "template_frames.h"

#include <cstdint>

namespace termsim {
namespace {

constexpr unsigned char kEnd = 0xC0;
constexpr unsigned char kEscape = 0xDB;
constexpr unsigned char kEscapedEnd = 0xDC;
constexpr unsigned char kEscapedEscape = 0xDD;
constexpr unsigned char kFirstType = 0x02;
constexpr unsigned char kSecondType = 0x08;

void putEscaped(std::string& out, unsigned char byte) {
  if (byte == kEnd) {
    out += static_cast<char>(kEscape);
    out += static_cast<char>(kEscapedEnd);
  } else if (byte == kEscape) {
    out += static_cast<char>(kEscape);
    out += static_cast<char>(kEscapedEscape);
  } else {
    out += static_cast<char>(byte);
  }
}

void putFrame(std::string& out, unsigned char type, std::string_view data, int checksumError) {
  if (data.size() > 255) data = data.substr(0, 255);
  const auto count = static_cast<unsigned char>(data.size());
  unsigned sum = type + count;
  out += static_cast<char>(kEnd);
  out += static_cast<char>(type);
  out.append(5, '\0');
  out += static_cast<char>(count);  // the count byte travels unescaped
  for (char c : data) {
    const auto byte = static_cast<unsigned char>(c);
    sum += byte;
    putEscaped(out, byte);
  }
  const auto checksum = static_cast<std::uint16_t>(sum + static_cast<unsigned>(checksumError));
  putEscaped(out, static_cast<unsigned char>(checksum >> 8));
  putEscaped(out, static_cast<unsigned char>(checksum & 0xFF));
  out += static_cast<char>(kEnd);
}

// Reads one frame of `type` at `pos`; appends its data bytes to `raw` and moves `pos` past its
// closing C0. False when the frame is malformed.
bool readFrame(std::string_view in, std::size_t& pos, unsigned char type, std::string& raw) {
  if (in.size() < pos + 2 || static_cast<unsigned char>(in[pos]) != kEnd ||
      static_cast<unsigned char>(in[pos + 1]) != type)
    return false;
  std::string body;  // unescaped bytes from the type byte to the checksum
  std::size_t i = pos + 1;
  for (;;) {
    if (i >= in.size()) return false;
    auto byte = static_cast<unsigned char>(in[i++]);
    if (byte == kEnd) break;
    if (byte == kEscape) {
      if (i >= in.size()) return false;
      const auto next = static_cast<unsigned char>(in[i++]);
      if (next == kEscapedEnd)
        byte = kEnd;
      else if (next == kEscapedEscape)
        byte = kEscape;
      else
        return false;
    }
    body += static_cast<char>(byte);
  }
  if (body.size() < 9) return false;  // type, five reserved, count, two checksum bytes
  unsigned sum = 0;
  for (std::size_t k = 0; k + 2 < body.size(); ++k) sum += static_cast<unsigned char>(body[k]);
  const unsigned checksum = static_cast<unsigned char>(body[body.size() - 2]) * 256u +
                            static_cast<unsigned char>(body[body.size() - 1]);
  if ((sum & 0xFFFF) != checksum) return false;
  raw.append(body, 7, body.size() - 9);
  pos = i;
  return true;
}

}  // namespace

std::string frameTemplate(std::string_view raw, int checksumError) {
  std::string out;
  out.reserve(2 * raw.size() + 26);
  const std::size_t half = raw.size() / 2;
  putFrame(out, kFirstType, raw.substr(0, half), checksumError);
  putFrame(out, kSecondType, raw.substr(half), checksumError);
  return out;
}

std::optional<std::string> unframeTemplate(std::string_view frames, std::size_t* used) {
  std::string raw;
  std::size_t pos = 0;
  if (!readFrame(frames, pos, kFirstType, raw) || !readFrame(frames, pos, kSecondType, raw))
    return std::nullopt;
  if (used) *used = pos;
  return raw;
}

std::size_t framePairLength(std::string_view bytes) {
  int ends = 0;
  for (std::size_t i = 1; i < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) != kEnd) continue;
    ++ends;
    if (ends == 1) {
      ++i;  // the second frame's start C0
      if (i >= bytes.size()) return 0;
    } else {
      return i + 1;
    }
  }
  return 0;
}

}  // namespace termsim
