#include "Carvex/Completion/ReferenceIndexer.h"
#include "Carvex/Completion/ReferenceResolver.h"

#include <gtest/gtest.h>

#include <QStringList>

using Carvex::CompletionContext;
using Carvex::CompletionItem;
using Carvex::CompletionItemKind;
using Carvex::DocumentFormat;
using Carvex::ReferenceIndex;
using Carvex::ReferenceKind;
using Carvex::ReferenceResolver;

namespace {

const char* kDocument = "components:\n"
                        "  schemas:\n"
                        "    pet:\n"
                        "    User:\n"
                        "    Pet:\n"
                        "    Error:\n"
                        "  parameters:\n"
                        "    petId:\n"
                        "  requestBodies:\n"
                        "    Create:\n"
                        "  callbacks:\n"
                        "    onPet:\n"
                        "  headers:\n"
                        "    X-Rate:\n"
                        "  examples:\n"
                        "    sample:\n";

CompletionContext refContext(QString prefix, std::optional<ReferenceKind> kind, bool inString = false)
{
    CompletionContext context;
    context.prefix = std::move(prefix);
    context.hints.isRefValueContext = true;
    context.hints.expectedReferenceKind = kind;
    context.hints.isInString = inString;
    return context;
}

QStringList labels(const std::vector<CompletionItem>& items)
{
    QStringList out;
    for (const CompletionItem& item : items)
        out << item.label;
    return out;
}

TEST(ReferenceResolver, narrowsAndOrdersByThePrefix)
{
    const ReferenceIndex index = Carvex::ReferenceIndexer().buildIndex(kDocument, DocumentFormat::yaml);
    const QString s = "#/components/schemas/";
    struct Row {
        const char* name;
        QString prefix;
        std::optional<ReferenceKind> kind;
        QStringList expected;
    };
    const Row rows[] = {
        {"schemas in document order", "", ReferenceKind::schema, {s + "pet", s + "User", s + "Pet", s + "Error"}},
        {"pe keeps Pet and pet, upper case first", "pe", ReferenceKind::schema, {s + "Pet", s + "pet"}},
        {"quote and hash leave everything unsorted", "\"#", ReferenceKind::schema,
         {s + "pet", s + "User", s + "Pet", s + "Error"}},
        {"#/ keeps all, sorted by name", "#/", ReferenceKind::schema, {s + "Error", s + "Pet", s + "User", s + "pet"}},
        {"components/sch matches by pointer", "components/sch", ReferenceKind::schema,
         {s + "Error", s + "Pet", s + "User", s + "pet"}},
        {"quoted full pointer prefix", "'#/components/schemas/P", ReferenceKind::schema, {s + "Pet", s + "pet"}},
        {"missing section gives nothing", "", ReferenceKind::link, {}},
        {"prefix matching nothing", "zz", ReferenceKind::schema, {}},
        {"no kind: every kind ordered by raw value then name", "", std::nullopt,
         {"#/components/callbacks/onPet", "#/components/examples/sample", "#/components/headers/X-Rate",
          "#/components/parameters/petId", "#/components/requestBodies/Create", s + "Error", s + "Pet", s + "User",
          s + "pet"}},
        {"unknown kind behaves as no kind", "", ReferenceKind::unknown,
         {"#/components/callbacks/onPet", "#/components/examples/sample", "#/components/headers/X-Rate",
          "#/components/parameters/petId", "#/components/requestBodies/Create", s + "Error", s + "Pet", s + "User",
          s + "pet"}},
        {"no kind with a prefix: name matches first, by name alone", "pe", std::nullopt,
         {s + "Pet", s + "pet", "#/components/parameters/petId"}},
        {"a word narrows by the name alone, not by the pointers it begins", "c", std::nullopt,
         {"#/components/requestBodies/Create"}},
    };
    const ReferenceResolver resolver;
    for (const Row& row : rows)
        EXPECT_EQ(labels(resolver.suggestions(refContext(row.prefix, row.kind), {}, index)).join(" | ").toStdString(),
                  row.expected.join(" | ").toStdString())
            << row.name;
}

TEST(ReferenceResolver, itemsCarryKindPriorityDescriptionAndQuoting)
{
    const ReferenceResolver resolver;
    for (DocumentFormat format : {DocumentFormat::yaml, DocumentFormat::json}) {
        const QString text = format == DocumentFormat::yaml
                                 ? QString(kDocument)
                                 : QString(R"({"components": {"requestBodies": {"Create": {}}, "headers": {"X": {}},)"
                                           R"( "examples": {"e": {}}}})");
        const ReferenceIndex index = Carvex::ReferenceIndexer().buildIndex(text, format);
        CompletionContext outside = refContext("", ReferenceKind::requestBody);
        outside.format = format;
        const std::vector<CompletionItem> quoted = resolver.suggestions(outside, {}, index);
        ASSERT_EQ(quoted.size(), 1u);
        EXPECT_EQ(quoted[0].insertText, "\"#/components/requestBodies/Create\"");
        EXPECT_EQ(quoted[0].description, "Requestbody: Create");
        EXPECT_EQ(quoted[0].priority, 80);
        EXPECT_EQ(quoted[0].kind, CompletionItemKind::requestBody);
        EXPECT_FALSE(quoted[0].requiresColon || quoted[0].requiresValue);
        EXPECT_FALSE(quoted[0].shortDescription || quoted[0].detail || quoted[0].snippetMetadata);

        const std::vector<CompletionItem> bare =
            resolver.suggestions(refContext("", ReferenceKind::requestBody, true), {}, index);
        EXPECT_EQ(bare.at(0).insertText, "#/components/requestBodies/Create");
        EXPECT_EQ(resolver.suggestions(refContext("", ReferenceKind::header), {}, index).at(0).kind,
                  CompletionItemKind::property);
        EXPECT_EQ(resolver.suggestions(refContext("", ReferenceKind::example), {}, index).at(0).kind,
                  CompletionItemKind::value);
    }
    struct KindRow {
        ReferenceKind kind;
        int priority;
        CompletionItemKind itemKind;
        const char* word;
    };
    const KindRow kinds[] = {
        {ReferenceKind::schema, 100, CompletionItemKind::schema, "Schema"},
        {ReferenceKind::response, 90, CompletionItemKind::response, "Response"},
        {ReferenceKind::parameter, 85, CompletionItemKind::parameter, "Parameter"},
        {ReferenceKind::requestBody, 80, CompletionItemKind::requestBody, "Requestbody"},
        {ReferenceKind::header, 75, CompletionItemKind::property, "Header"},
        {ReferenceKind::securityScheme, 70, CompletionItemKind::security, "Securityscheme"},
        {ReferenceKind::pathItem, 65, CompletionItemKind::pathItem, "Pathitem"},
        {ReferenceKind::example, 60, CompletionItemKind::value, "Example"},
        {ReferenceKind::link, 55, CompletionItemKind::link, "Link"},
        {ReferenceKind::callback, 50, CompletionItemKind::callback, "Callback"},
        {ReferenceKind::unknown, 40, CompletionItemKind::link, "Unknown"},
    };
    for (const KindRow& row : kinds) {
        EXPECT_EQ(ReferenceResolver::priority(row.kind), row.priority) << row.word;
        EXPECT_EQ(ReferenceResolver::itemKind(row.kind), row.itemKind) << row.word;
        EXPECT_EQ(ReferenceResolver::descriptionWord(row.kind), row.word);
    }
}

// Names that a pointer escapes are labelled with the escaped pointer and described by their name; a
// typed prefix keeps them by the name or by the escaped pointer.
TEST(ReferenceResolver, escapedPointersNarrowByNameOrPointer)
{
    const ReferenceIndex index = Carvex::ReferenceIndexer().buildIndex(
        "components:\n    schemas:\n        a/b: {}\n        x~y: {}\n        Pet: {}\n", DocumentFormat::yaml);
    const QString s = "#/components/schemas/";
    const struct {
        const char* prefix;
        QStringList expected;
    } rows[] = {
        {"", {s + "a~1b", s + "x~0y", s + "Pet"}},
        {"a/", {s + "a~1b"}},
        {"x~", {s + "x~0y"}},
        {"#/components/schemas/a~1", {s + "a~1b"}},
        {"/components/schemas/x~0", {s + "x~0y"}},
        {"#/components/schemas/a/", {}},
    };
    for (const auto& row : rows) {
        const std::vector<CompletionItem> items =
            ReferenceResolver().suggestions(refContext(row.prefix, ReferenceKind::schema), {}, index);
        EXPECT_EQ(labels(items).join(" | ").toStdString(), row.expected.join(" | ").toStdString()) << row.prefix;
        if (!items.empty() && items.front().label == s + "a~1b") {
            EXPECT_EQ(items.front().description, "Schema: a/b");
        }
    }
}

TEST(ReferenceResolver, outsideARefValueNothingIsProposed)
{
    const ReferenceIndex index = Carvex::ReferenceIndexer().buildIndex(kDocument, DocumentFormat::yaml);
    CompletionContext context = refContext("", ReferenceKind::schema);
    context.hints.isRefValueContext = false;
    EXPECT_TRUE(ReferenceResolver().suggestions(context, {}, index).empty());
    // Each request makes new ids.
    const auto first = ReferenceResolver().suggestions(refContext("", ReferenceKind::schema), {}, index);
    const auto second = ReferenceResolver().suggestions(refContext("", ReferenceKind::schema), {}, index);
    EXPECT_NE(first.at(0).id, second.at(0).id);
}

} // namespace
