// Dial-up modems on a registered COM port: dialling with the terminal handshake, and hanging up.
#pragma once

#include <cstdint>

namespace termlink {

// CKT_ConnectModem: dials `phone` ("ATD<phone>\r"), waits for CONNECT, then runs the two
// handshake frames, each of which the terminal must answer with exactly 6 bytes. 1 connected,
// 0 not (no route, BUSY, NO DIALTONE, NO CARRIER, no answer, a failed handshake). Holds
// ExchangeLock while it dials.
int connectModem(std::int32_t sno, const char* phone);

// CKT_DisconnectModem: "+++", then "ATD\r". 1 if both could be sent, else 0.
int disconnectModem(std::int32_t sno);

}  // namespace termlink
