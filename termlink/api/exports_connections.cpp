// The exports that make terminals reachable and let them go again.
#include <cstdlib>
#include <cstring>

#include "termlink.h"
#include "protocol/download.h"
#include "transport/com_daemon.h"
#include "transport/com_routes.h"
#include "transport/modem.h"
#include "transport/net_table.h"
#include "transport/tcp_server.h"

using namespace termlink;

extern "C" {

int32_t CKT_RegisterSno(int32_t Sno, int32_t port) {
  if (port < kFirstComPort || port > kLastComPort) return -1;
  registerSerialNumber(Sno, port);
  return findSerialRoute(Sno) != nullptr ? 1 : 0;
}

void CKT_UnregisterSno(int32_t Sno) { unregisterSerialNumber(Sno); }

int32_t CKT_ReportConnections(int32_t** list) {
  const auto numbers = connectedSerialNumbers();
  int32_t* out = nullptr;
  if (!numbers.empty()) {
    out = static_cast<int32_t*>(std::malloc(numbers.size() * sizeof(int32_t)));
    if (out == nullptr) {
      if (list != nullptr) *list = nullptr;
      return 0;
    }
    std::memcpy(out, numbers.data(), numbers.size() * sizeof(int32_t));
  }
  if (list != nullptr)
    *list = out;
  else
    std::free(out);
  return static_cast<int32_t>(numbers.size());
}

int32_t CKT_NetDaemon(void) { return startNetServer(); }

int32_t CKT_ComDaemon(void) { return startComDaemon(); }

void CKT_Disconnect(void) {
  stopNetServer();
  stopComDaemon();
  closeAllPorts();
  closeAllConnections();
}

int32_t CKT_ConnectModem(int32_t Sno, const char* phone) { return connectModem(Sno, phone); }

int32_t CKT_DisconnectModem(int32_t Sno) { return disconnectModem(Sno); }

}  // extern "C"
