// The TCP server: a listening socket, the accept thread that identifies each new connection and
// files it in NetTable, and the receive thread that collects realtime records from the filed
// connections.
#pragma once

namespace termlink {

inline constexpr int kDefaultTcpPort = 5010;

// The port the server listens on: $TERMLINK_TCP_PORT, else 5010.
int tcpServerPort();

// Starts listening on every local address and starts both threads (CKT_NetDaemon): 1 started,
// 0 failed (nothing is left running), -1 already running. Connections left from an earlier run
// are closed.
int startNetServer();

// Shuts the listening socket down; the accept thread then closes it, marks the server stopped
// and ends, and the receive thread ends after its pass. Returns at once.
void stopNetServer();

// True from a successful start until the accept thread has ended.
bool netServerRunning();

// Stops the server and waits for both threads (library unload).
void joinNetServer();

}  // namespace termlink
