#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "kit/core/GenericNode.h"
#include "kit/core/SourceLocation.h"
#include "kit/core/TreeBuilder.h"
#include "kit/parsing/YAMLScalarScanner.h"

namespace VoziZazIreParsing {

// Reads the first document of a YAML text (valid UTF-8) into a node tree. One object per parse.
//
// The reader walks the text once, forward, by lines: block mappings and sequences by indentation
// (compact forms on a sequence item's line included), flow collections across lines, plain, quoted and
// block scalars with YAML's folding, anchors, aliases and merge keys, tags on scalars. Comments start at
// a line start or after a blank; a mapping colon is a ":" followed by a blank or the line end. Later
// documents of a stream are read for their syntax only.
//
// Text that is not YAML 1.2 is refused with a ParseError at the offending line and column, as is input
// it cannot read faithfully (complex keys): a colon and blank inside a plain scalar, a collection begun
// on a mapping key's line, tabs as indentation, flow and quoted lines indented no deeper than their
// parent, document markers inside them, two anchors or tags on a node, properties on an alias, invalid
// or undeclared tags, malformed or repeated directives and directives without a document.
//
// Recursion follows the nesting of collections and is refused beyond kMaxNestingDepth; alias expansion
// is bounded by kAliasNodeBudget nodes per document.
class YAMLReader : private YAMLScalarScanner {
 public:
  static constexpr std::int64_t kAliasNodeBudget = 1'000'000;

  explicit YAMLReader(std::string_view text);
  VoziZazIreCore::NodePtr read();

 private:
  using Node = const VoziZazIreCore::GenericNode*;

  struct Properties {
    std::string_view anchor;
    std::string_view tag;
    bool any() const { return !anchor.empty() || !tag.empty(); }
  };

  // The directives of the document being read.
  struct Directives {
    bool yaml = false;
    std::vector<std::string_view> tagHandles;
    std::size_t last = npos;  // the last directive, while it waits for its "---"
  };

  [[noreturn]] void failFlow(bool mapping, const Location& start, std::size_t p);
  void enter();
  void leave() noexcept { --depth_; }
  void expectLineEnd();

  // Stream structure.
  void readDirective();
  void endDocumentMarker();
  void checkTag(std::string_view tag, std::size_t at);
  // Blanks from `from` to pos_ that hold a tab, before a block collection at pos_.
  void refuseTabIndent(std::size_t from);
  void refuseShallowLine(const ScalarText& scalar);

  // Block structure.
  Node parseBlockNode(int n, bool keyAllowed, bool sequenceAtIndent);
  Node parseInlineValue(int n, const Properties& props);
  Node parseBlockSequence(int m);
  Node parseBlockMapping(int m);
  Node parseMappingValue(int m, bool merge);
  std::size_t findImplicitKeyColon(std::size_t p) const noexcept;
  std::string_view readImplicitKey(std::size_t colon, bool& plain);
  std::string_view readExplicitKey(int m);
  bool startsPlainKey(std::size_t p) const noexcept;
  Node finishMapping(std::size_t base, std::size_t mergeBase, const Location& start);

  // Properties, typing and aliases.
  Properties readProperties(bool flow);
  std::string_view readAnchorName();
  Node makeScalar(const ScalarText& scalar, std::string_view tag);
  Node makeEmpty(const Location& at, std::string_view tag);
  Node resolveAlias(bool copy);
  Node remember(Node node, const Properties& props);
  std::string_view persist(std::string_view text);
  // The text of a scalar node used as a mapping key; valid as long as the tree.
  std::string_view keyText(Node node);

  // Flow collections.
  void skipFlowSpace();
  Node parseFlowNode(bool inMapping, const Location& outer);
  Node parseFlowSequence();
  Node parseFlowMapping();
  std::string_view readFlowKey(bool& quoted, Location& start, const Location& mapping, bool inMapping = true);
  bool explicitFlowKeyAt(std::size_t p) const noexcept;
  std::string_view readExplicitFlowKey(bool inMapping, bool& quoted, Location& start, const Location& collection);

  std::size_t depth_ = 0;
  std::int64_t aliasBudget_ = kAliasNodeBudget;
  Location lastEnd_{1, 1, 0};
  // Properties written alone on a line, for the node on the lines below.
  Properties pendingProps_;
  bool hasPendingProps_ = false;
  // The indentation of the block that holds the flow collection being read: its lines go deeper.
  int flowIndent_ = -1;
  Directives directives_;

  VoziZazIreCore::TreeBuilder builder_;
  std::vector<VoziZazIreCore::GenericNode::Member> members_;
  std::vector<Node> elements_;
  std::vector<Node> merges_;
  std::unordered_map<std::string_view, Node> anchors_;
};

}  // namespace VoziZazIreParsing
