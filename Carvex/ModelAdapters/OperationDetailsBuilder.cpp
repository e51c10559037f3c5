#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"

#include "Carvex/ModelAdapters/LocalizedStandardComparison.h"
#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"
#include "Carvex/ModelAdapters/ReferenceText.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

namespace Carvex {

namespace {

using MediaTypes = VoziZazIreCore::OrderedMap<std::shared_ptr<const MediaTypeAdapter>>;

constexpr std::string_view kPreferredMediaTypes[] = {"application/json", "application/xml", "text/plain"};

std::optional<QString> text(const std::optional<std::string>& value)
{
    if (!value)
        return std::nullopt;
    return QString::fromStdString(*value);
}

QStringList texts(const std::vector<std::string>& values)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(values.size()));
    for (const auto& value : values)
        list.push_back(QString::fromStdString(value));
    return list;
}

std::optional<QString> lastPiece(const VoziZazIreCore::Reference& reference)
{
    const auto piece = ReferenceText::lastPiece(reference.ref);
    if (!piece)
        return std::nullopt;
    return QString::fromUtf8(piece->data(), static_cast<qsizetype>(piece->size()));
}

// The type text of a schema entry: an inline schema's type text, a reference's last piece.
std::optional<QString> schemaText(const RefOrValue<SchemaAdapter>& schema)
{
    if (const auto* reference = schema.referenceValue())
        return lastPiece(*reference);
    return QString::fromStdString(schema.inlineValue()->typeDescription());
}

// The schema of the first preferred media type that passes `accept`, else of the first media type in
// document order when it passes, else nothing.
template<class Accept>
std::optional<RefOrValue<SchemaAdapter>> chooseSchema(const MediaTypes& content, Accept accept)
{
    for (std::string_view preferred : kPreferredMediaTypes) {
        if (const auto* media = content.find(preferred)) {
            if (auto schema = (*media)->schema(); schema && accept(*schema))
                return schema;
        }
    }
    if (content.empty())
        return std::nullopt;
    auto schema = content.entries().front().second->schema();
    if (schema && accept(*schema))
        return schema;
    return std::nullopt;
}

std::optional<QString> describedSchema(const MediaTypes& content)
{
    const auto schema = chooseSchema(content, [](const RefOrValue<SchemaAdapter>&) { return true; });
    return schema ? schemaText(*schema) : std::nullopt;
}

// The referenced schema's name and the line where the reference's target is defined.
std::pair<std::optional<QString>, std::optional<int64_t>> referencedSchema(const OpenAPIDocumentAdapter& document,
                                                                           const MediaTypes& content)
{
    const auto schema = chooseSchema(content, [](const RefOrValue<SchemaAdapter>& s) { return s.isReference(); });
    if (!schema)
        return {};
    const auto target = document.resolveSchema(*schema->referenceValue());
    return {lastPiece(*schema->referenceValue()), target ? target->sourceLine() : std::nullopt};
}

QStringList mediaTypeNames(const MediaTypes& content)
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(content.size()));
    for (const auto& entry : content)
        names.push_back(QString::fromStdString(entry.first));
    return names;
}

std::optional<OperationParameterViewModel> parameterViewModel(const OpenAPIDocumentAdapter& document,
                                                              const RefOrValue<ParameterAdapter>& entry)
{
    std::shared_ptr<const ParameterAdapter> parameter = entry.sharedInlineValue();
    if (!parameter)
        parameter = document.resolveParameter(*entry.referenceValue());
    if (!parameter)
        return std::nullopt;
    std::optional<QString> schemaType, format, defaultValue;
    std::optional<QStringList> enumValues;
    if (const auto schema = parameter->schema()) {
        schemaType = schemaText(*schema);
        if (const SchemaAdapter* inlineSchema = schema->inlineValue()) {
            format = text(inlineSchema->format());
            defaultValue = text(inlineSchema->defaultValue());
            if (const auto values = inlineSchema->enumDisplayValues())
                enumValues = texts(*values);
        }
    }
    return OperationParameterViewModel(QString::fromStdString(parameter->name()), parameter->location(),
                                       parameter->required(), text(parameter->description()), std::move(schemaType),
                                       std::move(format), std::move(defaultValue), std::move(enumValues),
                                       parameter->deprecated(), parameter->sourceLine());
}

