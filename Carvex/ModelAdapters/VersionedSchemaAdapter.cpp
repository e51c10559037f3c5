#include "Carvex/ModelAdapters/VersionedSchemaAdapter.h"

#include "Carvex/ModelAdapters/AdapterConversion.h"
#include "Carvex/ModelAdapters/AnyValueText.h"
#include "kit/core/TextServices.h"

#include <algorithm>

namespace Carvex {

namespace Convert = AdapterConversion;

template<class Model>
std::optional<int64_t> VersionedSchemaAdapter<Model>::sourceLine() const
{
    return Convert::startLine(schema->location);
}

template<class Model>
std::string VersionedSchemaAdapter<Model>::typeDescription() const
{
    return typeDescription_.get([this] { return Model::typeDescription(*schema); });
}

template<class Model>
std::optional<std::string> VersionedSchemaAdapter<Model>::format() const
{
    return schema->format.toOptional();
}

template<class Model>
std::optional<std::string> VersionedSchemaAdapter<Model>::defaultValue() const
{
    if (!schema->default_)
        return std::nullopt;
    return AnyValueText::compactString(*schema->default_);
}

template<class Model>
std::optional<std::vector<std::string>> VersionedSchemaAdapter<Model>::enumDisplayValues() const
{
    return enumDisplayValues_.get([this]() -> std::optional<std::vector<std::string>> {
        if (!schema->enumValues)
            return std::nullopt;
        std::vector<std::string> texts;
        texts.reserve(schema->enumValues->size());
        for (const auto& value : *schema->enumValues)
            texts.push_back(AnyValueText::compactString(value));
        return texts;
    });
}

template<class Model>
std::optional<RefOrValue<SchemaAdapter>> VersionedSchemaAdapter<Model>::items() const
{
    if (!schema->items)
        return std::nullopt;
    return Convert::refOrValue<SchemaAdapter, VersionedSchemaAdapter<Model>>(*schema->items, document, document);
}

template<class Model>
bool VersionedSchemaAdapter<Model>::isComposition() const
{
    return schema->allOf || schema->anyOf || schema->oneOf;
}

template<class Model>
std::optional<std::string> VersionedSchemaAdapter<Model>::compositionType() const
{
    if (schema->allOf)
        return "allOf";
    if (schema->anyOf)
        return "anyOf";
    if (schema->oneOf)
        return "oneOf";
    return std::nullopt;
}

template<class Model>
std::optional<std::vector<SchemaAdapter::Property>> VersionedSchemaAdapter<Model>::properties() const
{
    return properties_.get([this]() -> std::optional<std::vector<Property>> {
        if (!schema->properties)
            return std::nullopt;
        // Sorted by code point order of the canonically normalised names; equal names keep their order.
        struct Keyed {
            std::string sortKey;
            const std::string* name;
            const VoziZazIreCore::ReferenceOr<typename Model::Schema>* entry;
            std::size_t position;
        };
        std::vector<Keyed> keyed;
        keyed.reserve(schema->properties->size());
        for (const auto& [name, entry] : *schema->properties) {
            keyed.push_back({VoziZazIreCore::TextServices::isAscii(name) ? std::string()
                                                                         : VoziZazIreCore::TextServices::toNFC(name),
                             &name, &entry, keyed.size()});
        }
        auto key = [](const Keyed& k) -> const std::string& { return k.sortKey.empty() ? *k.name : k.sortKey; };
        std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
            const int order = key(a).compare(key(b));
            return order != 0 ? order < 0 : a.position < b.position;
        });
        std::vector<Property> result;
        result.reserve(keyed.size());
        for (const Keyed& k : keyed)
            result.push_back(
                {*k.name, Convert::refOrValue<SchemaAdapter, VersionedSchemaAdapter<Model>>(*k.entry, document, document)});
        return result;
    });
}

template<class Model>
std::optional<std::vector<std::string>> VersionedSchemaAdapter<Model>::requiredProperties() const
{
    return schema->required.toOptional();
}

template<class Model>
bool VersionedSchemaAdapter<Model>::isNullable() const
{
    return Model::isNullable(*schema);
}

template<class Model>
bool VersionedSchemaAdapter<Model>::isReadOnly() const
{
    return Convert::flag(schema->readOnly);
}

template<class Model>
bool VersionedSchemaAdapter<Model>::isWriteOnly() const
{
    return Convert::flag(schema->writeOnly);
}

template<class Model>
bool VersionedSchemaAdapter<Model>::isDeprecated() const
{
    return Convert::flag(schema->deprecated);
}

template<class Model>
std::optional<std::string> VersionedSchemaAdapter<Model>::title() const
{
    return schema->title.toOptional();
}

template<class Model>
std::optional<std::string> VersionedSchemaAdapter<Model>::schemaDescription() const
{
    return schema->description.toOptional();
}

template<class Model>
std::optional<std::vector<RefOrValue<SchemaAdapter>>> VersionedSchemaAdapter<Model>::allOf() const
{
    return Convert::refOrValueList<SchemaAdapter, VersionedSchemaAdapter<Model>>(schema->allOf, document, document);
}

template<class Model>
std::optional<std::vector<RefOrValue<SchemaAdapter>>> VersionedSchemaAdapter<Model>::anyOf() const
{
    return Convert::refOrValueList<SchemaAdapter, VersionedSchemaAdapter<Model>>(schema->anyOf, document, document);
}

template<class Model>
std::optional<std::vector<RefOrValue<SchemaAdapter>>> VersionedSchemaAdapter<Model>::oneOf() const
{
    return Convert::refOrValueList<SchemaAdapter, VersionedSchemaAdapter<Model>>(schema->oneOf, document, document);
}

template<class Model>
std::optional<bool> VersionedSchemaAdapter<Model>::additionalPropertiesAllowed() const
{
    if (!schema->additionalProperties)
        return std::nullopt;
    if (schema->additionalProperties->isSchema())
        return true;
    return schema->additionalProperties->boolValue();
}

template<class Model>
std::optional<RefOrValue<SchemaAdapter>> VersionedSchemaAdapter<Model>::additionalPropertiesSchema() const
{
    if (!schema->additionalProperties || !schema->additionalProperties->isSchema())
        return std::nullopt;
    return Convert::refOrValue<SchemaAdapter, VersionedSchemaAdapter<Model>>(
        *schema->additionalProperties->schemaValue(), document, document);
}

template<class Model>
std::optional<VoziZazIreCore::AnyValue> VersionedSchemaAdapter<Model>::exampleValue() const
{
    return Model::exampleValue(*schema);
}

template<class Model>
std::optional<std::vector<VoziZazIreCore::AnyValue>> VersionedSchemaAdapter<Model>::exampleValues() const
{
    return Model::exampleValues(*schema);
}

template class VersionedSchemaAdapter<OpenAPI30Model>;
template class VersionedSchemaAdapter<OpenAPI31Model>;

} // namespace Carvex
