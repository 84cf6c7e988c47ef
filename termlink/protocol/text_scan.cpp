#include "text_scan.h"

#include <cstdint>
#include <cstring>

namespace termlink {
namespace {

bool isSpace(char c) { return isScanSpace(c); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int scanTextV(std::string_view text, const char* pattern, va_list args) {
  int fields = 0;
  std::size_t pos = 0;
  for (const char* f = pattern; *f != '\0'; ++f) {
    if (isSpace(*f)) {
      while (pos < text.size() && isSpace(text[pos])) ++pos;
      continue;
    }
    if (*f != '%') {
      if (pos >= text.size() || text[pos] != *f) return fields;
      ++pos;
      continue;
    }
    ++f;
    int width = 0;
    while (isDigit(*f)) width = width * 10 + (*f++ - '0');
    switch (*f) {
      case '%':
        if (pos >= text.size() || text[pos] != '%') return fields;
        ++pos;
        break;
      case 'd':
      case 'u': {
        std::int32_t value = 0;
        if (!scanDecimal(text, pos, value)) return fields;
        *va_arg(args, int*) = value;
        ++fields;
        break;
      }
      case 'c':
        if (pos >= text.size()) return fields;
        *va_arg(args, char*) = text[pos++];
        ++fields;
        break;
      case 'n':
        *va_arg(args, int*) = static_cast<int>(pos);
        break;
      case '[': {
        // Only the excluding form %N[^...] is used by the protocol.
        ++f;
        if (*f != '^') return fields;
        const char* setBegin = ++f;
        while (*f != '\0' && *f != ']') ++f;
        if (*f == '\0') return fields;
        const std::string_view excluded(setBegin, static_cast<std::size_t>(f - setBegin));
        char* out = va_arg(args, char*);
        const std::size_t limit = width > 0 ? static_cast<std::size_t>(width) : text.size();
        std::size_t n = 0;
        // The sets are one or two bytes: a plain loop beats a library search per byte.
        const auto isExcluded = [excluded](char ch) {
          for (char e : excluded)
            if (e == ch) return true;
          return false;
        };
        while (pos + n < text.size() && n < limit && !isExcluded(text[pos + n])) ++n;
        if (n == 0) return fields;
        std::memcpy(out, text.data() + pos, n);
        out[n] = '\0';
        pos += n;
        ++fields;
        break;
      }
      default:
        return fields;  // a conversion the protocol never uses
    }
  }
  return fields;
}

int scanText(std::string_view text, const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  const int fields = scanTextV(text, pattern, args);
  va_end(args);
  return fields;
}

}  // namespace termlink
