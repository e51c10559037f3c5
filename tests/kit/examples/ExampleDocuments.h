#pragma once
// Test helpers: descriptions written as YAML text, read through the facade without validation, and the
// examples of their schema references as compact JSON.

#include <string>
#include <string_view>

#include "../TestDocuments.h"
#include "kit/core/Reference.h"
#include "kit/examples/ExampleGenerationError.h"
#include "kit/examples/ExampleGenerationOptions.h"
#include "kit/examples/ExampleGenerator.h"
#include "kit/examples/GenericNodeSerializer.h"

namespace CarvexExampleTest {

using namespace VoziZazIreExampleGeneration;

// The options the application passes.
inline ExampleGenerationOptions applicationOptions() {
  return ExampleGenerationOptions(false, true, true, 10, CycleHandling::useNeutralValue, ResponseSelection::prefer200,
                                  ContentTypeSelection::firstDefined);
}

// `body` (components, paths) under an "openapi" line of the given version ("3.0.3", "3.1.0").
inline VoziZazIre::ParseResult parseDescription(std::string_view version, std::string_view body) {
  std::string text = "openapi: " + std::string(version) + "\ninfo: {title: t, version: '1'}\n";
  if (body.find("paths:") == std::string_view::npos) text += "paths: {}\n";
  text += body;
  return CarvexTest::parseYaml(text, VoziZazIreCore::ValidationLevel::none);
}

inline VoziZazIreCore::Reference reference(std::string_view ref) {
  return VoziZazIreCore::Reference(std::string(ref), std::nullopt, std::nullopt, std::nullopt);
}

// The example of the schema reference `ref` as compact JSON (or YAML), or "error: " and the error's text.
inline std::string exampleText(const VoziZazIre::ParseResult& result, std::string_view ref,
                               const ExampleGenerationOptions& options, bool yaml = false) {
  ExampleGenerator generator(options);
  try {
    VoziZazIreCore::NodePtr node;
    if (const auto* document = result.document.v3_0()) {
      node = generator.generate(VoziZazIreCore::ReferenceOr<ExampleModel30::Schema>(reference(ref)),
                                document->components.get());
    } else {
      node = generator.generate(VoziZazIreCore::ReferenceOr<ExampleModel31::Schema>(reference(ref)),
                                result.document.v3_1()->components.get());
    }
    return yaml ? GenericNodeSerializer::toYAML(*node) : GenericNodeSerializer::toJSON(*node, false);
  } catch (const ExampleGenerationError& error) {
    return std::string("error: ") + error.what();
  }
}

}  // namespace CarvexExampleTest
