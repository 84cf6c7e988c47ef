// Fingerprint templates between the caller and a terminal: framed as the terminal keeps them, as
// raw template bytes, and through files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "termlink.h"
#include "protocol/commands.h"
#include "protocol/reply_tests.h"
#include "protocol/template_frame.h"
#include "transport/locks.h"

using namespace termlink;

namespace {

constexpr std::size_t kTemplateReplyArea = 600;
constexpr int kGetTemplateTimeoutMs = 1500;
constexpr int kReadyPauseMs = 280;
constexpr int kSendTemplateTimeoutMs = 900;
constexpr std::size_t kTemplateFileMost = 600;
constexpr std::size_t kRawFileMost = 338;
constexpr std::size_t kRawFileShort = 256;

bool missing(const char* name) { return name == nullptr || *name == '\0'; }

// Reads at most `most` bytes of an existing file; nothing when it cannot be opened.
std::optional<std::string> readHead(const char* name, std::size_t most) {
  const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string data(most, '\0');
  std::size_t got = 0;
  while (got < most) {
    const ssize_t n = ::read(fd, data.data() + got, most - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  data.resize(got);
  return data;
}

// Creates or replaces the file with `data`; a file is never left half written: the data goes to
// a scratch file beside it, which then takes the name.
bool writeWhole(const char* name, std::string_view data) {
  std::string scratch = std::string(name) + ".XXXXXX";
  const int fd = ::mkstemp(scratch.data());
  if (fd < 0) return false;
  bool ok = true;
  for (std::size_t done = 0; ok && done < data.size();) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ::fchmod(fd, 0644) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok && ::rename(scratch.c_str(), name) == 0) return true;
  ::unlink(scratch.c_str());
  return false;
}

// Reads the framed template into `framed`; the result of CKT_GetFPTemplate.
int32_t readTemplate(int32_t Sno, int32_t person, int32_t finger, std::string& framed) {
  uint8_t* block = nullptr;
  int32_t length = 0;
  const int32_t result = CKT_GetFPTemplate(Sno, person, finger, &block, &length);
  if (result == 1) framed.assign(reinterpret_cast<const char*>(block), static_cast<std::size_t>(length));
  CKT_FreeMemory(block);
  return result;
}

}  // namespace

extern "C" {

int32_t CKT_GetFPTemplate(int32_t Sno, int32_t person, int32_t finger, uint8_t** block,
                          int32_t* length) {
  if (block == nullptr || length == nullptr) return 0;
  ReplyArea reply(kTemplateReplyArea);
  if (!exchange(Sno, formatText("(%u,gettemplet,%d,%d)", sno(Sno), person, finger), reply,
                kGetTemplateTimeoutMs))
    return 0;
  const std::string prefix = formatText("(%u,gettemplet,", sno(Sno));
  if (!replyHasPrefix(reply.bytes(), prefix)) return 0;
  const std::string_view rest = reply.bytes().substr(prefix.size());
  if (rest.substr(0, 8) == "err,none") {
    *block = nullptr;
    *length = 0;
    return -1;
  }
  if (rest.substr(0, 6) != "start)") return 0;
  const std::string_view framed = rest.substr(6);
  if (!isValidTemplate(framed)) {
    *block = nullptr;
    *length = 0;
    return 0;
  }
  auto* out = static_cast<uint8_t*>(std::malloc(framed.size()));
  if (out == nullptr) return 0;
  std::memcpy(out, framed.data(), framed.size());
  *block = out;
  *length = static_cast<int32_t>(framed.size());
  return 1;
}

int32_t CKT_PutFPTemplate(int32_t Sno, int32_t person, int32_t finger, const uint8_t* block,
                          int32_t length) {
  if (block == nullptr || length <= 0) return 0;
  // The announcement and the template travel together: no other command may come between.
  std::lock_guard lock(exchangeLock());
  ReplyArea reply(kCommandReplyArea);
  if (!exchange(Sno, formatText("(%u,sendtemplet,%d,%d)", sno(Sno), person, finger), reply,
                kCommandTimeoutMs))
    return 0;
  const std::string prefix = formatText("(%u,sendtemplet,", sno(Sno));
  if (!replyHasPrefix(reply.text(), prefix)) return 0;
  const std::string_view answer = reply.text().substr(prefix.size());
  if (answer == "err,none)\r\n") return -1;
  if (answer != "ready)\r\n") return 0;

  std::this_thread::sleep_for(std::chrono::milliseconds(kReadyPauseMs));
  const std::string_view data(reinterpret_cast<const char*>(block), static_cast<std::size_t>(length));
  if (!exchange(Sno, data, reply, kSendTemplateTimeoutMs)) return 0;
  const std::string_view verdict = reply.text();
  if (verdict.size() > prefix.size() && verdict.substr(prefix.size()) == "err,err)\r\n") return -2;
  return verdict == prefix + "ok)\r\n" ? 1 : 0;
}

int32_t CKT_GetFPTemplateSaveFile(int32_t Sno, int32_t person, int32_t finger, const char* file) {
  if (missing(file)) return -3;
  std::string framed;
  const int32_t result = readTemplate(Sno, person, finger, framed);
  if (result != 1) return result;
  return writeWhole(file, framed) ? 1 : -2;
}

int32_t CKT_PutFPTemplateLoadFile(int32_t Sno, int32_t person, int32_t finger, const char* file) {
  if (missing(file)) return -3;
  const auto data = readHead(file, kTemplateFileMost);
  if (!data) return -4;
  return CKT_PutFPTemplate(Sno, person, finger, reinterpret_cast<const uint8_t*>(data->data()),
                           static_cast<int32_t>(data->size()));
}

int32_t CKT_GetFPRawData(int32_t Sno, int32_t person, int32_t finger, uint8_t* buffer) {
  if (buffer == nullptr) return 0;
  std::string framed;
  const int32_t result = readTemplate(Sno, person, finger, framed);
  if (result != 1) return result;
  const auto raw = rawTemplateOf(framed);
  if (!raw) return 0;
  std::memcpy(buffer, raw->data(), raw->size());
  return static_cast<int32_t>(raw->size());
}

int32_t CKT_GetFPRawDataSaveFile(int32_t Sno, int32_t person, int32_t finger, const char* file) {
  if (missing(file)) return -3;
  std::string framed;
  const int32_t result = readTemplate(Sno, person, finger, framed);
  if (result != 1) return result;
  const auto raw = rawTemplateOf(framed);
  if (!raw) return 0;
  return writeWhole(file, *raw) ? 1 : -2;
}

int32_t CKT_PutFPRawData(int32_t Sno, int32_t person, int32_t finger, const uint8_t* raw,
                         int32_t length) {
  if (raw == nullptr || length <= 0 || !isFrameableLength(static_cast<std::size_t>(length))) return 0;
  const std::string framed = frameRawTemplate(
      std::string_view(reinterpret_cast<const char*>(raw), static_cast<std::size_t>(length)));
  return CKT_PutFPTemplate(Sno, person, finger, reinterpret_cast<const uint8_t*>(framed.data()),
                           static_cast<int32_t>(framed.size()));
}

int32_t CKT_PutFPRawDataLoadFile(int32_t Sno, int32_t person, int32_t finger, const char* file) {
  if (missing(file)) return -3;
  const auto raw = readHead(file, kRawFileMost);
  if (!raw) return -4;
  if (raw->size() != kRawFileShort && raw->size() != kRawFileMost) return -5;
  return CKT_PutFPRawData(Sno, person, finger, reinterpret_cast<const uint8_t*>(raw->data()),
                          static_cast<int32_t>(raw->size()));
}

}  // extern "C"
