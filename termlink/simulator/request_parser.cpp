#include "request_parser.h"

#include <cctype>
#include <cstdint>

namespace termsim {
namespace {

bool isWholeYgmod(const Request& r) {
  // id, a name that may itself hold commas, value1, value2 (unsigned), value3
  if (r.args.size() < 5) return false;
  const std::size_t n = r.args.size();
  return parseNumber(r.args[0]) && parseNumber(r.args[n - 3]) && parseNumber(r.args[n - 2]) &&
         parseNumber(r.args[n - 1]);
}

bool startsAsYgmod(std::string_view text) {
  std::size_t i = 1;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  return i > 1 && text.substr(i).starts_with(",ygmod,");
}

}  // namespace

std::optional<long long> parseNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  bool negative = false;
  std::size_t i = 0;
  if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > 4294967295LL) return std::nullopt;
  }
  if (negative) {
    value = -value;
    if (value < INT32_MIN) return std::nullopt;
  }
  return value;
}

std::optional<Request> parseRequest(std::string_view text) {
  if (text.size() < 4 || text.front() != '(' || text.back() != ')') return std::nullopt;
  std::string_view body = text.substr(1, text.size() - 2);
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t comma = body.find(',');
    fields.push_back(body.substr(0, comma));
    if (comma == std::string_view::npos) break;
    body.remove_prefix(comma + 1);
  }
  if (fields.size() < 2) return std::nullopt;
  Request r;
  const std::string_view sno = fields[0];
  if (sno.empty()) return std::nullopt;
  unsigned long long value = 0;
  for (char c : sno) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > UINT32_MAX) return std::nullopt;
  }
  r.sno = static_cast<std::uint32_t>(value);
  if (fields[1].empty()) return std::nullopt;
  for (char c : fields[1])
    if (!std::isalnum(static_cast<unsigned char>(c))) return std::nullopt;
  r.word = fields[1];
  for (std::size_t i = 2; i < fields.size(); ++i) r.args.emplace_back(fields[i]);
  return r;
}

std::size_t requestLength(std::string_view buffer) {
  std::size_t close = buffer.find(')');
  while (close != std::string_view::npos) {
    const std::string_view candidate = buffer.substr(0, close + 1);
    const auto request = parseRequest(candidate);
    if (request && request->word != "ygmod") return close + 1;
    if (request && isWholeYgmod(*request)) return close + 1;
    if (!request && !startsAsYgmod(candidate)) return std::string_view::npos;
    close = buffer.find(')', close + 1);
  }
  return 0;
}

}  // namespace termsim
