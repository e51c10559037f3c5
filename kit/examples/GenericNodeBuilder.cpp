#include "kit/examples/GenericNodeBuilder.h"

#include <span>

#include "kit/core/TreeBuilder.h"

namespace VoziZazIreExampleGeneration::GenericNodeBuilder {

using VoziZazIreCore::AnyValue;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::NodePtr;
using VoziZazIreCore::TreeBuilder;

namespace {

const GenericNode* scalar(TreeBuilder& builder, const AnyValue& value) {
  switch (value.kind()) {
    case AnyValue::Kind::bool_: return builder.boolean(*value.boolValue(), syntheticRange);
    case AnyValue::Kind::int_:
    case AnyValue::Kind::double_: return builder.number(*value.doubleValue(), syntheticRange);
    case AnyValue::Kind::string: return builder.string(*value.stringValue(), syntheticRange);
    default: return builder.null(syntheticRange);
  }
}

}  // namespace

NodePtr nodeFromAnyValue(const AnyValue& value, std::string_view jsonPointer) {
  TreeBuilder builder;
  builder.setRawPointer(jsonPointer);
  const bool container = value.kind() == AnyValue::Kind::array || value.kind() == AnyValue::Kind::object;
  if (!container) return builder.finish(scalar(builder, value));

  // Children are made before their container; `built` holds the finished children of every open
  // container, each container's from its `base` on.
  struct Frame {
    const AnyValue* value;
    std::size_t next;
    std::size_t base;
  };
  std::vector<Frame> stack{{&value, 0, 0}};
  std::vector<const GenericNode*> built;
  std::vector<GenericNode::Member> members;
  const GenericNode* root = nullptr;
  while (!stack.empty()) {
    Frame& top = stack.back();
    const AnyValue::Array* array = top.value->arrayValue();
    const AnyValue::Object* object = top.value->objectValue();
    const std::size_t size = array ? array->size() : object->size();
    if (top.next == size) {
      const GenericNode* node;
      std::span<const GenericNode* const> children(built.data() + top.base, built.size() - top.base);
      if (array) {
        node = builder.array(children, syntheticRange);
      } else {
        members.clear();
        std::size_t i = 0;
        for (const auto& [key, member] : *object) members.push_back({key, children[i++]});
        node = builder.object(members, syntheticRange);
      }
      built.resize(top.base);
      stack.pop_back();
      if (stack.empty()) {
        root = node;
      } else {
        built.push_back(node);
      }
      continue;
    }
    const AnyValue& child = array ? (*array)[top.next] : (object->begin() + static_cast<std::ptrdiff_t>(top.next))->second;
    ++top.next;
    if (child.kind() == AnyValue::Kind::array || child.kind() == AnyValue::Kind::object) {
      stack.push_back({&child, 0, built.size()});
    } else {
      built.push_back(scalar(builder, child));
    }
  }
  return builder.finish(root);
}

NodePtr stringNode(std::string_view value, std::string_view jsonPointer) {
  return GenericNode::makeString(value, syntheticRange, jsonPointer);
}

NodePtr numberNode(double value, std::string_view jsonPointer) {
  return GenericNode::makeNumber(value, syntheticRange, jsonPointer);
}

NodePtr intNode(int64_t value, std::string_view jsonPointer) {
  return GenericNode::makeNumber(static_cast<double>(value), syntheticRange, jsonPointer);
}

NodePtr boolNode(bool value, std::string_view jsonPointer) {
  return GenericNode::makeBool(value, syntheticRange, jsonPointer);
}

NodePtr nullNode(std::string_view jsonPointer) { return GenericNode::makeNull(syntheticRange, jsonPointer); }

NodePtr arrayNode(const std::vector<NodePtr>& elements, std::string_view jsonPointer) {
  return GenericNode::makeArray(elements, syntheticRange, jsonPointer);
}

NodePtr objectNode(const VoziZazIreCore::OrderedMap<NodePtr>& members, std::string_view jsonPointer) {
  return GenericNode::makeObject(members, syntheticRange, jsonPointer);
}

}  // namespace VoziZazIreExampleGeneration::GenericNodeBuilder
