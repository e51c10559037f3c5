#pragma once

#include "Carvex/ModelAdapters/ExampleSource.h"
#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"
#include "Carvex/ModelAdapters/OperationDetailsViewModel.h"
#include "Carvex/ModelAdapters/OperationExampleViewModel.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "kit/examples/ExampleGenerationOptions.h"

#include <memory>
#include <vector>

namespace Carvex {

// The example sources of an operation (each media type of its request body, then of each response) and
// the examples of one source: the ones the document declares, or else one generated from the source's
// schema. Computed on each call; nothing is kept. Make one per model shown.
struct ExampleExtractor {
    explicit ExampleExtractor(const ParsedOpenAPIModel& model) : documentAdapter(model.makeAdapter()), model(model) {}

    std::shared_ptr<const OpenAPIDocumentAdapter> documentAdapter;
    ParsedOpenAPIModel model;

    // In the order of the details; duplicates kept.
    std::vector<ExampleSource> availableSources(const OperationDetailsViewModel& details) const;
    // The declared examples of the source: its media type's named examples sorted by name, else its
    // `example` ("Example"), else its schema's example ("Schema Example") or examples ("Example 1", ...).
    // When it declares none, the one example generated from its schema ("Generated"), or nothing.
    std::vector<OperationExampleViewModel> examples(const OperationDetailsViewModel& details,
                                                    const ExampleSource& source) const;

    // Provided examples used, optional parameters and properties included, depth 10, neutral values on
    // cycles, 200 first, the first media type.
    static const VoziZazIreExampleGeneration::ExampleGenerationOptions& fallbackOptions();

private:
    std::shared_ptr<const MediaTypeAdapter> mediaType(const OperationDetailsViewModel& details,
                                                      const ExampleSource& source) const;
    std::vector<OperationExampleViewModel> declaredExamples(const MediaTypeAdapter& mediaType,
                                                            const ExampleSource& source) const;
};

} // namespace Carvex
