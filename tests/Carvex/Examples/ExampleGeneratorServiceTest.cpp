#include "Carvex/Examples/ExampleGeneratorService.h"
#include "Carvex/ModelAdapters/AnyValueText.h"
#include "tests/Carvex/ModelAdapters/ExampleTestDocument.h"
#include "tests/Carvex/ModelAdapters/SchemaTreeTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Carvex::ExampleSource;
using Carvex::HTTPMethod;
using ExampleTestDocument::kDocument;
using SchemaTreeTestSupport::modelOf;

TEST(ExampleGeneratorServiceTest, ServiceGeneratesFromTheSchemaAlone)
{
    const auto model = modelOf(kDocument);
    const Carvex::ExampleGeneratorService service;
    std::vector<std::string> titles;
    for (const ExampleSource& target : service.availableTargets("/pets", HTTPMethod::post, model))
        titles.push_back(target.displayTitle().toStdString());
    EXPECT_EQ(titles.size(), 5u);
    EXPECT_TRUE(service.availableTargets("/gone", HTTPMethod::post, model).empty());
    EXPECT_TRUE(service.availableTargets("/pets", HTTPMethod::get, model).empty());

    const struct {
        const char* name;
        const char* path;
        HTTPMethod method;
        ExampleSource target;
        std::optional<std::string> expected;
    } rows[] = {
        {"provided examples are not used", "/pets", HTTPMethod::post, ExampleSource::requestBody("application/xml"),
         "{n: 0}"},
        {"quoted 200 key is found", "/pets", HTTPMethod::post, ExampleSource::response("200", "application/json"),
         "string"},
        {"quoted 201 key is found", "/pets", HTTPMethod::post, ExampleSource::response("201", "application/json"),
         "{}"},
        {"response through its reference", "/pets", HTTPMethod::post,
         ExampleSource::response("default", "application/problem+json"), "{code: 0}"},
        {"a media type without schema", "/aliases", HTTPMethod::put, ExampleSource::response("202", "application/json"),
         std::nullopt},
        {"a response component that is itself a reference", "/aliases", HTTPMethod::put,
         ExampleSource::response("200", "application/problem+json"), std::nullopt},
        {"a request body component that is itself a reference", "/aliases", HTTPMethod::put,
         ExampleSource::requestBody("application/json"), std::nullopt},
        {"a failing generation", "/deep", HTTPMethod::get, ExampleSource::response("200", "application/json"),
         std::nullopt},
        {"an operation that is gone", "/gone", HTTPMethod::get, ExampleSource::response("200", "application/json"),
         std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto value = service.generateExample(row.target, row.path, row.method, model);
        EXPECT_EQ(value ? std::optional(Carvex::AnyValueText::compactString(*value)) : std::nullopt, row.expected);
    }
}

} // namespace