std::vector<OperationParameterViewModel> parameters(const OpenAPIDocumentAdapter& document, const PathItemAdapter& item,
                                                    const OperationAdapter& operation)
{
    std::vector<std::optional<OperationParameterViewModel>> list; // nullopt marks a replaced entry
    for (const auto& entry : item.parameters().value_or(std::vector<RefOrValue<ParameterAdapter>>())) {
        if (auto parameter = parameterViewModel(document, entry))
            list.push_back(std::move(parameter));
    }
    // Path-level duplicates stay; an operation parameter replaces every earlier one of its name and location.
    std::unordered_map<QString, std::vector<std::size_t>> positions; // by id: location and name
    for (std::size_t i = 0; i < list.size(); ++i)
        positions[list[i]->id].push_back(i);
    for (const auto& entry : operation.parameters().value_or(std::vector<RefOrValue<ParameterAdapter>>())) {
        auto parameter = parameterViewModel(document, entry);
        if (!parameter)
            continue;
        std::vector<std::size_t>& same = positions[parameter->id];
        for (std::size_t index : same)
            list[index].reset();
        same.assign(1, list.size());
        list.push_back(std::move(parameter));
    }
    struct Keyed {
        std::string nameKey;
        OperationParameterViewModel parameter;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(list.size());
    const LocalizedStandardComparison& comparison = LocalizedStandardComparison::forCurrentThread();
    for (auto& parameter : list) {
        if (parameter) {
            std::string key = comparison.sortKey(parameter->name);
            keyed.push_back({std::move(key), std::move(*parameter)});
        }
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.parameter.required != b.parameter.required)
            return a.parameter.required;
        if (a.parameter.location != b.parameter.location)
            return rawValueLess(a.parameter.location, b.parameter.location);
        return a.nameKey < b.nameKey;
    });
    std::vector<OperationParameterViewModel> sorted;
    sorted.reserve(keyed.size());
    for (auto& k : keyed)
        sorted.push_back(std::move(k.parameter));
    return sorted;
}

std::optional<OperationRequestBodyViewModel> requestBody(const OpenAPIDocumentAdapter& document,
                                                         const OperationAdapter& operation)
{
    const auto entry = operation.requestBody();
    if (!entry)
        return std::nullopt;
    std::shared_ptr<const RequestBodyAdapter> body = entry->sharedInlineValue();
    if (!body)
        body = document.resolveRequestBody(*entry->referenceValue());
    if (!body)
        return std::nullopt;
    const MediaTypes content = body->content();
    auto [schemaName, schemaSourceLine] = referencedSchema(document, content);
    return OperationRequestBodyViewModel{.required = body->required(),
                                         .description = text(body->description()),
                                         .contentTypes = mediaTypeNames(content),
                                         .schemaDescription = describedSchema(content),
                                         .schemaName = std::move(schemaName),
                                         .schemaSourceLine = schemaSourceLine,
                                         .sourceLine = body->sourceLine()};
}

// The status code without surrounding apostrophes and double quotes.
QString statusCode(const std::string& key)
{
    std::size_t begin = 0, end = key.size();
    while (begin < end && (key[begin] == '\'' || key[begin] == '"'))
        ++begin;
    while (end > begin && (key[end - 1] == '\'' || key[end - 1] == '"'))
        --end;
    return QString::fromUtf8(key.data() + begin, static_cast<qsizetype>(end - begin));
}

// Numeric codes by value (an optional sign and digits, within 64 bits), "default" last, any other key
// between them.
int64_t statusOrder(const QString& code)
{
    if (code == QLatin1String("default"))
        return 9999;
    const QByteArray bytes = code.toUtf8();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    const char* digits = first + ((first != last && (*first == '+' || *first == '-')) ? 1 : 0);
    if (digits == last || !std::all_of(digits, last, [](char c) { return c >= '0' && c <= '9'; }))
        return 1000;
    int64_t value = 0;
    const auto [end, error] = std::from_chars(*first == '-' ? first : digits, last, value);
    if (error != std::errc() || end != last)
        return 1000;
    return value;
}

