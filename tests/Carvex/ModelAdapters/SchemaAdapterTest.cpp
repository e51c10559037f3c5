#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "kit/facade/OpenApiParser.h"

#include <gtest/gtest.h>

namespace {

using Carvex::SchemaAdapter;

// The adapter of the component schema S of a document holding `schema` (YAML flow text) under that name.
std::shared_ptr<const SchemaAdapter> schemaOf(const char* version, const std::string& schema)
{
    const std::string text = std::string("openapi: ") + version
                             + "\ninfo: {title: t, version: '1'}\npaths: {}\ncomponents:\n  schemas:\n    S: " + schema
                             + "\n";
    VoziZazIre::OpenApiParser parser;
    const Carvex::ParsedOpenAPIModel model(
        parser.parse(text, VoziZazIre::Format::yaml, VoziZazIreCore::ValidationLevel::none).document);
    return model.makeAdapter()->resolveSchema(
        VoziZazIreCore::Reference("#/components/schemas/S", std::nullopt, std::nullopt, std::nullopt));
}

struct TypeRow {
    const char* version;
    const char* schema;
    const char* type;
    bool nullable;
};

TEST(SchemaAdapterTest, TypeTextsOfBothVersions)
{
    const TypeRow rows[] = {
        {"3.0.3", "{type: integer, nullable: true}", "integer | null", true},
        {"3.0.3", "{type: array, items: {$ref: '#/components/schemas/Pet'}}", "array[Pet]", false},
        {"3.0.3", "{type: array, nullable: true, items: {type: string, nullable: true}}", "array[string | null]", true},
        {"3.0.3", "{type: array, nullable: true, items: {type: integer}}", "array[integer] | null", true},
        {"3.0.3", "{type: array, nullable: true, items: {$ref: '#/components/schemas/nullThing'}}", "array[nullThing]",
         true},
        {"3.0.3", "{type: array, items: {$ref: '#/components/schemas/Pet/'}}", "array[Pet]", false},
        {"3.0.3", "{type: array, items: {$ref: '///'}}", "array", false},
        {"3.0.3", "{type: array}", "array", false},
        {"3.0.3", "{oneOf: [{type: string}]}", "oneOf", false},
        {"3.0.3", "{anyOf: [], oneOf: []}", "anyOf", false},
        {"3.0.3", "{}", "any", false},
        {"3.0.3", "{type: object, nullable: false}", "object", false},
        {"3.1.0", "{type: [string, 'null']}", "string | null", true},
        {"3.1.0", "{type: 'null'}", "null", true},
        {"3.1.0", "{type: [array, 'null'], items: {type: string}}", "array | null", true},
        {"3.1.0", "{type: [], anyOf: [{type: string}]}", "anyOf", false},
        {"3.1.0", "{type: array, items: {type: [integer, 'null']}}", "array[integer | null]", false},
        {"3.1.0", "{type: [array], items: {type: boolean}}", "array[boolean]", false},
        {"3.1.0", "{type: array, items: {$ref: '#/components/schemas/Pet'}}", "array[Pet]", false},
        {"3.1.0", "{type: integer}", "integer", false},
        {"3.1.0", "{allOf: [{type: string}]}", "allOf", false},
        {"3.1.0", "{}", "any", false},
    };
    for (const TypeRow& row : rows) {
        SCOPED_TRACE(std::string(row.version) + " " + row.schema);
        const auto schema = schemaOf(row.version, row.schema);
        ASSERT_NE(schema, nullptr);
        EXPECT_EQ(schema->typeDescription(), row.type);
        EXPECT_EQ(schema->isNullable(), row.nullable);
    }
}

TEST(SchemaAdapterTest, MembersOfBothVersions)
{
    const std::string members = R"({type: object, required: [b, b, zz], format: f, title: T, description: D,
      default: {y: 2, x: [1, 2.5, 'a b']}, enum: [1, 'two', null, true, 3.5], readOnly: true, deprecated: true,
      properties: {b: {type: string}, A: {$ref: '#/components/schemas/X'}, a: {type: integer}},
      additionalProperties: false, allOf: []})";
    for (const char* version : {"3.0.3", "3.1.0"}) {
        SCOPED_TRACE(version);
        const auto schema = schemaOf(version, members);
        ASSERT_NE(schema, nullptr);
        EXPECT_EQ(schema->format(), "f");
        EXPECT_EQ(schema->title(), "T");
        EXPECT_EQ(schema->schemaDescription(), "D");
        EXPECT_EQ(schema->defaultValue(), "{x: [1, 2.5, a b], y: 2}");
        EXPECT_EQ(schema->enumDisplayValues(), (std::vector<std::string>{"1", "two", "null", "true", "3.5"}));
        EXPECT_EQ(schema->requiredProperties(), (std::vector<std::string>{"b", "b", "zz"}));
        EXPECT_TRUE(schema->isReadOnly());
        EXPECT_FALSE(schema->isWriteOnly());
        EXPECT_TRUE(schema->isDeprecated());
        EXPECT_TRUE(schema->isComposition());
        EXPECT_EQ(schema->compositionType(), "allOf");
        EXPECT_TRUE(schema->allOf() && schema->allOf()->empty());
        EXPECT_FALSE(schema->anyOf().has_value());
        EXPECT_EQ(schema->additionalPropertiesAllowed(), false);
        EXPECT_FALSE(schema->additionalPropertiesSchema().has_value());
        const auto properties = schema->properties();
        ASSERT_TRUE(properties && properties->size() == 3);
        EXPECT_EQ((*properties)[0].name, "A");
        EXPECT_EQ((*properties)[0].schema.referenceValue()->ref, "#/components/schemas/X");
        EXPECT_EQ((*properties)[1].name, "a");
        EXPECT_EQ((*properties)[1].schema.inlineValue()->typeDescription(), "integer");
        EXPECT_EQ((*properties)[2].name, "b");
        EXPECT_FALSE(schema->items().has_value());
    }
    const struct {
        const char* schema;
        std::optional<bool> allowed;
        bool hasSchema;
    } additional[] = {{"{additionalProperties: {}}", true, true},
                      {"{additionalProperties: {$ref: '#/components/schemas/X'}}", true, true},
                      {"{additionalProperties: true}", true, false},
                      {"{type: object}", std::nullopt, false}};
    for (const char* version : {"3.0.3", "3.1.0"}) {
        for (const auto& row : additional) {
            SCOPED_TRACE(std::string(version) + " " + row.schema);
            const auto schema = schemaOf(version, row.schema);
            EXPECT_EQ(schema->additionalPropertiesAllowed(), row.allowed);
            EXPECT_EQ(schema->additionalPropertiesSchema().has_value(), row.hasSchema);
            EXPECT_FALSE(schema->enumDisplayValues().has_value());
            EXPECT_FALSE(schema->defaultValue().has_value());
            EXPECT_FALSE(schema->isComposition());
            EXPECT_FALSE(schema->compositionType().has_value());
        }
    }
    EXPECT_TRUE(schemaOf("3.0.3", "{enum: []}")->enumDisplayValues()->empty());
}

