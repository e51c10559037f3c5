#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "kit/core/ValidationLevel.h"
#include "kit/facade/Format.h"
#include "kit/facade/ParseResult.h"

namespace VoziZazIre {

// The one entry point from the text of a description to its tree, version, typed document and findings:
// UTF-8 bytes, the JSON or YAML parser, version detection, the version's transformer and, at level high,
// the version's validator. Holds no state; each call is self-contained.
//
// Failures are thrown unchanged: ParseError from decoding and parsing, TransformError from version
// detection, the refusal "OpenAPI version 2.0 is not yet supported" and the transform, and for a file
// the std::filesystem::filesystem_error of reading it.
class OpenApiParser {
 public:
  OpenApiParser() = default;

  // Text that is not valid UTF-8 is refused with "Failed to convert string to UTF-8 data".
  ParseResult parse(std::string_view text, Format format = Format::auto_,
                    VoziZazIreCore::ValidationLevel validationLevel = VoziZazIreCore::ValidationLevel::high) const;
  ParseResult parse(std::span<const std::uint8_t> bytes, Format format = Format::auto_,
                    VoziZazIreCore::ValidationLevel validationLevel = VoziZazIreCore::ValidationLevel::high) const;
  // With Format::auto_, a ".json" extension picks JSON and ".yaml" / ".yml" YAML (in any case); any
  // other extension leaves the choice to the content.
  ParseResult parseContentsOf(const std::filesystem::path& file, Format format = Format::auto_,
                              VoziZazIreCore::ValidationLevel validationLevel =
                                  VoziZazIreCore::ValidationLevel::high) const;
};

}  // namespace VoziZazIre
