#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "kit/facade/OpenApiParser.h"

#include <gtest/gtest.h>

namespace {

using Carvex::HTTPMethod;
using Carvex::OperationDetailsViewModel;
using Carvex::ParamLocation;

Carvex::ParsedOpenAPIModel modelOf(const std::string& body, const char* version)
{
    const std::string text = std::string("openapi: ") + version + "\ninfo: {title: t, version: '1'}\n" + body;
    return Carvex::ParsedOpenAPIModel(VoziZazIre::OpenApiParser()
                                          .parse(text, VoziZazIre::Format::yaml, VoziZazIreCore::ValidationLevel::none)
                                          .document);
}

const char* const kVersions[] = {"3.0.3", "3.1.0"};

const char* const kDocument = R"(servers: [{url: 'https://doc'}]
security: [{docKey: []}]
paths:
  /pets/{id}:
    servers: [{url: 'https://path-item'}]
    parameters:
      - {name: limit, in: query}
      - {name: X, in: header}
      - {name: dup, in: query}
      - {name: dup, in: query}
      - $ref: '#/components/parameters/Missing'
      - {name: id, in: path, schema: {$ref: '#/components/schemas/Pet'}}
    get:
      summary: Get
      tags: [t1, t2]
      externalDocs: {url: 'https://docs'}
      security: [{oauth: [read, write]}, {key: []}]
      parameters:
        - {name: limit, in: query, required: true, schema: {type: integer, format: int32, default: 20, enum: [10, 20]}}
        - {name: X, in: query}
        - {name: item10, in: cookie}
        - {name: item2, in: cookie}
        - {name: Item3, in: cookie}
        - $ref: '#/components/parameters/Trace'
        - {name: opt, in: cookie, required: false}
      requestBody:
        content:
          text/plain: {schema: {type: string}}
          application/xml: {schema: {$ref: '#/components/schemas/Pet'}}
          application/json: {schema: {type: object}}
      responses:
        '404': {description: missing}
        '200': {description: ok, content: {application/json: {schema: {$ref: '#/components/schemas/Pet'}}}}
        default: {description: other}
        2XX: {description: fine}
        '201': {description: made}
        "'301'": {description: quoted}
        '500': {$ref: '#/components/responses/Nope'}
        '-1': {description: negative}
    put:
      servers: []
      security: []
      requestBody: {$ref: '#/components/requestBodies/Missing'}
      responses: {}
    post:
      requestBody:
        content:
          text/plain: {schema: {type: string}}
      responses:
        '200': {$ref: '#/components/responses/Ok'}
components:
  schemas:
    Pet:
      type: object
  parameters:
    Trace: {name: trace, in: header, required: true}
  responses:
    Ok: {description: fine, content: {application/xml: {schema: {type: array, items: {type: string}}}}}
)";

std::vector<std::string> parameterIds(const OperationDetailsViewModel& details)
{
    std::vector<std::string> ids;
    for (const auto& parameter : details.parameters)
        ids.push_back(parameter.id.toStdString());
    return ids;
}

TEST(OperationDetailsBuilderTest, ParametersMergeOverrideAndSort)
{
    for (const char* version : kVersions) {
        SCOPED_TRACE(version);
        const auto details =
            Carvex::OperationDetailsBuilder().build({QStringLiteral("/pets/{id}"), HTTPMethod::get}, modelOf(kDocument, version));
        ASSERT_TRUE(details.has_value());
        // Required first (header before path before query), then cookie, header, query; names by value.
        EXPECT_EQ(parameterIds(*details),
                  (std::vector<std::string>{"header:trace", "path:id", "query:limit", "cookie:item2", "cookie:Item3",
                                        "cookie:item10", "cookie:opt", "header:X", "query:dup", "query:dup",
                                        "query:X"}));
        const auto& limit = details->parameters[2];
        EXPECT_TRUE(limit.required);
        EXPECT_EQ(limit.schemaType, QStringLiteral("integer"));
        EXPECT_EQ(limit.format, QStringLiteral("int32"));
        EXPECT_EQ(limit.defaultValue, QStringLiteral("20"));
        EXPECT_EQ(limit.enumValues, (QStringList{"10", "20"}));
        const auto& id = details->parameters[1];
        EXPECT_EQ(id.schemaType, QStringLiteral("Pet"));
        EXPECT_FALSE(id.format.has_value());
        EXPECT_TRUE(id.required);
        // A referenced parameter carries the line of its component.
        EXPECT_EQ(details->parameters[0].sourceLine, 58);
        EXPECT_EQ(details->parametersIn(ParamLocation::cookie).size(), 4u);
        EXPECT_TRUE(details->hasParameters());
    }
}

