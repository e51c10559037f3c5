#pragma once
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "kit/core/GenericNode.h"
#include "kit/core/NodeArena.h"

namespace VoziZazIreCore {

// Builds one GenericNode tree bottom-up, as both parsers read: they push the key or index of the child
// they are about to read, create its node, pop, and finally create the container from its children.
// A container places its children: from then on they know their parent and make their JSON pointer
// from it. Nodes of other, finished trees can be members too; they keep the pointers they have.
class TreeBuilder {
 public:
  TreeBuilder();

  // The parsers' place in the document. Nodes take their pointers from where they are placed; the
  // place is followed for the depth and for the size of the pointers.
  void pushKey(std::string_view key);
  void pushIndex(std::size_t index);
  void pop();
  std::size_t depth() const noexcept { return marks_.size(); }
  // Bounds the bytes of pointer text the tree's nodes would hold if they stored their pointers, as
  // model locations and findings do; a node that would go beyond throws a ParseError at its range.
  // Deep nesting under long keys, with many nodes below, would otherwise need memory quadratic in the
  // size of the text. No bound unless set.
  void limitPointerBytes(std::size_t limit) noexcept { pointerByteLimit_ = limit; }
  // The pointer of nodes that will not be placed in a container built here (single nodes and roots
  // built at a given place). Empty unless set.
  void setRawPointer(std::string_view pointer);

  const GenericNode* string(std::string_view value, const SourceRange& range);
  const GenericNode* number(double value, const SourceRange& range);
  const GenericNode* boolean(bool value, const SourceRange& range);
  const GenericNode* null(const SourceRange& range);
  // Members in document order. Of equal keys (canonical equivalence) the last value wins at the first
  // key's position. Keys are copied into the tree.
  const GenericNode* object(std::span<const GenericNode::Member> members, const SourceRange& range);
  const GenericNode* array(std::span<const GenericNode* const> elements, const SourceRange& range);

  // A fresh copy of `source`, for aliases that reuse a subtree at a new place: placed in its new
  // container, the copy gets that place's pointers. `budget` is decreased by the nodes created and
  // copying stops (returning nullptr) when it would go below zero.
  const GenericNode* copySubtree(const GenericNode* source, std::int64_t& budget);

  // Keeps another tree alive as long as this one (for nodes shared between trees).
  void keepAlive(NodePtr other);

  // Hands out the finished tree. The builder must not be used afterwards.
  NodePtr finish(const GenericNode* root);

  NodeArena& arena() noexcept { return *arena_; }

 private:
  GenericNode* newNode(GenericNodeKind kind, const SourceRange& range);

  // Places a fresh node of this tree at `slot` of `parent`.
  static void place(const GenericNode* child, const GenericNode* parent, uint32_t slot) noexcept;

  std::shared_ptr<NodeArena> arena_;
  std::string_view rawPointer_;
  // Lengths of the pointer at each pushed place, and of the current one.
  std::vector<std::size_t> marks_;
  std::size_t length_ = 0;
  // True while only pops happened since a node's pointer was counted: the current pointer is a prefix
  // of it.
  bool countedPrefix_ = false;
  std::size_t pointerBytes_ = 0;
  std::size_t pointerByteLimit_ = static_cast<std::size_t>(-1);
  std::vector<GenericNode::Member> scratchMembers_;
};

}  // namespace VoziZazIreCore
