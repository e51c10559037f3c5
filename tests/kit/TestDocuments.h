#pragma once
// Test helpers: parse a description given as YAML or JSON text through the facade, at a chosen level,
// and look at its findings.

#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "kit/core/Diagnostic.h"
#include "kit/core/ValidationLevel.h"
#include "kit/facade/OpenApiParser.h"
#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"
#include "kit/transform/OpenAPI3_0Transformer.h"
#include "kit/transform/OpenAPI3_1Transformer.h"

namespace CarvexTest {

using VoziZazIreCore::ValidationLevel;

inline VoziZazIre::ParseResult parseYaml(std::string_view text, ValidationLevel level = ValidationLevel::high) {
  return VoziZazIre::OpenApiParser().parse(text, VoziZazIre::Format::yaml, level);
}

inline VoziZazIre::ParseResult parseJson(std::string_view text, ValidationLevel level = ValidationLevel::high) {
  return VoziZazIre::OpenApiParser().parse(text, VoziZazIre::Format::json, level);
}

// The transform alone (no version detection, no validation rules) of a YAML text, read as 3.0 or 3.1
// whatever its "openapi" member says. The tree stays alive in `tree`.
template <class Transformer>
struct Transformed {
  VoziZazIreCore::NodePtr tree;
  decltype(Transformer().transform(std::declval<const VoziZazIreCore::GenericNode&>(), ValidationLevel::none)) result;
};
template <class Transformer>
Transformed<Transformer> transformYaml(std::string_view text, ValidationLevel level) {
  VoziZazIreCore::NodePtr tree = VoziZazIreParsing::YAMLParser().parse(text);
  auto result = Transformer().transform(*tree, level);
  return {std::move(tree), std::move(result)};
}
inline Transformed<VoziZazIreTransform::OpenAPI3_0Transformer> transform30(std::string_view yaml,
                                                                          ValidationLevel level = ValidationLevel::high) {
  return transformYaml<VoziZazIreTransform::OpenAPI3_0Transformer>(yaml, level);
}
inline Transformed<VoziZazIreTransform::OpenAPI3_1Transformer> transform31(std::string_view yaml,
                                                                          ValidationLevel level = ValidationLevel::high) {
  return transformYaml<VoziZazIreTransform::OpenAPI3_1Transformer>(yaml, level);
}

// The 3.0 / 3.1 document of a result (nullptr for the other version).
inline const VoziZazIreModels::OpenAPI3_0::Document* document30(const VoziZazIre::ParseResult& result) {
  return result.document.v3_0();
}
inline const VoziZazIreModels::OpenAPI3_1::Document* document31(const VoziZazIre::ParseResult& result) {
  return result.document.v3_1();
}

// The messages of the findings, in order.
inline std::vector<std::string> messages(const std::vector<VoziZazIreCore::Diagnostic>& diagnostics) {
  std::vector<std::string> out;
  out.reserve(diagnostics.size());
  for (const auto& diagnostic : diagnostics) out.push_back(diagnostic.message());
  return out;
}
inline std::vector<std::string> messages(const VoziZazIre::ParseResult& result) { return messages(result.diagnostics); }

// The findings whose message begins with "[<code>]".
inline std::vector<VoziZazIreCore::Diagnostic> withCode(const std::vector<VoziZazIreCore::Diagnostic>& diagnostics,
                                                        std::string_view code) {
  std::string prefix = "[";
  prefix += code;
  prefix += ']';
  std::vector<VoziZazIreCore::Diagnostic> out;
  for (const auto& diagnostic : diagnostics)
    if (diagnostic.message().starts_with(prefix)) out.push_back(diagnostic);
  return out;
}
inline std::vector<VoziZazIreCore::Diagnostic> withCode(const VoziZazIre::ParseResult& result, std::string_view code) {
  return withCode(result.diagnostics, code);
}

// "<pointer> <line>:<column>" of a finding's start ("-" for an absent pointer, "0:0" for an absent range).
inline std::string where(const VoziZazIreCore::Diagnostic& diagnostic) {
  std::string out = diagnostic.jsonPointer() ? *diagnostic.jsonPointer() : std::string("-");
  out += ' ';
  if (diagnostic.range()) {
    out += std::to_string(diagnostic.range()->start.line);
    out += ':';
    out += std::to_string(diagnostic.range()->start.column);
  } else {
    out += "0:0";
  }
  return out;
}

// "<message> @ <pointer> <line>:<column>" per finding, in order, with "(warning)" after warnings.
inline std::vector<std::string> findings(const std::vector<VoziZazIreCore::Diagnostic>& diagnostics) {
  std::vector<std::string> out;
  out.reserve(diagnostics.size());
  for (const auto& diagnostic : diagnostics) {
    std::string line = diagnostic.message() + " @ " + where(diagnostic);
    if (diagnostic.severity() == VoziZazIreCore::DiagnosticSeverity::warning) line += " (warning)";
    out.push_back(std::move(line));
  }
  return out;
}

}  // namespace CarvexTest
