// Serial routes: ComTable (which serial number is on which COM port) and the port slots.
//
// A port is opened by the first registration or command that needs it and stays open until
// closeAllPorts; a port that fails to open is tried again by every later lookup. Several serial
// numbers may share one port. Callers that use a port returned here hold ExchangeLock while
// they use it; closeAllPorts takes ExchangeLock, so it never closes a port in use.
#pragma once

#include <cstdint>
#include <functional>

namespace termlink {

class SerialPort;

inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 9;

// Files `sno` on `port` (1..9; a second registration replaces the port). The caller has checked
// the range.
void registerSerialNumber(std::int32_t sno, int port);
// Removes the registration of `sno`, if any. The port stays open.
void unregisterSerialNumber(std::int32_t sno);
// The open port of a registered `sno`, opening it if needed; null when `sno` is not registered or
// its port cannot be opened.
SerialPort* findSerialRoute(std::int32_t sno);
// The port number `sno` is registered on, or 0.
int registeredPort(std::int32_t sno);
// Calls `visit` for every open port, slot 1 to 9, under ComTableLock. The caller holds
// ExchangeLock.
void forEachOpenPort(const std::function<void(SerialPort&)>& visit);
// Closes every port and forgets every registration (CKT_Disconnect).
void closeAllPorts();

}  // namespace termlink
