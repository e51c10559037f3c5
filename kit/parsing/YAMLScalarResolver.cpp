#include "kit/parsing/YAMLScalarResolver.h"

#include <charconv>
#include <cmath>

#include "kit/core/TextServices.h"

namespace VoziZazIreParsing {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
// "0x" hexadecimal with optional fraction and binary exponent, as strtod reads it (without the sign).
std::optional<double> hexadecimal(std::string_view body) {
  if (body.size() < 3 || body[0] != '0' || (body[1] != 'x' && body[1] != 'X')) return std::nullopt;
  std::string_view rest = body.substr(2);
  // from_chars(hex) takes no prefix and no sign; it must see at least one hex digit.
  if (rest.empty() || !(isHexDigit(rest[0]) || (rest[0] == '.' && rest.size() > 1 && isHexDigit(rest[1]))))
    return std::nullopt;
  double value = 0;
  auto result = std::from_chars(rest.data(), rest.data() + rest.size(), value, std::chars_format::hex);
  if (result.ptr != rest.data() + rest.size()) return std::nullopt;
  if (result.ec == std::errc::result_out_of_range) {
    auto p = rest.find_first_of("pP");
    bool tiny = p != std::string_view::npos && p + 1 < rest.size() && rest[p + 1] == '-';
    return tiny ? 0.0 : HUGE_VAL;
  }
  if (result.ec != std::errc()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> YAMLScalarResolver::number(std::string_view text) noexcept {
  if (text.empty()) return std::nullopt;
  bool negative = false;
  std::string_view body = text;
  if (body[0] == '+' || body[0] == '-') {
    negative = body[0] == '-';
    body.remove_prefix(1);
  }
  if (body.empty()) return std::nullopt;
  std::optional<double> value;
  char c = body[0];
  if (isDigit(c) || c == '.') {
    if (body.size() > 1 && c == '0' && (body[1] == 'x' || body[1] == 'X')) {
      value = hexadecimal(body);
    } else {
      // Decimal: digits, an optional point with digits, an optional exponent. At least one digit.
      std::size_t i = 0, digits = 0;
      while (i < body.size() && isDigit(body[i])) ++i, ++digits;
      if (i < body.size() && body[i] == '.') {
        ++i;
        while (i < body.size() && isDigit(body[i])) ++i, ++digits;
      }
      if (digits == 0) return std::nullopt;
      if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < body.size() && (body[e] == '+' || body[e] == '-')) ++e;
        std::size_t expDigits = 0;
        while (e < body.size() && isDigit(body[e])) ++e, ++expDigits;
        // strtod stops before an exponent without digits, so the text would not be consumed.
        if (expDigits == 0) return std::nullopt;
        i = e;
      }
      if (i != body.size()) return std::nullopt;
      value = VoziZazIreCore::TextServices::parseDouble(body);
    }
  }
  if (!value) return std::nullopt;
  return negative ? -*value : *value;
}

bool YAMLScalarResolver::boolean(std::string_view text, bool& value) noexcept {
  if (text == "true" || text == "True" || text == "TRUE") {
    value = true;
    return true;
  }
  if (text == "false" || text == "False" || text == "FALSE") {
    value = false;
    return true;
  }
  return false;
}

bool YAMLScalarResolver::null(std::string_view text) noexcept {
  return text.empty() || text == "null" || text == "~" || text == "Null" || text == "NULL";
}

YAMLScalarResolver::Resolved YAMLScalarResolver::resolve(std::string_view text) noexcept {
  Resolved r;
  if (text.empty()) {
    r.kind = Kind::null;
    return r;
  }
  switch (text[0]) {
    case 't': case 'T': case 'f': case 'F':
      if (boolean(text, r.boolean)) r.kind = Kind::bool_;
      return r;
    case 'n': case 'N': case '~':
      if (null(text)) r.kind = Kind::null;
      return r;
    case '+': case '-': case '.':
    case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
      break;
    default:
      return r;
  }
  if (auto n = number(text)) {
    r.kind = Kind::number;
    r.number = *n;
  }
  return r;
}

}  // namespace VoziZazIreParsing
