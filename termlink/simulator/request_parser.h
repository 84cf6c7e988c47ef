// Reading what the library sends a terminal: request texts "(sno,word,arg,...)" that arrive with
// no line end, so a request ends at its closing parenthesis.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace termsim {

struct Request {
  std::uint32_t sno = 0;
  std::string word;
  std::vector<std::string> args;  // the comma-separated texts after the word, as they came
};

// Parses one whole request, "(" unsigned serial number "," word ["," args] ")". Nothing when the
// text has another shape (no parenthesis, a serial number that is not a 32-bit unsigned number,
// an empty word).
std::optional<Request> parseRequest(std::string_view text);

// The length of the request at the start of `buffer` (which starts with "("), or 0 while it is
// incomplete. Most requests end at their first ")"; a person's name in "ygmod" may hold any byte,
// so that request ends at the first ")" after which the text reads as a whole ygmod request.
// A candidate that cannot be a request gives npos: the "(" is noise.
std::size_t requestLength(std::string_view buffer);

// Reads a signed or unsigned decimal argument; nothing unless the whole text is a number that
// fits in 32 bits (signed values down to INT32_MIN, unsigned up to UINT32_MAX).
std::optional<long long> parseNumber(std::string_view text);

}  // namespace termsim
