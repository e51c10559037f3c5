#include "Carvex/ModelAdapters/RefLinkDetector.h"
#include "Carvex/ModelAdapters/RefLinkError.h"
#include "RefLinkMarkup.h"

#include <gtest/gtest.h>

#include <string_view>
#include <unordered_set>

namespace {

using namespace std::string_view_literals;
using Carvex::DocumentLanguage;
using Carvex::RefLink;
using Carvex::RefLinkDetector;

struct Row {
    const char* name;
    std::u16string_view marked;
};

std::string describe(const std::vector<RefLink>& links)
{
    QString out;
    for (const RefLink& link : links) {
        out += QStringLiteral("[%1+%2 in %3+%4 '%5'] ")
                   .arg(link.valueRange.location)
                   .arg(link.valueRange.length)
                   .arg(link.fullRange.location)
                   .arg(link.fullRange.length)
                   .arg(link.refPath);
    }
    return out.toStdString();
}

void expectRows(const std::vector<Row>& rows, DocumentLanguage language)
{
    const RefLinkDetector detector;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const RefLinkMarkup::Marked expected = RefLinkMarkup::parse(row.marked);
        const std::vector<RefLink> found = language == DocumentLanguage::json ? detector.detectJSONLinks(expected.text)
                                                                               : detector.detectYAMLLinks(expected.text);
        EXPECT_EQ(describe(found), describe(expected.links));
        EXPECT_EQ(detector.detectLinks(expected.text, language), found);
        EXPECT_TRUE(detector.detectLinks(expected.text, DocumentLanguage::unknown).empty());
        // Line ends written as CR LF move the links but find the same values.
        if (row.marked.find(u'\n') != std::u16string_view::npos && row.marked.find(u'\r') == std::u16string_view::npos) {
            QString crlf;
            for (const char16_t unit : row.marked) {
                if (unit == u'\n')
                    crlf.append(u'\r');
                crlf.append(QChar(unit));
            }
            const RefLinkMarkup::Marked twin = RefLinkMarkup::parse(std::u16string_view(reinterpret_cast<const char16_t*>(crlf.utf16()), std::size_t(crlf.size())));
            EXPECT_EQ(describe(detector.detectLinks(twin.text, language)), describe(twin.links)) << "with CR LF";
        }
    }
}

TEST(RefLinkDetectorTest, JSONScannerFindsQuotedValuesAfterTheKey)
{
    expectRows(
        {
            {"blanks before the colon, line break after", u"{\"$ref\" \t:\n  ⟦\"‹#/components/schemas/Pet›\"⟧}"sv},
            {"compact", u"{\"$ref\":⟦\"‹other.json#/Pet›\"⟧}"sv},
            {"number value, scan goes on", u"{\"$ref\": 12, \"x\": {\"$ref\": ⟦\"‹#/a›\"⟧}}"sv},
            {"null value", u"{\"$ref\": null}"sv},
            {"escaped quote stays in the path", u"{\"$ref\": ⟦\"‹a\\\"b›\"⟧}"sv},
            {"escaped backslash before the closing quote", u"{\"$ref\": ⟦\"‹a\\\\›\"⟧, \"b\": 1}"sv},
            {"closing quote missing", u"{\"$ref\": \"#/a"sv},
            {"empty value is a link", u"{\"$ref\": ⟦\"‹›\"⟧}"sv},
            {"capital key", u"{\"$REF\": \"#/a\"}"sv},
            {"key in apostrophes", u"{'$ref': '#/a'}"sv},
            {"no colon", u"{\"$ref\" \"#/a\"}"sv},
            {"key at the end", u"{\"$ref\""sv},
            {"colon at the end", u"{\"$ref\": "sv},
            {"opening quote at the end", u"{\"$ref\": \""sv},
            {"lost closing quote swallows the next key",
             u"[{\"$ref\": ⟦\"‹#/a}, {›\"⟧$ref\": \"#/b\"}, {\"$ref\": ⟦\"‹#/c›\"⟧}]"sv},
            {"two links", u"{\"a\": {\"$ref\": ⟦\"‹#/a›\"⟧}, \"b\": {\"$ref\": ⟦\"‹#/b›\"⟧}}"sv},
            {"surrogate pair before the link", u"{\"😀\": 1, \"$ref\": ⟦\"‹#/a›\"⟧}"sv},
            {"emoji inside the value", u"{\"$ref\": ⟦\"‹#/👍🏽›\"⟧}"sv},
            {"NUL and a lone surrogate are characters", u"{\"$ref\": ⟦\"‹\0x\xD800›\"⟧}"sv},
            {"CR LF between key, colon and value", u"{\r\n  \"$ref\"\r\n  :\r\n  ⟦\"‹#/a›\"⟧\r\n}"sv},
            {"value spans a line break", u"{\"$ref\": ⟦\"‹a\nb›\"⟧}"sv},
        },
        DocumentLanguage::json);
}

