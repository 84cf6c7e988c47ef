// The clocking-record commands: download (at once or in the background), clear, recall, the
// realtime mode and the queue of realtime records.
#include <cstdlib>
#include <cstring>
#include <string>

#include "termlink.h"
#include "protocol/commands.h"
#include "protocol/download.h"
#include "protocol/list_format.h"
#include "protocol/realtime.h"
#include "protocol/reply_tests.h"

using namespace termlink;

extern "C" {

int32_t CKT_GetClockingRecord(int32_t Sno, int32_t* count, ClockingRecord** records) {
  if (count == nullptr || records == nullptr) return 0;
  void* array = *records;  // stays as it was when nothing usable came
  const bool ok = downloadList(Sno, clockingList(), count, &array);
  *records = static_cast<ClockingRecord*>(array);
  return ok ? 1 : 0;
}

int32_t CKT_GetClockingRecordEx(int32_t Sno, CKT_DownloadHandle* handle) {
  if (handle == nullptr) return 0;
  *handle = startDownload(Sno, clockingList());
  return *handle != nullptr ? 1 : 0;
}

int32_t CKT_GetClockingRecordProgress(CKT_DownloadHandle handle, int32_t* total, int32_t* count,
                                      ClockingRecord** records) {
  if (total == nullptr || count == nullptr || records == nullptr) return 0;
  void* array = nullptr;
  const int result = downloadProgress(handle, total, count, &array);
  *records = static_cast<ClockingRecord*>(array);
  return result;
}

int32_t CKT_ClearClockingRecord(int32_t Sno) {
  return settingCommand(Sno, formatText("(%u,kqclr)", sno(Sno)), "kqclr");
}

int32_t CKT_RecallClockingRecord(int32_t Sno, int32_t number) {
  return settingCommand(Sno, formatText("(%u,kqback,%d)", sno(Sno), number), "kqback");
}

int32_t CKT_SetRealtimeMode(int32_t Sno, int32_t value) {
  return settingCommand(Sno, formatText("(%u,setreal,%d)", sno(Sno), value), "setreal");
}

int32_t CKT_ReadRealtimeClocking(ClockingRecord** records) {
  if (records == nullptr) return 0;  // nothing is taken from the queue without a place for it
  std::size_t count = 0;
  *records = handOutRealtimeRecords(count);
  return static_cast<int32_t>(count);
}

}  // extern "C"
