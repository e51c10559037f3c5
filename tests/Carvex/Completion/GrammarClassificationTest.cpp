#include "Carvex/Completion/OpenAPI30Grammar.h"
#include "Carvex/Completion/OpenAPI31Grammar.h"

#include <gtest/gtest.h>

using Carvex::GrammarContext;
using Carvex::PathComponent;
using Carvex::ReferenceKind;
using Case = GrammarContext::Case;
using Path = std::vector<PathComponent>;

namespace {

PathComponent K(const char* name) { return PathComponent::key(name); }
PathComponent D(const char* name) { return PathComponent::dynamicKey(name); }
PathComponent I(int position) { return PathComponent::index(position); }

GrammarContext parameterNone() { return GrammarContext::parameterObject(std::nullopt); }

struct Row {
    const char* name;
    Path path;
    GrammarContext in30;
    GrammarContext in31;
};

std::vector<GrammarContext> classify(const Carvex::OpenAPIGrammar& grammar, Path path)
{
    Carvex::CompletionContext context;
    context.path = std::move(path);
    return grammar.classify(context);
}

TEST(GrammarClassification, pathsClassifyInBothVersions)
{
    const Path get{K("paths"), D("/pets"), K("get")};
    auto under = [&](std::initializer_list<PathComponent> rest) {
        Path path = get;
        path.insert(path.end(), rest);
        return path;
    };
    const Row rows[] = {
        {"empty path is the root", {}, Case::openAPIRoot, Case::openAPIRoot},
        {"info", {K("info")}, Case::infoObject, Case::infoObject},
        {"info license url", {K("info"), K("license"), K("url")}, Case::licenseObject, Case::licenseObject},
        {"info contact", {K("info"), K("contact")}, Case::contactObject, Case::contactObject},
        {"info other", {K("info"), K("title")}, Case::infoObject, Case::infoObject},
        {"first component an index", {I(0)}, Case::unknown, Case::unknown},
        {"first component dynamic, deeper", {D("x"), K("y")}, Case::unknown, Case::unknown},
        {"unknown root key", {K("foo")}, Case::unknown, Case::unknown},
        {"root allOf alone", {K("allOf")}, Case::schemaObject, Case::schemaObject},
        {"root allOf member", {K("allOf"), I(0)}, Case::schemaObject, Case::schemaObject},
        {"root allOf member properties", {K("allOf"), I(0), K("properties")}, Case::schemaProperties,
         Case::schemaProperties},
        {"root allOf with a key", {K("allOf"), K("x")}, Case::unknown, Case::unknown},
        {"root properties name", {K("properties"), K("id")}, Case::schemaObject, Case::schemaObject},
        {"root items deeper", {K("items"), K("type")}, Case::unknown, Case::unknown},
        {"servers", {K("servers")}, Case::serversArray, Case::serversArray},
        {"server item", {K("servers"), I(0)}, Case::serverObject, Case::serverObject},
        {"server variables", {K("servers"), I(0), K("variables")}, Case::serverObject, Case::serverObject},
        {"server variable", {K("servers"), I(0), K("variables"), K("port")}, Case::serverVariableObject,
         Case::serverVariableObject},
        {"servers with a key", {K("servers"), K("x")}, Case::serversArray, Case::serversArray},
        {"paths", {K("paths")}, Case::pathsObject, Case::pathsObject},
        {"path item", {K("paths"), D("/pets")}, Case::pathItemObject, Case::pathItemObject},
        {"path as a plain key", {K("paths"), K("/pets")}, Case::pathsObject, Case::pathsObject},
        {"operation", get, Case::operationObject, Case::operationObject},
        {"upper-case method", {K("paths"), D("/pets"), K("GET")}, Case::pathItemObject, Case::pathItemObject},
        {"path item index", {K("paths"), D("/pets"), I(0)}, Case::pathItemObject, Case::pathItemObject},
        {"path parameters", {K("paths"), D("/p"), K("parameters")}, Case::parametersArray, Case::parametersArray},
        {"path parameter", {K("paths"), D("/p"), K("parameters"), I(0)}, parameterNone(), parameterNone()},
        {"path parameter schema", {K("paths"), D("/p"), K("parameters"), I(0), K("schema")}, Case::schemaObject,
         Case::schemaObject},
        {"path servers", {K("paths"), D("/p"), K("servers")}, Case::serversArray, Case::serversArray},
        {"path server", {K("paths"), D("/p"), K("servers"), I(0)}, Case::serverObject, Case::serverObject},
        {"path summary", {K("paths"), D("/p"), K("summary")}, Case::pathItemObject, Case::pathItemObject},
        {"deep response schema property",
         under({K("responses"), D("200"), K("content"), D("application/json"), K("schema"), K("properties"),
                D("id")}),
         Case::schemaObject, Case::schemaObject},
        {"response schema properties",
         under({K("responses"), D("200"), K("content"), D("application/json"), K("schema"), K("properties")}),
         Case::schemaProperties, Case::schemaProperties},
        {"parameter examples", under({K("parameters"), I(0), K("examples"), K("a")}), parameterNone(),
         parameterNone()},
        {"operation parameters", under({K("parameters")}), Case::parametersArray, Case::parametersArray},
        {"parameter content schema", under({K("parameters"), I(0), K("content"), D("text/plain"), K("schema")}),
         Case::schemaObject, Case::schemaObject},
        {"request body content", under({K("requestBody"), K("content")}), Case::contentObject, Case::contentObject},
        {"request body required", under({K("requestBody"), K("required")}), Case::requestBodyObject,
         Case::requestBodyObject},
        {"request body media type", under({K("requestBody"), K("content"), D("application/json")}),
         Case::mediaTypeObject, Case::mediaTypeObject},
        {"media type examples", under({K("requestBody"), K("content"), D("a/b"), K("examples")}),
         Case::examplesObject, Case::examplesObject},
        {"media type example", under({K("requestBody"), K("content"), D("a/b"), K("examples"), D("one")}),
         Case::exampleObject, Case::exampleObject},
        {"responses", under({K("responses")}), Case::responsesObject, Case::responsesObject},
        {"response", under({K("responses"), D("200")}), Case::responseObject, Case::responseObject},
        {"response headers", under({K("responses"), D("200"), K("headers")}), Case::headersObject,
         Case::headersObject},
        {"response header", under({K("responses"), D("200"), K("headers"), D("X"), K("examples")}),
         Case::headerObject, Case::headerObject},
        {"response header schema", under({K("responses"), D("200"), K("headers"), D("X"), K("schema")}),
         Case::schemaObject, Case::schemaObject},
        {"response links", under({K("responses"), D("200"), K("links")}), Case::linksObject, Case::linksObject},
        {"response link", under({K("responses"), D("200"), K("links"), D("l")}), Case::linkObject, Case::linkObject},
        {"callbacks", under({K("callbacks")}), Case::callbacksObject, Case::callbacksObject},
        {"callback", under({K("callbacks"), D("onEvent")}), Case::callbackObject, Case::callbackObject},
        {"callback path item", under({K("callbacks"), D("onEvent"), K("{$request.body#/url}")}),
         Case::pathItemObject, Case::pathItemObject},
        {"callback operation response",
         under({K("callbacks"), D("e"), K("{$url}"), K("post"), K("responses"), D("200")}), Case::responseObject,
         Case::responseObject},
        {"operation security", under({K("security")}), Case::securityRequirementObject,
         Case::securityRequirementObject},
        {"operation servers", under({K("servers")}), Case::serversArray, Case::serversArray},
        {"operation server", under({K("servers"), I(0)}), Case::serverObject, Case::serverObject},
        {"operation externalDocs", under({K("externalDocs")}), Case::externalDocsObject, Case::externalDocsObject},
        {"operation other", under({K("summary")}), Case::operationObject, Case::operationObject},
        {"components", {K("components")}, Case::componentsObject, Case::componentsObject},
        {"component schemas", {K("components"), K("schemas")}, Case::componentSchemas, Case::componentSchemas},
        {"component schema", {K("components"), K("schemas"), D("Pet")}, Case::schemaObject, Case::schemaObject},
        {"component schema items", {K("components"), K("schemas"), D("Pet"), K("items")}, Case::schemaObject,
         Case::schemaObject},
        {"schema discriminator", {K("components"), K("schemas"), D("Pet"), K("discriminator")},
         Case::discriminatorObject, Case::discriminatorObject},
        {"schema xml via not", {K("components"), K("schemas"), D("Pet"), K("not"), K("xml")}, Case::xmlObject,
         Case::xmlObject},
        {"schema externalDocs via oneOf",
         {K("components"), K("schemas"), D("Pet"), K("oneOf"), I(1), K("externalDocs")}, Case::externalDocsObject,
         Case::externalDocsObject},
        {"component responses", {K("components"), K("responses")}, Case::componentResponses,
         Case::componentResponses},
        {"component response media type",
         {K("components"), K("responses"), D("NotFound"), K("content"), D("application/json")},
         Case::mediaTypeObject, Case::mediaTypeObject},
        {"component response", {K("components"), K("responses"), D("R0"), K("description")}, Case::responseObject,
         Case::responseObject},
        {"component response schema",
         {K("components"), K("responses"), D("R0"), K("content"), D("application/json"), K("schema")},
         Case::schemaObject, Case::schemaObject},
        {"component response header", {K("components"), K("responses"), D("R0"), K("headers"), D("X")},
         Case::headerObject, Case::headerObject},
        {"component response links", {K("components"), K("responses"), D("R0"), K("links")}, Case::linksObject,
         Case::linksObject},
        {"component parameters", {K("components"), K("parameters")}, Case::componentParameters,
         Case::componentParameters},
        {"component parameter", {K("components"), K("parameters"), D("limit")}, parameterNone(), parameterNone()},
        {"component parameter schema", {K("components"), K("parameters"), D("limit"), K("schema"), K("type")},
         Case::schemaObject, Case::schemaObject},
        {"component examples", {K("components"), K("examples"), D("e")}, Case::exampleObject, Case::exampleObject},
        {"component request body", {K("components"), K("requestBodies"), D("b")}, Case::requestBodyObject,
         Case::requestBodyObject},
        {"component request body schema",
         {K("components"), K("requestBodies"), D("b"), K("content"), D("a/b"), K("schema"), K("items")},
         Case::schemaObject, Case::schemaObject},
        {"component header", {K("components"), K("headers"), D("h")}, Case::headerObject, Case::headerObject},
        {"component header content", {K("components"), K("headers"), D("h"), K("content")}, Case::contentObject,
         Case::contentObject},
        {"component security schemes", {K("components"), K("securitySchemes")}, Case::componentSecuritySchemes,
         Case::componentSecuritySchemes},
        {"security scheme", {K("components"), K("securitySchemes"), D("oauth")}, Case::securitySchemeObject,
         Case::securitySchemeObject},
        {"flows", {K("components"), K("securitySchemes"), D("oauth"), K("flows")}, Case::oAuthFlowsObject,
         Case::oAuthFlowsObject},
        {"flow", {K("components"), K("securitySchemes"), D("oauth"), K("flows"), K("implicit")},
         Case::oAuthFlowObject, Case::oAuthFlowObject},
        {"component links", {K("components"), K("links"), D("l")}, Case::linkObject, Case::linkObject},
        {"component callbacks", {K("components"), K("callbacks")}, Case::componentCallbacks,
         Case::componentCallbacks},
        {"component callback", {K("components"), K("callbacks"), D("c")}, Case::callbackObject, Case::callbackObject},
        {"component callback operation", {K("components"), K("callbacks"), D("c"), K("{$url}"), K("post")},
         Case::operationObject, Case::operationObject},
        {"component path items", {K("components"), K("pathItems")}, Case::componentsObject,
         Case::componentPathItems},
        {"component path item", {K("components"), K("pathItems"), D("p")}, Case::componentsObject,
         Case::pathItemObject},
        {"component path item request body", {K("components"), K("pathItems"), D("p"), K("put"), K("requestBody")},
         Case::componentsObject, Case::requestBodyObject},
        {"components other", {K("components"), K("x-extra"), D("p")}, Case::componentsObject,
         Case::componentsObject},
        {"webhooks", {K("webhooks")}, Case::unknown, Case::pathsObject},
        {"webhook operation named by a plain key", {K("webhooks"), K("newPet"), K("post")}, Case::unknown,
         Case::pathsObject},
        {"webhook by a dynamic key", {K("webhooks"), D("newPet"), K("post")}, Case::unknown, Case::operationObject},
        {"tags", {K("tags")}, Case::tagsArray, Case::tagsArray},
        {"tag", {K("tags"), I(0)}, Case::tagObject, Case::tagObject},
        {"tag externalDocs", {K("tags"), I(0), K("externalDocs")}, Case::externalDocsObject,
         Case::externalDocsObject},
        {"security deeper", {K("security"), I(0)}, Case::unknown, Case::unknown},
        {"externalDocs deeper", {K("externalDocs"), K("url")}, Case::unknown, Case::unknown},
    };
    const Carvex::OpenAPI30Grammar grammar30;
    const Carvex::OpenAPI31Grammar grammar31;
    EXPECT_EQ(grammar30.version(), Carvex::OpenAPIVersion::openAPI30);
    EXPECT_EQ(grammar31.version(), Carvex::OpenAPIVersion::openAPI31);
    for (const Row& row : rows) {
        EXPECT_EQ(classify(grammar30, row.path), std::vector<GrammarContext>{row.in30}) << "3.0: " << row.name;
        EXPECT_EQ(classify(grammar31, row.path), std::vector<GrammarContext>{row.in31}) << "3.1: " << row.name;
    }
}

TEST(GrammarClassification, veryLongPathsClassifyWithoutRecursion)
{
    Path schema{K("components"), K("schemas"), D("Deep")};
    for (int i = 0; i < 50000; ++i) {
        schema.push_back(K("properties"));
        schema.push_back(D("p"));
    }
    const Carvex::OpenAPI31Grammar grammar;
    EXPECT_EQ(classify(grammar, schema), std::vector<GrammarContext>{Case::schemaObject});
    schema.push_back(K("properties"));
    EXPECT_EQ(classify(grammar, schema), std::vector<GrammarContext>{Case::schemaProperties});

    Path parameter{K("paths"), D("/p"), K("parameters"), I(0)};
    for (int i = 0; i < 100000; ++i)
        parameter.push_back(I(i));
    EXPECT_EQ(classify(grammar, parameter), std::vector<GrammarContext>{parameterNone()});

    Path callbacks{K("components"), K("callbacks"), D("c"), K("{$url}")};
    for (int i = 0; i < 50000; ++i)
        callbacks.insert(callbacks.end(), {K("post"), K("callbacks"), D("c"), K("{$url}")});
    EXPECT_EQ(classify(grammar, callbacks), std::vector<GrammarContext>{Case::pathItemObject});
}

TEST(GrammarClassification, expectedReferenceKindPerContext)
{
    struct KindRow {
        GrammarContext context;
        std::optional<ReferenceKind> kind;
    };
    const KindRow rows[] = {
        {parameterNone(), ReferenceKind::parameter},
        {GrammarContext::parameterObject(Carvex::ParameterLocation::header), ReferenceKind::parameter},
        {Case::parametersArray, ReferenceKind::parameter},
        {Case::componentParameters, ReferenceKind::parameter},
        {Case::pathItemObject, ReferenceKind::pathItem},
        {Case::componentPathItems, ReferenceKind::pathItem},
        {Case::requestBodyObject, ReferenceKind::requestBody},
        {Case::componentRequestBodies, ReferenceKind::requestBody},
        {Case::responsesObject, ReferenceKind::response},
        {Case::responseObject, ReferenceKind::response},
        {Case::componentResponses, ReferenceKind::response},
        {Case::headersObject, ReferenceKind::header},
        {Case::headerObject, ReferenceKind::header},
        {Case::componentHeaders, ReferenceKind::header},
        {Case::linksObject, ReferenceKind::link},
        {Case::linkObject, ReferenceKind::link},
        {Case::componentLinks, ReferenceKind::link},
        {Case::callbacksObject, ReferenceKind::callback},
        {Case::callbackObject, ReferenceKind::callback},
        {Case::componentCallbacks, ReferenceKind::callback},
        {Case::componentSchemas, ReferenceKind::schema},
        {Case::schemaObject, ReferenceKind::schema},
        {Case::schemaProperties, ReferenceKind::schema},
        {Case::schemaItems, ReferenceKind::schema},
        {Case::componentExamples, ReferenceKind::example},
        {Case::examplesObject, ReferenceKind::example},
        {Case::exampleObject, ReferenceKind::example},
        {Case::componentSecuritySchemes, ReferenceKind::securityScheme},
        {Case::securitySchemeObject, ReferenceKind::securityScheme},
    };
    const Case neutral[] = {Case::openAPIRoot,     Case::infoObject,          Case::contactObject,
                            Case::licenseObject,   Case::serversArray,        Case::serverObject,
                            Case::serverVariableObject, Case::pathsObject,    Case::operationObject,
                            Case::contentObject,   Case::mediaTypeObject,     Case::componentsObject,
                            Case::securityRequirementObject, Case::oAuthFlowsObject, Case::oAuthFlowObject,
                            Case::externalDocsObject, Case::tagsArray,        Case::tagObject,
                            Case::discriminatorObject, Case::xmlObject,       Case::referenceObject,
                            Case::unknown};
    EXPECT_EQ(std::size(rows) + std::size(neutral) + 1, std::size_t(GrammarContext::caseCount) + 2);
    const Carvex::OpenAPI30Grammar grammar30;
    const Carvex::OpenAPI31Grammar grammar31;
    for (const KindRow& row : rows) {
        const std::string name(Carvex::caseName(row.context.kind()));
        EXPECT_EQ(grammar30.expectedReferenceKind({row.context}), row.kind) << name;
        // Neutral contexts before it are passed over; the first deciding one wins.
        EXPECT_EQ(grammar31.expectedReferenceKind({Case::operationObject, Case::mediaTypeObject, row.context,
                                                   Case::schemaObject}),
                  row.kind)
            << name;
    }
    for (Case each : neutral)
        EXPECT_EQ(grammar31.expectedReferenceKind({each}), std::nullopt) << Carvex::caseName(each);
    EXPECT_EQ(grammar31.expectedReferenceKind({}), std::nullopt);
    EXPECT_EQ(grammar30.expectedReferenceKind({Case::operationObject, Case::parametersArray}),
              ReferenceKind::parameter);
}

} // namespace
