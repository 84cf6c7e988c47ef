#include "download.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "exchange.h"
#include "list_progress.h"
#include "reply_tests.h"
#include "text_scan.h"
#include "transport/locks.h"

namespace termlink {
namespace {

constexpr std::size_t kBlockingPieceBytes = std::size_t{64} << 10;
constexpr std::size_t kNetPieceBytes = std::size_t{64} << 10;

// Receives one piece appended to `text`, at most `limit` bytes.
bool receivePiece(std::int32_t sno, std::string_view request, std::string& text, std::size_t limit,
                  int timeoutMs, std::size_t& received) {
  const std::size_t old = text.size();
  if (text.capacity() < old + limit + 1) text.reserve(2 * (old + limit + 1));
  text.resize(old + limit + 1);
  const bool ok = exchangeInto(sno, request, text.data() + old, limit, received, timeoutMs);
  text.resize(old + received);
  return ok;
}

// One background download, shared by its thread and the registry. The thread reads each piece
// as it arrives, while the terminal goes on sending; a progress call only takes the records read
// since the previous one.
struct DownloadContext {
  std::int32_t sno = 0;
  const ListFormat* format = nullptr;
  ListProgress progress;   // the thread's reading of the text (its own: no lock)
  std::mutex mutex;        // guards what follows, up to `result`
  unsigned char* pending = nullptr;  // records read and not yet handed out (malloc)
  std::size_t pendingCount = 0;
  std::size_t pendingRoom = 0;       // records `pending` has room for
  std::int32_t announced = 0;        // the header's count, once read
  int result = 2;                    // 2 in progress, 1 complete, 0 failed
  std::atomic<bool> abort{false};  // set when the caller is done or the library unloads
  std::atomic<bool> threadDone{false};
  std::chrono::steady_clock::time_point endedAt{};

