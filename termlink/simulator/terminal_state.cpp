#include "terminal_state.h"

#include <algorithm>
#include <cstdio>

#include "template_frames.h"

namespace termsim {
namespace {

// Days since 1970-01-01 of a civil date, and back (Howard Hinnant's algorithms).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
}

bool validDate(int year, int month, int day) {
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

}  // namespace

std::string formatTime(const DateTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

DateTime addSeconds(const DateTime& t, long long seconds) {
  long long total = daysFromCivil(t.year, static_cast<unsigned>(t.month),
                                  static_cast<unsigned>(t.day)) * 86400 +
                    t.hour * 3600LL + t.minute * 60LL + t.second + seconds;
  long long days = total / 86400;
  long long rest = total % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  DateTime r;
  civilFromDays(days, r.year, r.month, r.day);
  r.hour = static_cast<int>(rest / 3600);
  r.minute = static_cast<int>(rest / 60 % 60);
  r.second = static_cast<int>(rest % 60);
  return r;
}

TerminalState::TerminalState(std::uint32_t sno)
    : sno_(sno), clockSetAt_(std::chrono::steady_clock::now()) {}

std::uint32_t TerminalState::sno() const {
  std::lock_guard lock(mutex_);
  return sno_;
}

void TerminalState::setSno(std::uint32_t sno) {
  std::lock_guard lock(mutex_);
  sno_ = sno;
}

DateTime TerminalState::clockLocked() const {
  if (!clockRunning_) return clockBase_;
  const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::steady_clock::now() - clockSetAt_);
  return addSeconds(clockBase_, elapsed.count());
}

DateTime TerminalState::clock() const {
  std::lock_guard lock(mutex_);
  return clockLocked();
}

void TerminalState::setClock(const DateTime& now, bool running) {
  std::lock_guard lock(mutex_);
  clockBase_ = now;
  clockRunning_ = running;
  clockSetAt_ = std::chrono::steady_clock::now();
}

bool TerminalState::setDate(int year, int month, int day) {
  if (!validDate(year, month, day)) return false;
  std::lock_guard lock(mutex_);
  DateTime now = clockLocked();
  now.year = year;
  now.month = month;
  now.day = day;
  clockBase_ = now;
  clockSetAt_ = std::chrono::steady_clock::now();
  return true;
}

bool TerminalState::setTime(int hour, int minute, int second) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return false;
  std::lock_guard lock(mutex_);
  DateTime now = clockLocked();
  now.hour = hour;
  now.minute = minute;
  now.second = second;
  clockBase_ = now;
  clockSetAt_ = std::chrono::steady_clock::now();
  return true;
}

NetSettings TerminalState::net() const {
  std::lock_guard lock(mutex_);
  return net_;
}

void TerminalState::setNet(const NetSettings& net) {
  std::lock_guard lock(mutex_);
  net_ = net;
}

int TerminalState::option(std::string_view word) const {
  std::lock_guard lock(mutex_);
  auto it = options_.find(word);
  return it == options_.end() ? 0 : it->second;
}

void TerminalState::setOption(std::string_view word, int value) {
  std::lock_guard lock(mutex_);
  options_[std::string(word)] = value;
}

std::pair<int, int> TerminalState::firmware() const {
  std::lock_guard lock(mutex_);
  return firmware_;
}

void TerminalState::setFirmware(int major, int minor) {
  std::lock_guard lock(mutex_);
  firmware_ = {major, minor};
}

std::vector<Person> TerminalState::persons() const {
  std::lock_guard lock(mutex_);
  return persons_;
}

void TerminalState::setPersons(std::vector<Person> persons) {
  std::lock_guard lock(mutex_);
  persons_ = std::move(persons);
}

std::optional<Person> TerminalState::person(std::int32_t id) const {
  std::lock_guard lock(mutex_);
  for (const Person& p : persons_)
    if (p.id == id) return p;
  return std::nullopt;
}

int TerminalState::putPerson(const Person& person) {
  std::lock_guard lock(mutex_);
  for (Person& p : persons_) {
    if (p.id == person.id) {
      p = person;
      return 2;
    }
  }
  if (persons_.size() >= personCapacity_) return -1;
  persons_.push_back(person);
  return 1;
}

