#include "kit/examples/ExampleGenerator.h"

#include "kit/examples/ExampleGenerationContext.h"
#include "kit/examples/ExampleGenerator30.h"
#include "kit/examples/ExampleGenerator31.h"
#include "kit/examples/ExampleGeneratorVisitor30.h"
#include "kit/examples/ExampleGeneratorVisitor31.h"
#include "kit/examples/GenericNodeSerializer.h"

namespace VoziZazIreExampleGeneration {

using VoziZazIreCore::NodePtr;

namespace {

template <class Walker, class Schema, class Components>
NodePtr schemaExample(const ExampleGenerationOptions& options, const Schema& schema, const Components* components) {
  return Walker(components).generateExample(schema, ExampleGenerationContext(options));
}

}  // namespace

#define CARVEX_EXAMPLE_ENTRIES(M, Walker, Visitor)                                                                  \
  NodePtr ExampleGenerator::generate(const M::Schema& schema, const M::Components* components) const {              \
    return schemaExample<Walker>(options_, schema, components);                                                     \
  }                                                                                                                 \
  NodePtr ExampleGenerator::generate(const VoziZazIreCore::ReferenceOr<M::Schema>& schema,                          \
                                     const M::Components* components) const {                                       \
    return Visitor(components, options_).visit(schema);                                                             \
  }                                                                                                                 \
  NodePtr ExampleGenerator::generate(const M::Parameter& parameter, const M::Components* components) const {        \
    return Visitor(components, options_).visit(parameter);                                                          \
  }                                                                                                                 \
  NodePtr ExampleGenerator::generate(const M::RequestBody& body, const M::Components* components) const {           \
    return Visitor(components, options_).visit(body);                                                               \
  }                                                                                                                 \
  NodePtr ExampleGenerator::generate(const M::Response& response, const M::Components* components) const {          \
    return Visitor(components, options_).visit(response);                                                           \
  }                                                                                                                 \
  OperationExampleResult ExampleGenerator::generate(const M::Operation& operation, const M::Components* components) \
      const {                                                                                                       \
    return Visitor(components, options_).visit(operation);                                                          \
  }                                                                                                                 \
  std::string ExampleGenerator::generateJSON(const M::Schema& schema, const M::Components* components,              \
                                             bool prettyPrint) const {                                              \
    return GenericNodeSerializer::toJSON(*schemaExample<Walker>(options_, schema, components), prettyPrint);        \
  }                                                                                                                 \
  std::string ExampleGenerator::generateYAML(const M::Schema& schema, const M::Components* components) const {      \
    return GenericNodeSerializer::toYAML(*schemaExample<Walker>(options_, schema, components));                      \
  }

CARVEX_EXAMPLE_ENTRIES(ExampleModel30, ExampleGenerator30, ExampleGeneratorVisitor30)
CARVEX_EXAMPLE_ENTRIES(ExampleModel31, ExampleGenerator31, ExampleGeneratorVisitor31)

#undef CARVEX_EXAMPLE_ENTRIES

std::string ExampleGenerator::toJSON(const VoziZazIreCore::GenericNode& node, bool prettyPrint) const {
  return GenericNodeSerializer::toJSON(node, prettyPrint);
}

std::string ExampleGenerator::toYAML(const VoziZazIreCore::GenericNode& node) const {
  return GenericNodeSerializer::toYAML(node);
}

std::string ExampleGenerator::serialize(const VoziZazIreCore::GenericNode& node, OutputFormat format) const {
  return GenericNodeSerializer::serialize(node, format);
}

}  // namespace VoziZazIreExampleGeneration
