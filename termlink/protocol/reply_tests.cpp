#include "reply_tests.h"

#include <cstdarg>
#include <cstdio>

namespace termlink {

std::string formatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<std::size_t>(n));
  }
  va_end(args);
  return out;
}

bool replyIsExactly(std::string_view reply, std::string_view expected) { return reply == expected; }

int replyTailIndex(std::string_view reply, std::initializer_list<std::string_view> tails) {
  const std::size_t comma = reply.find(',');
  if (comma == std::string_view::npos) return -1;
  const std::string_view tail = reply.substr(comma);
  int index = 0;
  for (std::string_view t : tails) {
    if (tail == t) return index;
    ++index;
  }
  return -1;
}

bool replyHasPrefix(std::string_view reply, std::string_view prefix) {
  return reply.size() > prefix.size() && reply.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view marker) {
  return text.size() >= marker.size() && text.substr(text.size() - marker.size()) == marker;
}

}  // namespace termlink
