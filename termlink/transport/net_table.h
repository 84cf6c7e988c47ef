// NetTable: which connected socket belongs to which serial number, in connection order.
//
// Sockets filed here are used and closed only under ExchangeLock (exchanges, the receive thread,
// CKT_Disconnect), so a socket is never closed while another thread talks over it, and an entry
// is always removed before its socket is closed (its number may be reused at once).
#pragma once

#include <cstdint>
#include <vector>

namespace termlink {

// Files (sno, socket) unless `sno` is already filed; returns whether it was filed.
bool fileConnection(std::int32_t sno, int socket);
// The socket of `sno`, or -1.
int findSocket(std::int32_t sno);
// Removes the first entry with this socket, if any (the caller closes the socket).
void removeSocket(int socket);
// The filed serial numbers in table order.
std::vector<std::int32_t> connectedSerialNumbers();
// The filed entries in table order.
struct NetEntry {
  std::int32_t sno;
  int socket;
};
std::vector<NetEntry> netEntries();
// Keeps a connection that reported an already filed serial number; it stays open and idle
// until closeAllConnections.
void keepIdleConnection(int socket);
// Closes every filed and idle socket and empties the table. Takes ExchangeLock.
void closeAllConnections();

}  // namespace termlink
