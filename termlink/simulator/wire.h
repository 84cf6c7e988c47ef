// The answering thread of one endpoint: reads the line, lets the Responder answer, and writes the
// answers with the options' pacing, splitting and delays. Owns the file descriptor of the line.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "responder.h"
#include "sim_options.h"
#include "terminal_state.h"

namespace termsim {

class Wire {
 public:
  Wire(std::vector<std::shared_ptr<TerminalState>> terminals, SimOptions options);
  Wire(const Wire&) = delete;
  Wire& operator=(const Wire&) = delete;
  ~Wire();  // stops the thread and closes the line

  // Starts answering on a pseudo-terminal master (taken over) or as a TCP client of
  // 127.0.0.1:port. Called once.
  void startPty(int masterFd);
  void startTcp(std::uint16_t port);
  void stop();

  SimOptions options() const;
  void setOptions(SimOptions options);
  std::vector<std::string> requests() const;
  void clearRequests();
  bool waitForRequests(std::size_t n, std::chrono::milliseconds timeout) const;
  void punch(const std::vector<ClockingRecord>& records, std::size_t index);
  void sendRaw(std::string bytes);

  bool connected() const;
  bool waitConnected(std::chrono::milliseconds timeout, int n) const;
  int connectionCount() const;
  void disconnect();

 private:
  void run();
  bool connectTcp();
  void closeConnection();
  void serveInput(const char* data, std::size_t size);
  bool writeReply(const std::string& bytes, const SimOptions& options);
  bool writePaced(std::string_view bytes, int baud);
  bool sleepFor(std::chrono::milliseconds ms);  // false when stopping
  void wake();
  void drainWake();

  const std::vector<std::shared_ptr<TerminalState>> terminals_;
  Responder responder_;  // used by the thread only
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  int wakeRead_ = -1, wakeWrite_ = -1;
  bool isTcp_ = false;
  std::uint16_t port_ = 0;
  int fd_ = -1;  // the line; touched by the thread only while it runs

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  SimOptions options_;
  std::vector<std::string> log_;
  std::deque<std::string> pushes_;
  int connections_ = 0;
  bool connected_ = false;
  bool disconnectWanted_ = false;
};

}  // namespace termsim
