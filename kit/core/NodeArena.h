#pragma once
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace VoziZazIreCore {

class GenericNode;

// Bump-allocated storage for the nodes and texts of one tree. Everything placed here is trivially
// destructible; the arena frees it all at once. Trees built from other trees keep those alive through
// `keepAlive`, and releasing such chains never recurses, however long they are.
class NodeArena {
 public:
  NodeArena() = default;
  ~NodeArena();
  NodeArena(const NodeArena&) = delete;
  NodeArena& operator=(const NodeArena&) = delete;

  void* allocate(std::size_t size, std::size_t alignment);
  template <class T>
  T* allocateArray(std::size_t count) {
    return static_cast<T*>(allocate(sizeof(T) * (count ? count : 1), alignof(T)));
  }
  // Copies `text` into the arena and returns a view of the copy.
  std::string_view copyString(std::string_view text);

  void keepAlive(std::shared_ptr<const GenericNode> node);
  std::size_t bytesUsed() const noexcept { return used_; }

 private:
  struct Chunk {
    std::unique_ptr<std::byte[]> data;
    std::size_t size;
  };
  std::vector<Chunk> chunks_;
  std::byte* cursor_ = nullptr;
  std::size_t remaining_ = 0;
  std::size_t used_ = 0;
  std::vector<std::shared_ptr<const GenericNode>> keepAlive_;
};

}  // namespace VoziZazIreCore
