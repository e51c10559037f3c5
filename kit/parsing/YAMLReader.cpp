#include "kit/parsing/YAMLReader.h"

#include <algorithm>
#include <cstring>

#include "kit/core/Limits.h"
#include "kit/core/ParseError.h"
#include "kit/core/TextServices.h"
#include "kit/parsing/YAMLScalarResolver.h"

namespace VoziZazIreParsing {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;
using VoziZazIreCore::ParseError;
using VoziZazIreCore::SourceRange;

namespace {

// The name of a tag of the YAML core tag set ("!!str" or its verbatim form), or empty.
std::string_view coreTagName(std::string_view tag) {
  if (tag.size() > 2 && tag[0] == '!' && tag[1] == '!') return tag.substr(2);
  constexpr std::string_view verbatim = "!<tag:yaml.org,2002:";
  if (tag.size() > verbatim.size() && tag.substr(0, verbatim.size()) == verbatim && tag.back() == '>')
    return tag.substr(verbatim.size(), tag.size() - verbatim.size() - 1);
  return {};
}

bool isWordChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
}

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The characters of a URI in a tag (an escaped octet "%hh" is checked apart). In a tag shorthand "!" and
// the flow indicators are left out as well.
bool isUriChar(char c, bool shorthand) {
  if (isWordChar(c)) return true;
  switch (c) {
    case '#': case ';': case '/': case '?': case ':': case '@': case '&': case '=': case '+': case '$':
    case '_': case '.': case '~': case '*': case '\'': case '(': case ')':
      return true;
    case '!': case ',': case '[': case ']':
      return !shorthand;
    default:
      return false;
  }
}

// True when `text` is a run of URI characters (at least one) with well-formed "%hh" escapes.
bool isUri(std::string_view text, bool shorthand) {
  if (text.empty()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%') {
      if (i + 2 >= text.size() || !isHex(text[i + 1]) || !isHex(text[i + 2])) return false;
      i += 2;
    } else if (!isUriChar(text[i], shorthand)) {
      return false;
    }
  }
  return true;
}

// "!", "!!" or "!" word characters "!".
bool isTagHandle(std::string_view handle) {
  if (handle == "!" || handle == "!!") return true;
  if (handle.size() < 3 || handle.front() != '!' || handle.back() != '!') return false;
  return std::all_of(handle.begin() + 1, handle.end() - 1, isWordChar);
}

bool isMergeSource(const GenericNode* node) {
  if (node->kind() == GenericNodeKind::object) return true;
  if (node->kind() != GenericNodeKind::array) return false;
  const auto elements = *node->arrayValue();
  for (const GenericNode* element : elements)
    if (element->kind() != GenericNodeKind::object) return false;
  return true;
}

}  // namespace

YAMLReader::YAMLReader(std::string_view text) : YAMLScalarScanner(text) {
  builder_.limitPointerBytes(VoziZazIreCore::maxPointerBytes(text.size()));
}

// A malformed flow collection: the message names the collection, the range runs from its opening
// bracket to the place where reading it failed.
void YAMLReader::failFlow(bool mapping, const Location& start, std::size_t p) {
  if (p > n_) p = n_;
  if (p > pos_) moveTo(p);
  const Location end = loc(p >= lineStart_ ? p : pos_);
  throw ParseError(mapping ? "Invalid flow mapping" : "Invalid flow sequence", SourceRange{start, end});
}

void YAMLReader::enter() {
  if (depth_ >= VoziZazIreCore::kMaxNestingDepth)
    fail("Nesting deeper than " + std::to_string(VoziZazIreCore::kMaxNestingDepth) + " levels", pos_);
  ++depth_;
}

void YAMLReader::expectLineEnd() {
  skipBlanks();
  if (!atCommentOrLineEnd()) fail("Unexpected text after a value", pos_);
}

// ---------------------------------------------------------------------------------------------------
// Document

VoziZazIreCore::NodePtr YAMLReader::read() {
  if (n_ >= 3 && std::memcmp(s_, "\xEF\xBB\xBF", 3) == 0) {
    pos_ = 3;
    lineStart_ = 3;
  }
  // The first document becomes the tree; the later ones of a stream are read for their syntax and
  // dropped.
  VoziZazIreCore::NodePtr tree;
  bool atStartMarker = false;  // the next document begins at the "---" at pos_
  for (;;) {
    directives_ = Directives{};
    bool started = atStartMarker;
    bool contentReady = false;
    if (!started) {
      // Prologue: comments, directives, document end markers, then a "---" or the document's content.
      for (;;) {
        if (!skipToContent()) {
          if (!documentEnded_) break;  // the end of the text
          if (s_[pos_] == '-') {
            started = true;
            break;
          }
          if (directives_.last != npos) break;
          endDocumentMarker();
          continue;
        }
        if (s_[pos_] == '%' && pos_ == lineStart_) {
          readDirective();
          continue;
        }
        contentReady = true;
        break;
      }
      if (directives_.last != npos && !started)
        fail("A directive must be followed by a document that starts with '---'", directives_.last);
      if (!started && !contentReady) break;  // the end of the stream
    }
    if (started) {
      documentEnded_ = false;
      pos_ += 3;
      skipBlanks();
      contentReady = !atCommentOrLineEnd() || skipToContent();
    }
    Node root;
    if (!contentReady) {
      Location at = loc(pos_ > n_ ? n_ : pos_);
      root = builder_.null(SourceRange{at, at});
    } else {
      // A root collection may start after indentation, but not on the "---" line.
      bool lineStart = true;
      for (std::size_t q = lineStart_; q < pos_; ++q)
        if (s_[q] != ' ') lineStart = false;
      root = parseBlockNode(-1, lineStart, false);
      if (skipToContent()) fail("Unexpected text after the document's root value", pos_);
    }
    if (!tree) tree = builder_.finish(root);
    atStartMarker = false;
    if (!documentEnded_) break;  // the end of the text
    // Another document may follow, with anchors of its own, into a tree that is dropped.
    builder_ = VoziZazIreCore::TreeBuilder();
    builder_.limitPointerBytes(VoziZazIreCore::maxPointerBytes(n_));
    anchors_.clear();
    if (s_[pos_] == '-') {
      atStartMarker = true;
    } else {
      endDocumentMarker();
    }
  }
  if (!tree) {
    Location at = loc(pos_ > n_ ? n_ : pos_);
    tree = builder_.finish(builder_.null(SourceRange{at, at}));
  }
  return tree;
}

