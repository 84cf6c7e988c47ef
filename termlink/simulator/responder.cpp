#include "responder.h"

#include <charconv>

#include "template_frames.h"

namespace termsim {
namespace {

constexpr char kFrameEnd = static_cast<char>(0xC0);
constexpr auto kStaleInput = std::chrono::seconds(1);
constexpr auto kTemplateWait = std::chrono::seconds(3);
constexpr std::size_t kLongestTemplate = 2048;

template <typename T>
void appendNumber(std::string& out, T value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

// "(" sno "," — the start of every line a terminal sends.
std::string lineStart(std::uint32_t sno) {
  std::string s = "(";
  appendNumber(s, sno);
  s += ',';
  return s;
}

std::string line(std::uint32_t sno, std::string_view rest) {
  std::string s = lineStart(sno);
  s += rest;
  s += ")\r\n";
  return s;
}

void replaceAll(std::string& s, std::string_view from, std::string_view to) {
  for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
}

std::string dotted(const std::array<std::uint8_t, 4>& a) {
  std::string s;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (i) s += '.';
    appendNumber(s, a[i]);
  }
  return s;
}

// The numeric arguments of a request, each within [low, high]; nothing when any is missing,
// not a number or out of range.
std::optional<std::vector<long long>> numbers(const Request& r, std::size_t count, long long low,
                                              long long high) {
  if (r.args.size() != count) return std::nullopt;
  std::vector<long long> values;
  for (const std::string& a : r.args) {
    const auto v = parseNumber(a);
    if (!v || *v < low || *v > high) return std::nullopt;
    values.push_back(*v);
  }
  return values;
}

bool isOptionWord(std::string_view word) {
  for (std::string_view w : kOptionWords)
    if (w == word) return true;
  return false;
}

}  // namespace

Responder::Responder(std::vector<std::shared_ptr<TerminalState>> terminals)
    : terminals_(std::move(terminals)) {}

std::string Responder::realtimeLine(std::uint32_t sno, const ClockingRecord& record) {
  std::string s = lineStart(sno);
  s += "kq,";
  appendNumber(s, record.personId);
  s += ',';
  s += record.time;
  s += ',';
  appendNumber(s, record.value);
  s += ")\r\n";
  return s;
}

std::shared_ptr<TerminalState> Responder::addressee(std::uint32_t sno) const {
  if (terminals_.empty()) return nullptr;
  if (sno == 0) return terminals_.front();
  for (const auto& t : terminals_)
    if (t->sno() == sno) return t;
  return nullptr;
}

std::vector<Outgoing> Responder::onInput(std::string_view bytes, const SimOptions& options,
                                         Clock::time_point now, std::vector<std::string>& log) {
  if (!buffer_.empty() && now - lastInput_ > kStaleInput) buffer_.clear();
  buffer_.append(bytes);
  lastInput_ = now;

  std::vector<Outgoing> out;
  while (!buffer_.empty()) {
    if (pendingTemplate_ && now > pendingTemplate_->deadline) pendingTemplate_.reset();
    if (pendingTemplate_ && buffer_.front() != '(') {
      auto answered = takeTemplateData(options, log);
      if (!answered) break;  // the frames are still arriving
      if (!answered->bytes.empty()) out.push_back(std::move(*answered));
      continue;
    }
    pendingTemplate_.reset();  // a new request instead of the template data
    if (options.modem && buffer_.front() != '(') {
      bool incomplete = false;
      auto answered = takeModemInput(options, log, incomplete);
      if (answered) {
        if (!answered->bytes.empty()) out.push_back(std::move(*answered));
        continue;
      }
      if (incomplete) break;  // a modem string still arriving
    }
    const std::size_t open = buffer_.find('(');
    if (open == std::string::npos) {
      buffer_.clear();
      break;
    }
    buffer_.erase(0, open);
    const std::size_t length = requestLength(buffer_);
    if (length == 0) break;
    if (length == std::string_view::npos) {
      buffer_.erase(0, 1);
      continue;
    }
    const std::string text = buffer_.substr(0, length);
    buffer_.erase(0, length);
    log.push_back(text);
    const auto request = parseRequest(text);
    const auto terminal = request ? addressee(request->sno) : nullptr;
    if (!terminal || options.silent) continue;
    Outgoing answered = answer(*request, text, *terminal, options, now);
    if (!answered.bytes.empty()) out.push_back(std::move(answered));
  }
  return out;
}

Outgoing Responder::answer(const Request& request, std::string_view text, TerminalState& terminal,
                           const SimOptions& options, Clock::time_point now) {
  Outgoing o;
  std::string bytes = reply(request, terminal, options.replySno.value_or(terminal.sno()), options,
                            o.dropAfter, now);
  switch (options.malformation) {
    case Malformation::ClosingBracket: replaceAll(bytes, ")\r\n", "]\r\n"); break;
    case Malformation::OneByte: bytes.resize(std::min<std::size_t>(bytes.size(), 1)); break;
    case Malformation::WrongWord: replaceAll(bytes, ",ok)\r\n", ",err)\r\n"); break;
    default: break;
  }
  if (options.rewriteReply) bytes = options.rewriteReply(text, std::move(bytes));
  o.bytes = std::move(bytes);
  o.delayMs = options.replyDelayMs;
  return o;
}

std::string Responder::reply(const Request& r, TerminalState& t, std::uint32_t sno,
                             const SimOptions& options, bool& dropAfter, Clock::time_point now) {
  const std::string& w = r.word;
  const std::string refused = line(sno, w + ",err");
  const std::string ok = line(sno, w + ",ok");

  if (w == "sysinfo") {
    const auto [major, minor] = t.firmware();
    std::string s = "sysinfo,v";
    appendNumber(s, major);
    s += '.';
    appendNumber(s, minor);
    for (long long v : {static_cast<long long>(t.personCapacity()),
                        static_cast<long long>(t.persons().size()),
                        static_cast<long long>(t.templateCount()),
                        static_cast<long long>(t.recordCount()),
                        static_cast<long long>(t.clearedRecords().size()),
                        static_cast<long long>(t.realtimeMode())}) {
      s += ',';
      appendNumber(s, v);
    }
    return line(sno, s);
  }
  if (w == "netinfo") {
    const NetSettings n = t.net();
    std::string s = "netinfo," + dotted(n.ip) + ',' + dotted(n.mask) + ',' + dotted(n.gateway) +
                    ',' + dotted(n.server) + ',';
    const std::size_t macs = options.malformation == Malformation::FiveMacNumbers ? 5 : 6;
    for (std::size_t i = 0; i < macs; ++i) {
      if (i) s += '-';
      appendNumber(s, n.mac[i]);
    }
    s += ',';
    appendNumber(s, n.extra);
    return line(sno, s);
  }
  if (w == "sysclock") {
    const DateTime c = t.clock();
    std::string s = "sysclock,";
    appendNumber(s, c.year);
    s += '-';
    appendNumber(s, c.month);
    s += '-';
    appendNumber(s, c.day);
    s += ' ';
    appendNumber(s, c.hour);
    s += ':';
    appendNumber(s, c.minute);
    s += ':';
    appendNumber(s, c.second);
    return line(sno, s);
  }
  if (w == "syscount") {
    std::string s = "syscount,";
    appendNumber(s, t.persons().size());
    s += ',';
    appendNumber(s, t.templateCount());
    s += ',';
    appendNumber(s, t.recordCount());
    return line(sno, s);
  }
  if (w == "netsetip" || w == "netsetmask" || w == "netsetdra" || w == "netsetser") {
    const auto v = numbers(r, 4, 0, 255);
    if (!v) return refused;
    NetSettings n = t.net();
    auto& field = w == "netsetip" ? n.ip : w == "netsetmask" ? n.mask : w == "netsetdra" ? n.gateway : n.server;
    for (std::size_t i = 0; i < 4; ++i) field[i] = static_cast<std::uint8_t>((*v)[i]);
    t.setNet(n);
    return ok;
  }
  if (w == "netsetmac") {
    const auto v = numbers(r, 6, 0, 255);
    if (!v) return refused;
    NetSettings n = t.net();
    for (std::size_t i = 0; i < 6; ++i) n.mac[i] = static_cast<std::uint8_t>((*v)[i]);
    t.setNet(n);
    return ok;
  }
  if (w == "setdate") {
    const auto v = numbers(r, 3, 0, 65535);
    if (!v || !t.setDate(static_cast<int>((*v)[0]), static_cast<int>((*v)[1]), static_cast<int>((*v)[2])))
      return refused;
    return ok;
  }
  if (w == "settime") {
    const auto v = numbers(r, 3, 0, 255);
    if (!v || !t.setTime(static_cast<int>((*v)[0]), static_cast<int>((*v)[1]), static_cast<int>((*v)[2])))
      return refused;
    return ok;
  }
  if (isOptionWord(w)) {
    const auto v = numbers(r, 1, INT32_MIN, INT32_MAX);
    if (!v) return refused;
    t.setOption(w, static_cast<int>((*v)[0]));
    return ok;
  }
  if (w == "sysclr") {
    t.reset();
    return ok;
  }
  if (w == "ygdata") return personList(t, sno, options, dropAfter);
  if (w == "ygmod") {
    const std::size_t n = r.args.size();
    if (n < 5) return refused;
    const auto id = parseNumber(r.args[0]);
    const auto v1 = parseNumber(r.args[n - 3]);
    const auto v2 = parseNumber(r.args[n - 2]);
    const auto v3 = parseNumber(r.args[n - 1]);
    if (!id || !v1 || !v2 || !v3) return refused;
    Person p;
    p.id = static_cast<std::int32_t>(*id);
    for (std::size_t i = 1; i + 3 < n; ++i) {
      if (i > 1) p.name += ',';
      p.name += r.args[i];
    }
    p.value1 = static_cast<std::int32_t>(*v1);
    p.value2 = static_cast<std::uint32_t>(*v2);
    p.value3 = static_cast<std::int32_t>(*v3);
    if (const auto old = t.person(p.id)) {
      p.value4 = old->value4;
      p.value5 = old->value5;
    }
    switch (t.putPerson(p)) {
      case 1: return line(sno, "ygadd,ok");
      case 2: return line(sno, "ygchg,ok");
      default: return line(sno, "ygadd,err,full");
    }
  }
  if (w == "ygdel") {
    const auto v = numbers(r, 1, INT32_MIN, UINT32_MAX);
    if (!v) return refused;
    return t.deletePerson(static_cast<std::int32_t>((*v)[0])) ? ok : line(sno, "ygdel,err,none");
  }
  if (w == "ygeraseall") {
    t.eraseAllPersons();
    return ok;
  }
  if (w == "gettemplet" || w == "sendtemplet") {
    const auto v = numbers(r, 2, INT32_MIN, INT32_MAX);
    if (!v) return refused;
    const auto person = static_cast<std::int32_t>((*v)[0]);
    const auto finger = static_cast<int>((*v)[1]);
    if (w == "sendtemplet") {
      if (!t.person(person)) return line(sno, "sendtemplet,err,none");
      pendingTemplate_ = PendingTemplate{addressee(t.sno()), person, finger, sno, now + kTemplateWait};
      return line(sno, "sendtemplet,ready");
    }
    auto frames = t.templateFrames(person, finger);
    if (!frames) return line(sno, "gettemplet,err,none");
    if (options.malformation == Malformation::BadChecksum)
      if (const auto raw = unframeTemplate(*frames)) *frames = frameTemplate(*raw, 1);
    return lineStart(sno) + "gettemplet,start)" + *frames;
  }
  if (w == "kqdata") return recordList(t, sno, options, dropAfter);
  if (w == "kqclr") {
    t.clearRecords();
    return ok;
  }
  if (w == "kqback") {
    const auto v = numbers(r, 1, INT32_MIN, INT32_MAX);
    if (!v) return refused;
    t.recallRecords(static_cast<int>((*v)[0]));
    return ok;
  }
  return refused;
}

std::string Responder::personList(TerminalState& t, std::uint32_t sno, const SimOptions& options,
                                  bool& dropAfter) const {
  const std::vector<Person> persons = t.persons();
  const std::string start = lineStart(sno);
  std::string s = start + "ygdata,";
  appendNumber(s, persons.size());
  s += ")\r\n";
  for (std::size_t i = 0; i < persons.size(); ++i) {
    if (options.dropAfterRecords >= 0 && i == static_cast<std::size_t>(options.dropAfterRecords)) {
      dropAfter = true;
      return s;
    }
    const Person& p = persons[i];
    s += start;
    s += "yg,";
    appendNumber(s, p.id);
    s += ',';
    s += p.name;
    for (std::int32_t v : {p.value1, static_cast<std::int32_t>(p.value2), p.value3, p.value4, p.value5}) {
      s += ',';
      appendNumber(s, v);
    }
    s += ")\r\n";
  }
  if (options.malformation != Malformation::MissingEndLine) s += start + "ygdataend)\r\n";
  return s;
}

std::string Responder::recordList(TerminalState& t, std::uint32_t sno, const SimOptions& options,
                                  bool& dropAfter) const {
  const std::vector<ClockingRecord> records = t.records();
  const std::string start = lineStart(sno);
  std::string s = start + "kqdata,";
  appendNumber(s, records.size());
  s += ")\r\n";
  s.reserve(s.size() + records.size() * (start.size() + 36) + 32);
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (options.dropAfterRecords >= 0 && i == static_cast<std::size_t>(options.dropAfterRecords)) {
      dropAfter = true;
      return s;
    }
    const ClockingRecord& c = records[i];
    s += start;
    s += "kq,";
    appendNumber(s, c.personId);
    s += ',';
    s += c.time;
    s += ',';
    appendNumber(s, c.value);
    s += ")\r\n";
  }
  if (options.malformation != Malformation::MissingEndLine) s += start + "kqdataend)\r\n";
  return s;
}

