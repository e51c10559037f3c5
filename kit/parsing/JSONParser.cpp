#include "kit/parsing/JSONParser.h"

#include "kit/parsing/JSONPositionTracker.h"

#include <string>
#include <vector>

#include "kit/core/Limits.h"
#include "kit/core/ParseError.h"
#include "kit/core/TextServices.h"
#include "kit/core/TreeBuilder.h"
#include "kit/parsing/JSONTokenizer.h"

namespace VoziZazIreParsing {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::NodePtr;
using VoziZazIreCore::ParseError;
using VoziZazIreCore::SourceLocation;
using VoziZazIreCore::SourceRange;
using VoziZazIreCore::TreeBuilder;

namespace {

// One open object or array. Its children wait on the parser's shared member and element stacks from
// `base` on, so no container allocates a vector of its own.
struct Frame {
  bool object;
  SourceLocation start;
  std::size_t base;
};

// Reads one JSON text into a node tree. Nesting is kept on an explicit stack, bounded by
// kMaxNestingDepth, so deep input fails with a ParseError instead of exhausting the call stack.
class JSONReader {
 public:
  explicit JSONReader(std::string_view text) : tokenizer_(text) {
    builder_.limitPointerBytes(VoziZazIreCore::maxPointerBytes(text.size()));
  }

  NodePtr read() {
    const GenericNode* root = readDocument();
    return builder_.finish(root);
  }

 private:
  [[noreturn]] void unexpected(const JSONToken& token) {
    tokenizer_.fail("Unexpected token: " + std::string(tokenKindName(token.kind)), tokenizer_.range(token));
  }

  std::string_view keyOf(const JSONToken& token) {
    // An escaped key lives in the tokenizer's scratch buffer until the next string: keep a copy.
    return token.escaped ? builder_.arena().copyString(token.text) : token.text;
  }

  // Opens an object or array at `token`; returns the finished node when it is empty, else nullptr with
  // the first child's key or index pushed and `token` holding the first value's token.
  const GenericNode* open(JSONToken& token) {
    const bool object = token.kind == JSONTokenKind::leftBrace;
    if (frames_.size() >= VoziZazIreCore::kMaxNestingDepth)
      tokenizer_.fail("Nesting deeper than " + std::to_string(VoziZazIreCore::kMaxNestingDepth) + " levels",
                      tokenizer_.range(token));
    const SourceLocation start = tokenizer_.location(token.start);
    JSONToken first = tokenizer_.next();
    if (object) {
      if (first.kind == JSONTokenKind::rightBrace)
        return builder_.object({}, {start, tokenizer_.location(first.end)});
      frames_.push_back({true, start, members_.size()});
      readKey(first);
      token = tokenizer_.next();
    } else {
      if (first.kind == JSONTokenKind::rightBracket)
        return builder_.array({}, {start, tokenizer_.location(first.end)});
      frames_.push_back({false, start, elements_.size()});
      builder_.pushIndex(0);
      token = first;
    }
    return nullptr;
  }

  // `token` should be a member's key: checks it and the colon after it, and pushes the key.
  void readKey(const JSONToken& token) {
    if (token.kind != JSONTokenKind::string)
      tokenizer_.fail("Expected string key in object", tokenizer_.range(token));
    const std::string_view key = keyOf(token);
    const JSONToken colon = tokenizer_.next();
    if (colon.kind != JSONTokenKind::colon) tokenizer_.fail("Expected ':' after object key", tokenizer_.range(colon));
    members_.push_back({key, nullptr});
    builder_.pushKey(key);
  }

  const GenericNode* readDocument() {
    JSONToken token = tokenizer_.next();
    while (true) {
      // `token` starts a value.
      const GenericNode* value = nullptr;
      switch (token.kind) {
        case JSONTokenKind::string: value = builder_.string(token.text, tokenizer_.range(token)); break;
        case JSONTokenKind::number: value = builder_.number(token.number, tokenizer_.range(token)); break;
        case JSONTokenKind::true_: value = builder_.boolean(true, tokenizer_.range(token)); break;
        case JSONTokenKind::false_: value = builder_.boolean(false, tokenizer_.range(token)); break;
        case JSONTokenKind::null: value = builder_.null(tokenizer_.range(token)); break;
        case JSONTokenKind::leftBrace:
        case JSONTokenKind::leftBracket:
          value = open(token);
          if (!value) continue;
          break;
        default: unexpected(token);
      }
      // A value is complete: hand it to the enclosing containers, closing those that end here.
      while (true) {
        if (frames_.empty()) {
          // Only white space may follow the root value.
          const JSONToken rest = tokenizer_.next();
          if (rest.kind != JSONTokenKind::eof) unexpected(rest);
          return value;
        }
        builder_.pop();
        Frame& frame = frames_.back();
        const JSONToken separator = tokenizer_.next();
        if (frame.object) {
          members_.back().value = value;
          if (separator.kind == JSONTokenKind::comma) {
            readKey(tokenizer_.next());
            token = tokenizer_.next();
            break;
          }
          if (separator.kind != JSONTokenKind::rightBrace)
            tokenizer_.fail("Expected ',' or '}' in object", tokenizer_.range(separator));
          const SourceRange range{frame.start, tokenizer_.location(separator.end)};
          value = builder_.object({members_.data() + frame.base, members_.size() - frame.base}, range);
          members_.resize(frame.base);
        } else {
          elements_.push_back(value);
          if (separator.kind == JSONTokenKind::comma) {
            builder_.pushIndex(elements_.size() - frame.base);
            token = tokenizer_.next();
            break;
          }
          if (separator.kind != JSONTokenKind::rightBracket)
            tokenizer_.fail("Expected ',' or ']' in array", tokenizer_.range(separator));
          const SourceRange range{frame.start, tokenizer_.location(separator.end)};
          value = builder_.array({elements_.data() + frame.base, elements_.size() - frame.base}, range);
          elements_.resize(frame.base);
        }
        frames_.pop_back();
      }
    }
  }

  JSONTokenizer tokenizer_;
  TreeBuilder builder_;
  std::vector<Frame> frames_;
  std::vector<GenericNode::Member> members_;
  std::vector<const GenericNode*> elements_;
};

}  // namespace

NodePtr JSONParser::parse(std::span<const std::uint8_t> bytes) const {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  // A byte-order mark is not part of the text.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::size_t bad = 0;
  if (!VoziZazIreCore::TextServices::isValidUtf8(text, &bad)) {
    // Point at the first undecodable byte, counted over the valid text before it.
    const std::string_view valid = text.substr(0, bad);
    const VoziZazIreCore::SourceLocation at = JSONPositionTracker(valid).at(valid.size());
    throw ParseError("Failed to decode input as UTF-8", VoziZazIreCore::SourceRange{at, at});
  }
  return JSONReader(text).read();
}

}  // namespace VoziZazIreParsing
