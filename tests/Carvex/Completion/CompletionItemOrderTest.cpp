#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/Completion/CompletionResult.h"
#include "Carvex/Completion/CompletionTextOrder.h"
#include "Carvex/Completion/GrammarContext.h"
#include "Carvex/Completion/OpenAPIVersion.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <random>
#include <unordered_set>

using Carvex::CompletionItem;
using Carvex::CompletionItemKind;
using Carvex::GrammarContext;
using Carvex::ParameterLocation;

namespace {

CompletionItem item(int priority, const QString& label)
{
    return CompletionItem(label, std::nullopt, CompletionItemKind::property, std::nullopt, std::nullopt, std::nullopt,
                          priority);
}

QStringList labels(const std::vector<CompletionItem>& items)
{
    QStringList out;
    for (const CompletionItem& each : items)
        out << each.label;
    return out;
}

TEST(CompletionItemOrder, higherPriorityFirstThenLabelsByScalarValue)
{
    std::vector<CompletionItem> items{item(90, "servers"), item(100, "paths"), item(100, "info"), item(100, "Info")};
    std::stable_sort(items.begin(), items.end());
    EXPECT_EQ(labels(items), QStringList({"Info", "info", "paths", "servers"}));
    EXPECT_TRUE(items[0] < items[1]);
    EXPECT_TRUE(items[1] <= items[2] && items[2] >= items[1] && items[3] > items[0]);
}

TEST(CompletionItemOrder, textOrderIsScalarOrderAfterCanonicalNormalisation)
{
    struct Row {
        const char* name;
        QString left;
        QString right;
        int expected;
    };
    const QString privateUse(QChar(0xE000));
    const QString grinning = QString::fromUcs4(U"\U0001F600");
    const Row rows[] = {
        {"private use before astral emoji", privateUse, grinning, -1},
        {"astral emoji after private use", grinning, privateUse, 1},
        {"upper case before lower case", "Zebra", "apple", -1},
        {"prefix before longer", "get", "getter", -1},
        {"composed equals decomposed", QString::fromUtf8("caf\xc3\xa9"), QString::fromUtf8("cafe\xcc\x81"), 0},
        {"decomposed e-acute after plain f", QString::fromUtf8("e\xcc\x81"), "f", 1},
        {"identical", "info", "info", 0},
        {"empty before anything", "", "a", -1},
    };
    for (const Row& row : rows) {
        const int result = Carvex::compareCompletionTexts(row.left, row.right);
        EXPECT_EQ(result < 0 ? -1 : (result > 0 ? 1 : 0), row.expected) << row.name;
    }
}

// The order's shortcuts (plain texts below U+0300, the first difference) agree with normalising both
// texts and comparing code points, on seeded random texts of letters, accents, combining marks,
// Hangul jamo and astral characters.
TEST(CompletionItemOrder, shortcutsAgreeWithNormaliseThenCompare)
{
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    ASSERT_TRUE(U_SUCCESS(status));
    auto normalised = [nfc](const QString& text) {
        UErrorCode error = U_ZERO_ERROR;
        QString out(text.size() * 3 + 1, Qt::Uninitialized);
        const int32_t length = unorm2_normalize(nfc, reinterpret_cast<const UChar*>(text.utf16()),
                                                static_cast<int32_t>(text.size()),
                                                reinterpret_cast<UChar*>(out.data()),
                                                static_cast<int32_t>(out.size()), &error);
        EXPECT_TRUE(U_SUCCESS(error));
        out.truncate(length);
        return out;
    };
    const char16_t alphabet[] = {u'a', u'e', u'E', u'z', 0x00E9, 0x0301, 0x0327, 0x0300, 0x1100, 0x1161, 0x11A8,
                                 0xE000, 0xD83D, 0xDE00, 0x212B, u'A', 0x030A};
    std::mt19937 random(99);
    for (int round = 0; round < 20000; ++round) {
        QString texts[2];
        for (QString& text : texts) {
            const int length = static_cast<int>(random() % 5);
            for (int i = 0; i < length; ++i)
                text += QChar(alphabet[random() % std::size(alphabet)]);
        }
        const QString left = normalised(texts[0]);
        const QString right = normalised(texts[1]);
        const int expected = u_strCompare(reinterpret_cast<const UChar*>(left.utf16()), static_cast<int32_t>(left.size()),
                                          reinterpret_cast<const UChar*>(right.utf16()),
                                          static_cast<int32_t>(right.size()), true);
        const int got = Carvex::compareCompletionTexts(texts[0], texts[1]);
        ASSERT_EQ(got < 0 ? -1 : (got > 0 ? 1 : 0), expected < 0 ? -1 : (expected > 0 ? 1 : 0))
            << texts[0].toStdString() << " vs " << texts[1].toStdString();
        const bool plain0 = Carvex::isPlainCompletionText(texts[0]);
        const bool plain1 = Carvex::isPlainCompletionText(texts[1]);
        ASSERT_EQ(Carvex::compareCompletionTexts(texts[0], plain0, texts[1], plain1) < 0, got < 0);
    }
}

TEST(CompletionItemOrder, canonicallyEqualLabelsKeepTheirPlacesInAStableSort)
{
    std::vector<CompletionItem> items{item(50, QString::fromUtf8("cafe\xcc\x81")), item(50, "b"),
                                      item(50, QString::fromUtf8("caf\xc3\xa9"))};
    const QUuid decomposed = items[0].id;
    const QUuid composed = items[2].id;
    std::stable_sort(items.begin(), items.end());
    EXPECT_EQ(items[0].label, "b");
    EXPECT_EQ(items[1].id, decomposed);
    EXPECT_EQ(items[2].id, composed);
    EXPECT_FALSE(items[1] < items[2]);
    EXPECT_FALSE(items[2] < items[1]);
}

TEST(CompletionItem, idsMakeEqualityAndHashing)
{
    const CompletionItem a = item(10, "x");
    const CompletionItem b = item(10, "x");
    EXPECT_NE(a, b);
    const CompletionItem copy = a;
    EXPECT_EQ(copy, a);
    EXPECT_EQ(std::hash<CompletionItem>{}(copy), std::hash<CompletionItem>{}(a));
    EXPECT_EQ(a.insertText, "x"); // the label when no insert text is given
    CompletionItem changed = a;
    changed.requiresValue = true;
    EXPECT_NE(changed, a);
    EXPECT_EQ(changed.hash(), a.hash());
}

TEST(CompletionValueTypes, rawValuesOfVersionLocationAndItemKind)
{
    using VoziZazIreCore::fromRawValue;
    EXPECT_EQ(fromRawValue<Carvex::OpenAPIVersion>("3.0"), Carvex::OpenAPIVersion::openAPI30);
    EXPECT_EQ(fromRawValue<Carvex::OpenAPIVersion>("3.1"), Carvex::OpenAPIVersion::openAPI31);
    EXPECT_FALSE(fromRawValue<Carvex::OpenAPIVersion>("3.1.0"));
    const char* locations[] = {"query", "header", "path", "cookie"};
    for (std::size_t i = 0; i < Carvex::allParameterLocations.size(); ++i)
        EXPECT_EQ(fromRawValue<ParameterLocation>(locations[i]), Carvex::allParameterLocations[i]);
    EXPECT_FALSE(fromRawValue<ParameterLocation>("Query"));
    const char* kinds[] = {"property", "value",    "keyword", "snippet", "pathItem", "operation",
                           "parameter", "requestBody", "response", "server", "security", "schema",
                           "tag", "component", "link", "callback", "webhook", "unknown"};
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        EXPECT_EQ(Carvex::rawValue(static_cast<CompletionItemKind>(i)), kinds[i]);
        EXPECT_EQ(fromRawValue<CompletionItemKind>(kinds[i]), static_cast<CompletionItemKind>(i));
    }
    EXPECT_FALSE(fromRawValue<CompletionItemKind>("Snippet"));
}

