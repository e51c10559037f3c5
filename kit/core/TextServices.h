#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace VoziZazIreCore {

// Unicode text services used throughout the library: strict UTF-8 decoding, canonical equivalence,
// character classes and locale-independent number text. ASCII input takes fast paths everywhere.
namespace TextServices {

// True when every byte is below 0x80.
bool isAscii(std::string_view text) noexcept;

// Strict UTF-8 validation (no overlongs, no surrogates, nothing above U+10FFFF). On failure,
// `errorOffset` (when given) receives the byte offset of the first bad sequence.
bool isValidUtf8(std::string_view text, std::size_t* errorOffset = nullptr) noexcept;

// Decodes one code point at `pos` of valid UTF-8 and advances `pos`. Invalid bytes decode as U+FFFD
// and advance by one.
char32_t decodeUtf8(std::string_view text, std::size_t& pos) noexcept;

// Appends the UTF-8 form of `cp` (U+FFFD for surrogates or values above U+10FFFF).
void appendUtf8(std::string& out, char32_t cp);

// The text in Normalisation Form C; returns the input unchanged when it already is (ASCII fast path).
std::string toNFC(std::string_view text);
bool isNFC(std::string_view text);

// Equality and hashing by canonical equivalence.
bool canonicallyEqual(std::string_view a, std::string_view b);
std::size_t canonicalHash(std::string_view text);
// Code-point order of the canonically normalised texts: negative, zero or positive.
int canonicalCompare(std::string_view a, std::string_view b);

// Number of extended grapheme clusters (UAX #29; CR LF is one cluster).
std::size_t countGraphemes(std::string_view text);
// The first `count` grapheme clusters of `text`.
std::string_view prefixGraphemes(std::string_view text, std::size_t count);

// Unicode White_Space property and the Zs (space separator) category.
bool isWhiteSpace(char32_t cp) noexcept;
bool isSpaceSeparator(char32_t cp) noexcept;

// Decimal text to double as the POSIX locale reads it (optional sign, digits, fraction, exponent;
// "inf"/"nan" are not accepted). The whole text must be consumed. Out-of-range magnitudes give
// +/-infinity or +/-0, as strtod does.
std::optional<double> parseDouble(std::string_view text) noexcept;

// The shortest text that reads back as the same double, as the library prints numbers: whole numbers
// end in ".0" ("3.0", "-5.0"), magnitudes from 1e16 and below 1e-4 use exponent notation ("1e+16",
// "1e-05"), NaN prints "nan" and infinities "inf"/"-inf".
std::string formatDouble(double value);
// Shortest round-trip text without the ".0" ending for whole numbers ("3", "2.5", "1e+300").
std::string shortestDouble(double value);

// Range-checked double to integer: nothing for NaN, infinities, values outside [-2^63, 2^63) and
// values with a fractional part.
std::optional<int64_t> exactInt64(double value) noexcept;

}  // namespace TextServices
}  // namespace VoziZazIreCore
