#include "kit/core/TextServices.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>

#include "kit/core/GraphemeCursor.h"
#include "kit/core/WordScan.h"

namespace VoziZazIreCore::TextServices {

namespace {

const icu::Normalizer2* nfc() {
  static const icu::Normalizer2* instance = [] {
    UErrorCode status = U_ZERO_ERROR;
    return icu::Normalizer2::getNFCInstance(status);
  }();
  return instance;
}

}  // namespace

bool isAscii(std::string_view text) noexcept {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t n = text.size(), i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, p + i, 8);
    if (word & WordScan::kHighs) return false;
  }
  for (; i < n; ++i)
    if (p[i] & 0x80) return false;
  return true;
}

bool isValidUtf8(std::string_view text, std::size_t* errorOffset) noexcept {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    // Skip ASCII eight bytes at a time.
    while (i + 8 <= n) {
      uint64_t word;
      std::memcpy(&word, s + i, 8);
      if (word & WordScan::kHighs) break;
      i += 8;
    }
    if (i >= n) break;
    unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t len;
    char32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      cp = c & 0x07;
    } else {
      if (errorOffset) *errorOffset = i;
      return false;
    }
    if (i + len > n) {
      if (errorOffset) *errorOffset = i;
      return false;
    }
    for (std::size_t k = 1; k < len; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) {
        if (errorOffset) *errorOffset = i;
        return false;
      }
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))) {
      if (errorOffset) *errorOffset = i;
      return false;
    }
    i += len;
  }
  return true;
}

char32_t decodeUtf8(std::string_view text, std::size_t& pos) noexcept {
  const auto* s = reinterpret_cast<const uint8_t*>(text.data());
  int32_t i = static_cast<int32_t>(pos);
  int32_t length = static_cast<int32_t>(text.size());
  if (text.size() > static_cast<std::size_t>(INT32_MAX)) {
    // Decode from a window so that the index fits ICU's 32-bit macros.
    std::string_view window = text.substr(pos, 4);
    std::size_t local = 0;
    char32_t cp = decodeUtf8(window, local);
    pos += local;
    return cp;
  }
  UChar32 c;
  U8_NEXT(s, i, length, c);
  pos = static_cast<std::size_t>(i);
  return c < 0 ? U'\uFFFD' : static_cast<char32_t>(c);
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool isNFC(std::string_view text) {
  if (isAscii(text)) return true;
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  return nfc()->isNormalized(u, status) && U_SUCCESS(status);
}

std::string toNFC(std::string_view text) {
  if (isAscii(text)) return std::string(text);
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  if (nfc()->quickCheck(u, status) == UNORM_YES && U_SUCCESS(status)) return std::string(text);
  status = U_ZERO_ERROR;
  icu::UnicodeString normalised = nfc()->normalize(u, status);
  if (U_FAILURE(status)) return std::string(text);
  std::string out;
  normalised.toUTF8String(out);
  return out;
}

bool canonicallyEqual(std::string_view a, std::string_view b) {
  if (a == b) return true;
  if (isAscii(a) && isAscii(b)) return false;
  return toNFC(a) == toNFC(b);
}

std::size_t canonicalHash(std::string_view text) {
  if (isAscii(text)) return std::hash<std::string_view>{}(text);
  std::string normalised = toNFC(text);
  return std::hash<std::string_view>{}(normalised);
}

int canonicalCompare(std::string_view a, std::string_view b) {
  // UTF-8 byte order is code-point order.
  if (isAscii(a) && isAscii(b)) return a.compare(b);
  return toNFC(a).compare(toNFC(b));
}

std::size_t countGraphemes(std::string_view text) {
  GraphemeCursor cursor(text);
  return cursor.advanceTo(text.size());
}

std::string_view prefixGraphemes(std::string_view text, std::size_t count) {
  GraphemeCursor cursor(text);
  std::size_t pos = 0;
  for (std::size_t i = 0; i < count && pos < text.size(); ++i) pos = cursor.boundaryAfter(pos);
  return text.substr(0, pos);
}

bool isWhiteSpace(char32_t cp) noexcept { return u_hasBinaryProperty(static_cast<UChar32>(cp), UCHAR_WHITE_SPACE); }

bool isSpaceSeparator(char32_t cp) noexcept { return u_charType(static_cast<UChar32>(cp)) == U_SPACE_SEPARATOR; }

std::optional<double> parseDouble(std::string_view text) noexcept {
  if (text.empty()) return std::nullopt;
  const char* first = text.data();
  const char* last = first + text.size();
  bool negative = false;
  if (*first == '+' || *first == '-') {
    negative = *first == '-';
    ++first;
  }
  if (first == last) return std::nullopt;
  // Only digits, a point and an exponent: no "inf", "nan" or hexadecimal forms.
  if (!((*first >= '0' && *first <= '9') || *first == '.')) return std::nullopt;
  double value = 0;
  auto result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ptr != last) return std::nullopt;
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value untouched on overflow or underflow; decide by the exponent's sign.
    std::string_view rest(first, static_cast<std::size_t>(last - first));
    auto e = rest.find_first_of("eE");
    bool tiny = false;
    if (e != std::string_view::npos && e + 1 < rest.size() && rest[e + 1] == '-') tiny = true;
    value = tiny ? 0.0 : HUGE_VAL;
  } else if (result.ec != std::errc()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::string shortestDouble(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string formatDouble(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  double magnitude = std::fabs(value);
  char buffer[64];
  if (magnitude != 0 && (magnitude >= 1e16 || magnitude < 1e-4)) {
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    std::string text(buffer, result.ptr);
    // to_chars already writes at least two exponent digits ("1e+16", "1e-05").
    return text;
  }
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  std::string text(buffer, result.ptr);
  if (text.find('.') == std::string::npos) text += ".0";
  return text;
}

std::optional<int64_t> exactInt64(double value) noexcept {
  if (!std::isfinite(value)) return std::nullopt;
  // -2^63 <= value < 2^63
  if (value < -9223372036854775808.0 || value >= 9223372036854775808.0) return std::nullopt;
  auto truncated = static_cast<int64_t>(value);
  if (static_cast<double>(truncated) != value) return std::nullopt;
  return truncated;
}

}  // namespace VoziZazIreCore::TextServices
