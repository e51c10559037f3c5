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
// JSON pointers are made here, in one place: each node gets the pointer current at its creation.
class TreeBuilder {
 public:
  TreeBuilder();

  void pushKey(std::string_view key);
  void pushIndex(std::size_t index);
  void pop();
  // Replaces the whole current pointer (for single nodes built at a given place).
  void setRawPointer(std::string_view pointer) {
    pointer_.assign(pointer);
    marks_.clear();
    pointerIsPrefixOfLastCopy_ = false;
  }
  // Bounds the bytes of pointer text the tree may hold; a node that would go beyond throws a
  // ParseError at its range. Deep nesting under long keys, or many siblings below such a place, would
  // otherwise need memory quadratic in the size of the text. No bound unless set.
  void limitPointerBytes(std::size_t limit) noexcept { pointerByteLimit_ = limit; }
  std::size_t depth() const noexcept { return marks_.size(); }
  std::string_view currentPointer() const noexcept { return pointer_; }

  const GenericNode* string(std::string_view value, const SourceRange& range);
  const GenericNode* number(double value, const SourceRange& range);
  const GenericNode* boolean(bool value, const SourceRange& range);
  const GenericNode* null(const SourceRange& range);
  // Members in document order. Of equal keys (canonical equivalence) the last value wins at the first
  // key's position. Keys are copied into the tree.
  const GenericNode* object(std::span<const GenericNode::Member> members, const SourceRange& range);
  const GenericNode* array(std::span<const GenericNode* const> elements, const SourceRange& range);

  // A node equal to `source` but carrying the current pointer, for aliases that reuse a subtree at a
  // new place. Children are re-pointed recursively below the current pointer; `budget` is decreased by
  // the nodes created and copying stops (returning nullptr) when it would go below zero.
  const GenericNode* copySubtree(const GenericNode* source, std::int64_t& budget);

  // Keeps another tree alive as long as this one (for nodes shared between trees).
  void keepAlive(NodePtr other);

  // Hands out the finished tree. The builder must not be used afterwards.
  NodePtr finish(const GenericNode* root);

  NodeArena& arena() noexcept { return *arena_; }

 private:
  GenericNode* newNode(GenericNodeKind kind, const SourceRange& range);

  std::shared_ptr<NodeArena> arena_;
  std::string pointer_;
  std::vector<std::size_t> marks_;
  std::string_view lastPointerCopy_;
  // True while pointer_ is a prefix of lastPointerCopy_: only pops since the copy was made.
  bool pointerIsPrefixOfLastCopy_ = false;
  std::size_t pointerBytes_ = 0;
  std::size_t pointerByteLimit_ = static_cast<std::size_t>(-1);
  std::vector<GenericNode::Member> scratchMembers_;
};

}  // namespace VoziZazIreCore
