// The terminal simulator: attendance terminals that answer the library's commands over a
// pseudo-terminal (a serial line) or as TCP clients of the library's server. Tests create a
// TerminalState, hand it to an endpoint and point the library at the endpoint:
//
//   auto t = std::make_shared<termsim::TerminalState>(123456);
//   termsim::PtyEndpoint line(t);                 // setenv("TERMLINK_COM3", line.devicePath())
//   termsim::TcpEndpoint net(t, port);            // the library's server on 127.0.0.1:port
//
// Each endpoint answers on its own thread; its destructor stops it and closes the line. Endpoints
// are thread-safe: options, the request log and pushes may be used from any thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim_options.h"
#include "template_frames.h"
#include "terminal_state.h"

namespace termsim {

class Wire;  // the answering thread of one endpoint

// What both endpoints offer.
class Endpoint {
 public:
  Endpoint(const Endpoint&) = delete;
  Endpoint& operator=(const Endpoint&) = delete;
  virtual ~Endpoint();

  SimOptions options() const;
  void setOptions(SimOptions options);

  // Every request received, in order, as its text ("(123456,sysinfo)"); template data after
  // "ready" is logged as "<template N bytes>", modem strings as they came.
  std::vector<std::string> requests() const;
  void clearRequests();
  // Waits until at least n requests were logged; false on timeout.
  bool waitForRequests(std::size_t n, std::chrono::milliseconds timeout) const;

  // A new punch on terminal `index` of this endpoint: stored, and when its realtime mode is not 0,
  // pushed at once as "(sno,kq,person,time,value)\r\n".
  void punch(const ClockingRecord& record, std::size_t index = 0);
  // Several punches at once: stored, and in realtime mode pushed together as one piece, so that
  // the library reads their lines in one go.
  void punch(const std::vector<ClockingRecord>& records, std::size_t index = 0);
  // Writes bytes on the line as one piece, between replies (two realtime lines, noise, ...).
  void sendRaw(std::string bytes);

 protected:
  explicit Endpoint(std::unique_ptr<Wire> wire);
  std::unique_ptr<Wire> wire_;
};

// A serial line: a pseudo-terminal in raw mode whose slave device the library opens. Several
// terminals may share the line; each answers the requests that carry its serial number, the first
// also those that carry 0. Throws std::system_error when no pseudo-terminal can be made.
class PtyEndpoint : public Endpoint {
 public:
  explicit PtyEndpoint(std::shared_ptr<TerminalState> terminal, SimOptions options = {});
  explicit PtyEndpoint(std::vector<std::shared_ptr<TerminalState>> terminals,
                       SimOptions options = {});
  ~PtyEndpoint() override;

  // The slave device, e.g. "/dev/pts/7": the value for TERMLINK_COM<n>.
  const std::string& devicePath() const { return path_; }

 private:
  std::string path_;
};

// A network terminal: connects to 127.0.0.1:port (trying every 50 ms until the server accepts), is
// identified by the server's "(0,sysinfo)" like any request, then answers. After the connection
// ends it connects again only when SimOptions::reconnect is set.
class TcpEndpoint : public Endpoint {
 public:
  TcpEndpoint(std::shared_ptr<TerminalState> terminal, std::uint16_t port, SimOptions options = {});
  ~TcpEndpoint() override;

  bool connected() const;
  // Waits until the endpoint has made its n-th connection (1: the first); false on timeout.
  bool waitConnected(std::chrono::milliseconds timeout, int n = 1) const;
  int connectionCount() const;  // connections made so far
  void disconnect();            // closes the current connection now
};

}  // namespace termsim
