// The blocking list commands: the list is read line by line while it arrives, so reading adds
// little to the transfer. Only a list made exactly of its header line, its record lines and its
// end line is read this way; any other text is left to parseWholeList at the end, which decides
// as it always does.
#include <cstdlib>
#include <cstring>
#include <string>

#include "download.h"
#include "reply_tests.h"
#include "text_scan.h"

namespace termlink {
namespace {

class LineByLineReader {
 public:
  LineByLineReader(std::int32_t serial, const ListFormat& format)
      : serial_(serial),
        format_(format),
        header_(std::string(format.header) + "%n"),
        prefix_(formatText(format.linePrefix, sno(serial))),
        endLine_(formatText(format.endLine, sno(serial))) {}
  ~LineByLineReader() { std::free(records_); }
  LineByLineReader(const LineByLineReader&) = delete;
  LineByLineReader& operator=(const LineByLineReader&) = delete;

  // Reads the lines of `text` completed since the previous call.
  void read(std::string_view text) {
    while (regular_) {
      const std::size_t lf = text.find('\n', pos_);
      if (lf == std::string_view::npos) return;
      readLine(text.substr(pos_, lf + 1 - pos_));
      pos_ = lf + 1;
    }
  }

  // True when the whole text was a regular list; then hands out count and records.
  bool finish(std::string_view text, std::int32_t* count, void** records) {
    if (!regular_ || !ended_ || pos_ != text.size() || read_ != announced_) return false;
    *count = announced_;
    *records = records_;
    records_ = nullptr;
    return true;
  }

 private:
  void readLine(std::string_view line) {
    if (ended_) {
      regular_ = false;  // text after the end line
    } else if (!headerRead_) {
      int replied = 0, used = -1;
      regular_ = scanText(line, header_.c_str(), &replied, &announced_, &used) == 2 && used > 0 &&
                 line.substr(static_cast<std::size_t>(used)) == "\r\n" && announced_ > 0;
      headerRead_ = true;
    } else if (read_ < announced_) {
      regular_ = line.substr(0, prefix_.size()) == prefix_ && grow();
      if (!regular_) return;
      unsigned char* record = records_ + static_cast<std::size_t>(read_) * format_.recordSize;
      const std::size_t used = format_.parseRecord(line.substr(prefix_.size()), serial_, record);
      regular_ = used > 0 && line.substr(prefix_.size() + used) == "\r\n";
      ++read_;
    } else {
      regular_ = line == endLine_;
      ended_ = true;
    }
  }

  // Makes room for one more record.
  bool grow() {
    const std::size_t needed = (static_cast<std::size_t>(read_) + 1) * format_.recordSize;
    if (needed <= capacity_) return true;
    const std::size_t bigger = needed < 4096 ? 4096 : 2 * needed;
    void* more = std::realloc(records_, bigger);
    if (more == nullptr) return false;
    records_ = static_cast<unsigned char*>(more);
    capacity_ = bigger;
    return true;
  }

  std::int32_t serial_;
  const ListFormat& format_;
  std::string header_, prefix_, endLine_;
  std::size_t pos_ = 0;
  bool regular_ = true, headerRead_ = false, ended_ = false;
  std::int32_t announced_ = 0, read_ = 0;
  unsigned char* records_ = nullptr;
  std::size_t capacity_ = 0;
};

}  // namespace

bool downloadList(std::int32_t serial, const ListFormat& format, std::int32_t* count,
                  void** records) {
  LineByLineReader reader(serial, format);
  std::string text;
  if (!downloadAll(serial, formatText(format.request, sno(serial)), format.endMarker, text,
                   [&reader](std::string_view sofar) { reader.read(sofar); }))
    return false;
  if (reader.finish(text, count, records)) return true;
  return parseWholeList(text, serial, format, count, records);
}

}  // namespace termlink
