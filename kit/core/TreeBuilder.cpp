#include "kit/core/TreeBuilder.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "kit/core/JSONPointerUtils.h"
#include "kit/core/ParseError.h"
#include "kit/core/TextServices.h"

namespace VoziZazIreCore {

namespace {
constexpr std::size_t kIndexedObjectSize = 8;
}

TreeBuilder::TreeBuilder() : arena_(std::make_shared<NodeArena>()) {}

void TreeBuilder::pushKey(std::string_view key) {
  pointerIsPrefixOfLastCopy_ = false;
  marks_.push_back(pointer_.size());
  JSONPointerUtils::appendInPlace(pointer_, key);
}

void TreeBuilder::pushIndex(std::size_t index) {
  pointerIsPrefixOfLastCopy_ = false;
  marks_.push_back(pointer_.size());
  pointer_.push_back('/');
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + index % 10);
    index /= 10;
  } while (index);
  while (n) pointer_.push_back(digits[--n]);
}

void TreeBuilder::pop() {
  if (marks_.empty()) return;
  pointer_.resize(marks_.back());
  marks_.pop_back();
}

GenericNode* TreeBuilder::newNode(GenericNodeKind kind, const SourceRange& range) {
  void* memory = arena_->allocate(sizeof(GenericNode), alignof(GenericNode));
  auto* node = new (memory) GenericNode();
  node->kind_ = kind;
  node->setRange(range);
  // A container is made right after its last child, whose pointer starts with the container's: it
  // shares that copy, so a deep chain stores its longest pointer once. Consecutive nodes at the same
  // place share the copy too.
  if (lastPointerCopy_.data() && pointerIsPrefixOfLastCopy_) {
    node->pointer_ = lastPointerCopy_.substr(0, pointer_.size());
  } else if (lastPointerCopy_.data() && lastPointerCopy_ == pointer_) {
    node->pointer_ = lastPointerCopy_;
  } else {
    pointerBytes_ += pointer_.size();
    if (pointerBytes_ > pointerByteLimit_)
      throw ParseError("Document too large: the JSON pointers of its nodes exceed " +
                           std::to_string(pointerByteLimit_) + " bytes",
                       range);
    node->pointer_ = arena_->copyString(pointer_);
    lastPointerCopy_ = node->pointer_;
    pointerIsPrefixOfLastCopy_ = lastPointerCopy_.data() != nullptr;
    if (!lastPointerCopy_.data()) lastPointerCopy_ = {};
  }
  return node;
}

const GenericNode* TreeBuilder::string(std::string_view value, const SourceRange& range) {
  GenericNode* node = newNode(GenericNodeKind::string, range);
  std::string_view copy = arena_->copyString(value);
  node->text_ = copy.data();
  node->textSize_ = copy.size();
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
    if (members.size() <= kIndexedObjectSize && !nonAscii) {
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
  auto* stored = arena_->allocateArray<GenericNode::Member>(unique.size());
  for (std::size_t i = 0; i < unique.size(); ++i) stored[i] = {arena_->copyString(unique[i].key), unique[i].value};
  node->members_ = stored;
  node->count_ = static_cast<uint32_t>(unique.size());
  node->nonAsciiKeys_ = nonAscii;
  if (unique.size() > kIndexedObjectSize) {
    auto* index = arena_->allocateArray<uint32_t>(unique.size());
    for (uint32_t i = 0; i < unique.size(); ++i) index[i] = i;
    std::sort(index, index + unique.size(), [stored](uint32_t a, uint32_t b) { return stored[a].key < stored[b].key; });
    node->sortedIndex_ = index;
  } else {
    node->sortedIndex_ = nullptr;
  }
  return node;
}

const GenericNode* TreeBuilder::array(std::span<const GenericNode* const> elements, const SourceRange& range) {
  GenericNode* node = newNode(GenericNodeKind::array, range);
  auto* stored = arena_->allocateArray<const GenericNode*>(elements.size());
  if (!elements.empty()) std::memcpy(stored, elements.data(), elements.size() * sizeof(const GenericNode*));
  node->elements_ = stored;
  node->count_ = static_cast<uint32_t>(elements.size());
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
  return NodePtr(arena_, root);
}

}  // namespace VoziZazIreCore
