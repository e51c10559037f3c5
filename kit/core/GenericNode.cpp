#include "kit/core/GenericNode.h"

#include <algorithm>
#include <charconv>

#include "kit/core/JSONPointerUtils.h"
#include "kit/core/NodeArena.h"
#include "kit/core/TextServices.h"
#include "kit/core/TreeBuilder.h"

namespace VoziZazIreCore {

std::string_view GenericNode::ownPointer() const noexcept {
  if (placedInParent_ || slot_ == 0) return {};
  return std::string_view(pointerText_, slot_);
}

std::size_t GenericNode::pointerStepLength() const noexcept {
  if (!placedInParent_) return 0;
  if (parent_->kind_ == GenericNodeKind::object) {
    std::string_view key = parent_->members_[slot_].key;
    std::size_t length = 1 + key.size();
    for (char c : key) length += (c == '~') | (c == '/');
    return length;
  }
  std::size_t length = 2;
  for (uint32_t index = slot_; index >= 10; index /= 10) ++length;
  return length;
}

void GenericNode::appendPointerStep(std::string& out) const {
  if (!placedInParent_) return;
  if (parent_->kind_ == GenericNodeKind::object) {
    JSONPointerUtils::appendInPlace(out, parent_->members_[slot_].key);
    return;
  }
  char digits[12];
  char* end = std::to_chars(digits, digits + sizeof digits, slot_).ptr;
  out.push_back('/');
  out.append(digits, end);
}

void GenericNode::appendJsonPointer(std::string& out) const {
  // The steps from the node up to the one holding its own text, on the stack unless the node is deep,
  // written from the top down.
  const GenericNode* shallow[48];
  std::vector<const GenericNode*> deep;
  std::size_t depth = 0;
  const GenericNode* top = this;
  for (; top->placedInParent_; top = top->parent_) {
    if (depth < std::size(shallow)) {
      shallow[depth] = top;
    } else {
      if (deep.empty()) deep.assign(shallow, shallow + depth);
      deep.push_back(top);
    }
    ++depth;
  }
  const GenericNode* const* steps = deep.empty() ? shallow : deep.data();
  out.append(top->ownPointer());
  for (std::size_t i = depth; i-- > 0;) steps[i]->appendPointerStep(out);
}

PointerText GenericNode::jsonPointer() const {
  if (!placedInParent_) return PointerText(ownPointer());
  thread_local std::string buffer;
  buffer.clear();
  appendJsonPointer(buffer);
  PointerText text{std::string_view(buffer)};
  if (buffer.capacity() > (1u << 20)) std::string().swap(buffer);
  return text;
}


OptionalView<GenericNode::ObjectView> GenericNode::objectValue() const noexcept {
  if (kind_ != GenericNodeKind::object) return {};
  return ObjectView(this);
}

OptionalView<GenericNode::ArrayView> GenericNode::arrayValue() const noexcept {
  if (kind_ != GenericNodeKind::array) return {};
  return ArrayView(elements_, count_);
}

std::optional<std::string_view> GenericNode::stringValue() const noexcept {
  if (kind_ != GenericNodeKind::string) return std::nullopt;
  return std::string_view(text_, count_);
}

void GenericNode::setRange(const SourceRange& range) noexcept {
  auto narrow = [](int64_t v) -> uint32_t {
    if (v < 0) return 0;
    return v > static_cast<int64_t>(UINT32_MAX) ? UINT32_MAX : static_cast<uint32_t>(v);
  };
  range_ = {narrow(range.start.line), narrow(range.start.column), narrow(range.start.offset),
            narrow(range.end.line),   narrow(range.end.column),   narrow(range.end.offset)};
}

std::optional<double> GenericNode::numberValue() const noexcept {
  if (kind_ != GenericNodeKind::number) return std::nullopt;
  return number_;
}

std::optional<int64_t> GenericNode::intValue() const noexcept {
  if (kind_ != GenericNodeKind::number) return std::nullopt;
  return TextServices::exactInt64(number_);
}

std::optional<bool> GenericNode::boolValue() const noexcept {
  if (kind_ != GenericNodeKind::bool_) return std::nullopt;
  return boolean_;
}

const GenericNode* GenericNode::member(std::string_view key) const noexcept {
  if (kind_ != GenericNodeKind::object) return nullptr;
  if (const uint32_t* index = sortedIndex()) {
    const uint32_t* first = index;
    const uint32_t* last = index + count_;
    const Member* members = members_;
    auto it = std::lower_bound(first, last, key, [members](uint32_t i, std::string_view k) { return members[i].key < k; });
    if (it != last && members_[*it].key == key) return members_[*it].value;
  } else {
    for (uint32_t i = 0; i < count_; ++i)
      if (members_[i].key == key) return members_[i].value;
  }
  if (nonAsciiKeys_ || !TextServices::isAscii(key)) {
    for (uint32_t i = 0; i < count_; ++i)
      if (TextServices::canonicallyEqual(members_[i].key, key)) return members_[i].value;
  }
  return nullptr;
}

const GenericNode* GenericNode::operator[](int64_t index) const noexcept {
  if (kind_ != GenericNodeKind::array || index < 0 || static_cast<uint64_t>(index) >= count_) return nullptr;
  return elements_[index];
}

const GenericNode* GenericNode::operator[](std::size_t index) const noexcept {
  if (kind_ != GenericNodeKind::array || index >= count_) return nullptr;
  return elements_[index];
}

std::vector<std::string> GenericNode::keys() const {
  std::vector<std::string> result;
  if (kind_ != GenericNodeKind::object) return result;
  result.reserve(count_);
  for (uint32_t i = 0; i < count_; ++i) result.emplace_back(members_[i].key);
  if (nonAsciiKeys_) {
    std::sort(result.begin(), result.end(),
              [](const std::string& a, const std::string& b) { return TextServices::canonicalCompare(a, b) < 0; });
  } else {
    std::sort(result.begin(), result.end());
  }
  return result;
}

std::size_t GenericNode::count() const noexcept {
  return (kind_ == GenericNodeKind::object || kind_ == GenericNodeKind::array) ? count_ : 0;
}

std::string GenericNode::description() const {
  switch (kind_) {
    case GenericNodeKind::object: return "object(" + std::to_string(count_) + " keys)";
    case GenericNodeKind::array: return "array(" + std::to_string(count_) + " items)";
    case GenericNodeKind::string:
      return "string(\"" + std::string(TextServices::prefixGraphemes(std::string_view(text_, count_), 20)) + "\")";
    case GenericNodeKind::number: return "number(" + TextServices::formatDouble(number_) + ")";
    case GenericNodeKind::bool_: return boolean_ ? "bool(true)" : "bool(false)";
    case GenericNodeKind::null: return "null";
  }
  return "null";
}

// The standalone constructors build a small tree of their own that keeps the given children alive.
NodePtr GenericNode::makeObject(const OrderedMap<NodePtr>& members, SourceRange range, std::string_view jsonPointer) {
  TreeBuilder builder;
  builder.setRawPointer(jsonPointer);
  std::vector<Member> list;
  list.reserve(members.size());
  for (const auto& [key, child] : members) {
    if (!child) continue;
    list.push_back({key, child.get()});
    builder.keepAlive(child);
  }
  return builder.finish(builder.object(list, range));
}

NodePtr GenericNode::makeArray(const std::vector<NodePtr>& elements, SourceRange range, std::string_view jsonPointer) {
  TreeBuilder builder;
  builder.setRawPointer(jsonPointer);
  std::vector<const GenericNode*> list;
  list.reserve(elements.size());
  for (const auto& child : elements) {
    if (!child) continue;
    list.push_back(child.get());
    builder.keepAlive(child);
  }
  return builder.finish(builder.array(list, range));
}

NodePtr GenericNode::makeString(std::string_view value, SourceRange range, std::string_view jsonPointer) {
  TreeBuilder builder;
  builder.setRawPointer(jsonPointer);
  return builder.finish(builder.string(value, range));
}

NodePtr GenericNode::makeNumber(double value, SourceRange range, std::string_view jsonPointer) {
  TreeBuilder builder;
  builder.setRawPointer(jsonPointer);
  return builder.finish(builder.number(value, range));
}

NodePtr GenericNode::makeBool(bool value, SourceRange range, std::string_view jsonPointer) {
  TreeBuilder builder;
  builder.setRawPointer(jsonPointer);
  return builder.finish(builder.boolean(value, range));
}

NodePtr GenericNode::makeNull(SourceRange range, std::string_view jsonPointer) {
  TreeBuilder builder;
  builder.setRawPointer(jsonPointer);
  return builder.finish(builder.null(range));
}

}  // namespace VoziZazIreCore
