#include "kit/parsing/JSONTokenizer.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "kit/core/ParseError.h"
#include "kit/core/TextServices.h"
#include "kit/core/WordScan.h"

namespace VoziZazIreParsing {

using VoziZazIreCore::ParseError;
using VoziZazIreCore::SourceRange;
namespace TextServices = VoziZazIreCore::TextServices;

namespace {

// Bytes that end a run of plain string content: the quote and the backslash.
constexpr std::array<bool, 256> kStringStop = [] {
  std::array<bool, 256> table{};
  table['"'] = true;
  table['\\'] = true;
  return table;
}();

using VoziZazIreCore::WordScan::hasByte;

inline bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// The value of a hexadecimal digit, fullwidth forms included; -1 for anything else.
int hexValue(char32_t c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  if (c >= 0xFF10 && c <= 0xFF19) return static_cast<int>(c - 0xFF10);
  if (c >= 0xFF41 && c <= 0xFF46) return static_cast<int>(c - 0xFF41 + 10);
  if (c >= 0xFF21 && c <= 0xFF26) return static_cast<int>(c - 0xFF21 + 10);
  return -1;
}

}  // namespace

JSONTokenizer::JSONTokenizer(std::string_view text)
    : text_(text), bytes_(reinterpret_cast<const unsigned char*>(text.data())), size_(text.size()), tracker_(text) {}

void JSONTokenizer::fail(std::string message, std::optional<SourceRange> range) {
  throw ParseError(std::move(message), range);
}

std::string_view JSONTokenizer::characterText(std::size_t byte) { return tracker_.characterAt(byte); }

JSONToken JSONTokenizer::next() {
  while (pos_ < size_) {
    const unsigned char c = bytes_[pos_];
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      ++pos_;
      // Indentation: eight spaces at a time.
      while (pos_ + 8 <= size_) {
        std::uint64_t word;
        std::memcpy(&word, bytes_ + pos_, 8);
        if (word != 0x2020202020202020ULL) break;
        pos_ += 8;
      }
    } else {
      break;
    }
  }
  JSONToken token;
  token.start = pos_;
  if (pos_ == size_) {
    token.kind = JSONTokenKind::eof;
    token.end = pos_;
    return token;
  }
  auto punctuation = [&](JSONTokenKind kind) {
    token.kind = kind;
    token.end = ++pos_;
    return token;
  };
  switch (bytes_[pos_]) {
    case '{': return punctuation(JSONTokenKind::leftBrace);
    case '}': return punctuation(JSONTokenKind::rightBrace);
    case '[': return punctuation(JSONTokenKind::leftBracket);
    case ']': return punctuation(JSONTokenKind::rightBracket);
    case ':': return punctuation(JSONTokenKind::colon);
    case ',': return punctuation(JSONTokenKind::comma);
    case '"': return scanString(pos_);
    case '-':
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9': return scanNumber(pos_);
    case 't': return scanKeyword(pos_, "true", JSONTokenKind::true_);
    case 'f': return scanKeyword(pos_, "false", JSONTokenKind::false_);
    case 'n': return scanKeyword(pos_, "null", JSONTokenKind::null);
    default: break;
  }
  const std::size_t at = pos_;
  std::string message = "Unexpected character: '";
  message.append(characterText(at));
  message.push_back('\'');
  fail(std::move(message), range(at, at));
}

