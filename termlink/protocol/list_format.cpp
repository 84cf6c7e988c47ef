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

std::size_t parseClocking(std::string_view text, std::int32_t sno, void* out) {
  ClockingRecord r{};
  int consumed = -1;
  if (scanText(text, "%d,%19[^,],%d)%n", &r.PersonID, r.Time, &r.Value, &consumed) != 3 ||
      consumed <= 0)
    return 0;
  r.Sno = sno;
  std::memcpy(out, &r, sizeof r);
  return static_cast<std::size_t>(consumed);
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
