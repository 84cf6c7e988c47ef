// The COM daemon: one thread that collects realtime clocking records from the open serial ports.
#pragma once

namespace termlink {

// CKT_ComDaemon: 1 started, 0 the thread could not be created, -1 a thread was already created
// in this process (also after it was stopped).
int startComDaemon();
// Clears the run flag; the thread ends after its current pass.
void stopComDaemon();
// Stops the thread and waits for it (library unload).
void joinComDaemon();

}  // namespace termlink
