// The window's conversion controller: which direction is open for each format, what a conversion
// returns, and the names of the new documents.

#include "Carvex/Conversion/ConversionError.h"
#include "Carvex/Conversion/DocumentConversionController.h"

#include <gtest/gtest.h>

using namespace Carvex;

namespace {

TEST(DocumentConversionControllerTest, OpensTheDirectionAwayFromTheCurrentFormat) {
    DocumentConversionController controller;
    const struct {
        std::optional<FileFormat> format;
        bool toJSON;
        bool toYAML;
    } rows[] = {{std::nullopt, false, false}, {FileFormat::yaml, true, false}, {FileFormat::json, false, true},
                {std::nullopt, false, false}};
    for (const auto& row : rows) {
        controller.updateFormat(row.format);
        EXPECT_EQ(controller.currentFormat(), row.format);
        EXPECT_EQ(controller.canConvertToJSON(), row.toJSON);
        EXPECT_EQ(controller.canConvertToYAML(), row.toYAML);
    }
}

TEST(DocumentConversionControllerTest, NamesTheOutputAfterTheSource) {
    const struct {
        std::optional<QString> source;
        FileFormat format;
        const char* name;
    } rows[] = {{"petstore", FileFormat::json, "petstore_converted.json"},
                {"a.b", FileFormat::yaml, "a_converted.yaml"},
                {"api.beta", FileFormat::json, "api_converted.json"},
                {"api.beta.yaml", FileFormat::json, "api.beta_converted.json"},
                {".env", FileFormat::json, "_converted.json"},
                {"trailing.", FileFormat::yaml, "trailing_converted.yaml"},
                {"", FileFormat::yaml, "Untitled_converted.yaml"},
                {std::nullopt, FileFormat::json, "Untitled_converted.json"},
                {std::nullopt, FileFormat::yaml, "Untitled_converted.yaml"}};
    for (const auto& row : rows) {
        EXPECT_EQ(DocumentConversionController::suggestedName(row.source, row.format).toStdString(), row.name)
            << (row.source ? row.source->toStdString() : "(none)");
    }
}

// Conversions run whatever the current format, and the service's errors reach the caller unchanged.
TEST(DocumentConversionControllerTest, ConvertsAndPassesErrorsOn) {
    DocumentConversionController controller;
    controller.updateFormat(FileFormat::json);
    EXPECT_EQ(controller.convertToJSON("a: 1", QString("api")),
              (ConversionResult{"{\n  \"a\": 1\n}", FileFormat::json, "api_converted.json"}));
    EXPECT_EQ(controller.convertToYAML("{\"a\":[1]}", std::nullopt),
              (ConversionResult{"a:\n  - 1", FileFormat::yaml, "Untitled_converted.yaml"}));
    try {
        controller.convertToYAML("{", QString("x"));
        FAIL();
    } catch (const ConversionError& error) {
        EXPECT_EQ(error, ConversionError::parsingFailed("Invalid JSON syntax"));
    }
}

}  // namespace