std::optional<Outgoing> Responder::takeTemplateData(const SimOptions& options,
                                                    std::vector<std::string>& log) {
  PendingTemplate pending = *pendingTemplate_;
  std::size_t length = 0;
  bool valid = false;
  if (buffer_.front() == kFrameEnd) {
    length = framePairLength(buffer_);
    if (length == 0 && buffer_.size() < kLongestTemplate) return std::nullopt;
    if (length == 0) length = buffer_.size();
    valid = unframeTemplate(std::string_view(buffer_).substr(0, length)).has_value();
  } else {
    length = buffer_.size();  // not a template at all: whatever came is refused
  }
  const std::string data = buffer_.substr(0, length);
  buffer_.erase(0, length);
  pendingTemplate_.reset();
  log.push_back("<template " + std::to_string(length) + " bytes>");
  if (options.silent) return Outgoing{};

  std::string bytes;
  if (valid && !options.refuseTemplates) {
    pending.terminal->setTemplateFrames(pending.personId, pending.finger, data);
    bytes = line(pending.replySno, "sendtemplet,ok");
  } else {
    bytes = line(pending.replySno, "sendtemplet,err,err");
  }
  if (options.malformation == Malformation::ClosingBracket) replaceAll(bytes, ")\r\n", "]\r\n");
  if (options.malformation == Malformation::OneByte) bytes.resize(1);
  if (options.malformation == Malformation::WrongWord) replaceAll(bytes, ",ok)\r\n", ",err)\r\n");
  if (options.rewriteReply) bytes = options.rewriteReply(log.back(), std::move(bytes));
  return Outgoing{std::move(bytes), options.replyDelayMs, false};
}

