#include "Carvex/ModelAdapters/OpenAPI30Model.h"

#include "Carvex/ModelAdapters/ReferenceText.h"

namespace Carvex {

using VoziZazIreModels::OpenAPI3_0::SchemaType;

namespace {

// "array[" + the items' last reference piece + "]", or "array" when the reference names nothing.
std::string referencedArray(const VoziZazIreCore::Reference& reference)
{
    const auto name = ReferenceText::lastPiece(reference.ref);
    return name ? "array[" + std::string(*name) + "]" : std::string("array");
}

std::string compositionOrAny(const OpenAPI30Model::Schema& schema)
{
    if (schema.allOf)
        return "allOf";
    if (schema.anyOf)
        return "anyOf";
    if (schema.oneOf)
        return "oneOf";
    return "any";
}

} // namespace

std::vector<std::pair<HTTPMethod, std::shared_ptr<const OpenAPI30Model::Operation>>>
OpenAPI30Model::operations(const PathItem& pathItem)
{
    std::vector<std::pair<HTTPMethod, std::shared_ptr<const Operation>>> result;
    const std::pair<HTTPMethod, const std::shared_ptr<const Operation>*> members[] = {
        {HTTPMethod::get, &pathItem.get},     {HTTPMethod::post, &pathItem.post},
        {HTTPMethod::put, &pathItem.put},     {HTTPMethod::delete_, &pathItem.delete_},
        {HTTPMethod::patch, &pathItem.patch}, {HTTPMethod::head, &pathItem.head},
        {HTTPMethod::options, &pathItem.options}, {HTTPMethod::trace, &pathItem.trace},
    };
    for (const auto& [method, operation] : members) {
        if (*operation)
            result.emplace_back(method, *operation);
    }
    return result;
}

std::string OpenAPI30Model::typeDescription(const Schema& root)
{
    // Arrays whose items are inline schemas nest their items' text; walk that chain with a loop, so a
    // deep chain costs no call stack, then wrap the innermost text from the inside out.
    std::vector<bool> arrayNullable;
    const Schema* schema = &root;
    while (schema->type == SchemaType::array && schema->items && !schema->items->isReference()) {
        arrayNullable.push_back(isNullable(*schema));
        schema = schema->items->inlineValue();
    }
    std::string inner;
    if (!schema->type) {
        inner = compositionOrAny(*schema);
    } else if (*schema->type == SchemaType::array) {
        inner = schema->items ? referencedArray(*schema->items->referenceValue()) : std::string("array");
    } else {
        inner = std::string(rawValue(*schema->type));
    }
    bool containsNull = inner.find("null") != std::string::npos;
    if (isNullable(*schema) && !containsNull) {
        inner += " | null";
        containsNull = true;
    }
    std::string text;
    text.reserve(arrayNullable.size() * 14 + inner.size());
    for (std::size_t i = 0; i < arrayNullable.size(); ++i)
        text += "array[";
    text += inner;
    for (std::size_t i = arrayNullable.size(); i-- > 0;) {
        text += ']';
        if (arrayNullable[i] && !containsNull) {
            text += " | null";
            containsNull = true;
        }
    }
    return text;
}

bool OpenAPI30Model::isNullable(const Schema& schema)
{
    return schema.nullable.value_or(false);
}

std::optional<VoziZazIreCore::AnyValue> OpenAPI30Model::exampleValue(const Schema& schema)
{
    return schema.example.toOptional();
}

std::optional<std::vector<VoziZazIreCore::AnyValue>> OpenAPI30Model::exampleValues(const Schema&)
{
    return std::nullopt;
}

} // namespace Carvex
