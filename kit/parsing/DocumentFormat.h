#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace VoziZazIreParsing {

enum class DocumentFormat { json, yaml };

namespace DocumentFormats {

// Guesses the syntax from the first 256 bytes: "{" or "[" after trimming white space means JSON,
// anything else YAML. A leading byte-order mark is skipped; a prefix that is not valid UTF-8 means
// JSON, except when the only fault is a character cut off by the 256-byte limit.
DocumentFormat detect(std::span<const std::uint8_t> bytes);
inline DocumentFormat detect(std::string_view text) {
  return detect(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// "json" -> json; "yaml" or "yml" -> yaml, in any case; otherwise nothing.
std::optional<DocumentFormat> fromExtension(std::string_view extension);

}  // namespace DocumentFormats
}  // namespace VoziZazIreParsing
