#include "Carvex/ModelAdapters/ExampleExtractor.h"

#include "Carvex/ModelAdapters/GeneratedExample.h"

#include <algorithm>

namespace Carvex {

namespace {

using VoziZazIreCore::AnyValue;
using VoziZazIreExampleGeneration::ExampleGenerationOptions;

std::optional<QString> text(const std::optional<std::string>& utf8)
{
    if (!utf8)
        return std::nullopt;
    return QString::fromStdString(*utf8);
}

// The entry stored under exactly `key`.
std::shared_ptr<const MediaTypeAdapter>
exactEntry(const VoziZazIreCore::OrderedMap<std::shared_ptr<const MediaTypeAdapter>>& content, std::string_view key)
{
    for (const auto& [name, mediaType] : content) {
        if (name == key)
            return mediaType;
    }
    return nullptr;
}

} // namespace

const ExampleGenerationOptions& ExampleExtractor::fallbackOptions()
{
    static const ExampleGenerationOptions options(true, true, true, 10,
                                                  VoziZazIreExampleGeneration::CycleHandling::useNeutralValue,
                                                  VoziZazIreExampleGeneration::ResponseSelection::prefer200,
                                                  VoziZazIreExampleGeneration::ContentTypeSelection::firstDefined);
    return options;
}

std::vector<ExampleSource> ExampleExtractor::availableSources(const OperationDetailsViewModel& details) const
{
    std::vector<ExampleSource> sources;
    if (details.requestBody) {
        for (const QString& contentType : details.requestBody->contentTypes)
            sources.push_back(ExampleSource::requestBody(contentType));
    }
    for (const OperationResponseViewModel& response : details.responses) {
        for (const QString& contentType : response.contentTypes)
            sources.push_back(ExampleSource::response(response.statusCode, contentType));
    }
    return sources;
}

std::vector<OperationExampleViewModel> ExampleExtractor::examples(const OperationDetailsViewModel& details,
                                                                  const ExampleSource& source) const
{
    if (const auto found = mediaType(details, source)) {
        auto declared = declaredExamples(*found, source);
        if (!declared.empty())
            return declared;
    }
    std::vector<OperationExampleViewModel> generated;
    if (auto value = GeneratedExample::generate(model, details.id.path.toStdString(), details.id.method, source,
                                                fallbackOptions())) {
        generated.push_back({QStringLiteral("Generated"), std::move(*value),
                             QStringLiteral("Auto-generated from schema"), std::nullopt, source});
    }
    return generated;
}

std::shared_ptr<const MediaTypeAdapter> ExampleExtractor::mediaType(const OperationDetailsViewModel& details,
                                                                    const ExampleSource& source) const
{
    if (!documentAdapter)
        return nullptr;
    const auto item = documentAdapter->pathItem(details.id.path.toStdString());
    if (!item)
        return nullptr;
    const auto operation = item->operation(details.id.method);
    if (!operation)
        return nullptr;
    const std::string contentType = source.contentType().toStdString();

    if (source.isRequestBody()) {
        const auto slot = operation->requestBody();
        if (!slot)
            return nullptr;
        std::shared_ptr<const RequestBodyAdapter> body = slot->sharedInlineValue();
        if (const auto* reference = slot->referenceValue())
            body = documentAdapter->resolveRequestBody(*reference);
        return body ? exactEntry(body->content(), contentType) : nullptr;
    }

    const auto responses = operation->responses();
    if (!responses)
        return nullptr;
    const std::string statusCode = source.statusCode().toStdString();
    std::optional<RefOrValue<ResponseAdapter>> slot;
    for (ResponsesAdapter::Item& item : responses->items()) {
        if (statusCodesMatch(item.statusCode, statusCode)) {
            slot = std::move(item.response);
            break;
        }
    }
    if (!slot && statusCode == "default")
        slot = responses->defaultResponse();
    if (!slot)
        return nullptr;
    std::shared_ptr<const ResponseAdapter> response = slot->sharedInlineValue();
    if (const auto* reference = slot->referenceValue())
        response = documentAdapter->resolveResponse(*reference);
    if (!response)
        return nullptr;
    const auto content = response->content();
    return content ? exactEntry(*content, contentType) : nullptr;
}

std::vector<OperationExampleViewModel> ExampleExtractor::declaredExamples(const MediaTypeAdapter& mediaType,
                                                                          const ExampleSource& source) const
{
    std::vector<OperationExampleViewModel> result;
    if (const auto named = mediaType.examples(); named && !named->empty()) {
        std::vector<const std::pair<std::string, RefOrValue<ExampleAdapter>>*> entries;
        for (const auto& entry : *named)
            entries.push_back(&entry);
        std::stable_sort(entries.begin(), entries.end(), [](const auto* a, const auto* b) { return a->first < b->first; });
        for (const auto* entry : entries) {
            std::shared_ptr<const ExampleAdapter> example = entry->second.sharedInlineValue();
            if (const auto* reference = entry->second.referenceValue())
                example = documentAdapter->resolveExample(*reference);
            if (!example)
                continue;
            auto value = example->value();
            if (!value)
                continue;
            result.push_back({QString::fromStdString(entry->first), std::move(*value), text(example->summary()),
                              text(example->description()), source});
        }
        return result;
    }
    if (auto example = mediaType.example()) {
        result.push_back({QStringLiteral("Example"), std::move(*example), std::nullopt, std::nullopt, source});
        return result;
    }
    const auto slot = mediaType.schema();
    if (!slot)
        return result;
    std::shared_ptr<const SchemaAdapter> schema = slot->sharedInlineValue();
    if (const auto* reference = slot->referenceValue())
        schema = documentAdapter->resolveSchema(*reference);
    if (!schema)
        return result;
    if (auto example = schema->exampleValue()) {
        result.push_back({QStringLiteral("Schema Example"), std::move(*example), std::nullopt, std::nullopt, source});
    } else if (auto values = schema->exampleValues(); values && !values->empty()) {
        for (std::size_t index = 0; index < values->size(); ++index) {
            result.push_back({QStringLiteral("Example %1").arg(index + 1), std::move((*values)[index]), std::nullopt,
                              std::nullopt, source});
        }
    }
    return result;
}

} // namespace Carvex
