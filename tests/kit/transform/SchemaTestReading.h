#pragma once
// Test helpers for the schema, component and security-scheme readers: parse a JSON or YAML text, call one
// reader on the node at a pointer with a fresh context, and print findings as "<message> @ <pointer> <line>:<column>".

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "kit/core/JSONPointerUtils.h"
#include "kit/core/ValidationLevel.h"
#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"
#include "kit/transform/TransformContext.h"
#include "tests/kit/TestDocuments.h"

namespace CarvexTest {

// JSON when the text starts with "{" or "[" (after white space), else YAML.
inline VoziZazIreCore::NodePtr parseText(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos && (text[first] == '{' || text[first] == '['))
    return VoziZazIreParsing::JSONParser().parse(text);
  return VoziZazIreParsing::YAMLParser().parse(text);
}

// The node at `pointer` below `root`; fails the test (and returns the root) when there is none.
inline const VoziZazIreCore::GenericNode& nodeAt(const VoziZazIreCore::GenericNode& root, std::string_view pointer) {
  const VoziZazIreCore::GenericNode* node = &root;
  for (const std::string& token : VoziZazIreCore::JSONPointerUtils::parse(pointer)) {
    const VoziZazIreCore::GenericNode* next = nullptr;
    if (node->arrayValue()) {
      next = (*node)[static_cast<int64_t>(std::stoll(token))];
    } else {
      next = (*node)[token];
    }
    if (!next) {
      ADD_FAILURE() << "no node at " << pointer;
      return root;
    }
    node = next;
  }
  return *node;
}

// A parsed text and one transform context over it.
struct Reading {
  explicit Reading(std::string_view text, VoziZazIreCore::ValidationLevel level = VoziZazIreCore::ValidationLevel::high)
      : root(parseText(text)), context(level) {}
  const VoziZazIreCore::GenericNode& at(std::string_view pointer) const { return nodeAt(*root, pointer); }
  std::vector<std::string> findings() const {
    std::vector<std::string> out;
    for (const auto& diagnostic : context.diagnostics) out.push_back(diagnostic.message() + " @ " + where(diagnostic));
    return out;
  }
  std::vector<std::string> findingMessages() const { return messages(context.diagnostics); }

  VoziZazIreCore::NodePtr root;
  VoziZazIreTransform::TransformContext context;
};

}  // namespace CarvexTest