TEST(OperationDetailsBuilderTest, ResponsesByCodeThenRangesThenDefault)
{
    for (const char* version : kVersions) {
        SCOPED_TRACE(version);
        const auto details =
            Carvex::OperationDetailsBuilder().build({QStringLiteral("/pets/{id}"), HTTPMethod::get}, modelOf(kDocument, version));
        ASSERT_TRUE(details.has_value());
        std::vector<std::string> codes;
        for (const auto& response : details->responses)
            codes.push_back(response.statusCode.toStdString());
        EXPECT_EQ(codes, (std::vector<std::string>{"-1", "200", "201", "301", "404", "2XX", "default"}));
        const auto& ok = details->responses[1];
        EXPECT_TRUE(ok.isSuccess());
        EXPECT_EQ(ok.contentTypes, QStringList{"application/json"});
        EXPECT_EQ(ok.schemaDescription, QStringLiteral("Pet"));
        EXPECT_EQ(ok.schemaSourceLine, 56);
        EXPECT_TRUE(details->responses[5].isSuccess());
        EXPECT_TRUE(details->responses[4].isClientError());
        const auto& fallback = details->responses.back();
        EXPECT_FALSE(fallback.isSuccess() || fallback.isClientError() || fallback.isServerError());
        EXPECT_TRUE(fallback.contentTypes.isEmpty());
        EXPECT_FALSE(fallback.schemaDescription.has_value());
    }
}

TEST(OperationDetailsBuilderTest, BodyMediaTypeRulesServersSecurityAndScalars)
{
    for (const char* version : kVersions) {
        SCOPED_TRACE(version);
        const auto model = modelOf(kDocument, version);
        const Carvex::OperationDetailsBuilder builder;
        const auto get = builder.build({QStringLiteral("/pets/{id}"), HTTPMethod::get}, model);
        ASSERT_TRUE(get.has_value());
        ASSERT_TRUE(get->hasRequestBody());
        // Document order of the media types; the description and the reference pick different entries.
        EXPECT_EQ(get->requestBody->contentTypes, (QStringList{"text/plain", "application/xml", "application/json"}));
        EXPECT_EQ(get->requestBody->schemaDescription, QStringLiteral("object"));
        EXPECT_EQ(get->requestBody->schemaName, QStringLiteral("Pet"));
        EXPECT_EQ(get->requestBody->schemaSourceLine, 56);
        EXPECT_EQ(get->servers.size(), 1u);
        EXPECT_EQ(get->servers[0].url, QStringLiteral("https://doc"));
        ASSERT_EQ(get->security.size(), 2u);
        EXPECT_EQ(get->security[0].displayString(), QStringLiteral("oauth [read, write]"));
        EXPECT_EQ(get->security[1].displayString(), QStringLiteral("key"));
        EXPECT_EQ(get->summary, QStringLiteral("Get"));
        EXPECT_EQ(get->tags, (QStringList{"t1", "t2"}));
        EXPECT_EQ(get->externalDocsURL, QStringLiteral("https://docs"));

        const auto put = builder.build({QStringLiteral("/pets/{id}"), HTTPMethod::put}, model);
        ASSERT_TRUE(put.has_value());
        EXPECT_TRUE(put->servers.empty());
        EXPECT_TRUE(put->security.empty());
        EXPECT_FALSE(put->hasRequestBody());
        EXPECT_TRUE(put->responses.empty());
        // Path-level parameters still apply.
        EXPECT_EQ(put->parameters.size(), 5u); // the unresolvable one is left out

        const auto post = builder.build({QStringLiteral("/pets/{id}"), HTTPMethod::post}, model);
        ASSERT_TRUE(post.has_value());
        EXPECT_EQ(post->requestBody->schemaDescription, QStringLiteral("string"));
        EXPECT_FALSE(post->requestBody->schemaName.has_value());
        EXPECT_FALSE(post->requestBody->schemaSourceLine.has_value());
        ASSERT_EQ(post->responses.size(), 1u);
        EXPECT_EQ(post->responses[0].description, QStringLiteral("fine"));
        EXPECT_EQ(post->responses[0].schemaDescription, QStringLiteral("array[string]"));
        EXPECT_EQ(post->security.size(), 1u);

        EXPECT_FALSE(builder.build({QStringLiteral("/pets/{id}"), HTTPMethod::delete_}, model).has_value());
        EXPECT_FALSE(builder.build({QStringLiteral("/pets"), HTTPMethod::get}, model).has_value());
        EXPECT_FALSE(builder.build({QStringLiteral("/PETS/{id}"), HTTPMethod::get}, model).has_value());
        EXPECT_EQ(builder.build({QStringLiteral("/pets/{id}"), HTTPMethod::get}, model), get);
    }
}

TEST(OperationDetailsBuilderTest, ViewModelsCompareByEveryField)
{
    const auto model = modelOf(kDocument, "3.0.3");
    const auto details = Carvex::OperationDetailsBuilder().build({QStringLiteral("/pets/{id}"), HTTPMethod::get}, model);
    ASSERT_TRUE(details.has_value());
    auto changed = *details;
    EXPECT_EQ(changed, *details);
    changed.parameters[3].sourceLine = 1;
    EXPECT_NE(changed, *details);
    const Carvex::OperationParameterViewModel path(QStringLiteral("id"), ParamLocation::path, true, {}, {}, {}, {}, {},
                                                   false, {});
    EXPECT_EQ(path.id, QStringLiteral("path:id"));
    const Carvex::OperationResponseViewModel range(QStringLiteral("2XX"), {}, {}, {}, {}, {});
    EXPECT_EQ(range.id, QStringLiteral("2XX"));
    EXPECT_TRUE(range.isSuccess());
}

} // namespace
