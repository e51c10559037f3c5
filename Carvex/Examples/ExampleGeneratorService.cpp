#include "Carvex/Examples/ExampleGeneratorService.h"

#include "Carvex/ModelAdapters/ExampleExtractor.h"
#include "Carvex/ModelAdapters/GeneratedExample.h"

namespace Carvex {

const VoziZazIreExampleGeneration::ExampleGenerationOptions& ExampleGeneratorService::generationOptions()
{
    static const VoziZazIreExampleGeneration::ExampleGenerationOptions options(
        false, true, true, 10, VoziZazIreExampleGeneration::CycleHandling::useNeutralValue,
        VoziZazIreExampleGeneration::ResponseSelection::prefer200,
        VoziZazIreExampleGeneration::ContentTypeSelection::firstDefined);
    return options;
}

std::vector<ExampleSource> ExampleGeneratorService::availableTargets(const QString& path, HTTPMethod method,
                                                                     const ParsedOpenAPIModel& model) const
{
    const auto details = detailsBuilder.build(OperationID{path, method}, model);
    if (!details)
        return {};
    return ExampleExtractor(model).availableSources(*details);
}

std::optional<VoziZazIreCore::AnyValue> ExampleGeneratorService::generateExample(const ExampleSource& target,
                                                                                const QString& path,
                                                                                HTTPMethod method,
                                                                                const ParsedOpenAPIModel& model) const
{
    const auto details = detailsBuilder.build(OperationID{path, method}, model);
    if (!details)
        return std::nullopt;
    return GeneratedExample::generate(model, details->id.path.toStdString(), details->id.method, target,
                                      generationOptions());
}

} // namespace Carvex