// A "..." at pos_ (a line start): only a comment may follow it on its line.
void YAMLReader::endDocumentMarker() {
  documentEnded_ = false;
  pos_ += 3;
  skipBlanks();
  if (!atCommentOrLineEnd()) fail("Unexpected text after the document end marker '...'", pos_);
  moveTo(nextLineStart(pos_));
}

// A directive line at pos_: "%YAML <major>.<minor>", "%TAG <handle> <prefix>", or a reserved one whose
// words are not read. Each may end in a comment.
void YAMLReader::readDirective() {
  const std::size_t at = pos_;
  directives_.last = at;
  const std::size_t le = contentEnd(at);
  std::size_t p = at + 1;
  while (p < le && !isBlank(s_[p])) ++p;
  const std::string_view name = text_.substr(at + 1, p - at - 1);
  if (name.empty()) fail("Directive without a name", at);
  // The words after the name, up to a comment.
  std::size_t words[3];
  std::size_t lengths[3];
  std::size_t count = 0;
  for (;;) {
    while (p < le && isBlank(s_[p])) ++p;
    if (p >= le || s_[p] == '#') break;
    const std::size_t w = p;
    while (p < le && !isBlank(s_[p])) ++p;
    if (count < 3) {
      words[count] = w;
      lengths[count] = p - w;
    }
    ++count;
  }
  auto word = [&](std::size_t i) { return text_.substr(words[i], lengths[i]); };
  if (name == "YAML") {
    if (directives_.yaml) fail("Repeated %YAML directive", at);
    directives_.yaml = true;
    if (count == 0) fail("The %YAML directive needs a version", p);
    const std::string_view version = word(0);
    const std::size_t dot = version.find('.');
    auto digits = [](std::string_view t) {
      return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (dot == std::string_view::npos || !digits(version.substr(0, dot)) || !digits(version.substr(dot + 1)))
      fail("Invalid version '" + std::string(version) + "' in the %YAML directive", words[0]);
    if (count > 1) fail("Unexpected text after the %YAML directive's version", words[1]);
  } else if (name == "TAG") {
    if (count < 2) fail("The %TAG directive needs a handle and a prefix", count ? words[0] : p);
    if (count > 2) fail("Unexpected text after the %TAG directive's prefix", words[2]);
    const std::string_view handle = word(0);
    if (!isTagHandle(handle)) fail("Invalid tag handle '" + std::string(handle) + "'", words[0]);
    const std::string_view prefix = word(1);
    // A local prefix is "!" and URI characters; a global one begins with a character a tag may hold.
    const bool valid = prefix.front() == '!'
                           ? prefix.size() == 1 || isUri(prefix.substr(1), false)
                           : isUri(prefix, false) && (prefix.front() == '%' || isUriChar(prefix.front(), true));
    if (!valid)
      fail("Invalid tag prefix '" + std::string(prefix) + "'", words[1]);
    for (std::string_view declared : directives_.tagHandles)
      if (declared == handle) fail("Repeated %TAG directive for the handle '" + std::string(handle) + "'", at);
    directives_.tagHandles.push_back(handle);
  }
  moveTo(nextLineStart(at));
}

// A tag read at `at`: verbatim ("!<uri>"), the non-specific "!", or a handle and a suffix, the handle
// "!", "!!" or one declared by a %TAG directive of this document.
void YAMLReader::checkTag(std::string_view tag, std::size_t at) {
  if (tag.size() >= 2 && tag[1] == '<') {
    const std::string_view uri = tag.substr(2, tag.size() - 3);
    if (uri == "!" || !isUri(uri, false)) fail("Invalid tag '" + std::string(tag) + "'", at);
    return;
  }
  if (tag == "!") return;
  std::size_t suffix = 1;
  const std::size_t second = tag.find('!', 1);
  if (second != std::string_view::npos) {
    const std::string_view handle = tag.substr(0, second + 1);
    if (!isTagHandle(handle)) fail("Invalid tag '" + std::string(tag) + "'", at);
    if (handle != "!!" &&
        std::find(directives_.tagHandles.begin(), directives_.tagHandles.end(), handle) == directives_.tagHandles.end())
      fail("Tag handle '" + std::string(handle) + "' is not declared by a %TAG directive of this document", at);
    suffix = second + 1;
  }
  if (!isUri(tag.substr(suffix), true)) fail("Invalid tag '" + std::string(tag) + "'", at);
}

// ---------------------------------------------------------------------------------------------------
// Block structure

// A node whose first character is at pos_. `n` is the indentation of the parent block: lines that
// continue this node are indented deeper. `keyAllowed`: the node starts a line (or a compact position)
// where a block collection may begin. `sequenceAtIndent`: a block sequence at indentation n is allowed
// (the value of a mapping entry).
YAMLReader::Node YAMLReader::parseBlockNode(int n, bool keyAllowed, bool sequenceAtIndent) {
  const int column = indent();
  const char c = s_[pos_];
  // Properties written alone on the line above belong to the node here: a tag applies to a scalar, and
  // the node may add only what they lack. A collection starts afresh: its first key's properties are
  // the key's.
  Properties inherited;
  if (hasPendingProps_) {
    inherited = pendingProps_;
    hasPendingProps_ = false;
  }
  if (keyAllowed) {
    if (c == '-' && blankOrEndAt(pos_ + 1)) return parseBlockSequence(column);
    if ((c == '?' && blankOrEndAt(pos_ + 1)) || findImplicitKeyColon(pos_) != npos) return parseBlockMapping(column);
  }
  Properties props;
  if (c == '&' || c == '!') {
    const std::size_t at = pos_;
    props = readProperties(false);
    if (!inherited.anchor.empty() && !props.anchor.empty()) fail("A node cannot have two anchors", at);
    if (!inherited.tag.empty() && !props.tag.empty()) fail("A node cannot have two tags", at);
    if (atCommentOrLineEnd()) {
      // Properties alone: the node they describe starts on a deeper line.
      Location here = loc();
      if (skipToContent()) {
        int k = indent();
        if (k > n) {
          pendingProps_ = props;
          if (pendingProps_.anchor.empty()) pendingProps_.anchor = inherited.anchor;
          if (pendingProps_.tag.empty()) pendingProps_.tag = inherited.tag;
          hasPendingProps_ = true;
          return remember(parseBlockNode(n, true, false), props);
        }
        if (k == n && sequenceAtIndent && s_[pos_] == '-' && blankOrEndAt(pos_ + 1))
          return remember(parseBlockSequence(n), props);
      }
      return remember(makeEmpty(here, props.tag.empty() ? inherited.tag : props.tag), props);
    }
  }
  if (s_[pos_] == '*' && (props.any() || inherited.any())) fail("An alias cannot have an anchor or a tag", pos_);
  if (props.tag.empty()) props.tag = inherited.tag;
  return parseInlineValue(n, props);
}

YAMLReader::Node YAMLReader::parseInlineValue(int n, const Properties& props) {
  Node node;
  switch (s_[pos_]) {
    case '[':
    case '{':
      // A flow collection must end its line (but for a comment).
      flowIndent_ = n;
      node = s_[pos_] == '[' ? parseFlowSequence() : parseFlowMapping();
      skipBlanks();
      if (!atCommentOrLineEnd()) failFlow(node->kind() == GenericNodeKind::object, node->range().start, pos_);
      break;
    case '"':
    case '\'': {
      ScalarText scalar = readQuoted(n);
      expectLineEnd();
      refuseShallowLine(scalar);
      node = makeScalar(scalar, props.tag);
      break;
    }
    case '|':
    case '>':
      node = makeScalar(readBlockScalar(n), props.tag);
      break;
    case '*':
      node = resolveAlias(true);
      expectLineEnd();
      break;
    default: {
      // What cannot begin a plain scalar here: a collection begun on its key's line (or on "---"), a
      // second anchor or tag, a flow indicator outside a collection, a reserved character.
      switch (const char c = s_[pos_]) {
        case '-':
        case '?':
        case ':':
          if (blankOrEndAt(pos_ + 1))
            fail(c == '-' ? "Block sequence entries are not allowed here"
                 : c == '?' ? "Mapping keys are not allowed here" : "Mapping values are not allowed here",
                 pos_);
          break;
        case ',': case ']': case '}': case '%': case '@': case '`':
          fail(std::string("A plain scalar cannot begin with '") + c + "'", pos_);
        default:
          break;
      }
      node = makeScalar(readPlainBlock(n), props.tag);
      break;
    }
  }
  return remember(node, props);
}

void YAMLReader::refuseShallowLine(const ScalarText& scalar) {
  if (scalar.shallowLine != npos)
    fail("Line inside a quoted scalar must be indented deeper than its parent", scalar.shallowLine);
}

void YAMLReader::refuseTabIndent(std::size_t from) {
  std::size_t tab = from;
  while (tab < pos_ && s_[tab] != '\t') ++tab;
  if (tab == pos_ || atCommentOrLineEnd()) return;
  const char c = s_[pos_];
  if (((c == '-' || c == '?') && blankOrEndAt(pos_ + 1)) || findImplicitKeyColon(pos_) != npos)
    fail("Tabs are not allowed in indentation", tab);
}

YAMLReader::Node YAMLReader::parseBlockSequence(int m) {
  enter();
  const Location start = loc();
  const std::size_t base = elements_.size();
  std::size_t index = 0;
  for (;;) {
    const std::size_t dash = pos_;
    ++pos_;
    skipBlanks();
    refuseTabIndent(dash + 1);
    builder_.pushIndex(index);
    Node item;
    if (atCommentOrLineEnd()) {
      Location here = loc(dash + 1);
      if (skipToContent() && indent() > m) {
        item = parseBlockNode(m, true, false);
      } else {
        item = makeEmpty(here, {});
      }
    } else {
      item = parseBlockNode(m, true, false);
    }
    builder_.pop();
    elements_.push_back(item);
    ++index;
    if (!skipToContent()) break;
    const int k = indent();
    if (k == m && s_[pos_] == '-' && blankOrEndAt(pos_ + 1)) continue;
    if (k > m) fail("Bad indentation of a sequence entry", pos_);
    break;
  }
  Node node = builder_.array(std::span<const GenericNode* const>(elements_.data() + base, elements_.size() - base),
                             SourceRange{start, lastEnd_});
  elements_.resize(base);
  leave();
  return node;
}

YAMLReader::Node YAMLReader::parseBlockMapping(int m) {
  enter();
  const Location start = loc();
  const std::size_t base = members_.size();
  const std::size_t mergeBase = merges_.size();
  for (;;) {
    std::string_view key;
    bool plain = false;
    bool explicitValue = true;
    const bool explicitKey = s_[pos_] == '?' && blankOrEndAt(pos_ + 1);
    if (explicitKey) {
      key = readExplicitKey(m);
      explicitValue = false;
      if (skipToContent() && indent() == m && s_[pos_] == ':' && blankOrEndAt(pos_ + 1)) {
        ++pos_;
        explicitValue = true;
      }
    } else {
      const std::size_t colon = findImplicitKeyColon(pos_);
      if (colon == npos) {
        if (s_[pos_] == '-' && blankOrEndAt(pos_ + 1)) fail("Sequence entry where a mapping key was expected", pos_);
        fail("Could not find expected ':' after a mapping key", pos_);
      }
      key = readImplicitKey(colon, plain);
      moveTo(colon + 1);
    }

    if (plain && key == "<<") {
      // Merge key: the entries of the mapping (or mappings) given join this mapping, except for keys
      // this mapping has itself.
      skipBlanks();
      Node value = nullptr;
      if (pos_ < n_ && s_[pos_] == '*') {
        Node target = resolveAlias(false);
        expectLineEnd();
        if (isMergeSource(target)) {
          merges_.push_back(target);
        } else {
          builder_.pushKey(key);
          value = builder_.copySubtree(target, aliasBudget_);
          builder_.pop();
          if (!value) fail("Aliases expand to more than " + std::to_string(kAliasNodeBudget) + " nodes", pos_);
        }
      } else {
        builder_.pushKey(key);
        value = parseMappingValue(m, false);
        builder_.pop();
        if (isMergeSource(value)) {
          merges_.push_back(value);
          value = nullptr;
        }
      }
      if (value) members_.push_back({key, value});
    } else {
      builder_.pushKey(key);
      Node value;
      if (explicitValue && explicitKey) {
        // After an explicit key's ":" the value may be a compact collection, as after "- ".
        const std::size_t colon = pos_;
        skipBlanks();
        refuseTabIndent(colon);
        value = atCommentOrLineEnd() ? parseMappingValue(m, false) : parseBlockNode(m, true, true);
      } else if (explicitValue) {
        value = parseMappingValue(m, false);
      } else {
        value = makeEmpty(lastEnd_, {});
      }
      builder_.pop();
      members_.push_back({key, value});
    }

    if (!skipToContent()) break;
    const int k = indent();
    if (k < m) break;
    if (k > m) fail("Bad indentation of a mapping entry", pos_);
  }
  Node node = finishMapping(base, mergeBase, start);
  leave();
  return node;
}

// The value after a mapping colon (pos_ just after the colon).
YAMLReader::Node YAMLReader::parseMappingValue(int m, bool) {
  skipBlanks();
  if (atCommentOrLineEnd()) {
    Location here = loc();
    if (skipToContent()) {
      const int k = indent();
      if (k > m) return parseBlockNode(m, true, false);
      // The common style of a sequence at its key's own indentation.
      if (k == m && s_[pos_] == '-' && blankOrEndAt(pos_ + 1)) return parseBlockSequence(m);
    }
    return makeEmpty(here, {});
  }
  return parseBlockNode(m, false, true);
}

YAMLReader::Node YAMLReader::finishMapping(std::size_t base, std::size_t mergeBase, const Location& start) {
  const SourceRange range{start, lastEnd_};
  if (merges_.size() == mergeBase) {
    Node node = builder_.object(std::span<const GenericNode::Member>(members_.data() + base, members_.size() - base), range);
    members_.resize(base);
    return node;
  }
  // Equal keys keep the value given last: merged entries go first, the earliest source last, and the
  // mapping's own entries after all of them.
  std::vector<GenericNode::Member> all;
  auto add = [&](Node source) {
    const auto members = *source->objectValue();
    for (const auto& member : members) {
      builder_.pushKey(member.key);
      Node copy = builder_.copySubtree(member.value, aliasBudget_);
      builder_.pop();
      if (!copy) fail("Aliases expand to more than " + std::to_string(kAliasNodeBudget) + " nodes", start);
      all.push_back({member.key, copy});
    }
  };
  for (std::size_t i = merges_.size(); i-- > mergeBase;) {
    Node source = merges_[i];
    if (source->kind() == GenericNodeKind::object) {
      add(source);
    } else {
      const auto elements = *source->arrayValue();
      for (std::size_t j = elements.size(); j-- > 0;) add(elements[j]);
    }
  }
  all.insert(all.end(), members_.begin() + static_cast<std::ptrdiff_t>(base), members_.end());
  merges_.resize(mergeBase);
  members_.resize(base);
  return builder_.object(all, range);
}

// The colon that ends an implicit key starting at p on the current line, or npos when the line does
// not start a mapping entry there. The colon is the first ":" followed by a blank or the line end,
// outside a quoted key and before a comment.
std::size_t YAMLReader::findImplicitKeyColon(std::size_t p) const noexcept {
  const std::size_t le = contentEnd(p);
  while (p < le && (s_[p] == '&' || s_[p] == '!')) {
    if (s_[p] == '!' && p + 1 < le && s_[p + 1] == '<') {
      // A verbatim tag runs to its '>', blanks and colons included, as readProperties reads it.
      const void* close = std::memchr(s_ + p, '>', le - p);
      if (!close) return npos;
      p = static_cast<std::size_t>(static_cast<const char*>(close) - s_) + 1;
    } else {
      while (p < le && !isBlank(s_[p])) ++p;
    }
    while (p < le && isBlank(s_[p])) ++p;
  }
  if (p >= le) return npos;
  const char c = s_[p];
  std::size_t q;
  bool quoted = false;
  if (c == '"') {
    q = p + 1;
    while (q < le && s_[q] != '"') q += (s_[q] == '\\') ? 2 : 1;
    if (q >= le) return npos;
    ++q;
    quoted = true;
  } else if (c == '\'') {
    q = p + 1;
    for (;;) {
      while (q < le && s_[q] != '\'') ++q;
      if (q >= le) return npos;
      if (q + 1 < le && s_[q + 1] == '\'') {
        q += 2;
        continue;
      }
      break;
    }
    ++q;
    quoted = true;
  } else if (c == '*') {
    q = p + 1;
    while (q < le && !isBlank(s_[q])) ++q;
  } else if (c == '[' || c == '{' || c == '#' || ((c == '-' || c == '?') && blankOrEndAt(p + 1))) {
    return npos;
  } else {
    for (q = p; q < le; ++q) {
      const char d = s_[q];
      if (d == ':' && (q + 1 >= le || isBlank(s_[q + 1]))) return q;
      if (d == '#' && q > p && isBlank(s_[q - 1])) return npos;
    }
    return npos;
  }
  while (q < le && isBlank(s_[q])) ++q;
  if (q < le && s_[q] == ':' && (quoted || q + 1 >= le || isBlank(s_[q + 1]))) return q;
  return npos;
}

std::string_view YAMLReader::readImplicitKey(std::size_t colon, bool& plain) {
  Properties props;
  if (s_[pos_] == '&' || s_[pos_] == '!') props = readProperties(false);
  const Location start = loc();
  std::string_view key;
  plain = false;
  const char c = s_[pos_];
  if (c == '"' || c == '\'') {
    key = persist(readQuoted(-1).text);
  } else if (c == '*') {
    if (props.any()) fail("An alias cannot have an anchor or a tag", pos_);
    key = keyText(resolveAlias(false));
  } else {
    std::size_t e = colon;
    while (e > pos_ && isBlank(s_[e - 1])) --e;
    key = text_.substr(pos_, e - pos_);
    plain = props.tag.empty();
    pos_ = e;
  }
  if (!props.anchor.empty()) anchors_[props.anchor] = builder_.string(key, SourceRange{start, loc()});
  return key;
}

std::string_view YAMLReader::readExplicitKey(int m) {
  const std::size_t mark = pos_;
  ++pos_;
  skipBlanks();
  refuseTabIndent(mark + 1);
  if (atCommentOrLineEnd()) {
    // The key stands on the lines below, indented deeper, or is empty.
    const Location here = loc();
    if (!skipToContent() || indent() <= m) {
      // An empty key is the empty text, as it is before a ":".
      lastEnd_ = here;
      return {};
    }
  }
  if (startsPlainKey(pos_)) {
    // A plain key keeps its text as written, as it does before a ":" (1.0 stays "1.0", ~ stays "~").
    const ScalarText scalar = readPlainBlock(m);
    lastEnd_ = scalar.end;
    return persist(scalar.text);
  }
  return keyText(parseBlockNode(m, true, false));
}

// True when the text at p is a plain scalar standing alone, not a collection, a quoted or block scalar,
// an alias or a node with properties.
bool YAMLReader::startsPlainKey(std::size_t p) const noexcept {
  switch (s_[p]) {
    case '"': case '\'': case '[': case '{': case '|': case '>': case '*': case '&': case '!': case '#':
    case ']': case '}': case ',': case '%': case '@': case '`':
      return false;
    case '-': case '?': case ':':
      if (blankOrEndAt(p + 1)) return false;
      break;
    default:
      break;
  }
  return findImplicitKeyColon(p) == npos;
}

// The text of a node used as a mapping key.
std::string_view YAMLReader::keyText(Node node) {
  switch (node->kind()) {
    case GenericNodeKind::string: return *node->stringValue();
    case GenericNodeKind::number:
      return builder_.arena().copyString(VoziZazIreCore::TextServices::shortestDouble(*node->numberValue()));
    case GenericNodeKind::bool_: return *node->boolValue() ? "true" : "false";
    case GenericNodeKind::null: return "null";
    default: {
      Location at = node->range().start;
      throw ParseError("Complex mapping keys are not supported", SourceRange{at, at});
    }
  }
}

// ---------------------------------------------------------------------------------------------------
// Scalars

YAMLReader::Properties YAMLReader::readProperties(bool flow) {
  Properties props;
  for (int i = 0; i < 2 && pos_ < n_; ++i) {
    const std::size_t at = pos_;
    if (s_[pos_] == '&' && props.anchor.empty()) {
      ++pos_;
      props.anchor = readAnchorName();
      if (props.anchor.empty()) fail("Anchor without a name", at);
    } else if (s_[pos_] == '!' && props.tag.empty()) {
      if (pos_ + 1 < n_ && s_[pos_ + 1] == '<') {
        const std::size_t le = contentEnd(pos_);
        const void* close = std::memchr(s_ + pos_, '>', le - pos_);
        if (!close) fail("Unterminated verbatim tag", at);
        pos_ = static_cast<std::size_t>(static_cast<const char*>(close) - s_) + 1;
      } else {
        while (!blankOrEndAt(pos_) && !(flow && isFlowIndicator(s_[pos_]))) ++pos_;
      }
      props.tag = text_.substr(at, pos_ - at);
      checkTag(props.tag, at);
    } else {
      break;
    }
    if (!blankOrEndAt(pos_) && !(flow && isFlowIndicator(s_[pos_])))
      fail(s_[at] == '&' ? "Expected a blank after the anchor" : "Expected a blank after the tag", pos_);
    if (flow) {
      skipFlowSpace();
    } else {
      skipBlanks();
    }
  }
  if (pos_ < n_ && s_[pos_] == '&' && !props.anchor.empty()) fail("A node cannot have two anchors", pos_);
  if (pos_ < n_ && s_[pos_] == '!' && !props.tag.empty()) fail("A node cannot have two tags", pos_);
  return props;
}

std::string_view YAMLReader::readAnchorName() {
  const std::size_t start = pos_;
  while (!blankOrEndAt(pos_) && !isFlowIndicator(s_[pos_])) ++pos_;
  return text_.substr(start, pos_ - start);
}


YAMLReader::Node YAMLReader::makeScalar(const ScalarText& scalar, std::string_view tag) {
  const SourceRange range{scalar.start, scalar.end};
  lastEnd_ = scalar.end;
  if (!tag.empty()) {
    const std::string_view name = coreTagName(tag);
    if (name.empty() || name == "str" || name == "binary" || name == "timestamp")
      return builder_.string(scalar.text, range);
    if (name == "int" || name == "float") {
      if (auto value = YAMLScalarResolver::number(scalar.text)) return builder_.number(*value, range);
      return builder_.string(scalar.text, range);
    }
    if (name == "bool") {
      bool value;
      if (YAMLScalarResolver::boolean(scalar.text, value)) return builder_.boolean(value, range);
      return builder_.string(scalar.text, range);
    }
    if (name == "null") return builder_.null(range);
  }
  if (!scalar.plain) return builder_.string(scalar.text, range);
  const auto resolved = YAMLScalarResolver::resolve(scalar.text);
  switch (resolved.kind) {
    case YAMLScalarResolver::Kind::null: return builder_.null(range);
    case YAMLScalarResolver::Kind::bool_: return builder_.boolean(resolved.boolean, range);
    case YAMLScalarResolver::Kind::number: return builder_.number(resolved.number, range);
    case YAMLScalarResolver::Kind::string: break;
  }
  return builder_.string(scalar.text, range);
}

YAMLReader::Node YAMLReader::makeEmpty(const Location& at, std::string_view tag) {
  lastEnd_ = at;
  if (!tag.empty()) {
    const std::string_view name = coreTagName(tag);
    if (name.empty() || name == "str") return builder_.string({}, SourceRange{at, at});
  }
  return builder_.null(SourceRange{at, at});
}

// An alias at pos_: the anchored node itself (copy == false, for merge keys and keys) or a copy of it
// carrying the current pointer.
YAMLReader::Node YAMLReader::resolveAlias(bool copy) {
  const std::size_t at = pos_;
  ++pos_;
  const std::string_view name = readAnchorName();
  if (name.empty()) fail("Alias without a name", at);
  auto it = anchors_.find(name);
  if (it == anchors_.end()) fail("Unknown alias '*" + std::string(name) + "'", at);
  lastEnd_ = loc();
  if (!copy) return it->second;
  Node node = builder_.copySubtree(it->second, aliasBudget_);
  if (!node) fail("Aliases expand to more than " + std::to_string(kAliasNodeBudget) + " nodes", at);
  return node;
}

YAMLReader::Node YAMLReader::remember(Node node, const Properties& props) {
  if (!props.anchor.empty()) anchors_[props.anchor] = node;
  return node;
}

// A view that outlives the scanner's buffer: texts held there are copied into the tree's arena.
std::string_view YAMLReader::persist(std::string_view text) {
  return inScratch(text) ? builder_.arena().copyString(text) : text;
}

// ---------------------------------------------------------------------------------------------------
// Flow collections

void YAMLReader::skipFlowSpace() {
  bool newLine = false;
  for (;;) {
    while (pos_ < n_ && (isBlank(s_[pos_]) || s_[pos_] == '\r')) ++pos_;
    if (pos_ >= n_) return;
    const char c = s_[pos_];
    if (c == '\n') {
      moveTo(pos_ + 1);
      newLine = true;
      continue;
    }
    if (c == '#' && (pos_ == lineStart_ || isBlank(s_[pos_ - 1]))) {
      pos_ = contentEnd(pos_);
      continue;
    }
    if (newLine) checkInnerLine(lineStart_, pos_, flowIndent_, "a flow collection");
    return;
  }
}

YAMLReader::Node YAMLReader::parseFlowNode(bool inMapping, const Location& outer) {
  Properties props;
  if (s_[pos_] == '&' || s_[pos_] == '!') {
    props = readProperties(true);
    if (pos_ >= n_) failFlow(inMapping, outer, pos_);
  }
  Node node;
  const char c = s_[pos_];
  switch (c) {
    case '[': node = parseFlowSequence(); break;
    case '{': node = parseFlowMapping(); break;
    case '"':
    case '\'': {
      const ScalarText scalar = readQuoted(flowIndent_);
      refuseShallowLine(scalar);
      node = makeScalar(scalar, props.tag);
      break;
    }
    case '*':
      if (props.any()) fail("An alias cannot have an anchor or a tag", pos_);
      node = resolveAlias(true);
      break;
    case ',':
    case ']':
    case '}':
      if (!props.any()) failFlow(inMapping, outer, pos_);
      node = makeEmpty(loc(), props.tag);
      break;
    default: node = makeScalar(readPlainFlow(flowIndent_), props.tag); break;
  }
  return remember(node, props);
}

YAMLReader::Node YAMLReader::parseFlowSequence() {
  enter();
  const Location start = loc();
  ++pos_;
  const std::size_t base = elements_.size();
  std::size_t index = 0;
  for (;;) {
    skipFlowSpace();
    if (pos_ >= n_) failFlow(false, start, pos_);
    if (s_[pos_] == ']') {
      ++pos_;
      break;
    }
    builder_.pushIndex(index);
    Node item;
    const char c = s_[pos_];
    if (explicitFlowKeyAt(pos_)) {
      // "? key : value" (or "? key" alone) is a mapping of one pair, as "key: value" is.
      bool quoted;
      Location keyStart;
      const std::string_view key = readExplicitFlowKey(false, quoted, keyStart, start);
      skipFlowSpace();
      if (pos_ >= n_) failFlow(false, start, pos_);
      builder_.pushKey(key);
      Node value;
      if (s_[pos_] == ':') {
        ++pos_;
        skipFlowSpace();
        if (pos_ >= n_) failFlow(false, start, pos_);
        value = (s_[pos_] == ',' || s_[pos_] == ']') ? makeEmpty(loc(), {}) : parseFlowNode(false, start);
      } else {
        value = makeEmpty(loc(), {});
      }
      builder_.pop();
      const GenericNode::Member member{key, value};
      item = builder_.object(std::span<const GenericNode::Member>(&member, 1), SourceRange{keyStart, lastEnd_});
      builder_.pop();
      elements_.push_back(item);
      ++index;
      skipFlowSpace();
      if (pos_ >= n_) failFlow(false, start, pos_);
      if (s_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (s_[pos_] == ']') {
        ++pos_;
        break;
      }
      failFlow(false, start, pos_);
    }
    const bool scalarStart = !(c == '[' || c == '{' || c == '*' || c == '&' || c == '!' || isFlowIndicator(c));
    if (scalarStart) {
      // A scalar, or the key of a single-pair mapping ("[name: value]").
      ScalarText scalar = (c == '"' || c == '\'') ? readQuoted(flowIndent_) : readPlainFlow(flowIndent_);
      refuseShallowLine(scalar);
      std::size_t q = pos_;
      while (q < n_ && isBlank(s_[q])) ++q;
      if (q < n_ && s_[q] == ':' && (!scalar.plain || blankOrEndAt(q + 1) || isFlowIndicator(s_[q + 1]))) {
        const std::string_view key = persist(scalar.text);
        pos_ = q + 1;
        skipFlowSpace();
        if (pos_ >= n_) failFlow(false, start, pos_);
        builder_.pushKey(key);
        Node value = (s_[pos_] == ',' || s_[pos_] == ']') ? makeEmpty(loc(), {}) : parseFlowNode(false, start);
        builder_.pop();
        const GenericNode::Member member{key, value};
        item = builder_.object(std::span<const GenericNode::Member>(&member, 1), SourceRange{scalar.start, lastEnd_});
      } else {
        item = makeScalar(scalar, {});
      }
    } else {
      item = parseFlowNode(false, start);
    }
    builder_.pop();
    elements_.push_back(item);
    ++index;
    skipFlowSpace();
    if (pos_ >= n_) failFlow(false, start, pos_);
    if (s_[pos_] == ',') {
      ++pos_;
      continue;
    }
    if (s_[pos_] == ']') {
      ++pos_;
      break;
    }
    failFlow(false, start, pos_);
  }
  lastEnd_ = loc();
  Node node = builder_.array(std::span<const GenericNode* const>(elements_.data() + base, elements_.size() - base),
                             SourceRange{start, lastEnd_});
  elements_.resize(base);
  leave();
  return node;
}

std::string_view YAMLReader::readFlowKey(bool& quoted, Location& start, const Location& mapping, bool inMapping) {
  Properties props;
  if (s_[pos_] == '&' || s_[pos_] == '!') props = readProperties(true);
  if (pos_ >= n_) failFlow(inMapping, mapping, pos_);
  start = loc();
  quoted = false;
  std::string_view key;
  const char c = s_[pos_];
  if (c == '"' || c == '\'') {
    quoted = true;
    const ScalarText scalar = readQuoted(flowIndent_);
    refuseShallowLine(scalar);
    key = persist(scalar.text);
  } else if (c == '*') {
    if (props.any()) fail("An alias cannot have an anchor or a tag", pos_);
    quoted = true;
    key = keyText(resolveAlias(false));
  } else if (c == '[' || c == '{') {
    fail("Complex mapping keys are not supported", pos_);
  } else if (c == ',') {
    failFlow(inMapping, mapping, pos_);
  } else {
    key = persist(readPlainFlow(flowIndent_).text);
    quoted = !props.tag.empty();
  }
  if (!props.anchor.empty()) anchors_[props.anchor] = builder_.string(key, SourceRange{start, loc()});
  return key;
}

// A "?" that starts an explicit key inside a flow collection.
bool YAMLReader::explicitFlowKeyAt(std::size_t p) const noexcept {
  return p < n_ && s_[p] == '?' && (blankOrEndAt(p + 1) || isFlowIndicator(s_[p + 1]));
}

// The key after a "?" at pos_ in a flow collection. A key left empty ("? : v", "?,") is the empty text,
// as an empty key before a ":" is.
std::string_view YAMLReader::readExplicitFlowKey(bool inMapping, bool& quoted, Location& start,
                                                 const Location& collection) {
  const Location mark = loc();
  ++pos_;
  skipFlowSpace();
  if (pos_ >= n_) failFlow(inMapping, collection, pos_);
  const char c = s_[pos_];
  if (c == ',' || c == ']' || c == '}' || (c == ':' && (blankOrEndAt(pos_ + 1) || isFlowIndicator(s_[pos_ + 1])))) {
    quoted = true;
    start = mark;
    lastEnd_ = loc();
    return {};
  }
  const std::string_view key = readFlowKey(quoted, start, collection, inMapping);
  start = mark;
  return key;
}

YAMLReader::Node YAMLReader::parseFlowMapping() {
  enter();
  const Location start = loc();
  ++pos_;
  const std::size_t base = members_.size();
  const std::size_t mergeBase = merges_.size();
  for (;;) {
    skipFlowSpace();
    if (pos_ >= n_) failFlow(true, start, pos_);
    if (s_[pos_] == '}') {
      ++pos_;
      break;
    }
    bool quoted;
    Location keyStart;
    const std::string_view key = explicitFlowKeyAt(pos_) ? readExplicitFlowKey(true, quoted, keyStart, start)
                                                         : readFlowKey(quoted, keyStart, start);
    skipFlowSpace();
    if (pos_ >= n_) failFlow(true, start, pos_);
    builder_.pushKey(key);
    Node value;
    if (s_[pos_] == ':') {
      ++pos_;
      skipFlowSpace();
      if (pos_ >= n_) failFlow(true, start, pos_);
      value = (s_[pos_] == ',' || s_[pos_] == '}') ? makeEmpty(loc(), {}) : parseFlowNode(true, start);
    } else {
      value = makeEmpty(loc(), {});
    }
    builder_.pop();
    if (!quoted && key == "<<" && isMergeSource(value)) {
      merges_.push_back(value);
    } else {
      members_.push_back({key, value});
    }
    skipFlowSpace();
    if (pos_ >= n_) failFlow(true, start, pos_);
    if (s_[pos_] == ',') {
      ++pos_;
      continue;
    }
    if (s_[pos_] == '}') {
      ++pos_;
      break;
    }
    failFlow(true, start, pos_);
  }
  lastEnd_ = loc();
  Node node = finishMapping(base, mergeBase, start);
  leave();
  return node;
}

}  // namespace VoziZazIreParsing
