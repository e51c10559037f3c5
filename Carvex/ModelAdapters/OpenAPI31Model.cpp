#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include "Carvex/ModelAdapters/ReferenceText.h"

namespace Carvex {

using VoziZazIreModels::SchemaType;

namespace {

std::string referencedArray(const VoziZazIreCore::Reference& reference)
{
    const auto name = ReferenceText::lastPiece(reference.ref);
    return name ? "array[" + std::string(*name) + "]" : std::string("array");
}

std::string compositionOrAny(const OpenAPI31Model::Schema& schema)
{
    if (schema.allOf)
        return "allOf";
    if (schema.anyOf)
        return "anyOf";
    if (schema.oneOf)
        return "oneOf";
    return "any";
}

// The single type of a schema that names exactly one, else nothing.
std::optional<SchemaType> singleType(const OpenAPI31Model::Schema& schema)
{
    if (!schema.type)
        return std::nullopt;
    if (schema.type->isSingle())
        return schema.type->singleValue();
    const std::vector<SchemaType>* types = schema.type->multipleValue();
    if (types && types->size() == 1)
        return types->front();
    return std::nullopt;
}

} // namespace

std::vector<std::pair<HTTPMethod, std::shared_ptr<const OpenAPI31Model::Operation>>>
OpenAPI31Model::operations(const PathItem& pathItem)
{
    std::vector<std::pair<HTTPMethod, std::shared_ptr<const Operation>>> result;
    for (const auto& entry : pathItem.allOperations()) {
        if (const auto method = httpMethodFromName(entry.method))
            result.emplace_back(*method, entry.operation);
    }
    return result;
}

std::string OpenAPI31Model::typeDescription(const Schema& root)
{
    // As in 3.0, a chain of arrays with inline items is walked with a loop; 3.1 adds no null suffix.
    std::size_t depth = 0;
    const Schema* schema = &root;
    while (singleType(*schema) == SchemaType::array && schema->items && !schema->items->isReference()) {
        ++depth;
        schema = schema->items->inlineValue();
    }
    std::string inner;
    if (const auto single = singleType(*schema)) {
        if (*single == SchemaType::array)
            inner = schema->items ? referencedArray(*schema->items->referenceValue()) : std::string("array");
        else
            inner = std::string(rawValue(*single));
    } else if (schema->type && schema->type->multipleValue() && !schema->type->multipleValue()->empty()) {
        for (SchemaType type : *schema->type->multipleValue()) {
            if (!inner.empty())
                inner += " | ";
            inner += rawValue(type);
        }
    } else {
        inner = compositionOrAny(*schema);
    }
    std::string text;
    text.reserve(depth * 7 + inner.size());
    for (std::size_t i = 0; i < depth; ++i)
        text += "array[";
    text += inner;
    text.append(depth, ']');
    return text;
}

bool OpenAPI31Model::isNullable(const Schema& schema)
{
    if (!schema.type)
        return false;
    if (schema.type->isSingle())
        return schema.type->singleValue() == SchemaType::null;
    for (SchemaType type : *schema.type->multipleValue()) {
        if (type == SchemaType::null)
            return true;
    }
    return false;
}

std::optional<VoziZazIreCore::AnyValue> OpenAPI31Model::exampleValue(const Schema&)
{
    return std::nullopt;
}

std::optional<std::vector<VoziZazIreCore::AnyValue>> OpenAPI31Model::exampleValues(const Schema& schema)
{
    return schema.examples.toOptional();
}

} // namespace Carvex
