#include "tcp_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "net_table.h"
#include "protocol/exchange.h"
#include "protocol/realtime.h"

namespace termlink {
namespace {

constexpr int kIdentifyAttempts = 4;
constexpr int kIdentifyPauseMs = 250;
constexpr std::size_t kIdentifyCapacity = 200;
constexpr int kReceivePassPauseMs = 30;

struct ServerState {
  std::mutex mutex;                // guards starting, shutting down and closing the listener
  std::atomic<int> listener{-1};   // the listening socket, -1 while the server is not running
  std::atomic<bool> receiveRun{false};
  std::atomic<bool> stopping{false};
  std::thread acceptThread;
  std::thread receiveThread;
};

ServerState& server() {
  static ServerState& s = *new ServerState;  // lives until the process ends, like the locks
  return s;
}

// The serial number that starts right after the "(" of an identification reply; 0 when no digit
// follows.
std::int32_t reportedSerialNumber(const char* reply, std::size_t size) {
  std::uint32_t number = 0;
  for (std::size_t i = 1; i < size && reply[i] >= '0' && reply[i] <= '9'; ++i)
    number = number * 10u + static_cast<std::uint32_t>(reply[i] - '0');
  return static_cast<std::int32_t>(number);
}

// Asks a new connection who it is; files it, keeps it idle (serial number already filed) or
// closes it (no answer, or no serial number).
void identify(int socket) {
  const int flags = ::fcntl(socket, F_GETFL);
  ::fcntl(socket, F_SETFL, flags | O_NONBLOCK);
  char reply[kIdentifyCapacity + 1];
  std::size_t received = 0;
  bool answered = false;
  for (int attempt = 0; attempt < kIdentifyAttempts && !answered; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kIdentifyPauseMs));
    if (server().stopping) break;
    if (!tcpExchange(socket, "(0,sysinfo)", reply, kIdentifyCapacity, received))
      return;  // the exchange has closed the socket
    answered = received > 2 && reply[0] == '(';
  }
  const std::int32_t sno = answered ? reportedSerialNumber(reply, received) : 0;
  if (sno == 0 || server().stopping) {  // a server being stopped files nothing more
    ::close(socket);
    return;
  }
  if (!fileConnection(sno, socket)) keepIdleConnection(socket);
}

void acceptLoop(int listener) {
  for (;;) {
    const int socket = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (socket < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      break;
    }
    identify(socket);
  }
  ServerState& s = server();
  s.receiveRun = false;
  std::lock_guard lock(s.mutex);
  ::close(listener);
  s.listener = -1;
}

void receiveLoop() {
  while (server().receiveRun) {
    collectNetRealtime();
    std::this_thread::sleep_for(std::chrono::milliseconds(kReceivePassPauseMs));
  }
}

// Waits for the threads of an earlier run; both have ended or are ending.
void joinThreads(std::thread& acceptThread, std::thread& receiveThread) {
  if (acceptThread.joinable()) acceptThread.join();
  if (receiveThread.joinable()) receiveThread.join();
}

}  // namespace

int tcpServerPort() {
  if (const char* text = std::getenv("TERMLINK_TCP_PORT"); text != nullptr && *text != '\0') {
    char* end = nullptr;
    const long port = std::strtol(text, &end, 10);
    if (*end == '\0' && port > 0 && port < 65536) return static_cast<int>(port);
  }
  return kDefaultTcpPort;
}

int startNetServer() {
  ServerState& s = server();
  std::lock_guard lock(s.mutex);
  if (s.listener >= 0) return -1;
  joinThreads(s.acceptThread, s.receiveThread);

  const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener < 0) return 0;
  const int yes = 1;
  ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(static_cast<std::uint16_t>(tcpServerPort()));
  if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener, SOMAXCONN) != 0) {
    ::close(listener);
    return 0;
  }
  closeAllConnections();

  s.stopping = false;
  s.receiveRun = true;
  s.listener = listener;
  try {
    s.receiveThread = std::thread(receiveLoop);
  } catch (const std::system_error&) {
    s.receiveRun = false;
    s.listener = -1;
    ::close(listener);
    return 0;
  }
  try {
    s.acceptThread = std::thread(acceptLoop, listener);
  } catch (const std::system_error&) {
    s.receiveRun = false;
    s.receiveThread.join();
    s.listener = -1;
    ::close(listener);
    return 0;
  }
  return 1;
}

void stopNetServer() {
  ServerState& s = server();
  std::lock_guard lock(s.mutex);
  if (s.listener >= 0) {
    s.stopping = true;
    ::shutdown(s.listener, SHUT_RDWR);  // wakes the accept thread, which closes it
  }
}

bool netServerRunning() { return server().listener >= 0; }

void joinNetServer() {
  stopNetServer();
  ServerState& s = server();
  std::thread acceptThread, receiveThread;
  {
    std::lock_guard lock(s.mutex);
    acceptThread = std::move(s.acceptThread);
    receiveThread = std::move(s.receiveThread);
  }
  joinThreads(acceptThread, receiveThread);
}

}  // namespace termlink
