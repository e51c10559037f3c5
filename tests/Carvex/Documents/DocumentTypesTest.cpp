#include "Carvex/Documents/DocumentTypes.h"

#include <gtest/gtest.h>

using namespace Carvex;

TEST(DocumentTypesTest, TypeNamesGiveFormatAndExtensionExactly) {
    struct Row {
        const char* typeName;
        std::optional<FileFormat> format;
        std::optional<QString> extension;
    };
    const Row rows[] = {
        {"JSON Document", FileFormat::json, "json"},
        {"public.json", FileFormat::json, "json"},
        {"YAML Document", FileFormat::yaml, "yaml"},
        {"org.yaml.yaml", FileFormat::yaml, "yaml"},
        {"json document", std::nullopt, std::nullopt},
        {"YAML Document ", std::nullopt, std::nullopt},
        {"public.yaml", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typeName);
        EXPECT_EQ(DocumentTypes::fileFormat(row.typeName), row.format);
        EXPECT_EQ(DocumentTypes::fileNameExtension(QString(row.typeName)), row.extension);
    }
}

TEST(DocumentTypesTest, FilesAreTypedByTheirExtension) {
    struct Row {
        const char* path;
        std::optional<QString> typeName;
    };
    const Row rows[] = {
        {"/tmp/api.json", "JSON Document"}, {"/tmp/api.JSON", "JSON Document"},
        {"/tmp/api.yaml", "YAML Document"}, {"/tmp/api.yml", "YAML Document"},
        {"/tmp/api.txt", std::nullopt},     {"/tmp/json", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(DocumentTypes::typeNameForPath(row.path), row.typeName);
    }
    EXPECT_EQ(DocumentTypes::typeName(FileFormat::json), "JSON Document");
    EXPECT_EQ(DocumentTypes::typeName(FileFormat::yaml), "YAML Document");
}
