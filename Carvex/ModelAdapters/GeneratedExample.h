#pragma once

#include "Carvex/ModelAdapters/ExampleSource.h"
#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "kit/core/AnyValue.h"
#include "kit/core/GenericNode.h"
#include "kit/examples/ExampleGenerationOptions.h"

#include <optional>
#include <string_view>

namespace Carvex::GeneratedExample {

// The example the library generates with `options` from the schema of `source` in the operation at
// `path` (the exact key) and `method` of the typed document. A request body or response given as a
// "$ref" is followed once, by the text after its last "/", into the document's components and must reach
// an inline object there. Nothing when a piece is missing or the generation fails: no error escapes.
std::optional<VoziZazIreCore::AnyValue> generate(const ParsedOpenAPIModel& model, std::string_view path,
                                                 HTTPMethod method, const ExampleSource& source,
                                                 const VoziZazIreExampleGeneration::ExampleGenerationOptions& options);

// The value of a generated node: objects and arrays member by member, a number as an integer when it is
// one and as a double otherwise, missing texts and numbers as "" and 0. Walks with a stack of its own.
VoziZazIreCore::AnyValue anyValue(const VoziZazIreCore::GenericNode& node);

} // namespace Carvex::GeneratedExample
