// Small helpers shared by the Termlink tests: free TCP ports, waiting for a condition, a scratch
// folder to run in, and putting the library back to its state at load.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace termlink::testing {

using namespace std::chrono_literals;

// A TCP port on 127.0.0.1 that nobody listens on right now.
std::uint16_t freeTcpPort();

// Points the library's TCP server at a free port of its own (TERMLINK_TCP_PORT) and returns it.
std::uint16_t useOwnTcpPort();

// Polls `condition` every 10 ms until it holds; false when `timeout` passed first.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// The whole content of a file ("" when it cannot be read).
std::string readFile(const std::string& path);

// Milliseconds `action` took.
long long elapsedMs(const std::function<void()>& action);

// A new empty folder that becomes the current directory; the previous one is restored and the
// folder removed at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
};

// The serial numbers CKT_ReportConnections hands out (the array is freed).
std::vector<std::int32_t> connections();

// CKT_Disconnect, then waits until the TCP server has ended, and restores the default timeouts
// and logging off.
void resetLibrary();

}  // namespace termlink::testing
