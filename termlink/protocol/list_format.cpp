#include "list_format.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "api/termlink.h"
#include "reply_tests.h"
#include "text_scan.h"

namespace termlink {
namespace {

std::size_t parsePerson(std::string_view text, std::int32_t, void* out) {
  PersonInfo p{};
  int consumed = -1;
  if (scanText(text, "%d,%15[^,],%d,%d,%d,%d,%d)%n", &p.PersonID, p.Name, &p.Value1, &p.Value2,
               &p.Value3, &p.Value4, &p.Value5, &consumed) != 7 ||
      consumed <= 0) {
    p = PersonInfo{};
    consumed = -1;
    if (scanText(text, "%d,,%d,%d,%d,%d,%d)%n", &p.PersonID, &p.Value1, &p.Value2, &p.Value3,
                 &p.Value4, &p.Value5, &consumed) != 6 ||
        consumed <= 0)
      return 0;
  }
  std::memcpy(out, &p, sizeof p);
  return static_cast<std::size_t>(consumed);
}

// What the pattern "%d,%19[^,],%d)" reads, by hand: this runs once per record of lists of a
// hundred thousand, where a pattern interpreter costs more than the transfer of the line.
std::size_t parseClocking(std::string_view text, std::int32_t sno, void* out) {
  ClockingRecord r{};
  std::size_t pos = 0;
  if (!scanDecimal(text, pos, r.PersonID) || pos >= text.size() || text[pos] != ',') return 0;
  ++pos;
  // The time: 1 to 19 bytes up to a comma; a longer text then fails on the comma.
  const std::size_t room = std::min(text.size() - pos, sizeof r.Time - 1);
  const char* start = text.data() + pos;
  const void* comma = std::memchr(start, ',', room);
  const std::size_t n = comma != nullptr ? static_cast<std::size_t>(static_cast<const char*>(comma) - start) : room;
  if (n == 0) return 0;
  std::memcpy(r.Time, start, n);  // r.Time[n] stays NUL
  pos += n;
  if (pos >= text.size() || text[pos] != ',') return 0;
  ++pos;
  if (!scanDecimal(text, pos, r.Value) || pos >= text.size() || text[pos] != ')') return 0;
  r.Sno = sno;
  std::memcpy(out, &r, sizeof r);
  return pos + 1;
}

}  // namespace

const ListFormat& personList() {
  static const ListFormat format{"(%u,ygdata)",  "ygdataend)\r\n",      "(%d,ygdata,%d)",
                                 "(%u,yg,",      "(%u,ygdataend)\r\n", sizeof(PersonInfo),
                                 &parsePerson};
  return format;
}

const ListFormat& clockingList() {
  static const ListFormat format{"(%u,kqdata)",  "kqdataend)\r\n",      "(%d,kqdata,%d)",
                                 "(%u,kq,",      "(%u,kqdataend)\r\n", sizeof(ClockingRecord),
                                 &parseClocking};
  return format;
}

bool parseWholeList(std::string_view text, std::int32_t serial, const ListFormat& format,
                    std::int32_t* count, void** records) {
  int repliedSno = 0;
  int announced = 0;
  if (scanText(text, format.header, &repliedSno, &announced) != 2) return false;
  *count = announced;
  if (announced == 0) {
    *records = nullptr;
    return true;
  }
  *records = nullptr;
  if (announced < 0) return false;

  const std::string prefix = "\r\n" + formatText(format.linePrefix, sno(serial));
  const std::string endText = "\r\n" + formatText(format.endLine, sno(serial));
  // Every record takes a line of its own: the lines of the text bound the room needed, whatever
  // count the header announces.
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  if (static_cast<std::size_t>(announced) + 2 > lines) return false;
  auto* out = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(announced) * format.recordSize));
  if (out == nullptr) return false;
  std::size_t pos = text.find("\r\n");
  for (std::int32_t i = 0; i < announced; ++i) {
    const std::size_t used =
        pos == std::string_view::npos || text.substr(pos, prefix.size()) != prefix
            ? 0
            : format.parseRecord(text.substr(pos + prefix.size()), serial,
                                 out + static_cast<std::size_t>(i) * format.recordSize);
    if (used == 0) {
      std::free(out);
      return false;
    }
    pos += prefix.size() + used;
  }
  if (text.substr(pos) != endText) {
    std::free(out);
    return false;
  }
  *records = out;
  return true;
}

}  // namespace termlink
