#include "template_frame.h"

namespace termlink {
namespace {

constexpr std::uint8_t kEscape = 0xDB;
constexpr std::uint8_t kEscapedMark = 0xDC;
constexpr std::uint8_t kEscapedEscape = 0xDD;
constexpr std::size_t kHeaderBytes = 7;  // type, five reserved bytes, count

std::uint8_t byteAt(std::string_view s, std::size_t i) { return static_cast<std::uint8_t>(s[i]); }

// Undoes the escapes of one frame that starts at `pos` with `type`, from its type byte up to its
// closing C0. On success `body` holds the unescaped bytes (type .. checksum) and `pos` the byte
// after the closing C0.
bool readFrame(std::string_view bytes, std::size_t& pos, std::uint8_t type, std::string& body) {
  if (bytes.size() < pos + 2 || byteAt(bytes, pos) != kFrameMark || byteAt(bytes, pos + 1) != type)
    return false;
  body.clear();
  for (std::size_t i = pos + 1; i < bytes.size(); ++i) {
    std::uint8_t b = byteAt(bytes, i);
    if (b == kFrameMark) {
      pos = i + 1;
      return true;
    }
    if (b == kEscape) {
      if (++i >= bytes.size()) return false;
      const std::uint8_t next = byteAt(bytes, i);
      if (next == kEscapedMark)
        b = kFrameMark;
      else if (next == kEscapedEscape)
        b = kEscape;
      else
        return false;
    }
    body += static_cast<char>(b);
  }
  return false;  // no closing C0
}

bool checksumHolds(std::string_view body) {
  if (body.size() < 2) return false;
  unsigned sum = 0;
  for (std::size_t i = 0; i + 2 < body.size(); ++i) sum += byteAt(body, i);
  const unsigned stated = (unsigned{byteAt(body, body.size() - 2)} << 8) | byteAt(body, body.size() - 1);
  return (sum & 0xFFFFu) == stated;
}

void appendEscaped(std::string& out, std::uint8_t b) {
  if (b == kFrameMark) {
    out += static_cast<char>(kEscape);
    out += static_cast<char>(kEscapedMark);
  } else if (b == kEscape) {
    out += static_cast<char>(kEscape);
    out += static_cast<char>(kEscapedEscape);
  } else {
    out += static_cast<char>(b);
  }
}

void appendFrame(std::string& out, std::uint8_t type, std::string_view data) {
  const auto count = static_cast<std::uint8_t>(data.size());
  unsigned sum = type + count;
  out += static_cast<char>(kFrameMark);
  out += static_cast<char>(type);
  out.append(5, '\0');
  out += static_cast<char>(count);
  for (char c : data) {
    const auto b = static_cast<std::uint8_t>(c);
    sum += b;
    appendEscaped(out, b);
  }
  appendEscaped(out, static_cast<std::uint8_t>((sum >> 8) & 0xFF));
  appendEscaped(out, static_cast<std::uint8_t>(sum & 0xFF));
  out += static_cast<char>(kFrameMark);
}

}  // namespace

bool isValidTemplate(std::string_view bytes) {
  std::size_t pos = 0;
  std::string body;
  return readFrame(bytes, pos, kFirstFrameType, body) && checksumHolds(body) &&
         readFrame(bytes, pos, kSecondFrameType, body) && checksumHolds(body);
}

std::optional<std::string> rawTemplateOf(std::string_view framed) {
  std::string raw, body;
  std::size_t pos = 0;
  for (std::uint8_t type : {kFirstFrameType, kSecondFrameType}) {
    if (!readFrame(framed, pos, type, body) || !checksumHolds(body)) return std::nullopt;
    if (body.size() < kHeaderBytes + 2 || body.size() - kHeaderBytes - 2 > kMostFrameData)
      return std::nullopt;
    raw.append(body, kHeaderBytes, body.size() - kHeaderBytes - 2);
  }
  return raw;
}

bool isFrameableLength(std::size_t length) {
  const std::size_t first = length / 2, second = length - first;
  for (std::size_t count : {first, second})
    if (count > kMostFrameData || count == kFrameMark || count == kEscape) return false;
  return length > 0;
}

std::string frameRawTemplate(std::string_view raw) {
  std::string out;
  out.reserve(2 * raw.size() + 26);
  appendFrame(out, kFirstFrameType, raw.substr(0, raw.size() / 2));
  appendFrame(out, kSecondFrameType, raw.substr(raw.size() / 2));
  return out;
}

}  // namespace termlink
