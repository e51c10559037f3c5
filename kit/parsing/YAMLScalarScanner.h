#pragma once
#include <string>
#include <string_view>

#include "kit/parsing/YAMLCursor.h"

namespace VoziZazIreParsing {

// Reads the text of YAML scalars at the cursor: plain scalars in block and in flow context, single- and
// double-quoted scalars, literal and folded block scalars, each with YAML's line folding, escapes and
// chomping. The text is a view of the source when it can be, otherwise of a buffer reused by the next
// read. Typing the text is the reader's business.
class YAMLScalarScanner : protected YAMLCursor {
 protected:
  struct ScalarText {
    std::string_view text;
    bool plain = true;  // plain scalars are typed; quoted and block scalars are strings
    Location start;
    Location end;
    // In a quoted scalar: the first of its further lines that holds content but is indented no deeper
    // than its parent requires, or npos. The reader refuses it once the line the scalar ends on is read.
    std::size_t shallowLine = npos;
  };

  explicit YAMLScalarScanner(std::string_view text) : YAMLCursor(text) {}

  // A plain scalar in block context; continuation lines are indented deeper than n.
  ScalarText readPlainBlock(int n);
  // A plain scalar in a flow collection: it ends at a flow indicator, a ": " or a comment. Its further
  // lines are indented deeper than n.
  ScalarText readPlainFlow(int n);
  // A single- or double-quoted scalar starting at pos_, possibly over several lines indented deeper
  // than n.
  ScalarText readQuoted(int n);
  // A literal ("|") or folded (">") block scalar whose header is at pos_; n is the parent's indentation.
  ScalarText readBlockScalar(int n);

  // True when `text` lies in the buffer that the next read reuses.
  bool inScratch(std::string_view text) const noexcept {
    return text.data() >= scratch_.data() && text.data() <= scratch_.data() + scratch_.capacity();
  }

 private:
  std::size_t findStop(std::size_t p, char a, char b, char c) const noexcept;
  std::size_t findColonOrHash(std::size_t q, std::size_t le) const noexcept;

  std::string scratch_;
};

}  // namespace VoziZazIreParsing
