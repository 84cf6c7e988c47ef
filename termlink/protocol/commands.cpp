#include "commands.h"

#include "reply_tests.h"

namespace termlink {

std::int32_t settingCommand(std::int32_t serial, const std::string& request, const char* word,
                            int timeoutMs) {
  ReplyArea reply(kCommandReplyArea);
  if (!exchange(serial, request, reply, timeoutMs)) return 0;
  return replyIsExactly(reply.text(), formatText("(%u,%s,ok)\r\n", sno(serial), word)) ? 1 : 0;
}

}  // namespace termlink
