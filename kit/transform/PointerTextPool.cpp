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

PointerTextPool::PointerTextPool() : storage_(std::make_shared<Storage>()) {}

PointerTextPool::Scope::Scope() : pool_(std::make_unique<PointerTextPool>()), outer_(innermost) {
  innermost = pool_.get();
}

PointerTextPool::Scope::~Scope() { innermost = outer_; }

PointerText PointerTextPool::pointerOf(const GenericNode& node) {
  if (innermost == nullptr) return node.jsonPointer();
  return innermost->store(node);
}

PointerText PointerTextPool::store(const GenericNode& node) {
  scratch_.clear();
  node.appendJsonPointer(scratch_);
  if (scratch_.empty()) return PointerText();
  std::string_view text;
  if (last_.starts_with(scratch_)) {
    text = last_.substr(0, scratch_.size());
  } else {
    text = storage_->copy(scratch_);
    last_ = text;
  }
  if (scratch_.capacity() > kLargestBlock) std::string().swap(scratch_);
  return PointerText::shared(storage_, text);
}

}  // namespace VoziZazIreTransform
