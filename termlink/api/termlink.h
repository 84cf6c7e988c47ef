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

/* ---- Terminal settings --------------------------------------------------------------------- */
/* One request and one reply line each; 1 success, 0 no route, a failed exchange, silence, or a
 * reply other than the expected one. Out records are left as they were when the exchange failed
 * and cleared (then filled as far as the reply reads) when it came back. Null pointers give 0
 * without any traffic. */

/* Network settings; the replied serial number is stored as it comes. */
CKT_API int32_t CKT_GetDeviceNetInfo(int32_t Sno, NetInfo* info);
/* The clock; Sno is stored even when the reply does not read. */
CKT_API int32_t CKT_GetDeviceClock(int32_t Sno, DeviceClock* clock);
/* Identity and firmware version; a reply from any serial number is accepted, and the values read
 * before a mismatch are stored. */
CKT_API int32_t CKT_GetDeviceInfo(int32_t Sno, DeviceInfo* info);
/* The terminal's three counters in reply order; the reply must carry the requested Sno. */
CKT_API int32_t CKT_GetCounts(int32_t Sno, int32_t* count1, int32_t* count2, int32_t* count3);

/* Addresses are 4 bytes (6 for the MAC), element 0 first. */
CKT_API int32_t CKT_SetDeviceIPAddr(int32_t Sno, const uint8_t* address);
CKT_API int32_t CKT_SetDeviceMask(int32_t Sno, const uint8_t* mask);
CKT_API int32_t CKT_SetDeviceGateway(int32_t Sno, const uint8_t* address);
CKT_API int32_t CKT_SetDeviceServerIPAddr(int32_t Sno, const uint8_t* address);
CKT_API int32_t CKT_SetDeviceMAC(int32_t Sno, const uint8_t* mac);
/* The low 16 bits of year and the low 8 bits of month, day, hour, minute and second are sent. */
CKT_API int32_t CKT_SetDeviceDate(int32_t Sno, int32_t year, int32_t month, int32_t day);
CKT_API int32_t CKT_SetDeviceTime(int32_t Sno, int32_t hour, int32_t minute, int32_t second);
/* Options whose values are the terminal's; passed through unchanged. */
CKT_API int32_t CKT_SetDefaultAuth(int32_t Sno, int32_t value);
CKT_API int32_t CKT_SetDoor(int32_t Sno, int32_t value);
CKT_API int32_t CKT_SetSpeakerVolume(int32_t Sno, int32_t value);
CKT_API int32_t CKT_SetDeviceAdminPassword(int32_t Sno, int32_t value);
CKT_API int32_t CKT_SetWG(int32_t Sno, int32_t value);
CKT_API int32_t CKT_SetNoSearch(int32_t Sno, int32_t value);
/* Factory reset of the terminal. */
CKT_API int32_t CKT_ResetDevice(int32_t Sno);

/* ---- Persons ------------------------------------------------------------------------------- */

/* Downloads the person list. 1: *count persons in a new array *persons (null when the count is
 * 0; release it with CKT_FreeMemory). 0: failure; the outputs are untouched when nothing usable
 * came, else *count holds the announced count and *persons is null. */
CKT_API int32_t CKT_ListPersonInfo(int32_t Sno, int32_t* count, PersonInfo** persons);
/* Starts the person list download in the background. 1 started (*handle set), 0 not (*handle
 * null). Follow it with CKT_ListPersonProgress. */
CKT_API int32_t CKT_ListPersonInfoEx(int32_t Sno, CKT_DownloadHandle* handle);
/* The persons received since the previous call: *total the announced count, *count persons in a
 * new array *persons (null when none; release each with CKT_FreeMemory). 2 in progress, call
 * again; 1 complete; 0 failed, or a handle that is unknown or already finished. After 1 or 0 the
 * handle is gone. */
CKT_API int32_t CKT_ListPersonProgress(CKT_DownloadHandle handle, int32_t* total, int32_t* count,
                                       PersonInfo** persons);
/* Adds or changes one person (PersonID, Name, Value1 to Value3 are sent). 1 added, 2 changed,
 * -1 the terminal is full, 0 failure (also a name holding a comma, a parenthesis, CR or LF, which
 * the request cannot carry). */
CKT_API int32_t CKT_ModifyPersonInfo(int32_t Sno, const PersonInfo* person);
/* 1 deleted, -1 no such person, 0 failure. */
CKT_API int32_t CKT_DeletePersonInfo(int32_t Sno, int32_t personId);
/* Deletes every person (waits up to 8.5 s on a serial line when the serial timeout allows). */
CKT_API int32_t CKT_EraseAllPerson(int32_t Sno);

