// Building requests and judging single-line replies.
//
// A request is "(" + serial number in unsigned decimal + "," + command word [+ "," arguments] + ")",
// with nothing appended. A reply is judged as text: the reply tests below see it up to its first
// NUL byte, as the terminal's ASCII protocol intends. The pattern test is scanText (text_scan.h).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace termlink {

// printf into a new string; the serial number of a request is passed as sno(x) for %u.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The serial number as the terminal writes it: the same 32 bits, unsigned.
inline unsigned sno(std::int32_t serial) { return static_cast<std::uint32_t>(serial); }

// exact: the whole reply equals `expected`.
bool replyIsExactly(std::string_view reply, std::string_view expected);

// tail: the index in `tails` of the one equal to the reply from its first comma on (the replying
// serial number is not compared), or -1 when none is, or the reply has no comma.
int replyTailIndex(std::string_view reply, std::initializer_list<std::string_view> tails);

// prefix: true when the reply is longer than `prefix` and starts with it.
bool replyHasPrefix(std::string_view reply, std::string_view prefix);

// True when `text` ends with `marker`.
bool endsWith(std::string_view text, std::string_view marker);

}  // namespace termlink
