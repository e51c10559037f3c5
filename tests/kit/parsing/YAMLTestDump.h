#pragma once
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "kit/core/GenericNode.h"
#include "kit/core/TextServices.h"

namespace YAMLTestSupport {

// A canonical text of a node's value: object members sorted by key, strings JSON-quoted, numbers in
// their shortest form. Two nodes hold the same value exactly when their dumps are equal.
inline void dump(const VoziZazIreCore::GenericNode* node, std::string& out) {
  using VoziZazIreCore::GenericNodeKind;
  auto quote = [&out](std::string_view s) {
    out.push_back('"');
    for (unsigned char c : s) {
      if (c == '"' || c == '\\') {
        out.push_back('\\');
        out.push_back(static_cast<char>(c));
      } else if (c == '\n') {
        out += "\\n";
      } else if (c == '\t') {
        out += "\\t";
      } else if (c == '\r') {
        out += "\\r";
      } else if (c < 0x20) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
        out += buffer;
      } else {
        out.push_back(static_cast<char>(c));
      }
    }
    out.push_back('"');
  };
  switch (node->kind()) {
    case GenericNodeKind::null: out += "null"; break;
    case GenericNodeKind::bool_: out += *node->boolValue() ? "true" : "false"; break;
    case GenericNodeKind::number: out += VoziZazIreCore::TextServices::shortestDouble(*node->numberValue()); break;
    case GenericNodeKind::string: quote(*node->stringValue()); break;
    case GenericNodeKind::array: {
      out.push_back('[');
      bool first = true;
      const auto elements = *node->arrayValue();
      for (const auto* element : elements) {
        if (!first) out.push_back(',');
        first = false;
        dump(element, out);
      }
      out.push_back(']');
      break;
    }
    case GenericNodeKind::object: {
      const auto members = *node->objectValue();
      std::vector<std::pair<std::string_view, const VoziZazIreCore::GenericNode*>> sorted;
      for (const auto& m : members) sorted.emplace_back(m.key, m.value);
      std::sort(sorted.begin(), sorted.end());
      out.push_back('{');
      bool first = true;
      for (const auto& [key, value] : sorted) {
        if (!first) out.push_back(',');
        first = false;
        quote(key);
        out.push_back(':');
        dump(value, out);
      }
      out.push_back('}');
      break;
    }
  }
}

inline std::string dump(const VoziZazIreCore::GenericNode* node) {
  std::string out;
  dump(node, out);
  return out;
}

}  // namespace YAMLTestSupport
