// What every single-line command shares: one request, one reply in a 200-byte area, and for the
// setting commands the exact test against "(<sno>,<word>,ok)\r\n".
#pragma once

#include <cstdint>
#include <string>

#include "exchange.h"

namespace termlink {

inline constexpr std::size_t kCommandReplyArea = 200;
inline constexpr int kCommandTimeoutMs = 400;

// A setting command: 1 when the reply is exactly "(<sno>,<word>,ok)\r\n" for the requested
// serial number, 0 otherwise (no route, a failed exchange, silence, any other text).
std::int32_t settingCommand(std::int32_t sno, const std::string& request, const char* word,
                            int timeoutMs = kCommandTimeoutMs);

}  // namespace termlink
