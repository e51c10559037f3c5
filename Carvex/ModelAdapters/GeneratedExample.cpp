#include "Carvex/ModelAdapters/GeneratedExample.h"

#include "Carvex/ModelAdapters/ReferenceText.h"
#include "kit/examples/ExampleGenerator.h"
#include "kit/models/OpenAPI3_0/Document.h"
#include "kit/models/OpenAPI3_1/Document.h"

#include <exception>
#include <vector>

namespace Carvex::GeneratedExample {

namespace {

using VoziZazIreCore::AnyValue;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;
using VoziZazIreCore::ReferenceOr;

struct Models30 {
    using Document = VoziZazIreModels::OpenAPI3_0::Document;
    using PathItem = VoziZazIreModels::OpenAPI3_0::PathItem;
    using Operation = VoziZazIreModels::OpenAPI3_0::Operation;
    using Schema = VoziZazIreModels::OpenAPI3_0::Schema;
};

struct Models31 {
    using Document = VoziZazIreModels::OpenAPI3_1::Document;
    using PathItem = VoziZazIreModels::OpenAPI3_1::PathItem;
    using Operation = VoziZazIreModels::OpenAPI3_1::Operation;
    using Schema = VoziZazIreModels::OpenAPI3_1::Schema;
};

template<class Operation, class PathItem>
const Operation* operationOf(const PathItem& item, HTTPMethod method)
{
    switch (method) {
    case HTTPMethod::get: return item.get.get();
    case HTTPMethod::post: return item.post.get();
    case HTTPMethod::put: return item.put.get();
    case HTTPMethod::patch: return item.patch.get();
    case HTTPMethod::delete_: return item.delete_.get();
    case HTTPMethod::head: return item.head.get();
    case HTTPMethod::options: return item.options.get();
    case HTTPMethod::trace: return item.trace.get();
    }
    return nullptr;
}

// The inline object of a slot, or of the component its "$ref" names in `section` (called `sectionName`).
template<class T, class Section>
const T* followOnce(const ReferenceOr<T>& slot, const Section& section, std::string_view sectionName)
{
    if (const T* value = slot.inlineValue())
        return value;
    const auto name = ReferenceText::componentName(slot.referenceValue()->ref, sectionName);
    if (!name || !section || !*section)
        return nullptr;
    const ReferenceOr<T>* entry = (*section)->find(*name);
    return entry ? entry->inlineValue() : nullptr;
}

template<class Map>
auto exactEntry(const Map& map, std::string_view key) -> decltype(&map.begin()->second)
{
    for (const auto& [name, value] : map) {
        if (name == key)
            return &value;
    }
    return nullptr;
}

template<class Model>
const ReferenceOr<typename Model::Schema>* schemaOf(const typename Model::Document& document, std::string_view path,
                                                   HTTPMethod method, const ExampleSource& source)
{
    using PathItem = typename Model::PathItem;
    using Operation = typename Model::Operation;
    const PathItem* item = (*document.paths)[path];
    if (!item)
        return nullptr;
    const Operation* operation = operationOf<Operation>(*item, method);
    if (!operation)
        return nullptr;
    const auto* components = document.components.get();
    const std::string contentType = source.contentType().toStdString();

    if (source.isRequestBody()) {
        if (!operation->requestBody)
            return nullptr;
        const auto* body = followOnce(*operation->requestBody, components ? &components->requestBodies : nullptr,
                                     "requestBodies");
        if (!body)
            return nullptr;
        const auto* mediaType = exactEntry(body->content, contentType);
        return mediaType && *mediaType && (*mediaType)->schema ? &*(*mediaType)->schema : nullptr;
    }
    const std::string statusCode = source.statusCode().toStdString();
    const auto* slot = [&]() -> decltype(&operation->responses->items.begin()->second) {
        for (const auto& [key, value] : operation->responses->items) {
            if (statusCodesMatch(key, statusCode))
                return &value;
        }
        return nullptr;
    }();
    if (!slot)
        return nullptr;
    const auto* response = followOnce(*slot, components ? &components->responses : nullptr, "responses");
    if (!response || !response->content)
        return nullptr;
    const auto* mediaType = exactEntry(*response->content, contentType);
    return mediaType && *mediaType && (*mediaType)->schema ? &*(*mediaType)->schema : nullptr;
}

template<class Model>
std::optional<AnyValue> generateIn(const typename Model::Document& document, std::string_view path, HTTPMethod method,
                                   const ExampleSource& source,
                                   const VoziZazIreExampleGeneration::ExampleGenerationOptions& options)
{
    const ReferenceOr<typename Model::Schema>* schema = schemaOf<Model>(document, path, method, source);
    if (!schema)
        return std::nullopt;
    try {
        const VoziZazIreExampleGeneration::ExampleGenerator generator(options);
        const VoziZazIreCore::NodePtr node = generator.generate(*schema, document.components.get());
        if (!node)
            return std::nullopt;
        return anyValue(*node);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<AnyValue> scalarValue(const GenericNode& node)
{
    switch (node.kind()) {
    case GenericNodeKind::string: return AnyValue(std::string(node.stringValue().value_or(std::string_view())));
    case GenericNodeKind::number:
        if (const auto integer = node.intValue())
            return AnyValue(static_cast<long long>(*integer));
        return AnyValue(node.numberValue().value_or(0.0));
    case GenericNodeKind::bool_: return AnyValue(node.boolValue().value_or(false));
    case GenericNodeKind::null: return AnyValue();
    case GenericNodeKind::object:
    case GenericNodeKind::array: break;
    }
    return std::nullopt;
}

} // namespace

std::optional<AnyValue> generate(const ParsedOpenAPIModel& model, std::string_view path, HTTPMethod method,
                                 const ExampleSource& source,
                                 const VoziZazIreExampleGeneration::ExampleGenerationOptions& options)
{
    if (model.version() == ModelOpenAPIVersion::openAPI30)
        return generateIn<Models30>(*model.document30(), path, method, source, options);
    return generateIn<Models31>(*model.document31(), path, method, source, options);
}

AnyValue anyValue(const GenericNode& root)
{
    if (auto scalar = scalarValue(root))
        return std::move(*scalar);

    // One frame per open container: the members converted so far and the next one to read.
    struct Frame {
        const GenericNode* node;
        bool isObject;
        std::size_t count;
        std::size_t next = 0;
        AnyValue::Object object;
        AnyValue::Array array;
    };
    const auto open = [](const GenericNode& node) {
        const bool isObject = node.kind() == GenericNodeKind::object;
        std::size_t count = 0;
        if (isObject) {
            if (const auto members = node.objectValue())
                count = members->size();
        } else if (const auto elements = node.arrayValue()) {
            count = elements->size();
        }
        return Frame{&node, isObject, count, 0, {}, {}};
    };
    const auto attach = [](Frame& frame, AnyValue value) {
        if (frame.isObject)
            frame.object.insertOrAssign(std::string((*frame.node->objectValue())[frame.next - 1].key), std::move(value));
        else
            frame.array.push_back(std::move(value));
    };

    std::vector<Frame> stack;
    stack.push_back(open(root));
    while (true) {
        Frame& top = stack.back();
        if (top.next == top.count) {
            AnyValue done = top.isObject ? AnyValue(std::move(top.object)) : AnyValue(std::move(top.array));
            stack.pop_back();
            if (stack.empty())
                return done;
            attach(stack.back(), std::move(done));
            continue;
        }
        const GenericNode* child =
            top.isObject ? (*top.node->objectValue())[top.next].value : (*top.node->arrayValue())[top.next];
        ++top.next;
        if (!child) {
            attach(top, AnyValue());
        } else if (auto scalar = scalarValue(*child)) {
            attach(top, std::move(*scalar));
        } else {
            Frame frame = open(*child);
            stack.push_back(std::move(frame));
        }
    }
}

} // namespace Carvex::GeneratedExample
