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

  // The parsers' place in the document; only its depth is kept, pointers come from the placement.
  void pushKey(std::string_view) noexcept { ++depth_; }
  void pushIndex(std::size_t) noexcept { ++depth_; }
  void pop() noexcept {
    if (depth_) --depth_;
  }
  std::size_t depth() const noexcept { return depth_; }
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
  std::size_t depth_ = 0;
  std::string_view rawPointer_;
  std::vector<GenericNode::Member> scratchMembers_;
};

}  // namespace VoziZazIreCore