TEST(GrammarContext, equalityAndHashingRespectTheParameterLocation)
{
    const GrammarContext none = GrammarContext::parameterObject(std::nullopt);
    const GrammarContext query = GrammarContext::parameterObject(ParameterLocation::query);
    EXPECT_NE(none, query);
    EXPECT_EQ(query, GrammarContext::parameterObject(ParameterLocation::query));
    EXPECT_NE(query, GrammarContext::parameterObject(ParameterLocation::path));
    EXPECT_EQ(none, GrammarContext(GrammarContext::Case::parameterObject));
    EXPECT_NE(GrammarContext(GrammarContext::Case::infoObject), GrammarContext(GrammarContext::Case::licenseObject));

    std::unordered_set<GrammarContext> all;
    for (int i = 0; i < GrammarContext::caseCount; ++i)
        all.insert(GrammarContext(static_cast<GrammarContext::Case>(i)));
    for (ParameterLocation location : Carvex::allParameterLocations)
        all.insert(GrammarContext::parameterObject(location));
    EXPECT_EQ(all.size(), 54u);
    EXPECT_EQ(Carvex::caseName(GrammarContext::Case::componentPathItems), "componentPathItems");
    EXPECT_EQ(Carvex::caseName(GrammarContext::Case::unknown), "unknown");
}

TEST(CompletionResult, emptyAnswersVersion31WithNothing)
{
    Carvex::CompletionContext context;
    context.prefix = "x";
    const Carvex::CompletionResult result = Carvex::CompletionResult::empty(context);
    EXPECT_EQ(result.version, Carvex::OpenAPIVersion::openAPI31);
    EXPECT_EQ(result.context, context);
    EXPECT_TRUE(result.grammarContexts.empty() && result.items.empty());
    EXPECT_FALSE(result.isIncomplete);
    EXPECT_EQ(result, Carvex::CompletionResult::empty(context));
}

} // namespace
