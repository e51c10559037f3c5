#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kit/core/AnyValue.h"
#include "kit/core/GenericNode.h"

namespace VoziZazIreExampleGeneration {

// The values of one schema walk as they are made, before they become nodes. A walk that fails (a
// depth, cycle, reference or budget error) has then made no nodes at all, and one that succeeds turns
// only the values that its result holds into nodes, children before their containers, without
// recursion. Values are numbered in the order made; a container is always made after its children.
class ExampleDrafts {
 public:
  using Index = uint32_t;
  using Member = std::pair<std::string, Index>;
  // A value's pointer text, shared with the context it was made in.
  using Path = std::shared_ptr<const std::string>;

  Index null(Path path);
  Index boolean(bool value, Path path);
  Index number(double value, Path path);
  Index string(std::string value, Path path);
  // A value the document supplies (example, enum value, default, const); it must outlive the drafts.
  Index value(const VoziZazIreCore::AnyValue& value, Path path);
  Index array(std::vector<Index> elements, Path path);
  // Members with distinct keys.
  Index object(std::vector<Member> members, Path path);

  // Whether the value is an object, made here or supplied by the document.
  bool isObject(Index index) const;
  // The members of an object value: those it was made with, or for a document value one value per
  // member, each at its container's pointer, "/" and the escaped key.
  std::vector<Member> membersOf(Index index);

  // The node tree of `root`, every node with its own pointer and the synthetic range.
  VoziZazIreCore::NodePtr materialize(Index root) const;

 private:
  enum class Kind : uint8_t { null, boolean, number, string, value, array, object };
  struct Draft {
    Kind kind = Kind::null;
    bool flag = false;
    double number = 0;
    std::string text;
    Path path;
    const VoziZazIreCore::AnyValue* value = nullptr;
    std::vector<Index> elements;
    std::vector<Member> members;
  };
  Index add(Kind kind, Path path);

  std::vector<Draft> drafts_;
};

}  // namespace VoziZazIreExampleGeneration