TEST(RefLinkDetectorTest, YAMLScannerFindsKeysAtWordStartsAndTheirValues)
{
    expectRows(
        {
            {"bare key, double-quoted value", u"$ref: ⟦\"‹#/components/schemas/Pet›\"⟧"sv},
            {"key in apostrophes, value in apostrophes", u"'$ref': ⟦'‹#/a›'⟧"sv},
            {"key in double quotes, value in apostrophes", u"\"$ref\": ⟦'‹#/a›'⟧"sv},
            {"unquoted local path is a comment", u"$ref: #/components/schemas/Pet"sv},
            {"list item", u"- $ref: ⟦‹other.yaml›⟧"sv},
            {"key after a letter", u"x$ref: other.yaml"sv},
            {"key after a brace", u"{$ref: other.yaml}"sv},
            {"plain value cut at #", u"$ref: ⟦‹other.yaml›⟧#/Pet"sv},
            {"trailing blanks in the full range only", u"$ref: ⟦‹other.yaml›  \t⟧\nnext: 1"sv},
            {"opening quote at the line end", u"$ref: \"\nx: 1"sv},
            {"opening quote at a CR LF line end", u"$ref: '\r\nx: 1"sv},
            {"quote left open at the line end", u"$ref: ⟦\"‹#/a›⟧\nx: 1"sv},
            {"quote left open at a CR LF line end", u"$ref: ⟦\"‹#/a›⟧\r\nx: 1"sv},
            {"quote left open at the text end", u"$ref: ⟦'‹#/a›⟧"sv},
            {"value on the next line", u"$ref:\n  \"#/a\""sv},
            {"key at the text end", u"a: $ref"sv},
            {"colon at the text end", u"$ref:   "sv},
            {"an escaped quote does not close double quotes", u"$ref: ⟦\"‹a\\\"b›\"⟧"sv},
            {"an escaped backslash before the closing quote", u"$ref: ⟦\"‹a\\\\›\"⟧b\""sv},
            {"a backslash at the line end leaves the quote open", u"$ref: ⟦\"‹a\\›⟧\nb: \"x\""sv},
            {"a doubled quote does not close single quotes", u"$ref: ⟦'‹it''s›'⟧ x'"sv},
            {"other quote inside", u"$ref: ⟦\"‹it's›\"⟧"sv},
            {"empty quoted value", u"$ref: ''"sv},
            {"longer key", u"$refs: other.yaml"sv},
            {"tabs around the colon", u"\t$ref\t:\t⟦\"‹x›\"⟧"sv},
            {"nested mappings",
             u"a:\n  $ref: ⟦'‹#/a›'⟧\nb:\n  - $ref: ⟦\"‹#/b›\"⟧\n  - '$ref': ⟦‹c.yaml› ⟧# note\n"sv},
            {"surrogate pair before the link", u"x: 😀\n$ref: ⟦'‹#/a›'⟧"sv},
            {"plain value stops at a CR", u"a: 1\r\n$ref: ⟦‹other.yaml›⟧\r\nb: 2"sv},
            {"NUL and a lone surrogate are characters", u"$ref: ⟦‹a\0\xDC00›⟧"sv},
            // Only the line's key is a key: not a word in a comment, a quoted value or a longer key.
            {"in a comment line", u"# $ref: other.yaml"sv},
            {"in a quoted value", u"description: 'see $ref: other.yaml'"sv},
            {"in the comment after a link", u"$ref: ⟦‹a.yaml› ⟧# $ref: b.yaml"sv},
            {"a key holding a colon", u"$ref:x: other.yaml"sv},
            {"mismatched quotes are no quoted key", u"\"$ref': other.yaml"sv},
            {"quoted key holding a colon", u"'$ref: x': other.yaml"sv},
            {"item of an item", u"- - $ref: ⟦\"‹#/a›\"⟧"sv},
        },
        DocumentLanguage::yaml);
}

// A line holding a great many markers, none of them its key, is read once: the scan ends in moments.
TEST(RefLinkDetectorTest, ALineOfManyMarkersIsReadOnce)
{
    QString text = QStringLiteral("x:");
    for (int i = 0; i < 200'000; ++i)
        text += QStringLiteral(" $ref: a");
    text += QStringLiteral("\n$ref: b");
    const std::vector<RefLink> links = RefLinkDetector().detectLinks(text, DocumentLanguage::yaml);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].refPath, u"b");
}

