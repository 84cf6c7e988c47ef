// How a simulated terminal behaves on the wire: the faults and pacing that the library's edge cases
// need. An endpoint copies its options under its lock, so they may be changed while it serves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace termsim {

// Ready-made ways of spoiling replies (the rewrite hook below allows any other).
enum class Malformation {
  None,
  ClosingBracket,    // the closing ")" of every reply line becomes "]"
  OneByte,           // only the first byte of each reply is sent
  WrongWord,         // single-line replies say "err" where they would say "ok"
  FiveMacNumbers,    // the netinfo reply carries five MAC numbers
  BadChecksum,       // template frames are sent with their last checksum byte changed
  MissingEndLine,    // lists end without their end line
};

struct SimOptions {
  bool silent = false;                    // read every request, answer none
  // Writing replies in pieces, each piece splitPauseMs after the one before (over 150 ms to split a
  // reply on a serial line): in two halves; with the last tailPieceBytes bytes apart (a short last
  // piece of a list); in pieces of pieceBytes. They combine.
  bool splitReplies = false;
  std::size_t tailPieceBytes = 0;
  std::size_t pieceBytes = 0;
  int splitPauseMs = 60;
  std::optional<std::uint32_t> replySno;  // answer with this serial number instead of our own
  Malformation malformation = Malformation::None;
  // Close the connection (TCP) or fall silent for the rest of the reply (serial line) after this
  // many person or record lines of a list; negative: never.
  int dropAfterRecords = -1;
  int baud = 0;             // pace written bytes as a line at this rate (10 bits a byte); 0: no pacing
  int replyDelayMs = 0;     // wait this long before answering each request
  bool reconnect = false;   // TCP: connect again whenever the connection ends
  // Modem in front of the terminal: answers "ATD<number>\r" with "\r\n" + modemAnswer + "\r\n"
  // after modemDialMs, the two handshake frames with 6-byte acknowledgements, "+++" and "ATD\r" with
  // "\r\nOK\r\n". An empty answer makes the modem stay silent on dialling.
  bool modem = false;
  std::string modemAnswer = "CONNECT 9600";
  int modemDialMs = 300;
  bool refuseTemplates = false;  // answer template data with "err,err" whatever it holds
  // Last word on every reply: gets the request text (for template data "<template N bytes>") and
  // the reply about to be sent, returns what is sent instead (empty: nothing). Runs on the
  // endpoint's thread.
  std::function<std::string(std::string_view request, std::string reply)> rewriteReply;
};

}  // namespace termsim
