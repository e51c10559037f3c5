#include "kit/parsing/YAMLParser.h"

#include "kit/core/ParseError.h"

namespace VoziZazIreParsing {

VoziZazIreCore::NodePtr YAMLParser::parse(std::span<const std::uint8_t>) const {
  throw VoziZazIreCore::ParseError("YAML input is not readable yet");
}

}  // namespace VoziZazIreParsing
