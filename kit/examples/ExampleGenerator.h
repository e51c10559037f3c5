#pragma once
#include <string>

#include "kit/core/GenericNode.h"
#include "kit/core/ReferenceOr.h"
#include "kit/examples/ExampleGenerationOptions.h"
#include "kit/examples/ExampleModels.h"
#include "kit/examples/OperationExampleResult.h"
#include "kit/examples/OutputFormat.h"

namespace VoziZazIreExampleGeneration {

// The example library's entry: the example of a schema, a schema reference, a parameter, a request
// body, a response or an operation of either OpenAPI version, and a schema's example as text. Each call
// builds its own walker, visitor and context, so one generator serves any number of calls and documents.
// `components` is the document's components, or nullptr. Every `generate` throws the walker's
// `ExampleGenerationError`, and only that; a request ends in bounded time and memory whatever the schema.
class ExampleGenerator {
 public:
  explicit ExampleGenerator(ExampleGenerationOptions options) noexcept : options_(options) {}

  const ExampleGenerationOptions& options() const noexcept { return options_; }

  VoziZazIreCore::NodePtr generate(const ExampleModel30::Schema& schema, const ExampleModel30::Components* components) const;
  VoziZazIreCore::NodePtr generate(const VoziZazIreCore::ReferenceOr<ExampleModel30::Schema>& schema,
                                   const ExampleModel30::Components* components) const;
  VoziZazIreCore::NodePtr generate(const ExampleModel30::Parameter& parameter,
                                   const ExampleModel30::Components* components) const;
  // Null when the body gives no example.
  VoziZazIreCore::NodePtr generate(const ExampleModel30::RequestBody& body, const ExampleModel30::Components* components) const;
  // Null when the response gives no example.
  VoziZazIreCore::NodePtr generate(const ExampleModel30::Response& response,
                                   const ExampleModel30::Components* components) const;
  OperationExampleResult generate(const ExampleModel30::Operation& operation,
                                  const ExampleModel30::Components* components) const;
  std::string generateJSON(const ExampleModel30::Schema& schema, const ExampleModel30::Components* components,
                           bool prettyPrint) const;
  std::string generateYAML(const ExampleModel30::Schema& schema, const ExampleModel30::Components* components) const;

  VoziZazIreCore::NodePtr generate(const ExampleModel31::Schema& schema, const ExampleModel31::Components* components) const;
  VoziZazIreCore::NodePtr generate(const VoziZazIreCore::ReferenceOr<ExampleModel31::Schema>& schema,
                                   const ExampleModel31::Components* components) const;
  VoziZazIreCore::NodePtr generate(const ExampleModel31::Parameter& parameter,
                                   const ExampleModel31::Components* components) const;
  VoziZazIreCore::NodePtr generate(const ExampleModel31::RequestBody& body, const ExampleModel31::Components* components) const;
  VoziZazIreCore::NodePtr generate(const ExampleModel31::Response& response,
                                   const ExampleModel31::Components* components) const;
  OperationExampleResult generate(const ExampleModel31::Operation& operation,
                                  const ExampleModel31::Components* components) const;
  std::string generateJSON(const ExampleModel31::Schema& schema, const ExampleModel31::Components* components,
                           bool prettyPrint) const;
  std::string generateYAML(const ExampleModel31::Schema& schema, const ExampleModel31::Components* components) const;

  // The serialiser's operations (GenericNodeSerializer).
  std::string toJSON(const VoziZazIreCore::GenericNode& node, bool prettyPrint) const;
  std::string toYAML(const VoziZazIreCore::GenericNode& node) const;
  std::string serialize(const VoziZazIreCore::GenericNode& node, OutputFormat format) const;

 private:
  ExampleGenerationOptions options_;
};

}  // namespace VoziZazIreExampleGeneration
