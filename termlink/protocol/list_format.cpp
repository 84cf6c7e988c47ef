#include "list_format.h"

#include <cstdlib>
#include <cstring>
#include <vector>

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
  // Room grows with the records actually read: an announced count is no reason to allocate.
  std::vector<unsigned char> parsed;
  std::size_t pos = text.find("\r\n");
  for (std::int32_t i = 0; i < announced; ++i) {
    if (pos == std::string_view::npos || text.substr(pos, prefix.size()) != prefix) return false;
    pos += prefix.size();
    parsed.resize(parsed.size() + format.recordSize);
    const std::size_t used =
        format.parseRecord(text.substr(pos), serial, parsed.data() + parsed.size() - format.recordSize);
    if (used == 0) return false;
    pos += used;
  }
  if (text.substr(pos) != endText) return false;

  void* out = std::malloc(parsed.size());
  if (out == nullptr) return false;
  std::memcpy(out, parsed.data(), parsed.size());
  *records = out;
  return true;
}

}  // namespace termlink
