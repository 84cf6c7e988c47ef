#include "serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace termlink {
namespace {

// Pseudo-terminals and some adapters have no modem lines; that is no reason to refuse the port.
bool tolerable(int err) { return err == ENOTTY || err == EINVAL || err == ENOTSUP; }

bool configure(int fd) {
  if (::ioctl(fd, TIOCEXCL) != 0 && !tolerable(errno)) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return false;

  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return false;
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
  tio.c_cflag |= CS8 | CREAD | CLOCAL;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
  tio.c_iflag |= IGNBRK;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::cfsetispeed(&tio, B9600) != 0 || ::cfsetospeed(&tio, B9600) != 0) return false;
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) return false;

  int lines = TIOCM_DTR | TIOCM_RTS;
  if (::ioctl(fd, TIOCMBIS, &lines) != 0 && !tolerable(errno)) return false;

  ::tcflush(fd, TCIOFLUSH);
  return true;
}

}  // namespace

std::unique_ptr<SerialPort> SerialPort::open(const std::string& device) {
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  if (!configure(fd)) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<SerialPort>(new SerialPort(fd));
}

SerialPort::~SerialPort() { ::close(fd_); }

std::size_t SerialPort::bytesWaiting() const {
  int n = 0;
  if (::ioctl(fd_, FIONREAD, &n) != 0 || n < 0) return 0;
  return static_cast<std::size_t>(n);
}

void SerialPort::purgeInput() { ::tcflush(fd_, TCIFLUSH); }

bool SerialPort::write(const char* data, std::size_t n) {
  while (n > 0) {
    const std::size_t piece = n < kWritePiece ? n : kWritePiece;
    const ssize_t w = ::write(fd_, data, piece);
    if (w > 0) {
      data += w;
      n -= static_cast<std::size_t>(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    pollfd p{fd_, POLLOUT, 0};
    const int r = ::poll(&p, 1, kWriteStallMs);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0 || (p.revents & (POLLERR | POLLNVAL | POLLHUP)) != 0) return false;
  }
  return true;
}

std::size_t SerialPort::read(char* buffer, std::size_t capacity) {
  std::size_t total = 0;
  while (total < capacity) {
    // Give a few bytes the chance to gather instead of reading them one by one.
    if (bytesWaiting() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    pollfd p{fd_, POLLIN, 0};
    const int r = ::poll(&p, 1, kQuietMs);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;  // quiet for kQuietMs: the reply has ended
    const ssize_t got = ::read(fd_, buffer + total, capacity - total);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

std::string comDeviceName(int port) {
  const std::string variable = "TERMLINK_COM" + std::to_string(port);
  if (const char* device = std::getenv(variable.c_str()); device != nullptr && *device != '\0')
    return device;
  return "/dev/ttyS" + std::to_string(port - 1);
}

}  // namespace termlink
