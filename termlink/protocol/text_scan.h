// Reading terminal replies with scanf-style patterns, within explicit bounds.
//
// The replies of the terminals are described by scanf patterns ("(%d,sysclock,%d-%d-%d ..."), and
// their meaning depends on scanf's rules: a blank or CR/LF in the pattern matches any run of
// white space (none included), %d skips white space first, %[^,] stops at a comma. scanText
// keeps those rules but never reads past the text it is given, so it is safe on a reply that is
// not NUL-terminated and costs only the bytes it reads (sscanf measures the whole rest first).
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace termlink {

// Matches `text` against `pattern` and stores the converted fields through the pointers that
// follow, as sscanf does. Conversions:
//   %d, %u   int*: optional white space, sign and decimal digits (at least one); the low 32 bits
//   %c       char*: one byte, no white space skipped
//   %N[^xy]  char* with room for N+1: 1 to N bytes none of which is x or y, then a NUL
//   %n       int*: the bytes read so far (not counted as a field)
//   %%       a literal percent sign
// Returns the number of fields converted before the first mismatch or the end of the text.
int scanText(std::string_view text, const char* pattern, ...);
int scanTextV(std::string_view text, const char* pattern, va_list args);

// scanf's white space: what a blank in a pattern and the skip before %d accept.
inline bool isScanSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads a number at `pos` exactly as %d does: optional white space and sign, at least one
// decimal digit, the value wrapping to its low 32 bits. On success stores it, moves `pos` past
// it and returns true; else leaves both alone. The hand-written record readers use it so that
// they accept what the patterns accept, at the cost of the bytes alone.
inline bool scanDecimal(std::string_view text, std::size_t& pos, std::int32_t& value) {
  std::size_t p = pos;
  while (p < text.size() && isScanSpace(text[p])) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
    negative = text[p] == '-';
    ++p;
  }
  if (p >= text.size() || static_cast<unsigned char>(text[p] - '0') > 9) return false;
  std::uint32_t v = 0;
  while (p < text.size() && static_cast<unsigned char>(text[p] - '0') <= 9) {
    v = v * 10u + static_cast<std::uint32_t>(text[p] - '0');
    ++p;
  }
  if (negative) v = 0u - v;
  value = static_cast<std::int32_t>(v);
  pos = p;
  return true;
}

}  // namespace termlink
