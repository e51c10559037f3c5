#pragma once
#include <string_view>

namespace VoziZazIreParsing {

// The kinds of token the JSON scanner produces. The payloads of `string` and `number` travel in
// JSONToken.
enum class JSONTokenKind {
  string,
  number,
  leftBrace,
  rightBrace,
  leftBracket,
  rightBracket,
  colon,
  comma,
  true_,
  false_,
  null,
  eof,
};

// The printed form used in "Unexpected token: <kind>": the case name ("rightBrace", "true", "eof").
constexpr std::string_view tokenKindName(JSONTokenKind kind) noexcept {
  switch (kind) {
    case JSONTokenKind::string: return "string";
    case JSONTokenKind::number: return "number";
    case JSONTokenKind::leftBrace: return "leftBrace";
    case JSONTokenKind::rightBrace: return "rightBrace";
    case JSONTokenKind::leftBracket: return "leftBracket";
    case JSONTokenKind::rightBracket: return "rightBracket";
    case JSONTokenKind::colon: return "colon";
    case JSONTokenKind::comma: return "comma";
    case JSONTokenKind::true_: return "true";
    case JSONTokenKind::false_: return "false";
    case JSONTokenKind::null: return "null";
    case JSONTokenKind::eof: return "eof";
  }
  return "eof";
}

}  // namespace VoziZazIreParsing
