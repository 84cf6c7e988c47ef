// The exchange: send one request (or nothing) to a terminal and collect one reply.
//
// Routing: while the TCP server runs, a serial number filed in NetTable is served over TCP;
// otherwise its registered COM port is used; with neither the exchange fails without sending.
// Every routed exchange holds ExchangeLock. On the serial line a reply is what arrives until
// 150 ms of quiet; on TCP it is what one receive delivers. An empty reply after the wait is a
// success with size 0; a TCP error or a closed peer is a failure, and the connection is then
// closed and dropped from NetTable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace termlink {

class SerialPort;

inline constexpr int kDefaultComRespTimeoutMs = 2000;
inline constexpr int kDefaultNetRespTimeoutMs = 20000;
// A serial exchange looks for the start of a reply every this many milliseconds.
inline constexpr int kSerialPollMs = 20;
// A TCP exchange waits for a reply in waits of this many milliseconds.
inline constexpr int kNetWaitMs = 5000;

// The response timeouts (CKT_SetRespTimeouts), read at each exchange; no range test.
void setResponseTimeouts(int comMs, int netMs);
int comResponseTimeout();
int netResponseTimeout();

// How many 20 ms polls a serial exchange with this timeout makes: ComRespTimeout caps it.
int serialWaitCount(int timeoutMs, int comRespTimeoutMs);
// How many 5-second waits a TCP exchange makes.
int netWaitCount(int netRespTimeoutMs);

// A reply area: room for `capacity` bytes of reply and for the NUL that always ends it.
class ReplyArea {
 public:
  explicit ReplyArea(std::size_t capacity) : buffer_(capacity + 1, '\0'), capacity_(capacity) {}
  char* data() { return buffer_.data(); }
  std::size_t capacity() const { return capacity_; }
  std::size_t size() const { return size_; }
  void setSize(std::size_t n) {
    size_ = n;
    buffer_[n] = '\0';
  }
  // Every byte received.
  std::string_view bytes() const { return {buffer_.data(), size_}; }
  // The reply as text: up to its first NUL byte.
  std::string_view text() const { return {buffer_.data(), ::strnlen(buffer_.data(), size_)}; }

 private:
  std::vector<char> buffer_;
  std::size_t capacity_;
  std::size_t size_ = 0;
};

// One routed exchange. An empty request means receive only. `timeoutMs` is the command's wait
// for the start of a reply on the serial line (capped by ComRespTimeout; not used on TCP).
// On success the reply holds what came (possibly nothing); on failure it is empty.
bool exchange(std::int32_t sno, std::string_view request, ReplyArea& reply, int timeoutMs);

// The same into a caller's area of capacity + 1 bytes; `received` is set to the count and a NUL
// is written after it.
bool exchangeInto(std::int32_t sno, std::string_view request, char* area, std::size_t capacity,
                  std::size_t& received, int timeoutMs);

// Which transport would serve `sno` now. Stays true while the caller holds ExchangeLock.
enum class Route { none, serial, tcp };
Route routeOf(std::int32_t sno);

// The serial procedure on an open port (the caller holds ExchangeLock). Fails only when the
// request cannot be written.
bool serialExchange(SerialPort& port, std::string_view request, char* area, std::size_t capacity,
                    std::size_t& received, int timeoutMs);

// The TCP procedure on a connected non-blocking socket. On a send error, a wait error, a receive
// error or a closed peer it removes the socket from NetTable, closes it and fails; the caller
// must not use the socket again then.
bool tcpExchange(int socket, std::string_view request, char* area, std::size_t capacity,
                 std::size_t& received);

}  // namespace termlink
