#include "test_support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "termlink.h"
#include "transport/tcp_server.h"

namespace termlink::testing {

std::uint16_t freeTcpPort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t size = sizeof a;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &size);
  ::close(s);
  return ntohs(a.sin_port);
}

std::uint16_t useOwnTcpPort() {
  const std::uint16_t port = freeTcpPort();
  ::setenv("TERMLINK_TCP_PORT", std::to_string(port).c_str(), 1);
  return port;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

long long elapsedMs(const std::function<void()>& action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

ScratchDir::ScratchDir() : previous_(std::filesystem::current_path().string()) {
  std::string pattern = (std::filesystem::temp_directory_path() / "termlink-XXXXXX").string();
  path_ = ::mkdtemp(pattern.data());
  std::filesystem::current_path(path_);
}

ScratchDir::~ScratchDir() {
  std::filesystem::current_path(previous_);
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::int32_t> connections() {
  std::int32_t* list = nullptr;
  const std::int32_t n = CKT_ReportConnections(&list);
  std::vector<std::int32_t> out(list, list + (list != nullptr ? n : 0));
  CKT_FreeMemory(list);
  return out;
}

void resetLibrary() {
  CKT_Disconnect();
  waitUntil([] { return !netServerRunning(); }, 5s);
  CKT_SetRespTimeouts(2000, 20000);
  CKT_EnableLog(0);
}

}  // namespace termlink::testing
