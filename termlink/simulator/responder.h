// The protocol engine of a simulated line: takes the bytes the library sends, finds the requests in
// them, and produces the terminals' answers. It knows nothing of file descriptors: the endpoint's
// thread feeds it and writes what it returns.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "request_parser.h"
#include "sim_options.h"
#include "terminal_state.h"

namespace termsim {

// One piece to write on the line.
struct Outgoing {
  std::string bytes;
  int delayMs = 0;         // wait this long before writing it
  bool dropAfter = false;  // end the connection once it is written (a list cut short)
};

// What the terminal reports beyond what was set: sysinfo gives v<major>.<minor> and six numbers,
// person capacity, persons, templates, records, cleared records and realtime mode; syscount gives
// persons, templates and records. A request with wrong arguments or an unknown word is answered
// "(sno,word,err)"; one for a serial number not on this line is not answered at all.
class Responder {
 public:
  using Clock = std::chrono::steady_clock;

  // The terminals on this line; the first also answers requests for serial number 0.
  explicit Responder(std::vector<std::shared_ptr<TerminalState>> terminals);

  // Takes bytes read from the line; returns the replies due, in order, and appends every request
  // seen to `log`. Incomplete input is kept for the next call; input that stayed incomplete for a
  // second is dropped as noise.
  std::vector<Outgoing> onInput(std::string_view bytes, const SimOptions& options, Clock::time_point now,
                                std::vector<std::string>& log);

  // The answer of `terminal` to one request, malformations and the rewrite hook applied; empty when
  // it gives none. Also arms the wait for template data after "sendtemplet ... ready".
  Outgoing answer(const Request& request, std::string_view text, TerminalState& terminal,
                  const SimOptions& options, Clock::time_point now);

  // The realtime line of a punch, as `terminal` pushes it.
  static std::string realtimeLine(std::uint32_t sno, const ClockingRecord& record);

 private:
  struct PendingTemplate {
    std::shared_ptr<TerminalState> terminal;
    std::int32_t personId = 0;
    int finger = 0;
    std::uint32_t replySno = 0;
    Clock::time_point deadline;
  };

  std::shared_ptr<TerminalState> addressee(std::uint32_t sno) const;
  std::string reply(const Request& request, TerminalState& terminal, std::uint32_t replySno,
                    const SimOptions& options, bool& dropAfter, Clock::time_point now);
  std::string personList(TerminalState& terminal, std::uint32_t replySno, const SimOptions& options,
                         bool& dropAfter) const;
  std::string recordList(TerminalState& terminal, std::uint32_t replySno, const SimOptions& options,
                         bool& dropAfter) const;
  std::optional<Outgoing> takeTemplateData(const SimOptions& options, std::vector<std::string>& log);
  // A modem string at the start of the input; `incomplete` tells that one is still arriving.
  std::optional<Outgoing> takeModemInput(const SimOptions& options, std::vector<std::string>& log,
                                         bool& incomplete);

  std::vector<std::shared_ptr<TerminalState>> terminals_;
  std::string buffer_;
  Clock::time_point lastInput_{};
  std::optional<PendingTemplate> pendingTemplate_;
};

}  // namespace termsim
