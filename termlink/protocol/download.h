// Multi-part downloads of the list texts, blocking and in the background.
//
// Both send the list request and keep receiving until the text received so far ends with the
// list's end marker, the terminal falls silent, an exchange fails, or the text reaches
// kMaxListBytes. Both hold ExchangeLock for the whole transfer, so nothing interleaves with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "api/termlink.h"
#include "list_format.h"

namespace termlink {

// The largest list text accepted: far above what the biggest terminals hold (100,000 clocking
// records are about 4.5 MB).
inline constexpr std::size_t kMaxListBytes = std::size_t{64} << 20;
// The first reply of a list may take this long to start; each further piece this long.
inline constexpr int kListFirstTimeoutMs = 400;
inline constexpr int kListNextTimeoutMs = 120;
// A background download hands its text on in pieces of at most this many bytes on the serial
// line, so that progress shows while a slow line delivers.
inline constexpr std::size_t kSerialPieceBytes = 200;
// A finished background download that nobody asks about for this long is dropped.
inline constexpr int kAbandonedDownloadSeconds = 600;

// Blocking download. False when an exchange failed (text then empty); else true with the text
// received, complete or not (the list parser decides). `onPiece`, when given, sees the text so
// far after every piece, while the terminal goes on sending.
bool downloadAll(std::int32_t sno, std::string_view request, std::string_view endMarker,
                 std::string& text, const std::function<void(std::string_view)>& onPiece = {});

// A blocking list command: downloads the list of `format` from `sno` and reads it, as
// parseWholeList says (false with the outputs untouched also when the download failed). Lines
// are read while the rest of the list is still arriving.
bool downloadList(std::int32_t sno, const ListFormat& format, std::int32_t* count, void** records);

// Starts a background download of `format`'s list from `sno` on a thread of its own. Returns the
// new handle, or null when the thread could not be started.
CKT_DownloadHandle startDownload(std::int32_t sno, const ListFormat& format);

// One progress call on a background download: 2 in progress, 1 complete, 0 failed or an unknown
// or finished handle. *total gets the announced count; *count and *records the records read
// since the previous call (a new array released with CKT_FreeMemory, or null). After 1 or 0 the
// handle is gone.
int downloadProgress(CKT_DownloadHandle handle, std::int32_t* total, std::int32_t* count,
                     void** records);

// Stops every background download and waits for their threads (library unload).
void stopDownloads();

}  // namespace termlink
