#include "kit/parsing/YAMLParser.h"

#include "kit/core/ParseError.h"
#include "kit/core/TextServices.h"
#include "kit/parsing/YAMLReader.h"

namespace VoziZazIreParsing {

VoziZazIreCore::NodePtr YAMLParser::parse(std::span<const std::uint8_t> bytes) const {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::size_t bad = 0;
  if (!VoziZazIreCore::TextServices::isValidUtf8(text, &bad)) {
    // Point at the first undecodable byte: its line, its column in characters, and the line start's byte
    // offset plus the characters before it, counted over the valid text.
    const std::string_view valid = text.substr(0, bad);
    int64_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < valid.size(); ++i) {
      const char c = valid[i];
      if (c == '\n' || (c == '\r' && (i + 1 >= valid.size() || valid[i + 1] != '\n'))) {
        ++line;
        lineStart = i + 1;
      }
    }
    const auto characters =
        static_cast<int64_t>(VoziZazIreCore::TextServices::countGraphemes(valid.substr(lineStart)));
    const VoziZazIreCore::SourceLocation at{line, characters + 1, static_cast<int64_t>(lineStart) + characters};
    throw VoziZazIreCore::ParseError("Failed to decode input as UTF-8", VoziZazIreCore::SourceRange{at, at});
  }
  return YAMLReader(text).read();
}

}  // namespace VoziZazIreParsing
