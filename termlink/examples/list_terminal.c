/* List a terminal's persons and download its clocking records.
 *
 *   list_terminal SNO COMPORT      a terminal on a serial line (COM port 1..9)
 *   list_terminal SNO tcp          a terminal that connects to this program over TCP
 *
 * Build against an installed Termlink:  cc list_terminal.c $(pkg-config --cflags --libs termlink)
 */
#define _POSIX_C_SOURCE 200809L /* nanosleep */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <termlink.h>

static void pause_ms(long ms) {
  struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&t, NULL);
}

/* Waits up to ten seconds for terminal sno to connect to the TCP server. */
static int wait_for_tcp_terminal(int32_t sno) {
  for (int i = 0; i < 100; ++i) {
    int32_t* list = NULL;
    int32_t n = CKT_ReportConnections(&list);
    int found = 0;
    for (int32_t k = 0; k < n; ++k) found |= list[k] == sno;
    CKT_FreeMemory(list);
    if (found) return 1;
    pause_ms(100);
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: %s SNO COMPORT|tcp\n", argv[0]);
    return 2;
  }
  const int32_t sno = (int32_t)strtoul(argv[1], NULL, 10);
  if (strcmp(argv[2], "tcp") == 0) {
    if (CKT_NetDaemon() != 1 || !wait_for_tcp_terminal(sno)) {
      fprintf(stderr, "terminal %s did not connect\n", argv[1]);
      return 1;
    }
  } else if (CKT_RegisterSno(sno, atoi(argv[2])) != 1) {
    fprintf(stderr, "COM%s cannot be opened\n", argv[2]);
    return 1;
  }

  int32_t count = 0;
  PersonInfo* persons = NULL;
  if (CKT_ListPersonInfo(sno, &count, &persons) != 1) {
    fprintf(stderr, "the person list could not be read\n");
    CKT_Disconnect();
    return 1;
  }
  printf("%d persons\n", (int)count);
  for (int32_t i = 0; i < count; ++i) printf("%d\t%s\n", (int)persons[i].PersonID, persons[i].Name);
  CKT_FreeMemory(persons);

  /* The background form: the records arrive in slices while the terminal sends them. */
  CKT_DownloadHandle download = NULL;
  if (CKT_GetClockingRecordEx(sno, &download) != 1) {
    fprintf(stderr, "the record download could not be started\n");
    CKT_Disconnect();
    return 1;
  }
  int result = 2;
  int32_t received = 0;
  while (result == 2) {
    int32_t total = 0, n = 0;
    ClockingRecord* slice = NULL;
    result = CKT_GetClockingRecordProgress(download, &total, &n, &slice);
    for (int32_t i = 0; i < n; ++i)
      printf("%d\t%s\t%d\n", (int)slice[i].PersonID, slice[i].Time, (int)slice[i].Value);
    received += n;
    CKT_FreeMemory(slice);
    if (result == 2) pause_ms(20);
  }
  printf("%d clocking records%s\n", (int)received, result == 1 ? "" : " (download failed)");
  CKT_Disconnect();
  return result == 1 ? 0 : 1;
}
