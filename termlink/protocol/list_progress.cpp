#include "list_progress.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "reply_tests.h"
#include "text_scan.h"

namespace termlink {
namespace {

// Reads the header once the whole header line is there. -1: not yet; 0: bad header; 1: read.
int readHeader(ListProgress& c, std::string_view text, bool running) {
  const std::size_t lf = text.find('\n');
  if (lf == std::string::npos) return running ? -1 : 0;
  const std::string_view line(text.data(), lf + 1);
  int repliedSno = 0, announced = 0, consumed = -1;
  const std::string pattern = std::string(c.format->header) + "\r\n%n";
  if (scanText(line, pattern.c_str(), &repliedSno, &announced, &consumed) != 2 ||
      repliedSno != c.sno || consumed != static_cast<int>(line.size()))
    return 0;
  c.announced = announced;
  c.parsePos = line.size();
  c.headerRead = true;
  return 1;
}

// True when `line` is all white space (what "\r\n" in a scanf pattern accepts).
bool blank(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
  });
}

}  // namespace

int readListProgress(ListProgress& c, std::string_view text, TransferState state,
                     std::int32_t* total, std::int32_t* count, void** records) {
  *total = 0;
  *count = 0;
  *records = nullptr;
  if (state == TransferState::failed) return 0;
  const bool running = state == TransferState::running;
  if (!c.headerRead) {
    if (running && text.size() < 15) return 2;
    const int header = readHeader(c, text, running);
    if (header < 0) return 2;
    if (header == 0) return 0;
    if (c.announced == 0) return 1;
  }
  *total = c.announced;
  if (c.parsePos >= text.size()) return running ? 2 : 0;

  const std::string_view rest = text.substr(c.parsePos);
  if (rest.find('\n') == std::string_view::npos) return running ? 2 : 0;

  const std::string prefix = formatText(c.format->linePrefix, sno(c.sno));
  const std::string endLine = formatText(c.format->endLine, sno(c.sno));
  const std::size_t size = c.format->recordSize;
  // The array handed out, grown geometrically from a guess of one record per 32 bytes (a
  // clocking-record line is about 45): no pass over the text to count its lines first.
  std::size_t room = rest.size() / 32 + 4;
  auto* out = static_cast<unsigned char*>(std::malloc(room * size));
  if (out == nullptr) return 0;
  std::size_t pos = 0;
  std::size_t n = 0;
  bool complete = false;
  for (std::size_t lf; (lf = rest.find('\n', pos)) != std::string_view::npos;) {
    const std::string_view line = rest.substr(pos, lf + 1 - pos);
    pos += line.size();
    if (line == endLine) {
      complete = true;
      break;
    }
    if (n == room) {
      void* bigger = std::realloc(out, 2 * room * size);
      if (bigger == nullptr) {
        std::free(out);
        return 0;
      }
      out = static_cast<unsigned char*>(bigger);
      room *= 2;
    }
    const std::size_t used = line.substr(0, prefix.size()) != prefix
                                 ? 0
                                 : c.format->parseRecord(line.substr(prefix.size()), c.sno,
                                                         out + n * size);
    if (used == 0 || !blank(line.substr(prefix.size() + used))) {
      std::free(out);
      return 0;
    }
    ++n;
  }
  c.parsePos += pos;
  if (n > 0) {
    *records = out;
    *count = static_cast<std::int32_t>(n);
  } else {
    std::free(out);
  }
  if (complete) return 1;
  // A finished transfer whose text holds no end line will never complete.
  return running || c.parsePos < text.size() ? 2 : 0;
}

}  // namespace termlink
