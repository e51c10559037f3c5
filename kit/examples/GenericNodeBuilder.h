#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kit/core/AnyValue.h"
#include "kit/core/GenericNode.h"
#include "kit/core/OrderedMap.h"
#include "kit/core/SourceLocation.h"
#include "kit/core/SourceRange.h"

namespace VoziZazIreExampleGeneration {

// Makes example nodes. Every node carries the synthetic range (line 1, column 1, offset 0 at both ends)
// and the JSON pointer it is given; containers keep their children as they are.
namespace GenericNodeBuilder {

inline constexpr VoziZazIreCore::SourceLocation syntheticLocation{1, 1, 0};
inline constexpr VoziZazIreCore::SourceRange syntheticRange{syntheticLocation, syntheticLocation};

// The tree of a value, built in one piece: the root has `jsonPointer`, a member the pointer of its
// container, "/" and its key escaped ("~" as "~0", then "/" as "~1"), an element "/" and its index.
// Integers become numbers. Nesting of any depth is built without recursion.
VoziZazIreCore::NodePtr nodeFromAnyValue(const VoziZazIreCore::AnyValue& value, std::string_view jsonPointer);

VoziZazIreCore::NodePtr stringNode(std::string_view value, std::string_view jsonPointer);
VoziZazIreCore::NodePtr numberNode(double value, std::string_view jsonPointer);
VoziZazIreCore::NodePtr intNode(int64_t value, std::string_view jsonPointer);
VoziZazIreCore::NodePtr boolNode(bool value, std::string_view jsonPointer);
VoziZazIreCore::NodePtr nullNode(std::string_view jsonPointer);
VoziZazIreCore::NodePtr arrayNode(const std::vector<VoziZazIreCore::NodePtr>& elements, std::string_view jsonPointer);
VoziZazIreCore::NodePtr objectNode(const VoziZazIreCore::OrderedMap<VoziZazIreCore::NodePtr>& members,
                                   std::string_view jsonPointer);

}  // namespace GenericNodeBuilder
}  // namespace VoziZazIreExampleGeneration
