#include "Carvex/Completion/GrammarProposals.h"

#include <QStringList>

#include <cstdint>
#include <initializer_list>

namespace Carvex::GrammarProposals {

namespace {

using Case = GrammarContext::Case;
using Items = std::vector<CompletionItem>;

bool isOneOf(QStringView text, std::initializer_list<QStringView> candidates)
{
    for (QStringView candidate : candidates) {
        if (text == candidate)
            return true;
    }
    return false;
}

// The table of keys for a mapping at this place; null for places that take no key proposals.
Table keyTable(const Tables& t, GrammarContext context)
{
    switch (context.kind()) {
    case Case::openAPIRoot: return t.rootKeys;
    case Case::infoObject: return t.infoKeys;
    case Case::contactObject: return t.contactKeys;
    case Case::licenseObject: return t.licenseKeys;
    case Case::serverObject: return t.serverKeys;
    case Case::serverVariableObject: return t.serverVariableKeys;
    case Case::pathItemObject:
    case Case::callbackObject: return t.pathItemKeys;
    case Case::operationObject: return t.operationKeys;
    case Case::parameterObject: return t.parameterKeys;
    case Case::requestBodyObject: return t.requestBodyKeys;
    case Case::contentObject: return t.mediaTypes;
    case Case::mediaTypeObject: return t.mediaTypeKeys;
    case Case::responsesObject: return t.httpStatusCodes;
    case Case::responseObject: return t.responseKeys;
    case Case::headerObject: return t.headerKeys;
    case Case::linkObject: return t.linkKeys;
    case Case::componentsObject: return t.componentsKeys;
    case Case::schemaObject:
    case Case::schemaItems: return t.schemaKeys;
    case Case::exampleObject: return t.exampleKeys;
    case Case::securitySchemeObject: return t.securitySchemeKeys;
    case Case::oAuthFlowsObject: return t.oAuthFlowsKeys;
    case Case::oAuthFlowObject: return t.oAuthFlowKeys;
    case Case::externalDocsObject: return t.externalDocsKeys;
    case Case::tagObject: return t.tagKeys;
    case Case::discriminatorObject: return t.discriminatorKeys;
    case Case::xmlObject: return t.xmlKeys;
    default: return nullptr;
    }
}

bool isNamedMapContext(GrammarContext context, OpenAPIVersion version)
{
    switch (context.kind()) {
    case Case::componentSchemas:
    case Case::componentResponses:
    case Case::componentParameters:
    case Case::componentExamples:
    case Case::componentRequestBodies:
    case Case::componentHeaders:
    case Case::componentSecuritySchemes:
    case Case::componentLinks:
    case Case::componentCallbacks:
    case Case::headersObject:
    case Case::linksObject:
    case Case::callbacksObject:
    case Case::examplesObject: return true;
    case Case::componentPathItems: return version == OpenAPIVersion::openAPI31;
    default: return false;
    }
}

bool isBooleanKey(const QString& key, OpenAPIVersion version)
{
    if (isOneOf(key, {u"deprecated", u"nullable", u"readonly", u"writeonly", u"explode", u"allowemptyvalue",
                      u"allowreserved", u"xml.attribute", u"xml.wrapped", u"uniqueitems"}))
        return true;
    if (version == OpenAPIVersion::openAPI30)
        return isOneOf(key, {u"exclusiveminimum", u"exclusivemaximum"});
    return key == u"exclusive";
}

bool isObjectValuedKey(const QString& key, OpenAPIVersion version)
{
    if (isOneOf(key, {u"content",     u"get",          u"put",         u"post",
                      u"delete",      u"options",      u"head",        u"patch",
                      u"trace",       u"schema",       u"items",       u"not",
                      u"additionalproperties", u"implicit", u"password", u"clientcredentials",
                      u"authorizationcode", u"paths",  u"components",  u"info",
                      u"contact",     u"license",      u"externaldocs", u"variables",
                      u"requestbody", u"responses",    u"callbacks",   u"links",
                      u"headers",     u"examples",     u"encoding",    u"schemas",
                      u"securityschemes", u"discriminator", u"xml",    u"flows",
                      u"scopes",      u"mapping",      u"properties"}))
        return true;
    return version == OpenAPIVersion::openAPI31 && key == u"pathitems";
}

bool isArrayValuedKey(const QString& key)
{
    return isOneOf(key, {u"servers", u"security", u"tags", u"parameters", u"allof", u"oneof", u"anyof", u"enum"});
}

Items objectStart(const Tables& t, DocumentFormat format)
{
    return format == DocumentFormat::yaml ? t.yamlObjectStart() : t.objectStructure();
}

// A YAML list offered as a key's value starts on the next line, indented: the rows are made anew.
Items onNextLine(const Items& rows)
{
    Items items;
    items.reserve(rows.size());
    for (const CompletionItem& row : rows) {
        items.emplace_back(row.label, QStringLiteral("\n  ") + row.insertText, row.kind, std::nullopt, row.description,
                           row.detail, row.priority, row.requiresColon, row.requiresValue, std::nullopt);
    }
    return items;
}

// The document's tags are tag objects; an operation's, and any other "tags", are plain names.
bool holdsTagObjects(GrammarContext context)
{
    return context.kind() == Case::tagsArray || context.kind() == Case::openAPIRoot;
}

Items listProposals(const Tables& t, const QString& lowerKey, GrammarContext context, DocumentFormat format)
{
    if (format != DocumentFormat::yaml)
        return t.arrayStructure();
    if (isOneOf(lowerKey, {u"allof", u"anyof", u"oneof"}))
        return onNextLine(t.yamlSchemaArrayItems());
    if (lowerKey == u"servers")
        return onNextLine(t.yamlServerArrayItems());
    if (lowerKey == u"parameters")
        return onNextLine(t.yamlParameterArrayItems());
    if (lowerKey == u"tags" && holdsTagObjects(context))
        return onNextLine(t.yamlTagArrayItems());
    if (lowerKey == u"security")
        return onNextLine(t.yamlSecurityArrayItems());
    return onNextLine(t.yamlArrayItem());
}

CompletionItem typeArrayRow()
{
    return CompletionItem(QStringLiteral("[]"), std::nullopt, CompletionItemKind::snippet, std::nullopt,
                          QStringLiteral("Type array (3.1)"), QStringLiteral("Array of types, e.g. [string, null]"), 80,
                          false, false, std::nullopt);
}

Items valueProposals(const Tables& t, OpenAPIVersion version, GrammarContext context,
                     const std::optional<QString>& currentKey, DocumentFormat format)
{
    if (!currentKey)
        return {};
    const QString& key = *currentKey;
    if (key.startsWith(u'/') || isResponseCodeKey(key) || isMediaTypeKey(key) || isNamedMapContext(context, version))
        return objectStart(t, format);
    const QString lower = key.toLower();
    const bool inSecurityScheme = context.kind() == Case::securitySchemeObject;
    if (lower == u"type") {
        if (inSecurityScheme)
            return t.securitySchemeTypeValues();
        Items items = t.schemaTypeValues();
        if (version == OpenAPIVersion::openAPI31) {
            if (format == DocumentFormat::yaml) {
                items.push_back(typeArrayRow());
            } else {
                const Items& structure = t.arrayStructure();
                items.insert(items.end(), structure.begin(), structure.end());
            }
        }
        return items;
    }
    if (lower == u"in")
        return inSecurityScheme ? t.securitySchemeInValues() : t.parameterInValues();
    if (lower == u"scheme")
        return t.httpSchemeValues();
    if (isBooleanKey(lower, version))
        return t.booleanValues();
    if (lower == u"required") {
        const Case kind = context.kind();
        if (kind == Case::schemaObject || kind == Case::schemaProperties || kind == Case::schemaItems)
            return listProposals(t, lower, context, format);
        return t.booleanValues();
    }
    if (lower == u"format")
        return t.formatValues();
    if (lower == u"style")
        return t.styleValues();
    if (isObjectValuedKey(lower, version))
        return objectStart(t, format);
    if (isArrayValuedKey(lower))
        return listProposals(t, lower, context, format);
    return {};
}

enum class ItemSort { none, schema, server, parameter, tag, security };

ItemSort itemSortForContext(GrammarContext context)
{
    switch (context.kind()) {
    case Case::schemaObject:
    case Case::schemaItems: return ItemSort::schema;
    case Case::serversArray: return ItemSort::server;
    case Case::securityRequirementObject: return ItemSort::security;
    case Case::tagsArray: return ItemSort::tag;
    case Case::parameterObject:
    case Case::parametersArray: return ItemSort::parameter;
    default: return ItemSort::none;
    }
}

Items sequenceItemProposals(const Tables& t, GrammarContext context, const std::optional<QString>& currentKey,
                            DocumentFormat format)
{
    ItemSort sort = ItemSort::none;
    if (currentKey) {
        const QString lower = currentKey->toLower();
        if (isOneOf(lower, {u"allof", u"oneof", u"anyof"})) {
            sort = ItemSort::schema;
        } else if (lower == u"servers") {
            sort = ItemSort::server;
        } else if (lower == u"parameters") {
            sort = ItemSort::parameter;
        } else if (lower == u"tags") {
            sort = holdsTagObjects(context) ? ItemSort::tag : ItemSort::none;
        } else if (lower == u"security") {
            const Case kind = context.kind();
            sort = kind == Case::operationObject || kind == Case::openAPIRoot ? ItemSort::security : ItemSort::none;
        } else if (lower == u"enum" || lower == u"required") {
            sort = ItemSort::none;
        } else {
            sort = itemSortForContext(context);
        }
    } else {
        sort = itemSortForContext(context);
    }
    if (sort == ItemSort::none)
        return {};
    if (format != DocumentFormat::yaml)
        return t.objectStructure();
    switch (sort) {
    case ItemSort::schema: return t.yamlSchemaArrayItems();
    case ItemSort::server: return t.yamlServerArrayItems();
    case ItemSort::parameter: return t.yamlParameterArrayItems();
    case ItemSort::tag: return t.yamlTagArrayItems();
    case ItemSort::security: return t.yamlSecurityArrayItems();
    case ItemSort::none: break;
    }
    return {};
}

} // namespace

bool isResponseCodeKey(QStringView key)
{
    qsizetype position = 0;
    if (!key.isEmpty() && (key[0] == u'+' || key[0] == u'-'))
        position = 1;
    const bool negative = !key.isEmpty() && key[0] == u'-';
    if (position < key.size()) {
        std::int64_t value = 0;
        bool digits = true;
        for (qsizetype i = position; i < key.size(); ++i) {
            const char16_t c = key[i].unicode();
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            // Leading zeros aside, a number this long is past any status code; stop before it overflows.
            if (value > 1000)
                value = 1000;
            value = value * 10 + (c - u'0');
        }
        if (digits) {
            const std::int64_t signedValue = negative ? -value : value;
            if (signedValue >= 100 && signedValue <= 599)
                return true;
        }
    }
    const QString upper = key.toString().toUpper();
    if (isOneOf(upper, {u"1XX", u"2XX", u"3XX", u"4XX", u"5XX"}))
        return true;
    return key.toString().toLower() == u"default";
}

bool isMediaTypeKey(QStringView key)
{
    const QString lower = key.toString().toLower();
    if (!lower.contains(u'/'))
        return false;
    const QStringList pieces = lower.split(u'/', Qt::SkipEmptyParts);
    if (pieces.size() != 2)
        return false;
    return isOneOf(pieces[0], {u"application", u"audio", u"font", u"image", u"message", u"model", u"multipart",
                               u"text", u"video", u"*"});
}

std::vector<CompletionItem> suggestions(const Tables& tables, OpenAPIVersion version, GrammarContext context,
                                        CursorRole role, const std::optional<QString>& currentKey,
                                        DocumentFormat format)
{
    switch (role) {
    case CursorRole::mappingKey: {
        const Table table = keyTable(tables, context);
        return table ? table() : Items{};
    }
    case CursorRole::sequenceItem: return sequenceItemProposals(tables, context, currentKey, format);
    case CursorRole::mappingValue:
    case CursorRole::unknown: break;
    }
    return valueProposals(tables, version, context, currentKey, format);
}

} // namespace Carvex::GrammarProposals
