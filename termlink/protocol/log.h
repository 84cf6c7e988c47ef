// The diagnostic log: LOG/YYYY_MM_DD.log below the current directory, written by the exchanges.
//
// Entries are plain bytes without time stamps. A data block is written as it is, or, when it
// holds a C0 byte (a framed fingerprint template), as "%02x " per byte; it ends with "}}}\r\n".
// Safe to call from any thread; while logging is off or the file could not be opened nothing is
// written.
#pragma once

#include <string_view>

namespace termlink::log {

// Nonzero: closes any open file, opens today's file for appending (created if missing, held
// exclusively, the folder is not created) and writes ">>>--L-o-G--<<<\r\n". 0: writes
// ">>>---------<<<\r\n" and closes the file.
void enable(int flag);

// Writes `text` as it is (for example "[COM]\trecv() timeout!\r\n").
void entry(std::string_view text);

// Writes the header line (for example "[NET]\tsend():{{{\r\n") and the data block.
void block(std::string_view header, std::string_view data);

// True while a log file is open.
bool active();


}  // namespace termlink::log
