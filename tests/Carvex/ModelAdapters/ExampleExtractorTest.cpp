#include "Carvex/ModelAdapters/AnyValueText.h"
#include "Carvex/ModelAdapters/ExampleExtractor.h"
#include "Carvex/ModelAdapters/GeneratedExample.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "ExampleTestDocument.h"
#include "SchemaTreeTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Carvex::ExampleSource;
using Carvex::HTTPMethod;
using ExampleTestDocument::kDocument;
using SchemaTreeTestSupport::modelOf;

// "name=value|summary|description" per example, value in its compact text.
std::string listed(const std::vector<Carvex::OperationExampleViewModel>& examples, const ExampleSource& source)
{
    std::string out;
    for (const auto& example : examples) {
        EXPECT_EQ(example.source, source);
        out.append(example.name.toStdString()).append("=").append(Carvex::AnyValueText::compactString(example.value));
        for (const auto& text : {example.summary, example.description}) {
            if (text)
                out.append("|").append(text->toStdString());
        }
        out.append(";");
    }
    return out;
}

Carvex::OperationDetailsViewModel detailsOf(const Carvex::ParsedOpenAPIModel& model, const char* path, HTTPMethod method)
{
    auto details = Carvex::OperationDetailsBuilder().build({path, method}, model);
    EXPECT_TRUE(details) << path;
    return details.value_or(Carvex::OperationDetailsViewModel{});
}

TEST(ExampleExtractorTest, SourcesFollowTheDetails)
{
    const auto model = modelOf(kDocument);
    const Carvex::ExampleExtractor extractor(model);
    const struct {
        const char* path;
        HTTPMethod method;
        std::vector<const char*> titles;
    } rows[] = {
        {"/pets", HTTPMethod::post,
         {"Request Body (application/json)", "Request Body (application/xml)", "200 Response (application/json)",
          "201 Response (application/json)", "default Response (application/problem+json)"}},
        {"/nothing", HTTPMethod::delete_, {}},
        {"/aliases", HTTPMethod::put, {"202 Response (application/json)", "203 Response (application/json)"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        std::vector<std::string> titles;
        for (const ExampleSource& source : extractor.availableSources(detailsOf(model, row.path, row.method)))
            titles.push_back(source.displayTitle().toStdString());
        EXPECT_EQ(titles, std::vector<std::string>(row.titles.begin(), row.titles.end()));
    }
}

TEST(ExampleExtractorTest, DeclaredExamplesThenTheGeneratedOne)
{
    const auto model = modelOf(kDocument);
    const Carvex::ExampleExtractor extractor(model);
    const struct {
        const char* name;
        const char* path;
        HTTPMethod method;
        ExampleSource source;
        const char* expected;
    } rows[] = {
        {"named examples by name, unresolved and external ones left out", "/pets", HTTPMethod::post,
         ExampleSource::requestBody("application/json"), "a=1|S|D;b=2;r=[1, 2];"},
        {"generated from the schema, its examples used", "/pets", HTTPMethod::post,
         ExampleSource::requestBody("application/xml"), "Generated={n: 7}|Auto-generated from schema;"},
        {"media-type example before the schema's, key in single quotes", "/pets", HTTPMethod::post,
         ExampleSource::response("200", "application/json"), "Example={x: 1};"},
        {"schema example of a component, key in double quotes", "/pets", HTTPMethod::post,
         ExampleSource::response("201", "application/json"), "Schema Example={w: true};"},
        {"default response through its reference", "/pets", HTTPMethod::post,
         ExampleSource::response("default", "application/problem+json"),
         "Generated={code: 9}|Auto-generated from schema;"},
        {"only external named examples fall back to the generated one", "/external", HTTPMethod::get,
         ExampleSource::response("200", "application/json"), "Generated=3|Auto-generated from schema;"},
        {"a request body component that is itself a reference gives nothing", "/aliases", HTTPMethod::put,
         ExampleSource::requestBody("application/json"), ""},
        {"a response component that is itself a reference gives nothing", "/aliases", HTTPMethod::put,
         ExampleSource::response("200", "application/problem+json"), ""},
        {"generated for a key in single quotes", "/aliases", HTTPMethod::put,
         ExampleSource::response("203", "application/json"), "Generated=true|Auto-generated from schema;"},
        {"a media type without schema gives nothing", "/aliases", HTTPMethod::put,
         ExampleSource::response("202", "application/json"), ""},
        {"a generation that fails gives nothing", "/deep", HTTPMethod::get,
         ExampleSource::response("200", "application/json"), ""},
        {"an unknown media type gives nothing", "/pets", HTTPMethod::post, ExampleSource::requestBody("text/plain"), ""},
        {"an unknown status code gives nothing", "/pets", HTTPMethod::post,
         ExampleSource::response("500", "application/json"), ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto details = detailsOf(model, row.path, row.method);
        EXPECT_EQ(listed(extractor.examples(details, row.source), row.source), row.expected);
    }
    // An operation that is gone: nothing, whatever the source.
    auto gone = detailsOf(model, "/pets", HTTPMethod::post);
    gone.id.path = "/gone";
    EXPECT_TRUE(extractor.examples(gone, ExampleSource::requestBody("application/json")).empty());
}

TEST(ExampleExtractorTest, SchemaExamplesOfBothVersions)
{
    const struct {
        const char* version;
        const char* schema;
        const char* expected;
    } rows[] = {
        {"3.1.0", "{type: integer, examples: [1, 2, 3]}", "Example 1=1;Example 2=2;Example 3=3;"},
        {"3.1.0", "{type: integer, examples: [], default: 4}", "Generated=4|Auto-generated from schema;"},
        {"3.0.3", "{type: integer, example: 8}", "Schema Example=8;"},
        {"3.0.3", "{$ref: '#/components/schemas/Missing'}", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.version) + " " + row.schema);
        const auto model = modelOf(std::string("paths:\n  /s:\n    get:\n      responses:\n        '200': {description: ok, "
                                               "content: {application/json: {schema: ")
                                       + row.schema + "}}}\n",
                                   row.version);
        const auto source = ExampleSource::response("200", "application/json");
        EXPECT_EQ(listed(Carvex::ExampleExtractor(model).examples(detailsOf(model, "/s", HTTPMethod::get), source), source),
                  row.expected);
    }
}

TEST(ExampleExtractorTest, GeneratedFromComponentsWithEscapedNames)
{
    const char* body =
        "paths:\n  /e:\n    post:\n      requestBody: {$ref: '#/components/requestBodies/b~1c'}\n"
        "      responses:\n        '200': {$ref: '#/components/responses/r~0s'}\n"
        "        '201': {$ref: '#/components/schemas/plain'}\n"
        "components:\n  schemas:\n    a/b: {type: integer, minimum: 5}\n"
        "  requestBodies:\n    b/c: {content: {application/json: {schema: {$ref: '#/components/schemas/a~1b'}}}}\n"
        "  responses:\n    r~s: {description: ok, content: {application/json: {schema: {type: boolean}}}}\n"
        "    plain: {description: ok, content: {application/json: {schema: {type: string}}}}\n";
    const struct {
        const char* name;
        ExampleSource source;
        const char* expected;
    } rows[] = {
        {"a request body and its schema by escaped names", ExampleSource::requestBody("application/json"),
         "Generated=5|Auto-generated from schema;"},
        {"a response by an escaped name", ExampleSource::response("200", "application/json"),
         "Generated=true|Auto-generated from schema;"},
        {"a reference into another section names no response", ExampleSource::response("201", "application/json"),
         ""},
    };
    for (const char* version : {"3.0.3", "3.1.0"}) {
        const auto model = modelOf(body, version);
        const auto details = detailsOf(model, "/e", HTTPMethod::post);
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(version) + " " + row.name);
            EXPECT_EQ(listed(Carvex::ExampleExtractor(model).examples(details, row.source), row.source), row.expected);
        }
    }
}

