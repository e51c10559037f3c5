#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "kit/core/GenericNodeKind.h"
#include "kit/core/LocationInfo.h"
#include "kit/core/OrderedMap.h"
#include "kit/core/PointerText.h"
#include "kit/core/SourceRange.h"

namespace VoziZazIreCore {

class GenericNode;
class NodeArena;
class TreeBuilder;

// An optional view whose dereference yields the view by value, so that `for (auto& m : *node.objectValue())`
// is safe even though the optional itself is a temporary.
template <class View>
class OptionalView {
 public:
  OptionalView() = default;
  OptionalView(std::nullopt_t) {}
  OptionalView(View view) : view_(view), present_(true) {}
  explicit operator bool() const noexcept { return present_; }
  bool has_value() const noexcept { return present_; }
  View operator*() const noexcept { return view_; }
  const View* operator->() const noexcept { return &view_; }
  View value() const noexcept { return view_; }

 private:
  View view_{};
  bool present_ = false;
};

// Owning handle of a node (and of the tree it belongs to).
using NodePtr = std::shared_ptr<const GenericNode>;

// One immutable node of a parsed JSON or YAML document: its value, its range in the source text and
// its JSON pointer. Nodes live in the arena of their tree; children are handed out as borrowed
// `const GenericNode*`, valid as long as some NodePtr into the tree is alive. Object members keep
// document order; `keys()` is the sorted view.
//
// A node placed in a container knows its parent and its place there, and makes its pointer from them
// when asked: a tree stores no pointer text. A node standing on its own (a root) keeps the pointer it
// was made with.
class GenericNode {
 public:
  struct Member {
    std::string_view key;
    const GenericNode* value;
  };

  // The members of an object node in document order, with lookup by key (canonical equivalence).
  class ObjectView {
   public:
    std::size_t size() const noexcept { return node_->count_; }
    bool empty() const noexcept { return node_->count_ == 0; }
    const Member* begin() const noexcept { return node_->members_; }
    const Member* end() const noexcept { return node_->members_ + node_->count_; }
    const Member& operator[](std::size_t i) const noexcept { return node_->members_[i]; }
    const GenericNode* find(std::string_view key) const noexcept { return node_->member(key); }
    bool contains(std::string_view key) const noexcept { return find(key) != nullptr; }

    ObjectView() = default;

   private:
    friend class GenericNode;
    explicit ObjectView(const GenericNode* node) : node_(node) {}
    const GenericNode* node_ = nullptr;
  };
  using ArrayView = std::span<const GenericNode* const>;

  // The six constructors of the node kinds. Object members are given in document order; of equal keys
  // the last value wins at the first key's position.
  static NodePtr makeObject(const OrderedMap<NodePtr>& members, SourceRange range, std::string_view jsonPointer);
  static NodePtr makeArray(const std::vector<NodePtr>& elements, SourceRange range, std::string_view jsonPointer);
  static NodePtr makeString(std::string_view value, SourceRange range, std::string_view jsonPointer);
  static NodePtr makeNumber(double value, SourceRange range, std::string_view jsonPointer);
  static NodePtr makeBool(bool value, SourceRange range, std::string_view jsonPointer);
  static NodePtr makeNull(SourceRange range, std::string_view jsonPointer);

  GenericNodeKind kind() const noexcept { return kind_; }
  SourceRange range() const noexcept {
    return {{range_.startLine, range_.startColumn, range_.startOffset}, {range_.endLine, range_.endColumn, range_.endOffset}};
  }
  // The node's JSON pointer, made on each call (its length is the sum of the keys above the node).
  PointerText jsonPointer() const;
  // Appends the node's JSON pointer to `out`.
  void appendJsonPointer(std::string& out) const;
  // The container holding this node in its tree, or nullptr for a root.
  const GenericNode* parent() const noexcept { return placedInParent_ ? parent_ : nullptr; }
  // The pointer a root was made with (empty for nodes in a container).
  std::string_view ownPointer() const noexcept;
  // The node's last pointer step, "/" and its escaped key or its index, and that step's length; both
  // are empty for a root.
  void appendPointerStep(std::string& out) const;
  std::size_t pointerStepLength() const noexcept;

  OptionalView<ObjectView> objectValue() const noexcept;
  OptionalView<ArrayView> arrayValue() const noexcept;
  std::optional<std::string_view> stringValue() const noexcept;
  std::optional<double> numberValue() const noexcept;
  // The number as a signed 64-bit integer when it is integral and in range.
  std::optional<int64_t> intValue() const noexcept;
  std::optional<bool> boolValue() const noexcept;
  bool isNull() const noexcept { return kind_ == GenericNodeKind::null; }

  // The member of an object node, or nullptr.
  const GenericNode* operator[](std::string_view key) const noexcept { return member(key); }
  const GenericNode* operator[](const char* key) const noexcept { return member(key); }
  const GenericNode* operator[](const std::string& key) const noexcept { return member(key); }
  // The element of an array node for 0 <= index < count, or nullptr.
  const GenericNode* operator[](int64_t index) const noexcept;
  const GenericNode* operator[](int index) const noexcept { return (*this)[static_cast<int64_t>(index)]; }
  const GenericNode* operator[](std::size_t index) const noexcept;

  // Member names in ascending code-point order of their canonically normalised text.
  std::vector<std::string> keys() const;
  // Members of an object or elements of an array; 0 otherwise.
  std::size_t count() const noexcept;
  LocationInfo locationInfo() const { return LocationInfo(jsonPointer(), range()); }
  std::string description() const;

 private:
  friend class TreeBuilder;
  GenericNode() = default;
  const GenericNode* member(std::string_view key) const noexcept;

  // Positions are kept in 32 bits each (texts are far below 4 GiB); range() widens them again.
  struct CompactRange {
    uint32_t startLine = 0, startColumn = 0, startOffset = 0;
    uint32_t endLine = 0, endColumn = 0, endOffset = 0;
  };
  void setRange(const SourceRange& range) noexcept;

  // Objects above this size keep an index of their members sorted by key bytes, stored right after
  // the members themselves.
  static constexpr uint32_t kIndexedObjectSize = 8;
  const uint32_t* sortedIndex() const noexcept {
    return count_ > kIndexedObjectSize ? reinterpret_cast<const uint32_t*>(members_ + count_) : nullptr;
  }

  GenericNodeKind kind_ = GenericNodeKind::null;
  bool boolean_ = false;
  bool nonAsciiKeys_ = false;
  // Set once the node is placed in a container: then parent_ and slot_ (the member or element index)
  // say where. Until then pointerText_ and slot_ (its length) hold the node's own pointer.
  bool placedInParent_ = false;
  // Set on a finished tree's root: it keeps its own pointer when other trees hold it as a member.
  bool isRoot_ = false;
  // Members or elements of a container; the length of a string.
  uint32_t count_ = 0;
  uint32_t slot_ = 0;
  CompactRange range_;
  union {
    const GenericNode* parent_;
    const char* pointerText_ = nullptr;
  };
  union {
    double number_ = 0;
    const char* text_;
    const Member* members_;
    const GenericNode* const* elements_;
  };
};

}  // namespace VoziZazIreCore
