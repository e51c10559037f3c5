#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "kit/facade/OpenApiParser.h"

#include <gtest/gtest.h>

namespace {

using Carvex::HTTPMethod;
using Carvex::OpenAPIDocumentAdapter;
using VoziZazIreCore::Reference;

Reference ref(std::string text)
{
    return Reference(std::move(text), std::nullopt, std::nullopt, std::nullopt);
}

std::shared_ptr<const OpenAPIDocumentAdapter> adapterOf(const std::string& yaml)
{
    VoziZazIre::OpenApiParser parser;
    return Carvex::ParsedOpenAPIModel(
               parser.parse(yaml, VoziZazIre::Format::yaml, VoziZazIreCore::ValidationLevel::none).document)
        .makeAdapter();
}

const char* const kVersions[] = {"3.0.3", "3.1.0"};

std::string header(const char* version)
{
    return std::string("openapi: ") + version + "\ninfo: {title: t, version: '1'}\n";
}

const char* const kComponents = R"(paths: {}
components:
  schemas:
    Pet:
      title: Pet
    Alias:
      $ref: '#/components/schemas/Pet'
    a/b:
      title: Slashed
  parameters:
    P: {name: p, in: query}
  requestBodies:
    B: {content: {}}
  responses:
    R: {description: r}
  examples:
    E: {summary: e}
  headers:
    H: {description: h}
)";

TEST(DocumentAdapterTest, LocalReferencesResolveOneStepIntoTheirSection)
{
    const struct {
        const char* ref;
        const char* title; // the resolved schema's title, or null for nothing
    } rows[] = {
        {"#/components/schemas/Pet", "Pet"},
        {"#//components/schemas//Pet/", "Pet"},
        {"#/components/schemas/Pet/properties/name", "Pet"},
        {"#/components/schemas", nullptr},
        {"#/definitions/Pet", nullptr},
        {"other.yaml#/components/schemas/Pet", nullptr},
        {"#/Components/schemas/Pet", nullptr},
        {"#/components/schemas/a~1b", "Slashed"},
        {"#/components/schemas/a~01b", nullptr},
        {"#/components/schemas/a%2Fb", nullptr},
        {"#/components/schemas/Missing", nullptr},
        {"#/components/schemas/Alias", nullptr},
        {"#/components/parameters/P", nullptr},
        {"", nullptr},
        {"////", nullptr},
    };
    for (const char* version : kVersions) {
        const auto document = adapterOf(header(version) + kComponents);
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(version) + " " + row.ref);
            const auto schema = document->resolveSchema(ref(row.ref));
            ASSERT_EQ(schema != nullptr, row.title != nullptr);
            if (schema) {
                EXPECT_EQ(schema->title(), row.title);
            }
        }
        SCOPED_TRACE(version);
        ASSERT_NE(document->resolveParameter(ref("#/components/parameters/P")), nullptr);
        EXPECT_EQ(document->resolveParameter(ref("#/components/parameters/P"))->name(), "p");
        EXPECT_NE(document->resolveRequestBody(ref("#/components/requestBodies/B")), nullptr);
        EXPECT_EQ(document->resolveResponse(ref("#/components/responses/R"))->description(), "r");
        EXPECT_EQ(document->resolveExample(ref("#/components/examples/E"))->summary(), "e");
        EXPECT_EQ(document->resolveParameter(ref("#/components/schemas/Pet")), nullptr);
        EXPECT_EQ(document->resolveResponse(ref("#/components/requestBodies/B")), nullptr);
    }
}

TEST(DocumentAdapterTest, ComponentOffsetsPointAtTheEntryOrItsReference)
{
    for (const char* version : kVersions) {
        SCOPED_TRACE(version);
        const std::string text = header(version) + kComponents;
        const auto document = adapterOf(text);
        const struct {
            std::optional<int64_t> offset;
            const char* textThere;
        } rows[] = {
            {document->resolveSchemaLocation(ref("#/components/schemas/Pet")), "title: Pet"},
            {document->resolveSchemaLocation(ref("#/components/schemas/Alias")), "'#/components/schemas/Pet'"},
            {document->resolveParameterLocation(ref("#/components/parameters/P")), "{name: p"},
            {document->resolveRequestBodyLocation(ref("#/components/requestBodies/B")), "{content"},
            {document->resolveResponseLocation(ref("#/components/responses/R")), "{description: r"},
            {document->resolveHeaderLocation(ref("#/components/headers/H")), "{description: h"},
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.textThere);
            ASSERT_TRUE(row.offset.has_value());
            EXPECT_EQ(text.compare(static_cast<std::size_t>(*row.offset), std::strlen(row.textThere), row.textThere), 0)
                << text.substr(static_cast<std::size_t>(*row.offset), 20);
        }
        EXPECT_FALSE(document->resolveSchemaLocation(ref("#/components/schemas/Nope")));
        EXPECT_FALSE(document->resolveHeaderLocation(ref("#/components/schemas/Pet")));
    }
}

