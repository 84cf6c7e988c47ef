// The two list texts a terminal sends (persons and clocking records) and how to read them.
//
// A list is a header line "(" Sno "," word "," count ")", one line per record
// "(" Sno "," tag "," values ")", and an end line "(" Sno "," word "end)", each ending in CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace termlink {

struct ListFormat {
  const char* request;        // "(%u,ygdata)"
  const char* endMarker;      // "ygdataend)\r\n": the text is complete when it ends with this
  const char* header;         // "(%d,ygdata,%d)": replied serial number and record count
  const char* linePrefix;     // "(%u,yg,", formatted with the requested serial number
  const char* endLine;        // "(%u,ygdataend)\r\n", formatted likewise
  std::size_t recordSize;     // bytes of one record handed out
  // Reads the values of one record line after its prefix, up to and including its ")", into
  // `record`; returns the bytes read, 0 when the text does not match.
  std::size_t (*parseRecord)(std::string_view text, std::int32_t sno, void* record);
};

// Persons: PersonInfo records.
const ListFormat& personList();
// Clocking records: ClockingRecord records, Sno set to the requested serial number.
const ListFormat& clockingList();

// Reads a whole list text (a finished blocking download) for serial number `sno`.
// Returns false, leaving *count and *records untouched, when the header does not read; else
// stores the announced count in *count, and on success hands out a new array of that many
// records in *records (null when the count is 0; released with CKT_FreeMemory). A record line
// that does not read, one of another serial number, or anything but the exact end line after the
// records fails the list: *records is set to null and false returned (the count stays).
bool parseWholeList(std::string_view text, std::int32_t sno, const ListFormat& format,
                    std::int32_t* count, void** records);

}  // namespace termlink
