#include "Carvex/CaretContext/CompletionContext.h"

#include <gtest/gtest.h>

using Carvex::CompletionContext;
using Carvex::CompletionHints;
using Carvex::DocumentFormat;
using Carvex::ReferenceKind;

namespace {

TEST(CompletionValueTypes, rawValuesMatchExactlyAndRejectOthers)
{
    const char* formats[] = {"yaml", "json", "unknown"};
    for (std::size_t i = 0; i < Carvex::allDocumentFormats.size(); ++i) {
        EXPECT_EQ(Carvex::rawValue(Carvex::allDocumentFormats[i]), formats[i]);
        EXPECT_EQ(VoziZazIreCore::fromRawValue<DocumentFormat>(formats[i]), Carvex::allDocumentFormats[i]);
    }
    const char* kinds[] = {"schema", "response", "parameter", "requestBody", "header", "securityScheme",
                           "pathItem", "example", "link", "callback", "unknown"};
    for (std::size_t i = 0; i < Carvex::allReferenceKinds.size(); ++i) {
        EXPECT_EQ(Carvex::rawValue(Carvex::allReferenceKinds[i]), kinds[i]);
        EXPECT_EQ(VoziZazIreCore::fromRawValue<ReferenceKind>(kinds[i]), Carvex::allReferenceKinds[i]);
    }
    for (const char* other : {"", "YAML", "Json", "yaml ", "schemas", "RequestBody"}) {
        EXPECT_FALSE(VoziZazIreCore::fromRawValue<DocumentFormat>(other).has_value()) << other;
        EXPECT_FALSE(VoziZazIreCore::fromRawValue<ReferenceKind>(other).has_value()) << other;
    }
}

TEST(CompletionValueTypes, hintsDefaultAndContextEqualityCoverEveryField)
{
    const CompletionHints none = CompletionHints::default_();
    EXPECT_FALSE(none.isInComment || none.isInString || none.isRefValueContext);
    EXPECT_EQ(none.indentationDepth, 0);
    EXPECT_TRUE(none.currentIndentation.isEmpty());
    EXPECT_FALSE(none.expectedReferenceKind.has_value());

    CompletionHints withKind = none;
    withKind.expectedReferenceKind = ReferenceKind::unknown;
    EXPECT_NE(withKind, none);

    const CompletionContext base{DocumentFormat::yaml, 4, Carvex::CursorRole::mappingKey, "ty",
                                 {Carvex::PathComponent::key("info")}, none, "  ty", std::nullopt, {"title"}};
    struct Row {
        const char* name;
        void (*change)(CompletionContext&);
    };
    const Row rows[] = {
        {"format", [](CompletionContext& c) { c.format = DocumentFormat::json; }},
        {"caret", [](CompletionContext& c) { c.caretLocation = 5; }},
        {"role", [](CompletionContext& c) { c.role = Carvex::CursorRole::mappingValue; }},
        {"prefix", [](CompletionContext& c) { c.prefix = "t"; }},
        {"path", [](CompletionContext& c) { c.path = {Carvex::PathComponent::dynamicKey("info")}; }},
        {"hints", [](CompletionContext& c) { c.hints.indentationDepth = 1; }},
        {"line", [](CompletionContext& c) { c.currentLine = "ty"; }},
        {"key", [](CompletionContext& c) { c.currentKey = QString(); }},
        {"keys", [](CompletionContext& c) { c.existingKeys.insert("version"); }},
    };
    for (const Row& row : rows) {
        CompletionContext changed = base;
        EXPECT_EQ(changed, base) << row.name;
        row.change(changed);
        EXPECT_NE(changed, base) << row.name;
    }
}

} // namespace