JSONToken JSONTokenizer::scanString(std::size_t start) {
  std::size_t p = start + 1;
  std::size_t segment = p;
  bool escaped = false;
  while (true) {
    while (p + 8 <= size_) {
      std::uint64_t word;
      std::memcpy(&word, bytes_ + p, 8);
      if (hasByte(word, '"') || hasByte(word, '\\')) break;
      p += 8;
    }
    while (p < size_ && !kStringStop[bytes_[p]]) ++p;
    if (p == size_) {
      pos_ = p;
      fail("Unterminated string", range(start, p));
    }
    if (bytes_[p] == '"') {
      JSONToken token;
      token.kind = JSONTokenKind::string;
      token.start = start;
      if (escaped) {
        scratch_.append(text_.data() + segment, p - segment);
        token.text = scratch_;
        token.escaped = true;
      } else {
        token.text = text_.substr(segment, p - segment);
      }
      pos_ = p + 1;
      token.end = pos_;
      return token;
    }
    // A backslash.
    if (!escaped) {
      scratch_.clear();
      escaped = true;
    }
    scratch_.append(text_.data() + segment, p - segment);
    ++p;
    if (p == size_) fail("Unterminated string escape");
    const unsigned char e = bytes_[p];
    switch (e) {
      case '"':
      case '\\':
      case '/': scratch_.push_back(static_cast<char>(e)); break;
      case 'b': scratch_.push_back('\b'); break;
      case 'f': scratch_.push_back('\f'); break;
      case 'n': scratch_.push_back('\n'); break;
      case 'r': scratch_.push_back('\r'); break;
      case 't': scratch_.push_back('\t'); break;
      case 'u': {
        pos_ = p + 1;
        char32_t code = readHexQuad();
        if (code >= 0xDC00 && code <= 0xDFFF) fail("Invalid unicode escape");
        if (code >= 0xD800 && code <= 0xDBFF) {
          // A high surrogate stands only as the first half of an escaped pair.
          if (!(pos_ + 1 < size_ && bytes_[pos_] == '\\' && bytes_[pos_ + 1] == 'u')) fail("Invalid unicode escape");
          pos_ += 2;
          char32_t low = readHexQuad();
          if (low < 0xDC00 || low > 0xDFFF) fail("Invalid unicode escape");
          code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        TextServices::appendUtf8(scratch_, code);
        p = pos_;
        segment = p;
        continue;
      }
      default: {
        std::string message = "Invalid escape sequence: \\";
        message.append(characterText(p));
        fail(std::move(message));
      }
    }
    ++p;
    segment = p;
  }
}

char32_t JSONTokenizer::readHexQuad() {
  char32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    if (pos_ >= size_) fail("Incomplete unicode escape");
    char32_t c = bytes_[pos_];
    std::size_t after = pos_ + 1;
    if (c >= 0x80) {
      after = pos_;
      c = TextServices::decodeUtf8(text_, after);
    }
    const int digit = hexValue(c);
    if (digit < 0) fail("Invalid hex digit in unicode escape");
    value = value * 16 + static_cast<char32_t>(digit);
    pos_ = after;
  }
  return value;
}

JSONToken JSONTokenizer::scanNumber(std::size_t start) {
  std::size_t p = start;
  const bool negative = bytes_[p] == '-';
  if (negative) ++p;
  auto stop = [&](const char* message) {
    pos_ = p;
    fail(message, range(start, p));
  };
  if (p == size_ || !isDigit(bytes_[p])) stop("Invalid number");
  const std::size_t digitsStart = p;
  if (bytes_[p] == '0') {
    ++p;
  } else {
    while (p < size_ && isDigit(bytes_[p])) ++p;
  }
  bool integral = true;
  if (p < size_ && bytes_[p] == '.') {
    integral = false;
    ++p;
    if (p == size_ || !isDigit(bytes_[p])) stop("Invalid number fraction");
    while (p < size_ && isDigit(bytes_[p])) ++p;
  }
  if (p < size_ && (bytes_[p] == 'e' || bytes_[p] == 'E')) {
    integral = false;
    ++p;
    if (p < size_ && (bytes_[p] == '+' || bytes_[p] == '-')) ++p;
    if (p == size_ || !isDigit(bytes_[p])) stop("Invalid number exponent");
    while (p < size_ && isDigit(bytes_[p])) ++p;
  }
  JSONToken token;
  token.kind = JSONTokenKind::number;
  token.start = start;
  token.end = p;
  pos_ = p;
  if (integral && p - digitsStart <= 15) {
    // Exact in a double: at most 15 decimal digits.
    std::int64_t value = 0;
    for (std::size_t i = digitsStart; i < p; ++i) value = value * 10 + (bytes_[i] - '0');
    const double magnitude = static_cast<double>(value);
    token.number = negative ? -magnitude : magnitude;
    return token;
  }
  const std::string_view text = text_.substr(start, p - start);
  const std::optional<double> value = TextServices::parseDouble(text);
  if (!value) fail("Invalid number: " + std::string(text), range(start, p));
  token.number = *value;
  return token;
}

JSONToken JSONTokenizer::scanKeyword(std::size_t start, std::string_view word, JSONTokenKind kind) {
  std::size_t p = start;
  for (char expected : word) {
    if (p == size_ || bytes_[p] != static_cast<unsigned char>(expected)) {
      pos_ = p;
      fail("Invalid keyword, expected '" + std::string(word) + "'", range(start, p));
    }
    ++p;
  }
  JSONToken token;
  token.kind = kind;
  token.start = start;
  token.end = p;
  pos_ = p;
  return token;
}

}  // namespace VoziZazIreParsing
