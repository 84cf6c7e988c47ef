#include "wire.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace termsim {
namespace {

using namespace std::chrono_literals;

void setNonBlocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }

}  // namespace

Wire::Wire(std::vector<std::shared_ptr<TerminalState>> terminals, SimOptions options)
    : terminals_(std::move(terminals)), responder_(terminals_), options_(std::move(options)) {
  int fds[2];
  if (::pipe(fds) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
  wakeRead_ = fds[0];
  wakeWrite_ = fds[1];
  setNonBlocking(wakeRead_);
  setNonBlocking(wakeWrite_);
}

Wire::~Wire() {
  stop();
  if (fd_ >= 0) ::close(fd_);
  ::close(wakeRead_);
  ::close(wakeWrite_);
}

void Wire::startPty(int masterFd) {
  fd_ = masterFd;
  setNonBlocking(fd_);
  thread_ = std::thread([this] { run(); });
}

void Wire::startTcp(std::uint16_t port) {
  isTcp_ = true;
  port_ = port;
  thread_ = std::thread([this] { run(); });
}

void Wire::stop() {
  stopping_ = true;
  wake();
  if (thread_.joinable()) thread_.join();
}

SimOptions Wire::options() const {
  std::lock_guard lock(mutex_);
  return options_;
}

void Wire::setOptions(SimOptions options) {
  std::lock_guard lock(mutex_);
  options_ = std::move(options);
}

std::vector<std::string> Wire::requests() const {
  std::lock_guard lock(mutex_);
  return log_;
}

void Wire::clearRequests() {
  std::lock_guard lock(mutex_);
  log_.clear();
}

bool Wire::waitForRequests(std::size_t n, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return log_.size() >= n; });
}

void Wire::punch(const std::vector<ClockingRecord>& records, std::size_t index) {
  TerminalState& terminal = *terminals_.at(index);
  std::string lines;
  for (const ClockingRecord& record : records) {
    terminal.addRecord(record);
    lines += Responder::realtimeLine(terminal.sno(), record);
  }
  if (terminal.realtimeMode() != 0 && !lines.empty()) sendRaw(std::move(lines));
}

void Wire::sendRaw(std::string bytes) {
  {
    std::lock_guard lock(mutex_);
    pushes_.push_back(std::move(bytes));
  }
  wake();
}

bool Wire::connected() const {
  std::lock_guard lock(mutex_);
  return connected_;
}

bool Wire::waitConnected(std::chrono::milliseconds timeout, int n) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return connections_ >= n && connected_; });
}

int Wire::connectionCount() const {
  std::lock_guard lock(mutex_);
  return connections_;
}

void Wire::disconnect() {
  {
    std::lock_guard lock(mutex_);
    disconnectWanted_ = true;
  }
  wake();
}

void Wire::wake() {
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(wakeWrite_, &byte, 1);
}

void Wire::drainWake() {
  char bytes[64];
  while (::read(wakeRead_, bytes, sizeof bytes) > 0) {
  }
}

bool Wire::sleepFor(std::chrono::milliseconds ms) {
  const auto deadline = std::chrono::steady_clock::now() + ms;
  while (!stopping_) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return true;
    pollfd p{wakeRead_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count()) + 1) > 0) drainWake();
  }
  return false;
}

bool Wire::connectTcp() {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port_);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(s);
    return false;
  }
  const int one = 1;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  setNonBlocking(s);
  fd_ = s;
  responder_ = Responder(terminals_);  // a new connection starts with no pending input
  std::lock_guard lock(mutex_);
  ++connections_;
  connected_ = true;
  changed_.notify_all();
  return true;
}

