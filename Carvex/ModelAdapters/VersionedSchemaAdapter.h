#pragma once

#include "Carvex/ModelAdapters/AdapterMemo.h"
#include "Carvex/ModelAdapters/SchemaAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// SchemaAdapter over the Schema object of one version's model (Model: OpenAPI30Model or OpenAPI31Model). Nested
// adapters it makes are of the same version and share the document.
template<class Model>
class VersionedSchemaAdapter final : public SchemaAdapter {
public:
    VersionedSchemaAdapter(const typename Model::Schema* schema,
                       std::shared_ptr<const typename Model::Document> document)
        : schema(schema), document(std::move(document))
    {
    }

    std::optional<int64_t> sourceLine() const override;
    std::string typeDescription() const override;
    std::optional<std::string> format() const override;
    std::optional<std::string> defaultValue() const override;
    std::optional<std::vector<std::string>> enumDisplayValues() const override;
    std::optional<RefOrValue<SchemaAdapter>> items() const override;
    bool isComposition() const override;
    std::optional<std::string> compositionType() const override;
    std::optional<std::vector<Property>> properties() const override;
    std::optional<std::vector<std::string>> requiredProperties() const override;
    bool isNullable() const override;
    bool isReadOnly() const override;
    bool isWriteOnly() const override;
    bool isDeprecated() const override;
    std::optional<std::string> title() const override;
    std::optional<std::string> schemaDescription() const override;
    std::optional<std::vector<RefOrValue<SchemaAdapter>>> allOf() const override;
    std::optional<std::vector<RefOrValue<SchemaAdapter>>> anyOf() const override;
    std::optional<std::vector<RefOrValue<SchemaAdapter>>> oneOf() const override;
    std::optional<bool> additionalPropertiesAllowed() const override;
    std::optional<RefOrValue<SchemaAdapter>> additionalPropertiesSchema() const override;
    std::optional<VoziZazIreCore::AnyValue> exampleValue() const override;
    std::optional<std::vector<VoziZazIreCore::AnyValue>> exampleValues() const override;

    const typename Model::Schema* const schema; // owned by the document
    const std::shared_ptr<const typename Model::Document> document;

private:
    AdapterMemo<std::string> typeDescription_;
    AdapterMemo<std::optional<std::vector<std::string>>> enumDisplayValues_;
    AdapterMemo<std::optional<std::vector<Property>>> properties_;
};

extern template class VersionedSchemaAdapter<OpenAPI30Model>;
extern template class VersionedSchemaAdapter<OpenAPI31Model>;
using OpenAPI30SchemaAdapter = VersionedSchemaAdapter<OpenAPI30Model>;
using OpenAPI31SchemaAdapter = VersionedSchemaAdapter<OpenAPI31Model>;

} // namespace Carvex