  DownloadContext() = default;
  DownloadContext(const DownloadContext&) = delete;
  DownloadContext& operator=(const DownloadContext&) = delete;
  ~DownloadContext() { std::free(pending); }
};

struct Download {
  std::shared_ptr<DownloadContext> context;
  std::thread thread;
};

struct Registry {
  std::mutex mutex;
  std::uintptr_t nextId = 1;  // handles are never reused, so a stale one finds nothing
  std::map<std::uintptr_t, Download> live;
  std::vector<Download> retired;  // downloads whose handle is gone, until their thread ended
};

Registry& registry() {
  static Registry& r = *new Registry;  // lives until the process ends, like the locks
  return r;
}

// Joins ended threads and drops downloads abandoned long ago. Holds the registry mutex.
void reapLocked(Registry& r) {
  for (auto it = r.retired.begin(); it != r.retired.end();) {
    if (!it->context->threadDone) {
      ++it;
      continue;
    }
    it->thread.join();
    it = r.retired.erase(it);
  }
  const auto now = std::chrono::steady_clock::now();
  for (auto it = r.live.begin(); it != r.live.end();) {
    DownloadContext& c = *it->second.context;
    if (c.threadDone && now - c.endedAt > std::chrono::seconds(kAbandonedDownloadSeconds)) {
      it->second.thread.join();
      it = r.live.erase(it);
    } else {
      ++it;
    }
  }
}

// Adds the records of one reading to those waiting for the caller: the first block is taken as
// it is, later ones are appended to it, the room growing geometrically.
bool addPending(DownloadContext& c, void* records, std::size_t count) {
  if (c.pendingCount == 0 && count >= c.pendingRoom) {
    std::free(c.pending);
    c.pending = static_cast<unsigned char*>(records);
    c.pendingCount = c.pendingRoom = count;
    return true;
  }
  const std::size_t size = c.format->recordSize;
  if (c.pendingCount + count > c.pendingRoom) {
    const std::size_t room = std::max(2 * c.pendingRoom, c.pendingCount + count);
    void* bigger = std::realloc(c.pending, room * size);
    if (bigger == nullptr) {
      std::free(records);
      return false;
    }
    c.pending = static_cast<unsigned char*>(bigger);
    c.pendingRoom = room;
  }
  std::memcpy(c.pending + c.pendingCount * size, records, count * size);
  c.pendingCount += count;
  std::free(records);
  return true;
}

// Reads the lines of `text` complete so far and hands the records on; the text read is dropped,
// so the text held stays about one piece long. Returns readListProgress's answer.
int readPiece(DownloadContext& c, std::string& text, TransferState state) {
  std::int32_t total = 0, count = 0;
  void* records = nullptr;
  const int result = readListProgress(c.progress, text, state, &total, &count, &records);
  if (c.progress.headerRead) {
    text.erase(0, c.progress.parsePos);
    c.progress.parsePos = 0;
  }
  std::lock_guard lock(c.mutex);
  c.announced = total;
  if (result == 0) {
    std::free(records);
    c.result = 0;
    return 0;
  }
  if (count > 0 && !addPending(c, records, static_cast<std::size_t>(count))) {
    c.result = 0;
    return 0;
  }
  c.result = result;
  return result;
}

void runDownload(const std::shared_ptr<DownloadContext>& context) {
  DownloadContext& c = *context;
  const std::string endMarker = c.format->endMarker;
  TransferState state = TransferState::failed;
  int result = 2;
  std::string text;
  {
    std::lock_guard lock(exchangeLock());
    const std::size_t piece = routeOf(c.sno) == Route::tcp ? kNetPieceBytes : kSerialPieceBytes;
    std::vector<char> buffer(piece + 1);
    const std::string request = formatText(c.format->request, sno(c.sno));
    std::size_t total = 0;
    std::size_t received = 0;
    bool ok = exchangeInto(c.sno, request, buffer.data(), std::min(piece, kMaxListBytes), received,
                           kListFirstTimeoutMs);
    // The end is looked for in the text so far: a short last piece still completes the list.
    std::string tail;  // the last bytes received, enough to hold the end marker
    while (ok) {
      text.append(buffer.data(), received);
      total += received;
      tail.append(buffer.data(), received);
      if (tail.size() > endMarker.size()) tail.erase(0, tail.size() - endMarker.size());
      if (endsWith(tail, endMarker)) {
        state = TransferState::complete;
        break;
      }
      if (received == 0 || total >= kMaxListBytes || c.abort) break;
      // A list that does not read fails now; the rest of it is still received, so that it does
      // not reach the next command.
      if (result == 2) result = readPiece(c, text, TransferState::running);
      if (result != 2) text.clear();
      ok = exchangeInto(c.sno, {}, buffer.data(), std::min(piece, kMaxListBytes - total), received,
                        kListNextTimeoutMs);
    }
  }
  // The rest is read as a finished transfer; a reading that stays in progress once the transfer
  // ended is read once more, and then decides.
  for (int round = 0; round < 2 && result == 2; ++round) result = readPiece(c, text, state);
  if (result == 2) {
    std::lock_guard lock(c.mutex);
    c.result = 0;
  }
  c.endedAt = std::chrono::steady_clock::now();
  c.threadDone = true;
}

}  // namespace

bool downloadAll(std::int32_t sno, std::string_view request, std::string_view endMarker,
                 std::string& text, const std::function<void(std::string_view)>& onPiece) {
  text.clear();
  std::lock_guard lock(exchangeLock());
  std::size_t received = 0;
  if (!receivePiece(sno, request, text, kBlockingPieceBytes, kListFirstTimeoutMs, received)) {
    text.clear();
    return false;
  }
  if (onPiece) onPiece(text);
  // The end is looked for in the text so far: a short last piece still completes the list.
  while (!endsWith(text, endMarker) && received > 0 && text.size() < kMaxListBytes) {
    const std::size_t room = std::min(kBlockingPieceBytes, kMaxListBytes - text.size());
    if (!receivePiece(sno, {}, text, room, kListNextTimeoutMs, received)) {
      text.clear();
      return false;
    }
    if (onPiece) onPiece(text);
  }
  return true;
}

CKT_DownloadHandle startDownload(std::int32_t sno, const ListFormat& format) {
  auto context = std::make_shared<DownloadContext>();
  context->sno = sno;
  context->format = &format;
  context->progress.format = &format;
  context->progress.sno = sno;
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  reapLocked(r);
  Download download{context, {}};
  try {
    download.thread = std::thread(runDownload, context);
  } catch (const std::system_error&) {
    return nullptr;
  }
  const std::uintptr_t id = r.nextId++;
  r.live.emplace(id, std::move(download));
  return reinterpret_cast<CKT_DownloadHandle>(id);
}

int downloadProgress(CKT_DownloadHandle handle, std::int32_t* total, std::int32_t* count,
                     void** records) {
  *total = 0;
  *count = 0;
  *records = nullptr;
  Registry& r = registry();
  std::shared_ptr<DownloadContext> context;
  {
    std::lock_guard lock(r.mutex);
    const auto it = r.live.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == r.live.end()) return 0;
    context = it->second.context;
  }
  int result;
  {
    DownloadContext& c = *context;
    std::lock_guard lock(c.mutex);
    result = c.result;
    if (result != 0) {
      *total = c.announced;
      if (c.pendingCount > 0) {
        *records = c.pending;
        *count = static_cast<std::int32_t>(c.pendingCount);
        c.pending = nullptr;
        c.pendingCount = c.pendingRoom = 0;
      }
    }
  }
  if (result != 2) {
    context->abort = true;
    std::lock_guard lock(r.mutex);
    const auto it = r.live.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it != r.live.end()) {
      r.retired.push_back(std::move(it->second));
      r.live.erase(it);
    }
  }
  return result;
}

void stopDownloads() {
  Registry& r = registry();
  std::vector<Download> all;
  {
    std::lock_guard lock(r.mutex);
    for (auto& [id, download] : r.live) all.push_back(std::move(download));
    for (auto& download : r.retired) all.push_back(std::move(download));
    r.live.clear();
    r.retired.clear();
  }
  for (auto& download : all) download.context->abort = true;
  for (auto& download : all)
    if (download.thread.joinable()) download.thread.join();
}

}  // namespace termlink
