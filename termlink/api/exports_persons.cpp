// The person commands: the list (at once or in the background), adding or changing one person,
// deleting one or all.
#include <cstring>
#include <string>

#include "termlink.h"
#include "protocol/commands.h"
#include "protocol/download.h"
#include "protocol/list_format.h"
#include "protocol/reply_tests.h"

using namespace termlink;

namespace {

constexpr int kPersonTimeoutMs = 900;
constexpr int kEraseAllTimeoutMs = 8500;

// A name the request can carry: the terminal reads the request's fields between commas and up
// to the closing parenthesis, so a name holding one of these would shift or cut the values sent.
bool sendableName(const char* name, std::size_t length) {
  return std::strcspn(name, ",()\r\n") >= length;
}

}  // namespace

extern "C" {

int32_t CKT_ListPersonInfo(int32_t Sno, int32_t* count, PersonInfo** persons) {
  if (count == nullptr || persons == nullptr) return 0;
  void* records = *persons;  // stays as it was when nothing usable came
  const bool ok = downloadList(Sno, personList(), count, &records);
  *persons = static_cast<PersonInfo*>(records);
  return ok ? 1 : 0;
}

int32_t CKT_ListPersonInfoEx(int32_t Sno, CKT_DownloadHandle* handle) {
  if (handle == nullptr) return 0;
  *handle = startDownload(Sno, personList());
  return *handle != nullptr ? 1 : 0;
}

int32_t CKT_ListPersonProgress(CKT_DownloadHandle handle, int32_t* total, int32_t* count,
                               PersonInfo** persons) {
  if (total == nullptr || count == nullptr || persons == nullptr) return 0;
  void* records = nullptr;
  const int result = downloadProgress(handle, total, count, &records);
  *persons = static_cast<PersonInfo*>(records);
  return result;
}

int32_t CKT_ModifyPersonInfo(int32_t Sno, const PersonInfo* person) {
  if (person == nullptr) return 0;
  const std::size_t length = ::strnlen(person->Name, sizeof person->Name);
  if (!sendableName(person->Name, length)) return 0;
  const std::string name(person->Name, length);
  ReplyArea reply(kCommandReplyArea);
  if (!exchange(Sno,
                formatText("(%u,ygmod,%d,%s,%d,%u,%d)", sno(Sno), person->PersonID, name.c_str(),
                           person->Value1, static_cast<uint32_t>(person->Value2), person->Value3),
                reply, kPersonTimeoutMs))
    return 0;
  switch (replyTailIndex(reply.text(), {",ygadd,ok)\r\n", ",ygchg,ok)\r\n", ",ygadd,err,full)\r\n"})) {
    case 0: return 1;
    case 1: return 2;
    case 2: return -1;
    default: return 0;
  }
}

int32_t CKT_DeletePersonInfo(int32_t Sno, int32_t personId) {
  ReplyArea reply(kCommandReplyArea);
  if (!exchange(Sno, formatText("(%u,ygdel,%d)", sno(Sno), personId), reply, kPersonTimeoutMs))
    return 0;
  switch (replyTailIndex(reply.text(), {",ygdel,ok)\r\n", ",ygdel,err,none)\r\n"})) {
    case 0: return 1;
    case 1: return -1;
    default: return 0;
  }
}

int32_t CKT_EraseAllPerson(int32_t Sno) {
  return settingCommand(Sno, formatText("(%u,ygeraseall)", sno(Sno)), "ygeraseall",
                        kEraseAllTimeoutMs);
}

}  // extern "C"
