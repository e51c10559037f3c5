#pragma once

#include "Carvex/ModelAdapters/ExampleSource.h"
#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "kit/core/AnyValue.h"
#include "kit/examples/ExampleGenerationOptions.h"

#include <QString>

#include <optional>
#include <vector>

namespace Carvex {

// What the example-generator panel shows of one operation: the targets an example can be made for (the
// media types of its request body, then of its responses) and the example the schema of one target
// alone gives; declared examples are never used. Stateless; no error leaves it.
struct ExampleGeneratorService {
    OperationDetailsBuilder detailsBuilder;

    // Empty when the model has no such operation.
    std::vector<ExampleSource> availableTargets(const QString& path, HTTPMethod method,
                                                const ParsedOpenAPIModel& model) const;
    // Nothing when the operation, the target's body, response, media type or schema is missing, or when
    // the generation fails.
    std::optional<VoziZazIreCore::AnyValue> generateExample(const ExampleSource& target, const QString& path,
                                                            HTTPMethod method, const ParsedOpenAPIModel& model) const;

    // No provided examples, optional parameters and properties included, depth 10, neutral values on
    // cycles, 200 first, the first media type.
    static const VoziZazIreExampleGeneration::ExampleGenerationOptions& generationOptions();
};

} // namespace Carvex
