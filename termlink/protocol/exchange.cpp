#include "exchange.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>

#include "log.h"
#include "transport/com_routes.h"
#include "transport/locks.h"
#include "transport/net_table.h"
#include "transport/serial_port.h"
#include "transport/tcp_server.h"

namespace termlink {
namespace {

std::atomic<int> g_comRespTimeout{kDefaultComRespTimeoutMs};
std::atomic<int> g_netRespTimeout{kDefaultNetRespTimeoutMs};

void dropConnection(int socket) {
  removeSocket(socket);  // before closing: the number may be reused at once
  ::close(socket);
}

// Sends every byte; a socket that accepts nothing for one TCP wait has failed.
bool sendAll(int socket, std::string_view data) {
  while (!data.empty()) {
    const ssize_t sent = ::send(socket, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      data.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    pollfd p{socket, POLLOUT, 0};
    const int r = ::poll(&p, 1, kNetWaitMs);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0 || (p.revents & (POLLERR | POLLNVAL | POLLHUP)) != 0) return false;
  }
  return true;
}

}  // namespace

void setResponseTimeouts(int comMs, int netMs) {
  g_comRespTimeout = comMs;
  g_netRespTimeout = netMs;
}

int comResponseTimeout() { return g_comRespTimeout; }
int netResponseTimeout() { return g_netRespTimeout; }

int serialWaitCount(int timeoutMs, int comRespTimeoutMs) {
  return std::max(1, std::min(timeoutMs, comRespTimeoutMs) / kSerialPollMs);
}

int netWaitCount(int netRespTimeoutMs) { return std::max(1, netRespTimeoutMs / kNetWaitMs); }

bool serialExchange(SerialPort& port, std::string_view request, char* area, std::size_t capacity,
                    std::size_t& received, int timeoutMs) {
  received = 0;
  area[0] = '\0';
  if (!request.empty()) {
    port.purgeInput();
    if (!port.write(request.data(), request.size())) return false;
    log::block("[COM]\tsend():{{{\r\n", request);
  }
  const int waits = std::max(1, timeoutMs / kSerialPollMs);
  for (int i = 0; i < waits; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kSerialPollMs));
    if (port.bytesWaiting() >= 2) break;
  }
  if (port.bytesWaiting() < 2) {
    log::entry("[COM]\trecv() timeout!\r\n");
  } else {
    received = port.read(area, capacity);
  }
  area[received] = '\0';
  if (received == 0)
    log::entry("[COM]\trecv() abort!\r\n");
  else
    log::block("[COM]\trecv():{{{\r\n", std::string_view(area, received));
  return true;
}

bool tcpExchange(int socket, std::string_view request, char* area, std::size_t capacity,
                 std::size_t& received) {
  received = 0;
  area[0] = '\0';
  if (!request.empty()) {
    if (!sendAll(socket, request)) {
      log::entry("[NET]\tsend() abort!\r\n");
      dropConnection(socket);
      return false;
    }
    log::block("[NET]\tsend():{{{\r\n", request);
  }
  const int waits = netWaitCount(netResponseTimeout());
  bool readable = false;
  for (int i = 0; i < waits && !readable;) {
    pollfd p{socket, POLLIN, 0};
    const int r = ::poll(&p, 1, kNetWaitMs);
    if (r < 0 && errno == EINTR) continue;
    // A reset connection reads as readable: its receive then reports the error.
    if (r < 0 || (r > 0 && (p.revents & POLLNVAL) != 0)) {
      dropConnection(socket);
      return false;
    }
    readable = r > 0;
    ++i;
  }
  if (!readable) {
    log::entry("[NET]\trecv() timeout!\r\n");
    return true;
  }
  if (capacity == 0) return true;  // a caller that only waits for the start of a reply
  ssize_t got;
  do {
    got = ::recv(socket, area, capacity, 0);
  } while (got < 0 && errno == EINTR);
  if (got <= 0) {
    log::entry(got == 0 ? "[NET]\trecv() close friendly!\r\n" : "[NET]\trecv() abort!\r\n");
    dropConnection(socket);
    return false;
  }
  received = static_cast<std::size_t>(got);
  area[received] = '\0';
  log::block("[NET]\trecv():{{{\r\n", std::string_view(area, received));
  return true;
}

Route routeOf(std::int32_t sno) {
  std::lock_guard lock(exchangeLock());
  if (netServerRunning() && findSocket(sno) >= 0) return Route::tcp;
  return findSerialRoute(sno) != nullptr ? Route::serial : Route::none;
}

bool exchangeInto(std::int32_t sno, std::string_view request, char* area, std::size_t capacity,
                  std::size_t& received, int timeoutMs) {
  received = 0;
  area[0] = '\0';
  std::lock_guard lock(exchangeLock());
  if (netServerRunning()) {
    if (const int socket = findSocket(sno); socket >= 0)
      return tcpExchange(socket, request, area, capacity, received);
  }
  SerialPort* port = findSerialRoute(sno);
  if (port == nullptr) return false;
  return serialExchange(*port, request, area, capacity, received,
                        std::min(comResponseTimeout(), timeoutMs));
}

bool exchange(std::int32_t sno, std::string_view request, ReplyArea& reply, int timeoutMs) {
  std::size_t received = 0;
  const bool ok = exchangeInto(sno, request, reply.data(), reply.capacity(), received, timeoutMs);
  reply.setSize(received);
  return ok;
}

}  // namespace termlink
