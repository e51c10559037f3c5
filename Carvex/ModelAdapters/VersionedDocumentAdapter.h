#pragma once

#include "Carvex/ModelAdapters/AdapterMemo.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"
#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Carvex {

// OpenAPIDocumentAdapter over one version's document (Model: OpenAPI30Model or OpenAPI31Model). The 3.1
// webhooks and component path items are not presented (only a component path item's start is found).
// The document never changes: a path, an operation or a schema reference asked for again gives the same
// adapter, so what that adapter works out is reused.
template<class Model>
class VersionedDocumentAdapter final : public OpenAPIDocumentAdapter {
public:
    explicit VersionedDocumentAdapter(std::shared_ptr<const typename Model::Document> document)
        : document(std::move(document))
    {
    }

    std::vector<std::string> pathStrings() const override;
    std::shared_ptr<const PathItemAdapter> pathItem(std::string_view path) const override;
    std::vector<PathOperation> allOperations() const override;
    std::shared_ptr<const ParameterAdapter> resolveParameter(const VoziZazIreCore::Reference& reference) const override;
    std::shared_ptr<const RequestBodyAdapter>
    resolveRequestBody(const VoziZazIreCore::Reference& reference) const override;
    std::shared_ptr<const ResponseAdapter> resolveResponse(const VoziZazIreCore::Reference& reference) const override;
    std::shared_ptr<const SchemaAdapter> resolveSchema(const VoziZazIreCore::Reference& reference) const override;
    std::optional<int64_t> resolveSchemaLocation(const VoziZazIreCore::Reference& reference) const override;
    std::optional<int64_t> resolveParameterLocation(const VoziZazIreCore::Reference& reference) const override;
    std::optional<int64_t> resolveResponseLocation(const VoziZazIreCore::Reference& reference) const override;
    std::optional<int64_t> resolveRequestBodyLocation(const VoziZazIreCore::Reference& reference) const override;
    std::optional<int64_t> resolveHeaderLocation(const VoziZazIreCore::Reference& reference) const override;
    std::optional<VoziZazIreCore::SourceLocation>
    resolveSchemaSourceLocation(const VoziZazIreCore::Reference& reference) const override;
    std::optional<VoziZazIreCore::SourceLocation>
    resolveParameterSourceLocation(const VoziZazIreCore::Reference& reference) const override;
    std::optional<VoziZazIreCore::SourceLocation>
    resolveResponseSourceLocation(const VoziZazIreCore::Reference& reference) const override;
    std::optional<VoziZazIreCore::SourceLocation>
    resolveRequestBodySourceLocation(const VoziZazIreCore::Reference& reference) const override;
    std::optional<VoziZazIreCore::SourceLocation>
    resolveHeaderSourceLocation(const VoziZazIreCore::Reference& reference) const override;
    std::optional<int64_t> resolveComponentLocation(ReferenceKind kind,
                                                    const VoziZazIreCore::Reference& reference) const override;
    std::optional<VoziZazIreCore::SourceLocation>
    resolveComponentSourceLocation(ReferenceKind kind, const VoziZazIreCore::Reference& reference) const override;
    std::vector<std::shared_ptr<const ServerAdapter>> servers() const override;
    std::vector<std::shared_ptr<const SecurityRequirementAdapter>> security() const override;
    std::shared_ptr<const ExampleAdapter> resolveExample(const VoziZazIreCore::Reference& reference) const override;

    const std::shared_ptr<const typename Model::Document> document;

private:
    AdapterMemo<std::vector<PathOperation>> allOperations_;
    mutable std::mutex adaptersMutex_;
    mutable std::unordered_map<std::string, std::shared_ptr<const PathItemAdapter>> pathItems_;
    mutable std::unordered_map<std::string, std::shared_ptr<const SchemaAdapter>> resolvedSchemas_;
};

extern template class VersionedDocumentAdapter<OpenAPI30Model>;
extern template class VersionedDocumentAdapter<OpenAPI31Model>;
using OpenAPI30DocumentAdapter = VersionedDocumentAdapter<OpenAPI30Model>;
using OpenAPI31DocumentAdapter = VersionedDocumentAdapter<OpenAPI31Model>;

} // namespace Carvex