TEST(DocumentAdapterTest, NoComponentsResolvesNothing)
{
    for (const char* version : kVersions) {
        SCOPED_TRACE(version);
        const auto document = adapterOf(header(version) + "paths: {}\n");
        const Reference pet = ref("#/components/schemas/Pet");
        EXPECT_EQ(document->resolveSchema(pet), nullptr);
        EXPECT_EQ(document->resolveParameter(ref("#/components/parameters/P")), nullptr);
        EXPECT_EQ(document->resolveExample(ref("#/components/examples/E")), nullptr);
        EXPECT_FALSE(document->resolveSchemaLocation(pet));
        EXPECT_FALSE(document->resolveResponseLocation(ref("#/components/responses/R")));
        EXPECT_TRUE(document->pathStrings().empty());
        EXPECT_TRUE(document->allOperations().empty());
        EXPECT_TRUE(document->servers().empty());
        EXPECT_TRUE(document->security().empty());
    }
}

TEST(DocumentAdapterTest, MethodOrderIsTheVersionsAndWebhooksAreNotPresented)
{
    const char* const paths = R"(paths:
  /pets:
    trace: {responses: {}}
    patch: {responses: {}}
    put: {responses: {}}
    options: {responses: {}}
    post: {responses: {}}
    head: {responses: {}}
    delete: {responses: {}}
    get: {responses: {}}
  /only-parameters:
    parameters: [{name: id, in: path, required: true, schema: {type: string}}]
)";
    const struct {
        const char* version;
        std::vector<HTTPMethod> order;
    } rows[] = {
        {"3.0.3",
         {HTTPMethod::get, HTTPMethod::post, HTTPMethod::put, HTTPMethod::delete_, HTTPMethod::patch, HTTPMethod::head,
          HTTPMethod::options, HTTPMethod::trace}},
        {"3.1.0",
         {HTTPMethod::get, HTTPMethod::put, HTTPMethod::post, HTTPMethod::delete_, HTTPMethod::options,
          HTTPMethod::head, HTTPMethod::patch, HTTPMethod::trace}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.version);
        std::string text = header(row.version) + paths;
        if (std::string(row.version) == "3.1.0")
            text += "webhooks:\n  hook:\n    post: {responses: {}}\n";
        const auto document = adapterOf(text);
        EXPECT_EQ(document->pathStrings(), (std::vector<std::string>{"/pets", "/only-parameters"}));
        std::vector<HTTPMethod> methods;
        for (const auto& operation : document->allOperations()) {
            EXPECT_EQ(operation.path, "/pets");
            methods.push_back(operation.method);
        }
        EXPECT_EQ(methods, row.order);
        const auto item = document->pathItem("/pets");
        ASSERT_NE(item, nullptr);
        methods.clear();
        for (const auto& operation : item->allOperations())
            methods.push_back(operation.method);
        EXPECT_EQ(methods, row.order);
        EXPECT_NE(item->delete_(), nullptr);
        EXPECT_EQ(document->pathItem("/pets/"), nullptr);
        EXPECT_EQ(document->pathItem("hook"), nullptr);
        ASSERT_NE(document->pathItem("/only-parameters"), nullptr);
        EXPECT_TRUE(document->pathItem("/only-parameters")->allOperations().empty());
        EXPECT_EQ(document->pathItem("/only-parameters")->get(), nullptr);
    }
}

