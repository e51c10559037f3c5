#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "kit/core/GenericNode.h"

namespace VoziZazIreParsing {

// The interface of the text parsers. A parser keeps no state between calls; each call builds its own
// working state. The only product is a node tree; the only failure a thrown ParseError.
class DocumentParser {
 public:
  virtual ~DocumentParser() = default;

  // Parses a byte buffer holding UTF-8 text.
  virtual VoziZazIreCore::NodePtr parse(std::span<const std::uint8_t> bytes) const = 0;

  // Parses text. Text that is not valid UTF-8 cannot be encoded losslessly and is refused with
  // "Failed to convert string to UTF-8 data"; anything else is handed to the byte-buffer parse.
  VoziZazIreCore::NodePtr parse(std::string_view text) const;

  static std::span<const std::uint8_t> bytesOf(std::string_view text) noexcept {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
  }
};

}  // namespace VoziZazIreParsing
