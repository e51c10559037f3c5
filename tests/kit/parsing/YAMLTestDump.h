#pragma once
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "kit/core/GenericNode.h"
#include "kit/core/JSONPointerUtils.h"
#include "kit/core/TextServices.h"

namespace YAMLTestSupport {

// JSON quoting of a string, control characters escaped.
inline void quote(std::string_view s, std::string& out) {
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
}

// A canonical text of a node's value: object members sorted by key, strings JSON-quoted, numbers in
// their shortest form. Two nodes hold the same value exactly when their dumps are equal.
inline void dump(const VoziZazIreCore::GenericNode* node, std::string& out) {
  using VoziZazIreCore::GenericNodeKind;
  switch (node->kind()) {
    case GenericNodeKind::null: out += "null"; break;
    case GenericNodeKind::bool_: out += *node->boolValue() ? "true" : "false"; break;
    case GenericNodeKind::number: out += VoziZazIreCore::TextServices::shortestDouble(*node->numberValue()); break;
    case GenericNodeKind::string: quote(*node->stringValue(), out); break;
    case GenericNodeKind::array: {
      out.push_back('[');
      const char* separator = "";
      for (const auto* element : *node->arrayValue()) {
        out += separator;
        separator = ",";
        dump(element, out);
      }
      out.push_back(']');
      break;
    }
    case GenericNodeKind::object: {
      std::vector<std::pair<std::string_view, const VoziZazIreCore::GenericNode*>> sorted;
      for (const auto& m : *node->objectValue()) sorted.emplace_back(m.key, m.value);
      std::sort(sorted.begin(), sorted.end());
      out.push_back('{');
      const char* separator = "";
      for (const auto& [key, value] : sorted) {
        out += separator;
        separator = ",";
        quote(key, out);
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

inline std::string withCrlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

// The node a JSON pointer names, or null.
inline const VoziZazIreCore::GenericNode* resolve(const VoziZazIreCore::GenericNode* node, const std::string& pointer) {
  for (const std::string& token : VoziZazIreCore::JSONPointerUtils::parse(pointer)) {
    if (!node) break;
    node = node->kind() == VoziZazIreCore::GenericNodeKind::array ? (*node)[static_cast<int64_t>(std::stoll(token))]
                                                                  : (*node)[token];
  }
  return node;
}

}  // namespace YAMLTestSupport