TEST(DocumentAdapterTest, OperationParametersAndResponsesReadTheirFields)
{
    const char* const paths = R"(servers: [{url: 'https://a', description: top}]
security: [{key: []}]
paths:
  /pets/{id}:
    parameters:
      - {name: id, in: path, schema: {type: string}}
      - $ref: '#/components/parameters/Shared'
    get:
      summary: s
      operationId: op
      externalDocs: {url: 'https://docs'}
      parameters:
        - {name: id, in: path, required: false}
        - {name: q, in: query}
        - {name: h, in: header, required: true, deprecated: true, description: d}
      requestBody: {$ref: '#/components/requestBodies/B'}
      responses:
        '200': {description: ok, content: {application/json: {example: {a: 1}}, text/plain: {}}}
        default: {$ref: '#/components/responses/R'}
      security: [{oauth: [read, write], key: []}]
      servers: []
    post:
      deprecated: true
      tags: [a, b]
      requestBody: {required: true, description: body, content: {application/xml: {}}}
      responses: {}
)";
    for (const char* version : kVersions) {
        SCOPED_TRACE(version);
        const auto document = adapterOf(header(version) + paths);
        const auto item = document->pathItem("/pets/{id}");
        ASSERT_NE(item, nullptr);
        const auto pathParameters = item->parameters();
        ASSERT_TRUE(pathParameters && pathParameters->size() == 2);
        EXPECT_TRUE((*pathParameters)[0].inlineValue()->required());
        EXPECT_EQ((*pathParameters)[1].referenceValue()->ref, "#/components/parameters/Shared");
        EXPECT_FALSE(item->servers().has_value());

        const auto get = item->get();
        ASSERT_NE(get, nullptr);
        EXPECT_EQ(get->summary(), "s");
        EXPECT_EQ(get->operationId(), "op");
        EXPECT_EQ(get->externalDocsURL(), "https://docs");
        EXPECT_FALSE(get->deprecated());
        EXPECT_TRUE(get->tags().empty());
        const auto parameters = get->parameters();
        ASSERT_TRUE(parameters && parameters->size() == 3);
        const struct {
            const char* name;
            Carvex::ParamLocation location;
            bool required, deprecated;
        } expected[] = {{"id", Carvex::ParamLocation::path, false, false},
                        {"q", Carvex::ParamLocation::query, false, false},
                        {"h", Carvex::ParamLocation::header, true, true}};
        for (std::size_t i = 0; i < 3; ++i) {
            const auto* parameter = (*parameters)[i].inlineValue();
            ASSERT_NE(parameter, nullptr);
            EXPECT_EQ(parameter->name(), expected[i].name);
            EXPECT_EQ(parameter->location(), expected[i].location);
            EXPECT_EQ(parameter->required(), expected[i].required) << expected[i].name;
            EXPECT_EQ(parameter->deprecated(), expected[i].deprecated);
        }
        EXPECT_EQ((*parameters)[2].inlineValue()->description(), "d");
        EXPECT_TRUE(get->requestBody()->isReference());
        const auto responses = get->responses()->items();
        ASSERT_EQ(responses.size(), 2u);
        EXPECT_EQ(responses[0].statusCode, "200");
        EXPECT_EQ(responses[1].statusCode, "default");
        const auto* ok = responses[0].response.inlineValue();
        EXPECT_EQ(ok->description(), "ok");
        const auto content = ok->content();
        ASSERT_TRUE(content && content->size() == 2);
        EXPECT_EQ(content->entries()[0].first, "application/json");
        EXPECT_EQ(content->entries()[1].first, "text/plain");
        EXPECT_EQ(content->entries()[0].second->example()->objectValue()->size(), 1u);
        ASSERT_TRUE(get->responses()->defaultResponse().has_value());
        EXPECT_EQ(get->responses()->defaultResponse()->referenceValue()->ref, "#/components/responses/R");
        const auto security = get->security();
        ASSERT_TRUE(security && security->size() == 1);
        const auto items = (*security)[0]->items();
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0].schemeName, "oauth");
        EXPECT_EQ(items[0].scopes, (std::vector<std::string>{"read", "write"}));
        ASSERT_TRUE(get->servers().has_value());
        EXPECT_TRUE(get->servers()->empty());
        EXPECT_EQ(*get->sourceLine(), 11); // its first member's line
        EXPECT_LT(get->sourceRange()->startOffset, get->sourceRange()->endOffset);

        const auto post = item->post();
        EXPECT_TRUE(post->deprecated());
        EXPECT_EQ(post->tags(), (std::vector<std::string>{"a", "b"}));
        EXPECT_FALSE(post->parameters().has_value());
        EXPECT_FALSE(post->security().has_value());
        const auto requestBody = post->requestBody(); // the value lends its body: keep it alive
        const auto* body = requestBody->inlineValue();
        EXPECT_TRUE(body->required());
        EXPECT_EQ(body->description(), "body");
        EXPECT_EQ(body->content().size(), 1u);
        EXPECT_TRUE(post->responses()->items().empty());
        EXPECT_FALSE(post->responses()->defaultResponse().has_value());

        ASSERT_EQ(document->servers().size(), 1u);
        EXPECT_EQ(document->servers()[0]->url(), "https://a");
        EXPECT_EQ(document->servers()[0]->description(), "top");
        ASSERT_EQ(document->security().size(), 1u);
    }
}

TEST(DocumentAdapterTest, OperationWithoutResponsesHasNoResponseEntries)
{
    const auto document = adapterOf(header("3.1.0") + "paths:\n  /a:\n    get: {summary: s}\n");
    const auto operations = document->allOperations();
    ASSERT_EQ(operations.size(), 1u);
    ASSERT_NE(operations[0].operation->responses(), nullptr);
    EXPECT_TRUE(operations[0].operation->responses()->items().empty());
    EXPECT_FALSE(operations[0].operation->responses()->defaultResponse().has_value());
}

} // namespace