std::optional<OperationResponseViewModel> responseViewModel(const OpenAPIDocumentAdapter& document, QString code,
                                                            const RefOrValue<ResponseAdapter>& entry)
{
    std::shared_ptr<const ResponseAdapter> response = entry.sharedInlineValue();
    if (!response)
        response = document.resolveResponse(*entry.referenceValue());
    if (!response)
        return std::nullopt;
    QStringList contentTypes;
    std::optional<QString> schemaDescription;
    std::optional<int64_t> schemaSourceLine;
    if (const auto content = response->content()) {
        contentTypes = mediaTypeNames(*content);
        schemaDescription = describedSchema(*content);
        schemaSourceLine = referencedSchema(document, *content).second;
    }
    return OperationResponseViewModel(std::move(code), QString::fromStdString(response->description()),
                                      std::move(contentTypes), std::move(schemaDescription), schemaSourceLine,
                                      response->sourceLine());
}

std::vector<OperationResponseViewModel> responses(const OpenAPIDocumentAdapter& document,
                                                  const OperationAdapter& operation)
{
    const auto responses = operation.responses();
    std::vector<OperationResponseViewModel> list;
    for (const auto& [key, entry] : responses->items()) {
        if (key == "default")
            continue;
        if (auto response = responseViewModel(document, statusCode(key), entry))
            list.push_back(std::move(*response));
    }
    if (const auto fallback = responses->defaultResponse()) {
        if (auto response = responseViewModel(document, QStringLiteral("default"), *fallback))
            list.push_back(std::move(*response));
    }
    std::vector<std::pair<int64_t, std::size_t>> order;
    order.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        order.emplace_back(statusOrder(list[i].statusCode), i);
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<OperationResponseViewModel> sorted;
    sorted.reserve(list.size());
    for (const auto& [key, index] : order)
        sorted.push_back(std::move(list[index]));
    return sorted;
}

std::vector<OperationServerViewModel> servers(const OpenAPIDocumentAdapter& document, const OperationAdapter& operation)
{
    const auto own = operation.servers();
    const auto servers = own ? *own : document.servers();
    std::vector<OperationServerViewModel> result;
    result.reserve(servers.size());
    for (const auto& server : servers)
        result.emplace_back(QString::fromStdString(server->url()), text(server->description()));
    return result;
}

std::vector<OperationSecurityViewModel> security(const OpenAPIDocumentAdapter& document,
                                                 const OperationAdapter& operation)
{
    const auto own = operation.security();
    const auto requirements = own ? *own : document.security();
    std::vector<OperationSecurityViewModel> result;
    for (const auto& requirement : requirements) {
        for (const auto& item : requirement->items())
            result.emplace_back(QString::fromStdString(item.schemeName), texts(item.scopes));
    }
    return result;
}

} // namespace

std::optional<OperationDetailsViewModel> OperationDetailsBuilder::build(const OperationID& id,
                                                                        const ParsedOpenAPIModel& model) const
{
    const auto document = model.makeAdapter();
    const QByteArray path = id.path.toUtf8();
    const auto item = document->pathItem(std::string_view(path.constData(), static_cast<std::size_t>(path.size())));
    if (!item)
        return std::nullopt;
    const auto operation = item->operation(id.method);
    if (!operation)
        return std::nullopt;
    return OperationDetailsViewModel{.id = id,
                                     .summary = text(operation->summary()),
                                     .description = text(operation->description()),
                                     .operationId = text(operation->operationId()),
                                     .deprecated = operation->deprecated(),
                                     .tags = texts(operation->tags()),
                                     .parameters = parameters(*document, *item, *operation),
                                     .requestBody = requestBody(*document, *operation),
                                     .responses = responses(*document, *operation),
                                     .servers = servers(*document, *operation),
                                     .security = security(*document, *operation),
                                     .externalDocsURL = text(operation->externalDocsURL())};
}

} // namespace Carvex