/* ---- Fingerprint templates ----------------------------------------------------------------- */
/* A framed template is what the terminal keeps: two frames (types 02 and 08) with escaped data
 * and checksums. Raw template bytes are the data of both frames (256 or 338 bytes in practice). */

/* 1: *block (length *length) is a new block holding the framed template; release it with
 * CKT_FreeMemory. -1: the terminal has none (*block null). 0: failure or an invalid template. */
CKT_API int32_t CKT_GetFPTemplate(int32_t Sno, int32_t person, int32_t finger, uint8_t** block,
                                  int32_t* length);
/* Sends a framed template. 1 stored, -1 refused with err,none, -2 refused with err,err,
 * 0 failure. No other command comes between the announcement and the template. */
CKT_API int32_t CKT_PutFPTemplate(int32_t Sno, int32_t person, int32_t finger,
                                  const uint8_t* block, int32_t length);
/* Writes the framed template to a file (created or replaced whole). 1 written, -3 no file name,
 * -2 file not written, else the result of CKT_GetFPTemplate. */
CKT_API int32_t CKT_GetFPTemplateSaveFile(int32_t Sno, int32_t person, int32_t finger,
                                          const char* file);
/* Sends the first 600 bytes of a file as a framed template. -3 no file name, -4 file not opened,
 * else the result of CKT_PutFPTemplate. */
CKT_API int32_t CKT_PutFPTemplateLoadFile(int32_t Sno, int32_t person, int32_t finger,
                                          const char* file);
/* Reads the raw template bytes into buffer (room for 510 bytes). Returns their count, or the
 * result of CKT_GetFPTemplate (-1, 0). */
CKT_API int32_t CKT_GetFPRawData(int32_t Sno, int32_t person, int32_t finger, uint8_t* buffer);
/* Writes the raw template bytes to a file. 1 written, -3 no file name, -2 file not written,
 * else the result of CKT_GetFPTemplate. */
CKT_API int32_t CKT_GetFPRawDataSaveFile(int32_t Sno, int32_t person, int32_t finger,
                                         const char* file);
/* Frames raw template bytes and sends them: the result of CKT_PutFPTemplate. Lengths whose
 * halves do not fit a frame's count byte (above 510, or halves of 192 or 219) give 0. */
CKT_API int32_t CKT_PutFPRawData(int32_t Sno, int32_t person, int32_t finger, const uint8_t* raw,
                                 int32_t length);
/* Sends a raw template file of 256 or 338 bytes (at most 338 are read). -3 no file name, -4 file
 * not opened, -5 another size (nothing is sent), else the result of CKT_PutFPTemplate. */
CKT_API int32_t CKT_PutFPRawDataLoadFile(int32_t Sno, int32_t person, int32_t finger,
                                         const char* file);

/* ---- Clocking records ---------------------------------------------------------------------- */

/* Downloads the stored records; outputs as CKT_ListPersonInfo. Sno of each record is the
 * requested one. */
CKT_API int32_t CKT_GetClockingRecord(int32_t Sno, int32_t* count, ClockingRecord** records);
/* The background form; follow it with CKT_GetClockingRecordProgress. */
CKT_API int32_t CKT_GetClockingRecordEx(int32_t Sno, CKT_DownloadHandle* handle);
/* As CKT_ListPersonProgress, for clocking records. */
CKT_API int32_t CKT_GetClockingRecordProgress(CKT_DownloadHandle handle, int32_t* total,
                                              int32_t* count, ClockingRecord** records);
/* Clears the stored records. */
CKT_API int32_t CKT_ClearClockingRecord(int32_t Sno);
/* Asks the terminal to hand back `number` earlier records. */
CKT_API int32_t CKT_RecallClockingRecord(int32_t Sno, int32_t number);
/* Switches the terminal's realtime mode (it then sends each punch at once). */
CKT_API int32_t CKT_SetRealtimeMode(int32_t Sno, int32_t value);
/* Hands out the realtime records collected since the previous call, in arrival order, from the
 * serial ports (CKT_ComDaemon) and the TCP connections (CKT_NetDaemon). Returns their count;
 * *records is a new array to release with CKT_FreeMemory, or null when the count is 0. */
CKT_API int32_t CKT_ReadRealtimeClocking(ClockingRecord** records);

#ifdef __cplusplus
}
#endif

#endif /* TERMLINK_TERMLINK_H */
