#include "kit/parsing/YAMLParser.h"

#include "kit/core/ParseError.h"
#include "kit/core/TextServices.h"
#include "kit/parsing/YAMLReader.h"

namespace VoziZazIreParsing {

VoziZazIreCore::NodePtr YAMLParser::parse(std::span<const std::uint8_t> bytes) const {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!VoziZazIreCore::TextServices::isValidUtf8(text))
    throw VoziZazIreCore::ParseError("Failed to decode input as UTF-8");
  return YAMLReader(text).read();
}

}  // namespace VoziZazIreParsing