void Wire::closeConnection() {
  if (!isTcp_ || fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  std::lock_guard lock(mutex_);
  connected_ = false;
  changed_.notify_all();
}

void Wire::run() {
  char buffer[65536];
  while (!stopping_) {
    if (fd_ < 0) {
      bool again = true;
      {
        std::lock_guard lock(mutex_);
        again = connections_ == 0 || options_.reconnect;
      }
      if (!(again && connectTcp())) sleepFor(50ms);
      continue;
    }
    pollfd p[2] = {{fd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    ::poll(p, 2, 200);
    if (p[1].revents) drainWake();

    std::deque<std::string> pushes;
    bool dropNow = false;
    {
      std::lock_guard lock(mutex_);
      pushes.swap(pushes_);
      dropNow = disconnectWanted_;
      disconnectWanted_ = false;
    }
    if (dropNow) {
      closeConnection();
      continue;
    }
    const SimOptions options = this->options();
    bool lineOk = true;
    for (const std::string& bytes : pushes)
      if (lineOk) lineOk = writePaced(bytes, options.baud);
    if (!lineOk) {
      closeConnection();
      continue;
    }

    if (!(p[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n > 0) {
      serveInput(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
      if (isTcp_)
        closeConnection();
      else
        sleepFor(5ms);  // nobody has the pseudo-terminal's device open
    }
  }
}

void Wire::serveInput(const char* data, std::size_t size) {
  const SimOptions options = this->options();
  std::vector<std::string> seen;
  const std::vector<Outgoing> replies =
      responder_.onInput(std::string_view(data, size), options, std::chrono::steady_clock::now(), seen);
  if (!seen.empty()) {
    std::lock_guard lock(mutex_);
    log_.insert(log_.end(), seen.begin(), seen.end());
    changed_.notify_all();
  }
  for (const Outgoing& reply : replies) {
    if (reply.delayMs > 0 && !sleepFor(std::chrono::milliseconds(reply.delayMs))) return;
    if (!writeReply(reply.bytes, options)) {
      closeConnection();
      return;
    }
    if (reply.dropAfter) {
      closeConnection();  // on a serial line the rest of the list is simply never sent
      return;
    }
  }
}

bool Wire::writeReply(const std::string& bytes, const SimOptions& options) {
  std::vector<std::size_t> cuts;
  if (options.splitReplies && bytes.size() >= 2) cuts.push_back(bytes.size() / 2);
  if (options.tailPieceBytes > 0 && bytes.size() > options.tailPieceBytes)
    cuts.push_back(bytes.size() - options.tailPieceBytes);
  if (options.pieceBytes > 0)
    for (std::size_t at = options.pieceBytes; at < bytes.size(); at += options.pieceBytes) cuts.push_back(at);
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  cuts.push_back(bytes.size());

  std::size_t from = 0;
  for (std::size_t to : cuts) {
    if (from > 0 && !sleepFor(std::chrono::milliseconds(options.splitPauseMs))) return false;
    if (!writePaced(std::string_view(bytes).substr(from, to - from), options.baud)) return false;
    from = to;
  }
  return true;
}

bool Wire::writePaced(std::string_view bytes, int baud) {
  // At `baud` a byte of 8N1 takes 10 bit times; bytes leave in pieces of about 10 ms.
  const std::size_t piece = baud > 0 ? std::max<std::size_t>(1, static_cast<std::size_t>(baud) / 1000)
                                     : bytes.size();
  const auto start = std::chrono::steady_clock::now();
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    if (stopping_ || fd_ < 0) return false;
    if (baud > 0) {
      const auto due = start + std::chrono::microseconds(static_cast<long long>(sent) * 10'000'000LL / baud);
      const auto now = std::chrono::steady_clock::now();
      if (due > now && !sleepFor(std::chrono::ceil<std::chrono::milliseconds>(due - now))) return false;
    }
    const std::size_t n = std::min(piece, bytes.size() - sent);
    const ssize_t w = isTcp_ ? ::send(fd_, bytes.data() + sent, n, MSG_NOSIGNAL)
                             : ::write(fd_, bytes.data() + sent, n);
    if (w > 0) {
      sent += static_cast<std::size_t>(w);
    } else if (w < 0 && (errno == EAGAIN || errno == EINTR)) {
      pollfd p{fd_, POLLOUT, 0};
      ::poll(&p, 1, 50);
    } else if (!isTcp_ && w < 0 && errno == EIO) {
      return true;  // the device was closed meanwhile: what was left is lost, as on a real line
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace termsim
