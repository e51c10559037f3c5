#include "kit/core/TreeBuilder.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "kit/core/ParseError.h"
#include "kit/core/TextServices.h"

namespace VoziZazIreCore {

TreeBuilder::TreeBuilder() : arena_(std::make_shared<NodeArena>()) {}

void TreeBuilder::setRawPointer(std::string_view pointer) {
  if (pointer.size() > UINT32_MAX) throw ParseError("Document too large: a JSON pointer exceeds 4 GiB");
  rawPointer_ = arena_->copyString(pointer);
  marks_.clear();
  length_ = 0;
  countedPrefix_ = false;
}

void TreeBuilder::pushKey(std::string_view key) {
  countedPrefix_ = false;
  marks_.push_back(length_);
  length_ += 1 + key.size();
  for (char c : key) length_ += (c == '~') | (c == '/');
}

void TreeBuilder::pushIndex(std::size_t index) {
  countedPrefix_ = false;
  marks_.push_back(length_);
  length_ += 2;
  for (; index >= 10; index /= 10) ++length_;
}

void TreeBuilder::pop() {
  if (marks_.empty()) return;
  length_ = marks_.back();
  marks_.pop_back();
}

GenericNode* TreeBuilder::newNode(GenericNodeKind kind, const SourceRange& range) {
  void* memory = arena_->allocate(sizeof(GenericNode), alignof(GenericNode));
  auto* node = new (memory) GenericNode();
  node->kind_ = kind;
  node->setRange(range);
  node->pointerText_ = rawPointer_.data();
  node->slot_ = static_cast<uint32_t>(rawPointer_.size());
  // The pointers are not stored, but everything downstream that holds them (model locations, findings)
  // does, so their size is bounded as if they were, shared as a reader would share them: a container
  // made right after its last child shares that child's text, so a deep chain counts its longest
  // pointer once, while every node reached by a new key or index counts its whole pointer.
  if (!countedPrefix_) {
    const std::size_t length = rawPointer_.size() + length_;
    pointerBytes_ += length;
    if (pointerBytes_ > pointerByteLimit_)
      throw ParseError("Document too large: the JSON pointers of its nodes exceed " + std::to_string(pointerByteLimit_) +
                           " bytes",
                       range);
    countedPrefix_ = length > 0;
  }
  return node;
}

void TreeBuilder::place(const GenericNode* child, const GenericNode* parent, uint32_t slot) noexcept {
  // Only nodes of the tree being built are still unplaced and not a root; the nodes of finished trees
  // are never written to.
  if (child->placedInParent_ || child->isRoot_) return;
  auto* node = const_cast<GenericNode*>(child);
  node->placedInParent_ = true;
  node->parent_ = parent;
  node->slot_ = slot;
}

const GenericNode* TreeBuilder::string(std::string_view value, const SourceRange& range) {
  GenericNode* node = newNode(GenericNodeKind::string, range);
  if (value.size() > UINT32_MAX) throw ParseError("Document too large: a string exceeds 4 GiB", range);
  std::string_view copy = arena_->copyString(value);
  node->text_ = copy.data();
  node->count_ = static_cast<uint32_t>(copy.size());
  return node;
}

const GenericNode* TreeBuilder::number(double value, const SourceRange& range) {
  GenericNode* node = newNode(GenericNodeKind::number, range);
  node->number_ = value;
  return node;
}

const GenericNode* TreeBuilder::boolean(bool value, const SourceRange& range) {
  GenericNode* node = newNode(GenericNodeKind::bool_, range);
  node->boolean_ = value;
  return node;
}

const GenericNode* TreeBuilder::null(const SourceRange& range) { return newNode(GenericNodeKind::null, range); }

const GenericNode* TreeBuilder::object(std::span<const GenericNode::Member> members, const SourceRange& range) {
  bool nonAscii = false;
  for (const auto& m : members)
    if (!TextServices::isAscii(m.key)) {
      nonAscii = true;
      break;
    }

  // Fold equal keys: the last value wins at the first key's position.
  std::span<const GenericNode::Member> unique = members;
  if (members.size() > 1) {
    bool duplicates = false;
    if (members.size() <= GenericNode::kIndexedObjectSize && !nonAscii) {
      for (std::size_t i = 1; i < members.size() && !duplicates; ++i)
        for (std::size_t j = 0; j < i; ++j)
          if (members[i].key == members[j].key) {
            duplicates = true;
            break;
          }
    } else {
      std::unordered_map<std::string, std::size_t> seen;
      seen.reserve(members.size());
      for (const auto& m : members) {
        if (!seen.emplace(nonAscii ? TextServices::toNFC(m.key) : std::string(m.key), 0).second) {
          duplicates = true;
          break;
        }
      }
    }
    if (duplicates) {
      scratchMembers_.clear();
      std::unordered_map<std::string, std::size_t> position;
      for (const auto& m : members) {
        std::string key = nonAscii ? TextServices::toNFC(m.key) : std::string(m.key);
        auto [it, inserted] = position.emplace(std::move(key), scratchMembers_.size());
        if (inserted) {
          scratchMembers_.push_back(m);
        } else {
          scratchMembers_[it->second].value = m.value;
        }
      }
      unique = scratchMembers_;
    }
  }

  GenericNode* node = newNode(GenericNodeKind::object, range);
  // The members, followed by their sorted index when the object is large enough to have one.
  const std::size_t count = unique.size();
  const bool indexed = count > GenericNode::kIndexedObjectSize;
  static_assert(alignof(GenericNode::Member) >= alignof(uint32_t));
  void* storage = arena_->allocate(sizeof(GenericNode::Member) * (count ? count : 1) + (indexed ? sizeof(uint32_t) * count : 0),
                                   alignof(GenericNode::Member));
  auto* stored = static_cast<GenericNode::Member*>(storage);
  for (std::size_t i = 0; i < count; ++i) stored[i] = {arena_->copyString(unique[i].key), unique[i].value};
  node->members_ = stored;
  node->count_ = static_cast<uint32_t>(count);
  node->nonAsciiKeys_ = nonAscii;
  if (indexed) {
    auto* index = reinterpret_cast<uint32_t*>(stored + count);
    for (uint32_t i = 0; i < count; ++i) index[i] = i;
    std::sort(index, index + count, [stored](uint32_t a, uint32_t b) { return stored[a].key < stored[b].key; });
  }
  for (std::size_t i = 0; i < count; ++i) place(stored[i].value, node, static_cast<uint32_t>(i));
  return node;
}

const GenericNode* TreeBuilder::array(std::span<const GenericNode* const> elements, const SourceRange& range) {
  GenericNode* node = newNode(GenericNodeKind::array, range);
  auto* stored = arena_->allocateArray<const GenericNode*>(elements.size());
  if (!elements.empty()) std::memcpy(stored, elements.data(), elements.size() * sizeof(const GenericNode*));
  node->elements_ = stored;
  node->count_ = static_cast<uint32_t>(elements.size());
  for (std::size_t i = 0; i < elements.size(); ++i) place(stored[i], node, static_cast<uint32_t>(i));
  return node;
}

const GenericNode* TreeBuilder::copySubtree(const GenericNode* source, std::int64_t& budget) {
  // Explicit stack: (source, state). Children are created before their parent.
  struct Frame {
    const GenericNode* node;
    std::size_t next = 0;
    std::size_t resultsBase = 0;
  };
  std::vector<Frame> stack;
  std::vector<const GenericNode*> results;
  auto leaf = [&](const GenericNode* n) -> const GenericNode* {
    switch (n->kind()) {
      case GenericNodeKind::string: return string(*n->stringValue(), n->range());
      case GenericNodeKind::number: return number(*n->numberValue(), n->range());
      case GenericNodeKind::bool_: return boolean(*n->boolValue(), n->range());
      default: return null(n->range());
    }
  };
  if (--budget < 0) return nullptr;
  if (source->kind() != GenericNodeKind::object && source->kind() != GenericNodeKind::array) return leaf(source);
  stack.push_back({source, 0, 0});
  while (!stack.empty()) {
    Frame& top = stack.back();
    const GenericNode* n = top.node;
    if (top.next == n->count()) {
      std::size_t base = top.resultsBase;
      const GenericNode* built;
      if (n->kind() == GenericNodeKind::array) {
        built = array(std::span<const GenericNode* const>(results.data() + base, results.size() - base), n->range());
      } else {
        std::vector<GenericNode::Member> members;
        members.reserve(n->count());
        for (std::size_t i = 0; i < n->count(); ++i) members.push_back({n->members_[i].key, results[base + i]});
        built = object(members, n->range());
      }
      results.resize(base);
      stack.pop_back();
      if (!stack.empty()) pop();
      results.push_back(built);
      continue;
    }
    std::size_t i = top.next++;
    const GenericNode* child;
    if (n->kind() == GenericNodeKind::array) {
      pushIndex(i);
      child = n->elements_[i];
    } else {
      pushKey(n->members_[i].key);
      child = n->members_[i].value;
    }
    if (--budget < 0) {
      // Unwind the pointer stack to where we started.
      pop();
      while (stack.size() > 1) {
        stack.pop_back();
        pop();
      }
      return nullptr;
    }
    if (child->kind() == GenericNodeKind::object || child->kind() == GenericNodeKind::array) {
      std::size_t base = results.size();
      stack.push_back({child, 0, base});
    } else {
      results.push_back(leaf(child));
      pop();
    }
  }
  return results.empty() ? nullptr : results.back();
}

void TreeBuilder::keepAlive(NodePtr other) { arena_->keepAlive(std::move(other)); }

NodePtr TreeBuilder::finish(const GenericNode* root) {
  if (!root) return nullptr;
  if (!root->placedInParent_) const_cast<GenericNode*>(root)->isRoot_ = true;
  return NodePtr(arena_, root);
}

}  // namespace VoziZazIreCore
