#pragma once
// Test helpers: building example values in a line and comparing node trees by value.

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "kit/core/AnyValue.h"
#include "kit/core/GenericNode.h"

namespace CarvexExampleTest {

using VoziZazIreCore::AnyValue;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;

inline AnyValue object(std::initializer_list<std::pair<std::string, AnyValue>> members) {
  AnyValue::Object map;
  for (const auto& [key, value] : members) map.insertOrAssign(key, value);
  return AnyValue(std::move(map));
}

inline AnyValue array(std::initializer_list<AnyValue> elements) { return AnyValue(AnyValue::Array(elements)); }

// Why two trees differ (kind, scalar value, key set or length, found without recursion), or "" when they
// are equal. Numbers compare by value; NaN equals NaN.
inline std::string treeDifference(const GenericNode& a, const GenericNode& b) {
  std::vector<std::pair<const GenericNode*, const GenericNode*>> stack{{&a, &b}};
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    stack.pop_back();
    std::string where = std::string(x->jsonPointer());
    if (x->kind() != y->kind()) return "kind at '" + where + "': " + x->description() + " vs " + y->description();
    switch (x->kind()) {
      case GenericNodeKind::string:
        if (*x->stringValue() != *y->stringValue()) return "string at '" + where + "'";
        break;
      case GenericNodeKind::number: {
        double p = *x->numberValue(), q = *y->numberValue();
        if (!(p == q || (std::isnan(p) && std::isnan(q)))) return "number at '" + where + "'";
        break;
      }
      case GenericNodeKind::bool_:
        if (*x->boolValue() != *y->boolValue()) return "bool at '" + where + "'";
        break;
      case GenericNodeKind::array:
        if (x->count() != y->count()) return "length at '" + where + "'";
        for (std::size_t i = 0; i < x->count(); ++i) stack.push_back({(*x)[i], (*y)[i]});
        break;
      case GenericNodeKind::object:
        if (x->count() != y->count()) return "size at '" + where + "'";
        for (const auto& member : *x->objectValue()) {
          const GenericNode* other = y->objectValue()->find(member.key);
          if (!other) return "missing key '" + std::string(member.key) + "' at '" + where + "'";
          stack.push_back({member.value, other});
        }
        break;
      case GenericNodeKind::null: break;
    }
  }
  return "";
}

}  // namespace CarvexExampleTest