TEST(SchemaAdapterTest, ExamplesAreTheVersionsOwn)
{
    const auto schema30 = schemaOf("3.0.3", "{type: string, example: hi}");
    EXPECT_EQ(schema30->exampleValue(), VoziZazIreCore::AnyValue("hi"));
    EXPECT_FALSE(schema30->exampleValues().has_value());
    const auto schema31 = schemaOf("3.1.0", "{type: string, examples: [hi, ho]}");
    EXPECT_FALSE(schema31->exampleValue().has_value());
    ASSERT_TRUE(schema31->exampleValues().has_value());
    EXPECT_EQ(schema31->exampleValues()->size(), 2u);
}

TEST(SchemaAdapterTest, InlineItemsNestedToTheParserLimitAreTypedWithoutRecursion)
{
    constexpr int depth = 990;
    std::string nested;
    for (int i = 0; i < depth; ++i)
        nested += "{type: array, nullable: true, items: ";
    nested += "{type: string}";
    nested += std::string(depth, '}');
    std::string expected;
    for (int i = 0; i < depth; ++i)
        expected += "array[";
    expected += "string]";
    expected += " | null";
    expected += std::string(depth - 1, ']');
    for (const char* version : {"3.0.3", "3.1.0"}) {
        SCOPED_TRACE(version);
        const auto schema = schemaOf(version, nested);
        ASSERT_NE(schema, nullptr);
        const std::string text = schema->typeDescription();
        if (std::string(version) == "3.0.3") {
            // The innermost array gets the suffix; outer ones already contain "null".
            EXPECT_EQ(text, expected);
        } else {
            // 3.1 has no nullable keyword and no suffix.
            EXPECT_EQ(text, expected.substr(0, depth * 6) + "string" + std::string(depth, ']'));
        }
    }
}

} // namespace
