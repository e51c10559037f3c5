#include "Carvex/Completion/GrammarPathClassifier.h"

#include <QString>

#include <cstddef>

namespace Carvex::GrammarPathClassifier {

namespace {

using Case = GrammarContext::Case;
using Path = std::vector<PathComponent>;

// The walks read the path from a start position; a position at or past the end is the empty rest.
std::size_t restLength(const Path& path, std::size_t start)
{
    return start < path.size() ? path.size() - start : 0;
}

bool isKeyAt(const Path& path, std::size_t position)
{
    return position < path.size() && path[position].kind() == PathComponent::Case::key;
}

bool isKeyAt(const Path& path, std::size_t position, QStringView name)
{
    return position < path.size() && path[position].isKey(name);
}

// Starts inside a Schema Object.
GrammarContext schemaWalk(const Path& path, std::size_t start)
{
    std::size_t position = start;
    for (;;) {
        const std::size_t m = restLength(path, position);
        if (m == 0 || !isKeyAt(path, position))
            return Case::schemaObject;
        const QString& key = path[position].name();
        if (key == u"properties") {
            if (m == 1)
                return Case::schemaProperties;
            position += 2; // the property name is skipped
        } else if (key == u"items") {
            if (m == 1)
                return Case::schemaObject;
            position += 1;
        } else if (key == u"additionalProperties" || key == u"not") {
            position += 1;
        } else if (key == u"allOf" || key == u"oneOf" || key == u"anyOf") {
            if (m == 1)
                return Case::schemaObject;
            position += 2; // the member position is skipped, whatever it is
        } else if (key == u"discriminator") {
            return Case::discriminatorObject;
        } else if (key == u"xml") {
            return Case::xmlObject;
        } else if (key == u"externalDocs") {
            return Case::externalDocsObject;
        } else {
            return Case::schemaObject;
        }
    }
}

// Starts inside a content map: the first component is the media-type name.
GrammarContext contentWalk(const Path& path, std::size_t start)
{
    const std::size_t m = restLength(path, start);
    if (m == 0)
        return Case::contentObject;
    if (m == 1 || !isKeyAt(path, start + 1))
        return Case::mediaTypeObject;
    const QString& key = path[start + 1].name();
    if (key == u"schema")
        return schemaWalk(path, start + 2);
    if (key == u"examples")
        return m < 3 ? Case::examplesObject : Case::exampleObject;
    return Case::mediaTypeObject;
}

// Starts inside a Parameter or Header Object, which hold their value's schema or a content map;
// elsewhere in it the caret stands in the object itself.
GrammarContext schemaOrContentWalk(const Path& path, std::size_t start, GrammarContext object)
{
    for (std::size_t position = start; position < path.size(); ++position) {
        if (path[position].isKey(u"schema"))
            return schemaWalk(path, position + 1);
        if (path[position].isKey(u"content"))
            return contentWalk(path, position + 1);
    }
    return object;
}

// Starts inside a Parameter Object; never knows the parameter's location.
GrammarContext parameterWalk(const Path& path, std::size_t start)
{
    return schemaOrContentWalk(path, start, GrammarContext::parameterObject(std::nullopt));
}

// Starts inside a Request Body Object.
GrammarContext requestBodyWalk(const Path& path, std::size_t start)
{
    return isKeyAt(path, start, u"content") ? contentWalk(path, start + 1) : GrammarContext(Case::requestBodyObject);
}

// Starts inside a responses map, or at a named response of the components: the first component is
// the status code or the name.
GrammarContext responsesWalk(const Path& path, std::size_t start)
{
    const std::size_t m = restLength(path, start);
    if (m == 0)
        return Case::responsesObject;
    if (m == 1 || !isKeyAt(path, start + 1))
        return Case::responseObject;
    const QString& key = path[start + 1].name();
    if (key == u"headers") {
        if (m < 3)
            return Case::headersObject;
        return schemaOrContentWalk(path, start + 3, Case::headerObject);
    }
    if (key == u"content")
        return contentWalk(path, start + 2);
    if (key == u"links")
        return m < 3 ? Case::linksObject : Case::linkObject;
    return Case::responseObject;
}

// Starts inside a Path Item Object. An operation's callbacks hold path items again; the walk goes
// on into them in its loop, so callbacks nested however deep take no recursion.
GrammarContext pathItemWalk(const Path& path, std::size_t start)
{
    std::size_t position = start;
    for (;;) {
        if (!isKeyAt(path, position))
            return Case::pathItemObject;
        const QString& key = path[position].name();
        if (key == u"parameters")
            return restLength(path, position) < 2 ? GrammarContext(Case::parametersArray)
                                                  : parameterWalk(path, position + 2);
        if (key == u"servers")
            return restLength(path, position) < 2 ? Case::serversArray : Case::serverObject;
        if (!isHttpMethod(key))
            return Case::pathItemObject;

        const std::size_t operation = position + 1;
        if (!isKeyAt(path, operation))
            return Case::operationObject;
        const QString& field = path[operation].name();
        const std::size_t rest = restLength(path, operation + 1);
        if (field == u"parameters")
            return rest == 0 ? GrammarContext(Case::parametersArray) : parameterWalk(path, operation + 2);
        if (field == u"requestBody")
            return requestBodyWalk(path, operation + 1);
        if (field == u"responses")
            return responsesWalk(path, operation + 1);
        if (field == u"security")
            return Case::securityRequirementObject;
        if (field == u"servers")
            return rest == 0 ? Case::serversArray : Case::serverObject;
        if (field == u"externalDocs")
            return Case::externalDocsObject;
        if (field != u"callbacks")
            return Case::operationObject;
        // callbacks, a callback's name, then the expression naming the callback's path item
        if (rest < 2)
            return rest == 0 ? Case::callbacksObject : Case::callbackObject;
        position = operation + 3;
    }
}

// The whole path; its first component is "paths" (or "webhooks").
GrammarContext pathsWalk(const Path& path)
{
    if (path.size() < 2 || !path[1].isDynamicKey())
        return Case::pathsObject;
    return pathItemWalk(path, 2);
}

// Starts inside a Security Scheme Object.
GrammarContext securitySchemeWalk(const Path& path, std::size_t start)
{
    const std::size_t m = restLength(path, start);
    if (m == 0 || !isKeyAt(path, start))
        return Case::securitySchemeObject;
    if (path[start].name() == u"flows")
        return m == 1 ? Case::oAuthFlowsObject : Case::oAuthFlowObject;
    return Case::securitySchemeObject;
}

// The whole path; its first component is "components". A named component is walked as the same
// object is walked under the paths, so a schema, header or media type inside it reads as itself.
GrammarContext componentsWalk(const Path& path, OpenAPIVersion version)
{
    const std::size_t n = path.size();
    if (n < 2 || !isKeyAt(path, 1))
        return Case::componentsObject;
    const QString& section = path[1].name();
    const bool named = n >= 3;
    if (section == u"schemas")
        return named ? schemaWalk(path, 3) : GrammarContext(Case::componentSchemas);
    if (section == u"responses")
        return named ? responsesWalk(path, 2) : GrammarContext(Case::componentResponses);
    if (section == u"parameters") {
        if (!named)
            return Case::componentParameters;
        return n == 3 ? GrammarContext::parameterObject(std::nullopt) : parameterWalk(path, 3);
    }
    if (section == u"examples")
        return named ? Case::exampleObject : Case::componentExamples;
    if (section == u"requestBodies")
        return named ? requestBodyWalk(path, 3) : GrammarContext(Case::componentRequestBodies);
    if (section == u"headers")
        return named ? schemaOrContentWalk(path, 3, Case::headerObject) : GrammarContext(Case::componentHeaders);
    if (section == u"securitySchemes")
        return named ? securitySchemeWalk(path, 3) : GrammarContext(Case::componentSecuritySchemes);
    if (section == u"links")
        return named ? Case::linkObject : Case::componentLinks;
    if (section == u"callbacks") {
        if (!named)
            return Case::componentCallbacks;
        // the callback's name, then the expression naming its path item
        return n == 3 ? GrammarContext(Case::callbackObject) : pathItemWalk(path, 4);
    }
    if (section == u"pathItems" && version == OpenAPIVersion::openAPI31)
        return named ? pathItemWalk(path, 3) : GrammarContext(Case::componentPathItems);
    return Case::componentsObject;
}

bool isCompositionKey(const QString& key)
{
    return key == u"allOf" || key == u"anyOf" || key == u"oneOf";
}

GrammarContext firstLevel(const PathComponent& component, OpenAPIVersion version)
{
    if (component.kind() != PathComponent::Case::key)
        return Case::unknown;
    const QString& key = component.name();
    if (key == u"info")
        return Case::infoObject;
    if (key == u"servers")
        return Case::serversArray;
    if (key == u"paths")
        return Case::pathsObject;
    if (key == u"webhooks" && version == OpenAPIVersion::openAPI31)
        return Case::pathsObject;
    if (key == u"components")
        return Case::componentsObject;
    if (key == u"security")
        return Case::securityRequirementObject;
    if (key == u"tags")
        return Case::tagsArray;
    if (key == u"externalDocs")
        return Case::externalDocsObject;
    if (isCompositionKey(key) || key == u"items" || key == u"not" || key == u"additionalProperties")
        return Case::schemaObject;
    return Case::unknown;
}

} // namespace

bool isHttpMethod(QStringView key)
{
    static constexpr QStringView methods[] = {u"get", u"put", u"post", u"delete",
                                              u"options", u"head", u"patch", u"trace"};
    for (QStringView method : methods) {
        if (key == method)
            return true;
    }
    return false;
}

GrammarContext classify(const Path& path, OpenAPIVersion version)
{
    const std::size_t n = path.size();
    if (n == 0)
        return Case::openAPIRoot;
    if (n == 1)
        return firstLevel(path[0], version);
    if (!isKeyAt(path, 0))
        return Case::unknown;
    const QString& first = path[0].name();
    if (isCompositionKey(first) && path[1].isIndex())
        return n == 2 ? GrammarContext(Case::schemaObject) : schemaWalk(path, 2);
    if (first == u"properties")
        return n == 2 ? GrammarContext(Case::schemaObject) : schemaWalk(path, 2);
    if (first == u"info") {
        if (path[1].isKey(u"contact"))
            return Case::contactObject;
        if (path[1].isKey(u"license"))
            return Case::licenseObject;
        return Case::infoObject;
    }
    if (first == u"servers") {
        if (!path[1].isIndex())
            return Case::serversArray;
        if (n == 2)
            return Case::serverObject;
        if (path[2].isKey(u"variables"))
            return n == 3 ? Case::serverObject : Case::serverVariableObject;
        return Case::serverObject;
    }
    if (first == u"paths" || (first == u"webhooks" && version == OpenAPIVersion::openAPI31))
        return pathsWalk(path);
    if (first == u"components")
        return componentsWalk(path, version);
    if (first == u"tags") {
        if (n == 2)
            return Case::tagObject;
        return path[2].isKey(u"externalDocs") ? Case::externalDocsObject : Case::tagObject;
    }
    return Case::unknown;
}

std::optional<ReferenceKind> expectedReferenceKind(const std::vector<GrammarContext>& contexts)
{
    for (const GrammarContext& context : contexts) {
        switch (context.kind()) {
        case Case::parameterObject:
        case Case::parametersArray:
        case Case::componentParameters: return ReferenceKind::parameter;
        case Case::pathItemObject:
        case Case::componentPathItems: return ReferenceKind::pathItem;
        case Case::requestBodyObject:
        case Case::componentRequestBodies: return ReferenceKind::requestBody;
        case Case::responsesObject:
        case Case::responseObject:
        case Case::componentResponses: return ReferenceKind::response;
        case Case::headersObject:
        case Case::headerObject:
        case Case::componentHeaders: return ReferenceKind::header;
        case Case::linksObject:
        case Case::linkObject:
        case Case::componentLinks: return ReferenceKind::link;
        case Case::callbacksObject:
        case Case::callbackObject:
        case Case::componentCallbacks: return ReferenceKind::callback;
        case Case::componentSchemas:
        case Case::schemaObject:
        case Case::schemaProperties:
        case Case::schemaItems: return ReferenceKind::schema;
        case Case::componentExamples:
        case Case::examplesObject:
        case Case::exampleObject: return ReferenceKind::example;
        case Case::componentSecuritySchemes:
        case Case::securitySchemeObject: return ReferenceKind::securityScheme;
        default: break; // neutral: passed over
        }
    }
    return std::nullopt;
}

} // namespace Carvex::GrammarPathClassifier