std::optional<Outgoing> Responder::takeModemInput(const SimOptions& options,
                                                  std::vector<std::string>& log, bool& incomplete) {
  const std::string_view b = buffer_;
  incomplete = (b.size() < 3 && std::string_view("+++").starts_with(b)) || b == "A";
  if (b.front() == kFrameEnd) {  // a handshake frame: acknowledged with six bytes
    const std::size_t end = b.find(kFrameEnd, 1);
    if (end == std::string_view::npos) {
      incomplete = true;
      return std::nullopt;
    }
    const char type = end > 1 ? b[1] : '\0';
    log.emplace_back(b.substr(0, end + 1));
    buffer_.erase(0, end + 1);
    const std::string ack{kFrameEnd, type, '\0', '\0', type, kFrameEnd};
    return Outgoing{ack, options.replyDelayMs, false};
  }
  if (b.starts_with("+++")) {
    log.emplace_back("+++");
    buffer_.erase(0, 3);
    return Outgoing{"\r\nOK\r\n", 0, false};
  }
  if (b.starts_with("AT")) {
    const std::size_t end = b.find('\r');
    if (end == std::string_view::npos) {
      incomplete = true;
      return std::nullopt;
    }
    const std::string command(b.substr(0, end + 1));
    buffer_.erase(0, end + 1);
    log.push_back(command);
    if (command.starts_with("ATD") && command.size() > 4) {
      if (options.modemAnswer.empty()) return Outgoing{};
      return Outgoing{"\r\n" + options.modemAnswer + "\r\n", options.modemDialMs, false};
    }
    return Outgoing{"\r\nOK\r\n", 0, false};
  }
  return std::nullopt;
}

}  // namespace termsim
