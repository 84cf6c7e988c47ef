/*
 * Termlink: talk to fingerprint attendance terminals over serial lines, dial-up modems and TCP.
 *
 * Every terminal is addressed by its serial number (Sno), passed as int32 and written to the
 * terminal as unsigned decimal. A caller makes terminals reachable (CKT_RegisterSno for serial
 * lines, CKT_ConnectModem for a dial-up line, CKT_NetDaemon for terminals that connect over TCP),
 * issues commands by serial number, and finally calls CKT_Disconnect.
 *
 * Results are int32 codes: 1 success, 0 failure of the route, the exchange or the reply test, and
 * the negative refusals each function lists. Memory the library hands out is released by the
 * caller with CKT_FreeMemory and nothing else. All functions may be called from several threads;
 * one lock serialises all traffic with the terminals.
 *
 * Environment: COM port n is the device named by TERMLINK_COM<n>, else /dev/ttyS<n-1>; the TCP
 * server listens on TERMLINK_TCP_PORT, else 5010.
 */
#ifndef TERMLINK_TERMLINK_H
#define TERMLINK_TERMLINK_H

#include <stdint.h>

#if defined(__GNUC__)
#define CKT_API __attribute__((visibility("default")))
#else
#define CKT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Records crossing the boundary (packed, little-endian) -------------------------------- */

#pragma pack(push, 1)

/* A terminal's network settings (28 bytes). */
typedef struct NetInfo {
  int32_t Sno;              /* the serial number as the terminal replies it */
  uint8_t IPAddr[4];        /* in text order: 192.168.1.201 is {192, 168, 1, 201} */
  uint8_t Mask[4];
  uint8_t Gateway[4];
  uint8_t ServerIPAddr[4];
  uint8_t MAC[6];
  uint16_t Extra;           /* the number after the MAC group, passed through */
} NetInfo;

/* A terminal's clock (12 bytes). */
typedef struct DeviceClock {
  int32_t Sno;
  uint16_t Year;
  uint8_t Month;
  uint8_t Day;
  uint8_t Hour;
  uint8_t Minute;
  uint8_t Second;
  uint8_t Reserved;         /* always 0 */
} DeviceClock;

/* A terminal's identity: nine int32 values in reply order (36 bytes). */
typedef struct DeviceInfo {
  int32_t Sno;
  int32_t MajorVersion;
  int32_t MinorVersion;
  int32_t Values[6];        /* the six further numbers of the reply, passed through */
} DeviceInfo;

/* One enrolled person (40 bytes). Value4 and Value5 are only reported by the terminal. */
typedef struct PersonInfo {
  int32_t PersonID;
  char Name[16];            /* up to 15 bytes, no comma, NUL-terminated */
  int32_t Value1;
  int32_t Value2;           /* sent to the terminal as unsigned */
  int32_t Value3;
  int32_t Value4;
  int32_t Value5;
} PersonInfo;

/* One clocking record (32 bytes). */
typedef struct ClockingRecord {
  int32_t Sno;              /* the terminal the record came from */
  int32_t PersonID;
  int32_t Value;
  char Time[20];            /* the terminal's date-time text, up to 19 bytes, NUL-terminated */
} ClockingRecord;

#pragma pack(pop)

#if defined(__cplusplus)
static_assert(sizeof(NetInfo) == 28, "NetInfo is 28 bytes");
static_assert(sizeof(DeviceClock) == 12, "DeviceClock is 12 bytes");
static_assert(sizeof(DeviceInfo) == 36, "DeviceInfo is nine int32 values");
static_assert(sizeof(PersonInfo) == 40, "PersonInfo is 40 bytes");
static_assert(sizeof(ClockingRecord) == 32, "ClockingRecord is 32 bytes");
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
_Static_assert(sizeof(NetInfo) == 28, "NetInfo is 28 bytes");
_Static_assert(sizeof(DeviceClock) == 12, "DeviceClock is 12 bytes");
_Static_assert(sizeof(DeviceInfo) == 36, "DeviceInfo is nine int32 values");
_Static_assert(sizeof(PersonInfo) == 40, "PersonInfo is 40 bytes");
_Static_assert(sizeof(ClockingRecord) == 32, "ClockingRecord is 32 bytes");
#endif

