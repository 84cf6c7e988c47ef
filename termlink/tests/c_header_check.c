/* A C caller of the library: the header compiles as C11 and the exports link and run. */
#include <stdio.h>

#include "termlink.h"

int main(void) {
  int32_t* list = (int32_t*)&list;
  if (CKT_FreeMemory(NULL) != 1) return 1;
  if (CKT_SetRespTimeouts(1500, 20000) != 1500) return 2;
  if (CKT_RegisterSno(1, 0) != -1 || CKT_RegisterSno(1, 10) != -1) return 3;
  if (CKT_ReportConnections(&list) != 0 || list != NULL) return 4;
  CKT_Disconnect();
  puts("termlink: C caller ok");
  return 0;
}
