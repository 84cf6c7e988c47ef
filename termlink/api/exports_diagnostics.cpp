// The exports for the log, the response timeouts and memory handed out.
#include <cstdlib>

#include "termlink.h"
#include "protocol/exchange.h"
#include "protocol/log.h"

using namespace termlink;

extern "C" {

int32_t CKT_EnableLog(int32_t flag) {
  log::enable(flag);
  return flag;
}

int32_t CKT_SetRespTimeouts(int32_t com, int32_t net) {
  setResponseTimeouts(com, net);
  return com;
}

int32_t CKT_FreeMemory(void* memory) {
  std::free(memory);
  return 1;
}

}  // extern "C"
