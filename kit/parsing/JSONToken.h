#pragma once
#include <cstddef>
#include <string_view>

#include "kit/parsing/JSONTokenKind.h"

namespace VoziZazIreParsing {

// One token of JSON text. Its range is kept as byte offsets into the text; the parser turns them into
// source locations only where a node or an error needs them, so that positions are counted once, moving
// forward.
struct JSONToken {
  JSONTokenKind kind = JSONTokenKind::eof;
  std::size_t start = 0;
  std::size_t end = 0;
  // For `string`: the decoded value. It views the text itself when the string holds no escape, else the
  // tokenizer's scratch buffer, which the next string token overwrites.
  std::string_view text;
  bool escaped = false;
  // For `number`: the value.
  double number = 0;
};

}  // namespace VoziZazIreParsing
