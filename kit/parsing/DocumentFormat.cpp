#include "kit/parsing/DocumentFormat.h"

#include <algorithm>
#include <string>

#include "kit/core/TextServices.h"

namespace VoziZazIreParsing::DocumentFormats {

namespace {

constexpr std::size_t kDetectionPrefix = 256;

// White space and line breaks as detection trims them.
bool isBlank(char32_t c) {
  switch (c) {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
    case 0x85:
    case 0x2028:
    case 0x2029: return true;
    default: return VoziZazIreCore::TextServices::isSpaceSeparator(c);
  }
}

}  // namespace

DocumentFormat detect(std::span<const std::uint8_t> bytes) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::size_t cut = std::min(text.size(), kDetectionPrefix);
  // A cut inside a multi-byte character moves back to the character's start, so that the limit alone
  // never makes a prefix undecodable.
  if (cut < text.size()) {
    std::size_t back = cut;
    while (back > 0 && cut - back < 3 && (static_cast<unsigned char>(text[back]) & 0xC0) == 0x80) --back;
    if ((static_cast<unsigned char>(text[back]) & 0xC0) != 0x80) cut = back;
  }
  std::string_view prefix = text.substr(0, cut);
  if (!VoziZazIreCore::TextServices::isValidUtf8(prefix)) return DocumentFormat::json;
  if (prefix.starts_with("\xEF\xBB\xBF")) prefix.remove_prefix(3);
  std::size_t pos = 0;
  while (pos < prefix.size()) {
    const char32_t c = VoziZazIreCore::TextServices::decodeUtf8(prefix, pos);
    if (isBlank(c)) continue;
    return c == '{' || c == '[' ? DocumentFormat::json : DocumentFormat::yaml;
  }
  return DocumentFormat::yaml;
}

std::optional<DocumentFormat> fromExtension(std::string_view extension) {
  std::string lower(extension);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (lower == "json") return DocumentFormat::json;
  if (lower == "yaml" || lower == "yml") return DocumentFormat::yaml;
  return std::nullopt;
}

}  // namespace VoziZazIreParsing::DocumentFormats
