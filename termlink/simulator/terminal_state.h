// The data a simulated attendance terminal keeps: its identity, clock, network settings, options,
// enrolled persons, fingerprint templates and clocking records. Every member function takes the
// object's own lock, so tests may read and change a terminal while an endpoint serves it.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace termsim {

struct DateTime {
  int year = 2009, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

struct NetSettings {
  std::array<std::uint8_t, 4> ip{192, 168, 1, 201};
  std::array<std::uint8_t, 4> mask{255, 255, 255, 0};
  std::array<std::uint8_t, 4> gateway{192, 168, 1, 1};
  std::array<std::uint8_t, 4> server{192, 168, 1, 100};
  std::array<std::uint8_t, 6> mac{0, 18, 52, 86, 120, 154};
  std::uint16_t extra = 5010;  // reported after the MAC group; the terminal's server port
  friend bool operator==(const NetSettings&, const NetSettings&) = default;
};

// One enrolled person. Value2 travels unsigned in requests and signed in the list; it is kept as
// the same 32 bits. Value4 and Value5 are only reported.
struct Person {
  std::int32_t id = 0;
  std::string name;
  std::int32_t value1 = 0;
  std::uint32_t value2 = 0;
  std::int32_t value3 = 0;
  std::int32_t value4 = 0;
  std::int32_t value5 = 0;
  friend bool operator==(const Person&, const Person&) = default;
};

// One stored punch. The time text is sent exactly as stored (normally "yyyy-mm-dd HH:MM:SS").
struct ClockingRecord {
  std::int32_t personId = 0;
  std::string time;
  std::int32_t value = 0;
  friend bool operator==(const ClockingRecord&, const ClockingRecord&) = default;
};

// The simple options a terminal stores, named by their command words.
inline constexpr std::array<std::string_view, 7> kOptionWords = {
    "setregdef", "setdoor", "setvol", "menups", "setwg", "setnosearch", "setreal"};

class TerminalState {
 public:
  explicit TerminalState(std::uint32_t sno);
  TerminalState(const TerminalState&) = delete;
  TerminalState& operator=(const TerminalState&) = delete;

  std::uint32_t sno() const;
  void setSno(std::uint32_t sno);

  // The clock. A running clock advances with real time from the value set; a frozen one (the
  // default) keeps it, so tests read back exactly what they set.
  DateTime clock() const;
  void setClock(const DateTime& now, bool running = false);
  bool setDate(int year, int month, int day);    // false (nothing changed) for an impossible date
  bool setTime(int hour, int minute, int second);  // false for an impossible time

  NetSettings net() const;
  void setNet(const NetSettings& net);

  // Option values by command word (kOptionWords); 0 until set. "setreal" is the realtime mode.
  int option(std::string_view word) const;
  void setOption(std::string_view word, int value);
  int realtimeMode() const { return option("setreal"); }

  std::pair<int, int> firmware() const;  // reported in sysinfo as v<major>.<minor>
  void setFirmware(int major, int minor);

  // Persons, in enrolment order. putPerson adds or replaces by id and tells which it did:
  // 1 added, 2 changed, -1 refused because personCapacity persons are enrolled.
  std::vector<Person> persons() const;
  void setPersons(std::vector<Person> persons);
  std::optional<Person> person(std::int32_t id) const;
  int putPerson(const Person& person);
  bool deletePerson(std::int32_t id);  // also drops the person's templates; false if unknown
  void eraseAllPersons();              // persons and templates
  // Replaces the persons with n persons numbered 1..n, named "Person <n>", each with a 338-byte
  // template for finger 0 when `withTemplates`; for benchmarks and demonstrations.
  void fillPersons(std::size_t n, bool withTemplates = true);
  std::size_t personCapacity() const;
  void setPersonCapacity(std::size_t capacity);

  // Fingerprint templates, kept as the two frames exactly as they travel (see template_frames.h).
  std::optional<std::string> templateFrames(std::int32_t personId, int finger) const;
  void setTemplateFrames(std::int32_t personId, int finger, std::string frames);
  void setTemplateRaw(std::int32_t personId, int finger, std::string_view raw);  // frames it
  std::size_t templateCount() const;

  // Clocking records, oldest first. clearRecords moves them to the cleared history; recallRecords(n)
  // brings the latest n cleared records back in front of the stored ones (what "kqback" asks for).
  std::vector<ClockingRecord> records() const;
  void setRecords(std::vector<ClockingRecord> records);
  void addRecord(ClockingRecord record);
  std::size_t recordCount() const;
  void clearRecords();
  void recallRecords(int n);
  std::vector<ClockingRecord> clearedRecords() const;
  // Replaces the records with n punches of persons 1..97, one minute apart from `first`, with
  // full 19-character times; for benchmarks and demonstrations.
  void fillRecords(std::size_t n, const DateTime& first = {2009, 6, 3, 8, 0, 0});

  // Factory reset ("sysclr"): options back to 0, persons, templates and records gone; the serial
  // number, clock and network settings stay.
  void reset();

 private:
  DateTime clockLocked() const;

  mutable std::mutex mutex_;
  std::uint32_t sno_;
  DateTime clockBase_;
  bool clockRunning_ = false;
  std::chrono::steady_clock::time_point clockSetAt_;
  NetSettings net_;
  std::map<std::string, int, std::less<>> options_;
  std::pair<int, int> firmware_{3, 12};
  std::vector<Person> persons_;
  std::size_t personCapacity_ = 3000;
  std::map<std::pair<std::int32_t, int>, std::string> templates_;
  std::vector<ClockingRecord> records_;
  std::vector<ClockingRecord> cleared_;
};

// Formats a date-time as "yyyy-mm-dd HH:MM:SS" (19 characters for four-digit years).
std::string formatTime(const DateTime& t);
// Adds seconds to a civil date-time (proleptic Gregorian calendar).
DateTime addSeconds(const DateTime& t, long long seconds);

}  // namespace termsim