TEST(ExampleExtractorTest, GeneratedNodesBecomeValues)
{
    using VoziZazIreCore::GenericNode;
    using VoziZazIreCore::NodePtr;
    const VoziZazIreCore::SourceRange range{};
    const struct {
        const char* name;
        NodePtr node;
        const char* expected;
    } rows[] = {
        {"whole number is an integer", GenericNode::makeNumber(3.0, range, ""), "3"},
        {"fraction is a double", GenericNode::makeNumber(2.5, range, ""), "2.5"},
        {"beyond 64 bits is a double", GenericNode::makeNumber(1e300, range, ""), "1e+300"},
        {"string", GenericNode::makeString("text", range, ""), "text"},
        {"bool and null", GenericNode::makeArray({GenericNode::makeBool(true, range, ""), GenericNode::makeNull(range, "")}, range, ""),
         "[true, null]"},
        {"nested members in order", GenericNode::makeObject({{"b", GenericNode::makeArray({}, range, "")},
                                                             {"a", GenericNode::makeObject({}, range, "")}},
                                                            range, ""),
         "{a: {}, b: []}"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Carvex::AnyValueText::compactString(Carvex::GeneratedExample::anyValue(*row.node)), row.expected);
    }
    const auto whole = Carvex::GeneratedExample::anyValue(*GenericNode::makeNumber(3.0, range, ""));
    EXPECT_EQ(whole.kind(), VoziZazIreCore::AnyValue::Kind::int_);

    // Nesting far deeper than any call stack would allow.
    NodePtr deep = GenericNode::makeNumber(1, range, "");
    for (int level = 0; level < 20'000; ++level)
        deep = GenericNode::makeArray({deep}, range, "");
    const auto value = Carvex::GeneratedExample::anyValue(*deep);
    const VoziZazIreCore::AnyValue* inner = &value;
    int depth = 0;
    while (inner->arrayValue()) {
        inner = &inner->arrayValue()->front();
        ++depth;
    }
    EXPECT_EQ(depth, 20'000);
    EXPECT_EQ(inner->intValue(), 1);
}

} // namespace
