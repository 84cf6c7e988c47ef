// What happens when the library is unloaded (or the process ends): every thread it started is
// stopped and waited for, so none runs on in unmapped code. The module-wide tables and locks are
// never destroyed, so a thread that is still finishing never meets a dead object.
#include "protocol/download.h"
#include "transport/com_daemon.h"
#include "transport/tcp_server.h"

namespace termlink {
namespace {

struct LibraryLifetime {
  LibraryLifetime() = default;
  LibraryLifetime(const LibraryLifetime&) = delete;
  LibraryLifetime& operator=(const LibraryLifetime&) = delete;
  ~LibraryLifetime() {
    stopDownloads();
    joinComDaemon();
    joinNetServer();
  }
};

const LibraryLifetime lifetime;

}  // namespace
}  // namespace termlink
