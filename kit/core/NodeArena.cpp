#include "kit/core/NodeArena.h"

#include <algorithm>
#include <cstring>

#include "kit/core/GenericNode.h"

namespace VoziZazIreCore {

namespace {
constexpr std::size_t kFirstChunkSize = 128;
thread_local std::vector<std::shared_ptr<const GenericNode>>* releaseQueue = nullptr;
}

NodeArena::~NodeArena() {
  if (keepAlive_.empty()) return;
  if (releaseQueue) {
    // An outer arena is already releasing: hand our references to its loop instead of recursing.
    for (auto& node : keepAlive_) releaseQueue->push_back(std::move(node));
    return;
  }
  std::vector<std::shared_ptr<const GenericNode>> queue = std::move(keepAlive_);
  releaseQueue = &queue;
  while (!queue.empty()) {
    auto node = std::move(queue.back());
    queue.pop_back();
    node.reset();
  }
  releaseQueue = nullptr;
}

void* NodeArena::allocate(std::size_t size, std::size_t alignment) {
  std::size_t pad = cursor_ ? (alignment - reinterpret_cast<std::uintptr_t>(cursor_) % alignment) % alignment : 0;
  if (!cursor_ || pad + size > remaining_) {
    // The first chunk is small, so that a node made on its own (an example value, a node handed to a
    // caller) costs little; a growing tree doubles it from there.
    std::size_t chunkSize = std::max<std::size_t>(size + alignment, chunks_.empty() ? kFirstChunkSize : std::min<std::size_t>(chunks_.back().size * 2, 1 << 22));
    chunks_.push_back({std::unique_ptr<std::byte[]>(new std::byte[chunkSize]), chunkSize});
    cursor_ = chunks_.back().data.get();
    remaining_ = chunkSize;
    pad = (alignment - reinterpret_cast<std::uintptr_t>(cursor_) % alignment) % alignment;
  }
  std::byte* result = cursor_ + pad;
  cursor_ = result + size;
  remaining_ -= pad + size;
  used_ += pad + size;
  return result;
}

std::string_view NodeArena::copyString(std::string_view text) {
  if (text.empty()) return {};
  char* copy = static_cast<char*>(allocate(text.size(), 1));
  std::memcpy(copy, text.data(), text.size());
  return {copy, text.size()};
}

void NodeArena::keepAlive(std::shared_ptr<const GenericNode> node) {
  if (node) keepAlive_.push_back(std::move(node));
}

}  // namespace VoziZazIreCore
