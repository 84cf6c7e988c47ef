#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "terminal_simulator.h"
#include "wire.h"

namespace termsim {
namespace {

[[noreturn]] void fail(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

// Opens a pseudo-terminal, puts its slave side in raw mode and gives the master and the slave's
// path. The slave is closed again: the library opens it by name and applies its own line settings.
int openRawPty(std::string& path) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) fail("posix_openpt");
  char name[128];
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
    const int error = errno;
    ::close(master);
    errno = error;
    fail("pseudo-terminal set-up");
  }
  path = name;
  const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave >= 0) {
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
      ::cfmakeraw(&tio);
      ::cfsetispeed(&tio, B9600);
      ::cfsetospeed(&tio, B9600);
      ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::close(slave);
  }
  return master;
}

}  // namespace

Endpoint::Endpoint(std::unique_ptr<Wire> wire) : wire_(std::move(wire)) {}
Endpoint::~Endpoint() = default;

SimOptions Endpoint::options() const { return wire_->options(); }
void Endpoint::setOptions(SimOptions options) { wire_->setOptions(std::move(options)); }
std::vector<std::string> Endpoint::requests() const { return wire_->requests(); }
void Endpoint::clearRequests() { wire_->clearRequests(); }
bool Endpoint::waitForRequests(std::size_t n, std::chrono::milliseconds timeout) const {
  return wire_->waitForRequests(n, timeout);
}
void Endpoint::punch(const ClockingRecord& record, std::size_t index) { wire_->punch({record}, index); }
void Endpoint::punch(const std::vector<ClockingRecord>& records, std::size_t index) {
  wire_->punch(records, index);
}
void Endpoint::sendRaw(std::string bytes) { wire_->sendRaw(std::move(bytes)); }

PtyEndpoint::PtyEndpoint(std::shared_ptr<TerminalState> terminal, SimOptions options)
    : PtyEndpoint(std::vector<std::shared_ptr<TerminalState>>{std::move(terminal)}, std::move(options)) {}

PtyEndpoint::PtyEndpoint(std::vector<std::shared_ptr<TerminalState>> terminals, SimOptions options)
    : Endpoint(std::make_unique<Wire>(std::move(terminals), std::move(options))) {
  wire_->startPty(openRawPty(path_));
}

PtyEndpoint::~PtyEndpoint() { wire_->stop(); }

TcpEndpoint::TcpEndpoint(std::shared_ptr<TerminalState> terminal, std::uint16_t port, SimOptions options)
    : Endpoint(std::make_unique<Wire>(std::vector<std::shared_ptr<TerminalState>>{std::move(terminal)},
                                      std::move(options))) {
  wire_->startTcp(port);
}

TcpEndpoint::~TcpEndpoint() { wire_->stop(); }

bool TcpEndpoint::connected() const { return wire_->connected(); }
bool TcpEndpoint::waitConnected(std::chrono::milliseconds timeout, int n) const {
  return wire_->waitConnected(timeout, n);
}
int TcpEndpoint::connectionCount() const { return wire_->connectionCount(); }
void TcpEndpoint::disconnect() { wire_->disconnect(); }

}  // namespace termsim
