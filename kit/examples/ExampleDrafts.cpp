#include "kit/examples/ExampleDrafts.h"

#include "kit/core/JSONPointerUtils.h"
#include "kit/core/OrderedMap.h"
#include "kit/examples/GenericNodeBuilder.h"

namespace VoziZazIreExampleGeneration {

using VoziZazIreCore::NodePtr;

ExampleDrafts::Index ExampleDrafts::add(Kind kind, Path path) {
  Draft& draft = drafts_.emplace_back();
  draft.kind = kind;
  draft.path = std::move(path);
  return static_cast<Index>(drafts_.size() - 1);
}

ExampleDrafts::Index ExampleDrafts::null(Path path) { return add(Kind::null, path); }

ExampleDrafts::Index ExampleDrafts::boolean(bool value, Path path) {
  Index index = add(Kind::boolean, path);
  drafts_[index].flag = value;
  return index;
}

ExampleDrafts::Index ExampleDrafts::number(double value, Path path) {
  Index index = add(Kind::number, path);
  drafts_[index].number = value;
  return index;
}

ExampleDrafts::Index ExampleDrafts::string(std::string value, Path path) {
  Index index = add(Kind::string, path);
  drafts_[index].text = std::move(value);
  return index;
}

ExampleDrafts::Index ExampleDrafts::value(const VoziZazIreCore::AnyValue& value, Path path) {
  Index index = add(Kind::value, path);
  drafts_[index].value = &value;
  return index;
}

ExampleDrafts::Index ExampleDrafts::array(std::vector<Index> elements, Path path) {
  Index index = add(Kind::array, path);
  drafts_[index].elements = std::move(elements);
  return index;
}

ExampleDrafts::Index ExampleDrafts::object(std::vector<Member> members, Path path) {
  Index index = add(Kind::object, path);
  drafts_[index].members = std::move(members);
  return index;
}

bool ExampleDrafts::isObject(Index index) const {
  const Draft& draft = drafts_[index];
  return draft.kind == Kind::object || (draft.kind == Kind::value && draft.value->objectValue());
}

std::vector<ExampleDrafts::Member> ExampleDrafts::membersOf(Index index) {
  if (drafts_[index].kind == Kind::object) return drafts_[index].members;
  std::vector<Member> members;
  const VoziZazIreCore::AnyValue::Object* object = drafts_[index].value ? drafts_[index].value->objectValue() : nullptr;
  if (!object) return members;
  members.reserve(object->size());
  for (const auto& [key, member] : *object) {
    std::string pointer = *drafts_[index].path;
    VoziZazIreCore::JSONPointerUtils::appendInPlace(pointer, key);
    // `value` may move drafts_: nothing taken from it is kept across the call.
    members.emplace_back(key, value(member, std::make_shared<const std::string>(std::move(pointer))));
  }
  return members;
}

NodePtr ExampleDrafts::materialize(Index root) const {
  // Only what the root holds becomes a node: marked from the root down (containers come after their
  // children, so one backward pass reaches everything), then made from the children up.
  std::vector<bool> held(root + 1, false);
  held[root] = true;
  for (Index i = root + 1; i-- > 0;) {
    if (!held[i]) continue;
    for (Index element : drafts_[i].elements) held[element] = true;
    for (const Member& member : drafts_[i].members) held[member.second] = true;
  }
  std::vector<NodePtr> nodes(root + 1);
  for (Index i = 0; i <= root; ++i) {
    if (!held[i]) continue;
    const Draft& draft = drafts_[i];
    switch (draft.kind) {
      case Kind::null: nodes[i] = GenericNodeBuilder::nullNode(*draft.path); break;
      case Kind::boolean: nodes[i] = GenericNodeBuilder::boolNode(draft.flag, *draft.path); break;
      case Kind::number: nodes[i] = GenericNodeBuilder::numberNode(draft.number, *draft.path); break;
      case Kind::string: nodes[i] = GenericNodeBuilder::stringNode(draft.text, *draft.path); break;
      case Kind::value: nodes[i] = GenericNodeBuilder::nodeFromAnyValue(*draft.value, *draft.path); break;
      case Kind::array: {
        std::vector<NodePtr> elements;
        elements.reserve(draft.elements.size());
        for (Index element : draft.elements) elements.push_back(nodes[element]);
        nodes[i] = GenericNodeBuilder::arrayNode(elements, *draft.path);
        break;
      }
      case Kind::object: {
        VoziZazIreCore::OrderedMap<NodePtr> members;
        for (const Member& member : draft.members) members.appendUnchecked(member.first, nodes[member.second]);
        nodes[i] = GenericNodeBuilder::objectNode(members, *draft.path);
        break;
      }
    }
  }
  return nodes[root];
}

}  // namespace VoziZazIreExampleGeneration
