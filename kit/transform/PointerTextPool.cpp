#include "kit/transform/PointerTextPool.h"

#include <algorithm>
#include <cstring>
#include <vector>

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::PointerText;

namespace VoziZazIreTransform {

namespace {
thread_local PointerTextPool* innermost = nullptr;
constexpr std::size_t kFirstBlock = 16 << 10;
constexpr std::size_t kLargestBlock = 1 << 20;
}  // namespace

// Blocks of text, appended to and never moved.
struct PointerTextPool::Storage {
  std::vector<std::unique_ptr<char[]>> blocks;
  char* cursor = nullptr;
  std::size_t remaining = 0;
  std::size_t nextBlock = kFirstBlock;

  std::string_view copy(std::string_view text) {
    if (text.empty()) return {};
    if (text.size() > remaining) {
      const std::size_t size = std::max(text.size(), nextBlock);
      nextBlock = std::min(nextBlock * 2, kLargestBlock);
      blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
      cursor = blocks.back().get();
      remaining = size;
    }
    std::memcpy(cursor, text.data(), text.size());
    std::string_view stored(cursor, text.size());
    cursor += text.size();
    remaining -= text.size();
    return stored;
  }
};

PointerTextPool::PointerTextPool(const GenericNode* tree) : tree_(tree), storage_(std::make_shared<Storage>()) {}

PointerTextPool::Scope::Scope(const GenericNode* tree)
    : pool_(std::make_unique<PointerTextPool>(tree)), outer_(innermost) {
  innermost = pool_.get();
}

PointerTextPool::Scope::~Scope() { innermost = outer_; }

PointerText PointerTextPool::pointerOf(const GenericNode& node) {
  if (innermost == nullptr) return node.jsonPointer();
  return innermost->store(node);
}

PointerText PointerTextPool::store(const GenericNode& node) {
  std::size_t myDepth = 0;
  const GenericNode* top = &node;
  for (; top->parent(); top = top->parent()) ++myDepth;
  if (top != tree_) {
    // A node of another tree (one made for the moment, say): its text is made afresh and nothing of
    // it is remembered, as that tree may be gone by the next call.
    scratch_.clear();
    node.appendJsonPointer(scratch_);
    return scratch_.empty() ? PointerText() : PointerText::shared(storage_, storage_->copy(scratch_));
  }

  // Lift the last stored node and this one to their nearest common ancestor, keeping this node's
  // steps below it to write.
  if (!lastNode_) {
    lastNode_ = tree_;
    last_ = storage_->copy(tree_->ownPointer());
    lastEnds_.assign(1, last_.size());
  }
  steps_.clear();
  const GenericNode* mine = &node;
  const GenericNode* theirs = lastNode_;
  std::size_t theirDepth = lastEnds_.size() - 1;
  for (; theirDepth > myDepth; --theirDepth) theirs = theirs->parent();
  for (std::size_t depth = myDepth; depth > theirDepth; --depth, mine = mine->parent()) steps_.push_back(mine);
  while (mine != theirs) {
    theirs = theirs->parent();
    --theirDepth;
    steps_.push_back(mine);
    mine = mine->parent();
  }
  const std::size_t kept = lastEnds_[theirDepth];
  if (steps_.empty()) {
    // The node is the last one or above it: its text begins the last one.
    return kept == 0 ? PointerText() : PointerText::shared(storage_, last_.substr(0, kept));
  }
  scratch_.assign(last_.substr(0, kept));
  lastEnds_.resize(theirDepth + 1);
  for (std::size_t i = steps_.size(); i-- > 0;) {
    steps_[i]->appendPointerStep(scratch_);
    lastEnds_.push_back(scratch_.size());
  }
  lastNode_ = &node;
  last_ = storage_->copy(scratch_);
  if (scratch_.capacity() > kLargestBlock) std::string().swap(scratch_);
  return last_.empty() ? PointerText() : PointerText::shared(storage_, last_);
}

}  // namespace VoziZazIreTransform