TEST(RefLinkDetectorTest, PositionsCountUTF16Units)
{
    // One character outside the Basic Multilingual Plane moves a link by two units.
    const RefLinkDetector detector;
    const struct {
        DocumentLanguage language;
        const char16_t* prefix;
        const char16_t* link;
    } rows[] = {
        {DocumentLanguage::json, u"{\"", u"\": 1, \"$ref\": \"#/a\"}"},
        {DocumentLanguage::yaml, u"x: ", u"\n$ref: '#/a'"},
    };
    for (const auto& row : rows) {
        const QString narrow = QString::fromUtf16(row.prefix) + QStringLiteral("x") + QString::fromUtf16(row.link);
        const QString wide = QString::fromUtf16(row.prefix) + QStringLiteral("😀") + QString::fromUtf16(row.link);
        const auto before = detector.detectLinks(narrow, row.language);
        const auto after = detector.detectLinks(wide, row.language);
        ASSERT_EQ(before.size(), 1u);
        ASSERT_EQ(after.size(), 1u);
        EXPECT_EQ(after[0].valueRange.location, before[0].valueRange.location + 1);
        EXPECT_EQ(after[0].fullRange.location, before[0].fullRange.location + 1);
        EXPECT_EQ(after[0].refPath, u"#/a");
    }
    for (const DocumentLanguage language : {DocumentLanguage::json, DocumentLanguage::yaml, DocumentLanguage::unknown})
        EXPECT_TRUE(detector.detectLinks(QString(), language).empty());
}

TEST(RefLinkDetectorTest, LinkMembersFollowThePath)
{
    const struct {
        const char16_t* path;
        bool local;
        const char16_t* pointer; // null for nothing
        const char16_t* target;
    } rows[] = {
        {u"#/components/schemas/Pet", true, u"/components/schemas/Pet", u"Pet"},
        {u"#/components/schemas/Pet//", true, u"/components/schemas/Pet//", u"Pet"},
        {u"#/Pet Café", true, u"/Pet Café", u"Pet Café"},
        {u"#", true, u"", nullptr},
        {u"#//", true, u"//", nullptr},
        {u"other.yaml#/Pet", false, nullptr, nullptr},
        {u"", false, nullptr, nullptr},
    };
    for (const auto& row : rows) {
        const RefLink link{{1, 2}, {0, 4}, QString::fromUtf16(row.path)};
        SCOPED_TRACE(link.refPath.toStdString());
        EXPECT_EQ(link.isLocal(), row.local);
        EXPECT_EQ(link.isExternal(), !row.local);
        const auto optional = [](const char16_t* text) {
            return text ? std::optional<QString>(QString::fromUtf16(text)) : std::nullopt;
        };
        EXPECT_EQ(link.jsonPointer(), optional(row.pointer));
        EXPECT_EQ(link.targetName(), optional(row.target));
    }

    // Equality and hashing look at both ranges and the path.
    const RefLink base{{1, 3}, {0, 5}, QStringLiteral("#/a")};
    const RefLink variants[] = {
        base,
        {{2, 3}, {0, 5}, QStringLiteral("#/a")},
        {{1, 4}, {0, 5}, QStringLiteral("#/a")},
        {{1, 3}, {1, 5}, QStringLiteral("#/a")},
        {{1, 3}, {0, 6}, QStringLiteral("#/a")},
        {{1, 3}, {0, 5}, QStringLiteral("#/b")},
    };
    std::unordered_set<RefLink> distinct(std::begin(variants), std::end(variants));
    distinct.insert(RefLink{{1, 3}, {0, 5}, QStringLiteral("#/a")});
    EXPECT_EQ(distinct.size(), std::size(variants));
    EXPECT_EQ(base.hash(), RefLink(base).hash());
}

TEST(RefLinkDetectorTest, ErrorsDescribeTheirPath)
{
    using Carvex::RefLinkError;
    const struct {
        RefLinkError error;
        const char* text;
    } rows[] = {
        {RefLinkError::invalidPath(QStringLiteral("#x")), "Invalid reference path: #x"},
        {RefLinkError::targetNotFound(QStringLiteral("#/components/schemas/Café")),
         "Cannot find target: #/components/schemas/Café"},
        {RefLinkError::externalRefNotSupported(QStringLiteral("a.yaml#/P")),
         "External references not supported: a.yaml#/P"},
        {RefLinkError::noModelAvailable(), "No parsed model available"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.error.errorDescription(), QString::fromUtf8(row.text));
        EXPECT_STREQ(row.error.what(), row.text);
    }
    EXPECT_EQ(RefLinkError::targetNotFound(QStringLiteral("#/a")).path(), u"#/a");
    EXPECT_FALSE(RefLinkError::targetNotFound(QStringLiteral("#/a")) == RefLinkError::invalidPath(QStringLiteral("#/a")));
}

} // namespace
