#include "kit/parsing/DocumentParser.h"

#include "kit/core/ParseError.h"
#include "kit/core/TextServices.h"

namespace VoziZazIreParsing {

VoziZazIreCore::NodePtr DocumentParser::parse(std::string_view text) const {
  if (!VoziZazIreCore::TextServices::isValidUtf8(text))
    throw VoziZazIreCore::ParseError("Failed to convert string to UTF-8 data");
  return parse(bytesOf(text));
}

}  // namespace VoziZazIreParsing
