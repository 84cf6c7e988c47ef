#include "modem.h"

#include <chrono>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "locks.h"
#include "protocol/exchange.h"
#include "protocol/reply_tests.h"

namespace termlink {
namespace {

constexpr int kDialTimeoutMs = 400;
constexpr int kDialPolls = 142;
constexpr int kDialPollPauseMs = 20;
constexpr std::size_t kDialPollCapacity = 40;
constexpr int kDialPollTimeoutMs = 120;
constexpr std::size_t kResponseKeep = 1024;  // the dial response text is kept to its last bytes
constexpr int kHandshakePauseMs = 200;
constexpr int kHandshakeTimeoutMs = 3000;
constexpr std::size_t kHandshakeReply = 6;
constexpr int kSettleMs = 5000;
constexpr std::size_t kHangUpCapacity = 20;

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool contains(const std::string& text, std::string_view word) {
  return text.find(word) != std::string::npos;
}

// Dials and waits for the modem's verdict.
bool dial(std::int32_t sno, const char* phone) {
  std::lock_guard lock(exchangeLock());
  ReplyArea none(0);
  if (!exchange(sno, formatText("ATD%s\r", phone), none, kDialTimeoutMs)) return false;
  std::string response;
  for (int poll = 0; poll < kDialPolls; ++poll) {
    pause(kDialPollPauseMs);
    ReplyArea piece(kDialPollCapacity);
    if (!exchange(sno, {}, piece, kDialPollTimeoutMs)) continue;
    response.append(piece.text());
    if (response.size() > kResponseKeep) response.erase(0, response.size() - kResponseKeep);
    const bool lineEnded = endsWith(piece.bytes(), "\r\n");
    if (lineEnded && contains(response, "CONNECT")) return true;
    if (lineEnded && (contains(response, "BUSY") || contains(response, "NO DIALTONE") ||
                      contains(response, "NO CARRIER")))
      return false;
  }
  return false;
}

// Sends one handshake frame; the terminal answers with exactly 6 bytes.
bool handshake(std::int32_t sno, std::string_view frame) {
  pause(kHandshakePauseMs);
  ReplyArea reply(200);
  return exchange(sno, frame, reply, kHandshakeTimeoutMs) && reply.size() == kHandshakeReply;
}

}  // namespace

int connectModem(std::int32_t sno, const char* phone) {
  if (phone == nullptr || !dial(sno, phone)) return 0;
  static constexpr char first[] = {'\xC0', '\x02', '\x09', '\x00', '\x0C', '\xC0'};
  static constexpr char second[] = {'\xC0', '\x08', '\x00', '\x09', '\xC0'};
  if (!handshake(sno, std::string_view(first, sizeof first))) return 0;
  if (!handshake(sno, std::string_view(second, sizeof second))) return 0;
  pause(kSettleMs);
  return 1;
}

int disconnectModem(std::int32_t sno) {
  ReplyArea reply(kHangUpCapacity);
  if (!exchange(sno, "+++", reply, kDialTimeoutMs)) return 0;
  pause(kHandshakePauseMs);
  return exchange(sno, "ATD\r", reply, kDialTimeoutMs) ? 1 : 0;
}

}  // namespace termlink
