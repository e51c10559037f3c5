#pragma once
#include "kit/parsing/DocumentParser.h"

namespace VoziZazIreParsing {

class YAMLParser : public DocumentParser {
 public:
  using DocumentParser::parse;
  VoziZazIreCore::NodePtr parse(std::span<const std::uint8_t> bytes) const override;
};

}  // namespace VoziZazIreParsing
