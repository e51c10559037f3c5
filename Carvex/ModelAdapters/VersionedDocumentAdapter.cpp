#include "Carvex/ModelAdapters/VersionedDocumentAdapter.h"

#include "Carvex/ModelAdapters/ReferenceText.h"
#include "Carvex/ModelAdapters/VersionedExampleAdapter.h"
#include "Carvex/ModelAdapters/VersionedOperationAdapter.h"
#include "Carvex/ModelAdapters/VersionedParameterAdapter.h"
#include "Carvex/ModelAdapters/VersionedPathItemAdapter.h"
#include "Carvex/ModelAdapters/VersionedRequestBodyAdapter.h"
#include "Carvex/ModelAdapters/VersionedResponseAdapter.h"
#include "Carvex/ModelAdapters/VersionedSchemaAdapter.h"
#include "Carvex/ModelAdapters/VersionedSecurityRequirementAdapter.h"
#include "Carvex/ModelAdapters/VersionedServerAdapter.h"
#include "Carvex/ModelAdapters/AdapterConversion.h"

namespace Carvex {

using VoziZazIreCore::Reference;
using VoziZazIreCore::ReferenceOr;

namespace {

// The entry of one components section that `reference` names, or null.
template<class Components, class Section>
auto componentEntry(const std::shared_ptr<const Components>& components, Section Components::*section,
                    std::string_view sectionName, const Reference& reference)
    -> decltype(((*components).*section)->find(std::string_view()))
{
    if (!components || !((*components).*section))
        return nullptr;
    const auto name = ReferenceText::componentName(reference.ref, sectionName);
    return name ? ((*components).*section)->find(*name) : nullptr;
}

// An inline entry's adapter; nothing for a "$ref" entry (one step only).
template<class Adapter, class Entry, class... Context>
std::shared_ptr<const Adapter> inlineAdapter(const ReferenceOr<Entry>* entry, const Context&... context)
{
    if (!entry || entry->isReference())
        return nullptr;
    return std::make_shared<const Adapter>(AdapterConversion::inlineObject<Adapter>(*entry), context...);
}

// The start offset of an entry: of the object, or of the "$ref" itself when it carries a location.
template<class Entry>
std::optional<int64_t> entryOffset(const ReferenceOr<Entry>* entry)
{
    if (!entry)
        return std::nullopt;
    if (const Reference* reference = entry->referenceValue()) {
        if (!reference->location)
            return std::nullopt;
        return reference->location->locationRange.start.offset;
    }
    return entry->inlineValue()->location.locationRange.start.offset;
}

// The whole start location of an entry, chosen as `entryOffset` chooses it.
template<class Entry>
std::optional<VoziZazIreCore::SourceLocation> entryStart(const ReferenceOr<Entry>* entry)
{
    if (!entry)
        return std::nullopt;
    if (const Reference* reference = entry->referenceValue()) {
        if (!reference->location)
            return std::nullopt;
        return reference->location->locationRange.start;
    }
    return entry->inlineValue()->location.locationRange.start;
}

// What `use` makes of the entry under the components section of `kind` that `reference` names (a null entry
// when there is none); `Result{}` for unknown and for a section the version lacks.
template<class Model, class Result, class Use>
Result withComponentEntry(const typename Model::Document& document, ReferenceKind kind, const Reference& reference,
                          Use use)
{
    using Components = typename Model::Components;
    const auto entry = [&](auto section, std::string_view sectionName) {
        return use(componentEntry(document.components, section, sectionName, reference));
    };
    switch (kind) {
    case ReferenceKind::schema: return entry(&Components::schemas, "schemas");
    case ReferenceKind::response: return entry(&Components::responses, "responses");
    case ReferenceKind::parameter: return entry(&Components::parameters, "parameters");
    case ReferenceKind::requestBody: return entry(&Components::requestBodies, "requestBodies");
    case ReferenceKind::header: return entry(&Components::headers, "headers");
    case ReferenceKind::securityScheme: return entry(&Components::securitySchemes, "securitySchemes");
    case ReferenceKind::pathItem:
        if constexpr (requires { &Components::pathItems; })
            return entry(&Components::pathItems, "pathItems");
        break;
    case ReferenceKind::example: return entry(&Components::examples, "examples");
    case ReferenceKind::link: return entry(&Components::links, "links");
    case ReferenceKind::callback: return entry(&Components::callbacks, "callbacks");
    case ReferenceKind::unknown: break;
    }
    return Result{};
}

} // namespace

template<class Model>
std::vector<std::string> VersionedDocumentAdapter<Model>::pathStrings() const
{
    std::vector<std::string> result;
    result.reserve(document->paths->items.size());
    for (const auto& entry : document->paths->items)
        result.push_back(entry.first);
    return result;
}

template<class Model>
std::shared_ptr<const PathItemAdapter> VersionedDocumentAdapter<Model>::pathItem(std::string_view path) const
{
    const std::lock_guard lock(adaptersMutex_);
    const auto [cached, added] = pathItems_.try_emplace(std::string(path));
    if (added) {
        if (const auto* found = document->paths->items.find(path))
            cached->second = std::make_shared<const VersionedPathItemAdapter<Model>>(found->get(), document);
    }
    return cached->second;
}

template<class Model>
std::vector<OpenAPIDocumentAdapter::PathOperation> VersionedDocumentAdapter<Model>::allOperations() const
{
    return allOperations_.get([&] {
        std::vector<PathOperation> result;
        result.reserve(document->paths->items.size());
        for (const auto& [path, item] : document->paths->items) {
            for (const auto& [method, operation] : Model::operations(*item)) {
                result.push_back(
                    {path, method, std::make_shared<const VersionedOperationAdapter<Model>>(operation.get(), document)});
            }
        }
        return result;
    });
}

template<class Model>
std::shared_ptr<const ParameterAdapter> VersionedDocumentAdapter<Model>::resolveParameter(const Reference& reference) const
{
    return inlineAdapter<VersionedParameterAdapter<Model>>(componentEntry(document->components, &Model::Components::parameters, "parameters", reference), document);
}

template<class Model>
std::shared_ptr<const RequestBodyAdapter>
VersionedDocumentAdapter<Model>::resolveRequestBody(const Reference& reference) const
{
    return inlineAdapter<VersionedRequestBodyAdapter<Model>>(componentEntry(document->components, &Model::Components::requestBodies, "requestBodies", reference), document);
}

template<class Model>
std::shared_ptr<const ResponseAdapter> VersionedDocumentAdapter<Model>::resolveResponse(const Reference& reference) const
{
    return inlineAdapter<VersionedResponseAdapter<Model>>(componentEntry(document->components, &Model::Components::responses, "responses", reference), document);
}

template<class Model>
std::shared_ptr<const SchemaAdapter> VersionedDocumentAdapter<Model>::resolveSchema(const Reference& reference) const
{
    const std::lock_guard lock(adaptersMutex_);
    const auto [found, added] = resolvedSchemas_.try_emplace(reference.ref);
    if (added) {
        found->second = inlineAdapter<VersionedSchemaAdapter<Model>>(
            componentEntry(document->components, &Model::Components::schemas, "schemas", reference), document);
    }
    return found->second;
}

template<class Model>
std::shared_ptr<const ExampleAdapter> VersionedDocumentAdapter<Model>::resolveExample(const Reference& reference) const
{
    return inlineAdapter<VersionedExampleAdapter<Model>>(componentEntry(document->components, &Model::Components::examples, "examples", reference));
}

template<class Model>
std::optional<int64_t> VersionedDocumentAdapter<Model>::resolveSchemaLocation(const Reference& reference) const
{
    return resolveComponentLocation(ReferenceKind::schema, reference);
}

template<class Model>
std::optional<int64_t> VersionedDocumentAdapter<Model>::resolveParameterLocation(const Reference& reference) const
{
    return resolveComponentLocation(ReferenceKind::parameter, reference);
}

template<class Model>
std::optional<int64_t> VersionedDocumentAdapter<Model>::resolveResponseLocation(const Reference& reference) const
{
    return resolveComponentLocation(ReferenceKind::response, reference);
}

template<class Model>
std::optional<int64_t> VersionedDocumentAdapter<Model>::resolveRequestBodyLocation(const Reference& reference) const
{
    return resolveComponentLocation(ReferenceKind::requestBody, reference);
}

template<class Model>
std::optional<int64_t> VersionedDocumentAdapter<Model>::resolveHeaderLocation(const Reference& reference) const
{
    return resolveComponentLocation(ReferenceKind::header, reference);
}

template<class Model>
std::optional<VoziZazIreCore::SourceLocation>
VersionedDocumentAdapter<Model>::resolveSchemaSourceLocation(const Reference& reference) const
{
    return resolveComponentSourceLocation(ReferenceKind::schema, reference);
}

template<class Model>
std::optional<VoziZazIreCore::SourceLocation>
VersionedDocumentAdapter<Model>::resolveParameterSourceLocation(const Reference& reference) const
{
    return resolveComponentSourceLocation(ReferenceKind::parameter, reference);
}

template<class Model>
std::optional<VoziZazIreCore::SourceLocation>
VersionedDocumentAdapter<Model>::resolveResponseSourceLocation(const Reference& reference) const
{
    return resolveComponentSourceLocation(ReferenceKind::response, reference);
}

template<class Model>
std::optional<VoziZazIreCore::SourceLocation>
VersionedDocumentAdapter<Model>::resolveRequestBodySourceLocation(const Reference& reference) const
{
    return resolveComponentSourceLocation(ReferenceKind::requestBody, reference);
}

template<class Model>
std::optional<VoziZazIreCore::SourceLocation>
VersionedDocumentAdapter<Model>::resolveHeaderSourceLocation(const Reference& reference) const
{
    return resolveComponentSourceLocation(ReferenceKind::header, reference);
}

template<class Model>
std::optional<int64_t> VersionedDocumentAdapter<Model>::resolveComponentLocation(ReferenceKind kind,
                                                                                 const Reference& reference) const
{
    return withComponentEntry<Model, std::optional<int64_t>>(*document, kind, reference,
                                                             [](const auto* entry) { return entryOffset(entry); });
}

template<class Model>
std::optional<VoziZazIreCore::SourceLocation>
VersionedDocumentAdapter<Model>::resolveComponentSourceLocation(ReferenceKind kind, const Reference& reference) const
{
    return withComponentEntry<Model, std::optional<VoziZazIreCore::SourceLocation>>(
        *document, kind, reference, [](const auto* entry) { return entryStart(entry); });
}

template<class Model>
std::vector<std::shared_ptr<const ServerAdapter>> VersionedDocumentAdapter<Model>::servers() const
{
    if (!document->servers)
        return {};
    return AdapterConversion::adapterList<ServerAdapter, VersionedServerAdapter<Model>>(*document->servers);
}

template<class Model>
std::vector<std::shared_ptr<const SecurityRequirementAdapter>> VersionedDocumentAdapter<Model>::security() const
{
    if (!document->security)
        return {};
    return AdapterConversion::adapterList<SecurityRequirementAdapter, VersionedSecurityRequirementAdapter<Model>>(
        *document->security);
}

template class VersionedDocumentAdapter<OpenAPI30Model>;
template class VersionedDocumentAdapter<OpenAPI31Model>;

} // namespace Carvex
