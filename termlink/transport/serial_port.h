// One open serial line: 9600 baud, 8 data bits, no parity, 1 stop bit, raw, no flow control,
// DTR and RTS on, held exclusively.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace termlink {

class SerialPort {
 public:
  // How long a read waits for a further byte: a reply ends after this much quiet.
  static constexpr int kQuietMs = 150;
  // Writes go out in pieces of at most this many bytes.
  static constexpr std::size_t kWritePiece = 300;
  // A write that makes no progress for this long fails.
  static constexpr int kWriteStallMs = 2000;

  // Opens and configures the device; null when it does not exist, is held by someone else or
  // cannot be configured (nothing stays open then). Both directions are purged after set-up.
  static std::unique_ptr<SerialPort> open(const std::string& device);
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Bytes received and not yet read.
  std::size_t bytesWaiting() const;
  // Drops whatever was received and not yet read.
  void purgeInput();
  // Writes every byte, in pieces; false when the line fails or accepts nothing for
  // kWriteStallMs.
  bool write(const char* data, std::size_t n);
  // Reads into `buffer` until it is full, a read fails, or the line has been quiet for
  // kQuietMs; returns the count read (0 when nothing came).
  std::size_t read(char* buffer, std::size_t capacity);

 private:
  explicit SerialPort(int fd) : fd_(fd) {}
  int fd_;
};

// The device of COM port n: $TERMLINK_COM<n>, else /dev/ttyS<n-1>.
std::string comDeviceName(int port);

}  // namespace termlink
