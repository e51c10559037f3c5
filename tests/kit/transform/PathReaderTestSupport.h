#pragma once
// Helpers for the reader tests of paths, operations, responses, parameters and content: parse a YAML
// snippet, hand its root (or a node below it) to one reader with a fresh context, and look at what the
// reader recorded, without the validation rules the facade would add at level high.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "kit/core/Diagnostic.h"
#include "kit/core/GenericNode.h"
#include "kit/core/TransformError.h"
#include "kit/core/ValidationLevel.h"
#include "kit/parsing/YAMLParser.h"
#include "kit/transform/TransformContext.h"

namespace CarvexTest {

using VoziZazIreCore::ValidationLevel;

inline VoziZazIreCore::NodePtr yamlTree(std::string_view text) { return VoziZazIreParsing::YAMLParser().parse(text); }

// "<message> @ <pointer> <line>:<column>" of a finding or an error.
inline std::string placed(const std::string& message, const std::optional<std::string>& pointer,
                          const std::optional<VoziZazIreCore::SourceRange>& range) {
  std::string out = message;
  out += " @ ";
  out += pointer.value_or("-");
  if (range) {
    out += ' ';
    out += std::to_string(range->start.line);
    out += ':';
    out += std::to_string(range->start.column);
  }
  return out;
}

inline std::string finding(const VoziZazIreCore::Diagnostic& d) { return placed(d.message(), d.jsonPointer(), d.range()); }

inline std::vector<std::string> findings(const VoziZazIreTransform::TransformContext& context) {
  std::vector<std::string> out;
  for (const auto& d : context.diagnostics) out.push_back(finding(d));
  return out;
}

inline std::vector<std::string> findingMessages(const VoziZazIreTransform::TransformContext& context) {
  std::vector<std::string> out;
  for (const auto& d : context.diagnostics) out.push_back(d.message());
  return out;
}

// One read of a YAML snippet: the tree stays alive beside the context and the model.
template <class Model>
struct ReadResult {
  VoziZazIreCore::NodePtr tree;
  VoziZazIreTransform::TransformContext context;
  std::shared_ptr<const Model> model;
  std::vector<std::string> findings() const { return CarvexTest::findings(context); }
  std::vector<std::string> messages() const { return CarvexTest::findingMessages(context); }
};

// Reads the root of `text` with `reader(node, context)`.
template <class Reader>
auto readYaml(std::string_view text, ValidationLevel level, Reader&& reader) {
  using Model = typename decltype(reader(std::declval<const VoziZazIreCore::GenericNode&>(),
                                         std::declval<VoziZazIreTransform::TransformContext&>()))::element_type;
  ReadResult<Model> result{.tree = yamlTree(text), .context = VoziZazIreTransform::TransformContext(level), .model = {}};
  result.model = reader(*result.tree, result.context);
  return result;
}

// The message of the TransformError a read throws, with "@ <pointer> <line>:<column>"; "no error" when none.
template <class Reader>
std::string thrownBy(std::string_view text, ValidationLevel level, Reader&& reader) {
  auto tree = yamlTree(text);
  VoziZazIreTransform::TransformContext context(level);
  try {
    reader(*tree, context);
  } catch (const VoziZazIreCore::TransformError& error) {
    return placed(error.message(), error.jsonPointer(), error.range());
  }
  return "no error";
}

}  // namespace CarvexTest