/* A background list download, created by an Ex function and consumed by its progress function.
 * Opaque; it is gone once the progress function returned 1 or 0, and a handle used after that
 * is refused (0), never dereferenced. */
typedef struct CKT_Download* CKT_DownloadHandle;

/* ---- Memory -------------------------------------------------------------------------------- */

/* Releases a block the library handed out (arrays of lists, serial number lists, template
 * blocks). A null pointer is accepted and ignored. Always returns 1. */
CKT_API int32_t CKT_FreeMemory(void* memory);

/* ---- Diagnostics and timeouts -------------------------------------------------------------- */

/* Nonzero: (re)opens LOG/YYYY_MM_DD.log below the current directory (today's local date),
 * appends a start line and logs every exchange from then on; the folder is not created, and a
 * file that cannot be opened leaves logging silent. 0: writes an end line and closes the file.
 * The result carries no meaning. */
CKT_API int32_t CKT_EnableLog(int32_t flag);

/* Sets the serial response timeout (the longest any serial exchange waits for the start of a
 * reply; default 2000 ms) and the TCP response timeout (default 20000 ms, used in whole waits of
 * 5 seconds, at least one). No range test. Returns com. */
CKT_API int32_t CKT_SetRespTimeouts(int32_t com, int32_t net);

/* ---- Serial lines and modems --------------------------------------------------------------- */

/* Registers Sno on COM port 1..9 (a later registration of the same Sno replaces its port;
 * several serial numbers may share a port). -1: port outside 1..9, nothing changes; else 1 if
 * the port is open after the call, 0 if it could not be opened (the registration stays, and
 * every later command tries to open the port again). */
CKT_API int32_t CKT_RegisterSno(int32_t Sno, int32_t port);

/* Forgets the registration of Sno. The port stays open for the other serial numbers on it. */
CKT_API void CKT_UnregisterSno(int32_t Sno);

/* Dials phone (NUL-terminated) through the modem on the port registered for Sno and runs the
 * terminal handshake. 1 connected; 0 no route, BUSY, NO DIALTONE, NO CARRIER, no answer, or a
 * failed handshake. Blocks every other command while it dials; takes about 6 s when connected. */
CKT_API int32_t CKT_ConnectModem(int32_t Sno, const char* phone);

/* Hangs up the modem on the port registered for Sno ("+++", then "ATD\r"). 1 if both commands
 * could be sent, else 0. */
CKT_API int32_t CKT_DisconnectModem(int32_t Sno);

/* Starts the thread that collects realtime clocking records from the serial ports. 1 started,
 * 0 the thread could not be created, -1 a collection thread was already created in this process
 * (also after CKT_Disconnect stopped it). */
CKT_API int32_t CKT_ComDaemon(void);

/* ---- TCP ----------------------------------------------------------------------------------- */

/* Starts the TCP server: terminals connect to it, are asked who they are and filed under the
 * serial number they report. 1 started, 0 failed (port in use, no socket), -1 already running. */
CKT_API int32_t CKT_NetDaemon(void);

/* Hands out the serial numbers of the connected TCP terminals in connection order. Returns
 * their count; *list is a new array of that many int32 values to be released with
 * CKT_FreeMemory, or null when the count is 0. */
CKT_API int32_t CKT_ReportConnections(int32_t** list);

/* Stops the TCP server (it ends shortly after; CKT_NetDaemon can then start it again), stops the
 * serial collection thread, closes every port and connection and forgets every registration.
 * Waits for an exchange in flight to finish. */
CKT_API void CKT_Disconnect(void);

#ifdef __cplusplus
}
#endif

#endif /* TERMLINK_TERMLINK_H */