bool TerminalState::deletePerson(std::int32_t id) {
  std::lock_guard lock(mutex_);
  auto it = std::find_if(persons_.begin(), persons_.end(),
                         [id](const Person& p) { return p.id == id; });
  if (it == persons_.end()) return false;
  persons_.erase(it);
  std::erase_if(templates_, [id](const auto& entry) { return entry.first.first == id; });
  return true;
}

void TerminalState::eraseAllPersons() {
  std::lock_guard lock(mutex_);
  persons_.clear();
  templates_.clear();
}

void TerminalState::fillPersons(std::size_t n, bool withTemplates) {
  std::vector<Person> persons;
  persons.reserve(n);
  std::map<std::pair<std::int32_t, int>, std::string> templates;
  for (std::size_t k = 1; k <= n; ++k) {
    const auto id = static_cast<std::int32_t>(k);
    persons.push_back({id, "Person " + std::to_string(k), 0, 0, 0, withTemplates ? 1 : 0, 0});
    if (!withTemplates) continue;
    std::string raw(338, '\0');
    for (std::size_t b = 0; b < raw.size(); ++b) raw[b] = static_cast<char>((b * 7 + k) & 0xFF);
    templates[{id, 0}] = frameTemplate(raw);
  }
  std::lock_guard lock(mutex_);
  persons_ = std::move(persons);
  templates_ = std::move(templates);
}

std::size_t TerminalState::personCapacity() const {
  std::lock_guard lock(mutex_);
  return personCapacity_;
}

void TerminalState::setPersonCapacity(std::size_t capacity) {
  std::lock_guard lock(mutex_);
  personCapacity_ = capacity;
}

std::optional<std::string> TerminalState::templateFrames(std::int32_t personId, int finger) const {
  std::lock_guard lock(mutex_);
  auto it = templates_.find({personId, finger});
  if (it == templates_.end()) return std::nullopt;
  return it->second;
}

void TerminalState::setTemplateFrames(std::int32_t personId, int finger, std::string frames) {
  std::lock_guard lock(mutex_);
  templates_[{personId, finger}] = std::move(frames);
}

void TerminalState::setTemplateRaw(std::int32_t personId, int finger, std::string_view raw) {
  setTemplateFrames(personId, finger, frameTemplate(raw));
}

std::size_t TerminalState::templateCount() const {
  std::lock_guard lock(mutex_);
  return templates_.size();
}

std::vector<ClockingRecord> TerminalState::records() const {
  std::lock_guard lock(mutex_);
  return records_;
}

void TerminalState::setRecords(std::vector<ClockingRecord> records) {
  std::lock_guard lock(mutex_);
  records_ = std::move(records);
}

void TerminalState::addRecord(ClockingRecord record) {
  std::lock_guard lock(mutex_);
  records_.push_back(std::move(record));
}

std::size_t TerminalState::recordCount() const {
  std::lock_guard lock(mutex_);
  return records_.size();
}

void TerminalState::clearRecords() {
  std::lock_guard lock(mutex_);
  cleared_.insert(cleared_.end(), std::make_move_iterator(records_.begin()),
                  std::make_move_iterator(records_.end()));
  records_.clear();
}

void TerminalState::recallRecords(int n) {
  std::lock_guard lock(mutex_);
  if (n <= 0) return;
  const std::size_t take = std::min(cleared_.size(), static_cast<std::size_t>(n));
  const auto from = cleared_.end() - static_cast<std::ptrdiff_t>(take);
  records_.insert(records_.begin(), std::make_move_iterator(from),
                  std::make_move_iterator(cleared_.end()));
  cleared_.erase(from, cleared_.end());
}

std::vector<ClockingRecord> TerminalState::clearedRecords() const {
  std::lock_guard lock(mutex_);
  return cleared_;
}

void TerminalState::fillRecords(std::size_t n, const DateTime& first) {
  std::vector<ClockingRecord> records;
  records.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    records.push_back({static_cast<std::int32_t>(i % 97 + 1),
                       formatTime(addSeconds(first, static_cast<long long>(i) * 60)),
                       static_cast<std::int32_t>(i % 2)});
  }
  setRecords(std::move(records));
}

void TerminalState::reset() {
  std::lock_guard lock(mutex_);
  options_.clear();
  persons_.clear();
  templates_.clear();
  records_.clear();
  cleared_.clear();
}

}  // namespace termsim
