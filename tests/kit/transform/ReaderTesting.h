#pragma once
// Helpers for the reader tests: parse a snippet, hand a node of it to one reader with a fresh context (no
// validation rules of the facade take part), and print what the reader recorded or threw as
// "<message> @ <pointer> <line>:<column>".

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "kit/core/JSONPointerUtils.h"
#include "kit/core/TransformError.h"
#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"
#include "kit/transform/TransformContext.h"
#include "tests/kit/TestDocuments.h"

namespace CarvexTest {

inline std::vector<std::string> findings(const VoziZazIreTransform::TransformContext& context) {
  std::vector<std::string> out;
  for (const auto& d : context.diagnostics) out.push_back(d.message() + " @ " + where(d));
  return out;
}

// A JSON text (starting with "{" or "[") or a YAML one, and one transform context over it.
struct Reading {
  explicit Reading(std::string_view text, ValidationLevel level = ValidationLevel::high) : context(level) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    const bool json = first != std::string_view::npos && (text[first] == '{' || text[first] == '[');
    root = json ? VoziZazIreParsing::JSONParser().parse(text) : VoziZazIreParsing::YAMLParser().parse(text);
  }
  // The node at `pointer`; fails the test (and gives the root) when there is none.
  const VoziZazIreCore::GenericNode& at(std::string_view pointer) const {
    const VoziZazIreCore::GenericNode* node = root.get();
    for (const std::string& token : VoziZazIreCore::JSONPointerUtils::parse(pointer)) {
      node = node->arrayValue() ? (*node)[static_cast<int64_t>(std::stoll(token))] : (*node)[token];
      if (!node) {
        ADD_FAILURE() << "no node at " << pointer;
        return *root;
      }
    }
    return *node;
  }
  std::vector<std::string> findings() const { return CarvexTest::findings(context); }
  std::vector<std::string> findingMessages() const { return messages(context.diagnostics); }

  VoziZazIreCore::NodePtr root;
  VoziZazIreTransform::TransformContext context;
};

// One read of a YAML snippet by a reader: the tree stays alive beside the context and the model.
template <class Model>
struct ReadResult {
  VoziZazIreCore::NodePtr tree;
  VoziZazIreTransform::TransformContext context;
  std::shared_ptr<const Model> model;
  std::vector<std::string> findings() const { return CarvexTest::findings(context); }
  std::vector<std::string> messages() const { return CarvexTest::messages(context.diagnostics); }
};

// Reads the root of the YAML `text` with `reader(node, context)`.
template <class Reader>
auto readYaml(std::string_view text, ValidationLevel level, Reader&& reader) {
  using Model = typename decltype(reader(std::declval<const VoziZazIreCore::GenericNode&>(),
                                         std::declval<VoziZazIreTransform::TransformContext&>()))::element_type;
  ReadResult<Model> result{VoziZazIreParsing::YAMLParser().parse(text), VoziZazIreTransform::TransformContext(level), {}};
  result.model = reader(*result.tree, result.context);
  return result;
}

// The TransformError a read of the YAML `text` throws, printed; "no error" when none.
template <class Reader>
std::string thrownBy(std::string_view text, ValidationLevel level, Reader&& reader) {
  auto tree = VoziZazIreParsing::YAMLParser().parse(text);
  VoziZazIreTransform::TransformContext context(level);
  try {
    reader(*tree, context);
  } catch (const VoziZazIreCore::TransformError& error) {
    std::string out = error.message() + " @ " + error.jsonPointer().value_or("-");
    if (error.range()) out += ' ' + std::to_string(error.range()->start.line) + ':' + std::to_string(error.range()->start.column);
    return out;
  }
  return "no error";
}

}  // namespace CarvexTest
