// Reading terminal replies with scanf-style patterns, within explicit bounds.
//
// The replies of the terminals are described by scanf patterns ("(%d,sysclock,%d-%d-%d ..."), and
// their meaning depends on scanf's rules: a blank or CR/LF in the pattern matches any run of
// white space (none included), %d skips white space first, %[^,] stops at a comma. scanText
// keeps those rules but never reads past the text it is given, so it is safe on a reply that is
// not NUL-terminated and costs only the bytes it reads (sscanf measures the whole rest first).
#pragma once

#include <cstdarg>
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

}  // namespace termlink
