#include "Carvex/Syntax/SyntaxToken.h"

#include <gtest/gtest.h>

#include <unordered_set>

using Carvex::SyntaxToken;
using Carvex::SyntaxTokenType;
using Carvex::TextRange;

namespace {

std::shared_ptr<const SyntaxToken::Metadata> metadata(SyntaxToken::Metadata values)
{
    return std::make_shared<const SyntaxToken::Metadata>(std::move(values));
}

TEST(SyntaxTokenType, rawValuesRoundTripAndRejectOthers)
{
    const char* expected[] = {"string", "number", "boolean", "null", "punctuation", "jsonKey", "key", "comment", "indicator", "unknown"};
    for (std::size_t i = 0; i < Carvex::allSyntaxTokenTypes.size(); ++i) {
        EXPECT_EQ(Carvex::rawValue(Carvex::allSyntaxTokenTypes[i]), expected[i]);
        EXPECT_EQ(VoziZazIreCore::fromRawValue<SyntaxTokenType>(expected[i]), Carvex::allSyntaxTokenTypes[i]);
    }
    for (const char* other : {"", "String", "jsonkey", "key ", "keys"})
        EXPECT_FALSE(VoziZazIreCore::fromRawValue<SyntaxTokenType>(other).has_value()) << other;
}

struct EqualityRow {
    const char* name;
    SyntaxToken a;
    SyntaxToken b;
    bool equal;
};

TEST(SyntaxToken, equalityComparesEveryField)
{
    const SyntaxToken base{SyntaxTokenType::key, TextRange{4, 3}, nullptr};
    const EqualityRow rows[] = {
        {"same_fields", base, base, true},
        {"other_type", base, {SyntaxTokenType::jsonKey, {4, 3}, nullptr}, false},
        {"other_location", base, {SyntaxTokenType::key, {5, 3}, nullptr}, false},
        {"other_length", base, {SyntaxTokenType::key, {4, 2}, nullptr}, false},
        {"absent_vs_present_empty", base, {SyntaxTokenType::key, {4, 3}, metadata({})}, false},
        {"equal_metadata_in_other_objects", {SyntaxTokenType::key, {4, 3}, metadata({{"a", "1"}})},
         {SyntaxTokenType::key, {4, 3}, metadata({{"a", "1"}})}, true},
        {"other_metadata_value", {SyntaxTokenType::key, {4, 3}, metadata({{"a", "1"}})},
         {SyntaxTokenType::key, {4, 3}, metadata({{"a", "2"}})}, false},
    };
    for (const EqualityRow& row : rows) {
        EXPECT_EQ(row.a == row.b, row.equal) << row.name;
        EXPECT_EQ(row.b == row.a, row.equal) << row.name;
        if (row.equal) {
            EXPECT_EQ(row.a.hash(), row.b.hash()) << row.name;
        }
    }
}

TEST(SyntaxToken, hashTellsMetadataPresenceAndIgnoresPairOrder)
{
    const SyntaxToken absent{SyntaxTokenType::string, {0, 1}, nullptr};
    const SyntaxToken empty{SyntaxTokenType::string, {0, 1}, metadata({})};
    EXPECT_NE(absent.hash(), empty.hash());

    // Pairs that differ only in how keys and values are matched must not collide by construction.
    const SyntaxToken crossed{SyntaxTokenType::string, {0, 1}, metadata({{"a", "b"}, {"b", "a"}})};
    const SyntaxToken same{SyntaxTokenType::string, {0, 1}, metadata({{"a", "a"}, {"b", "b"}})};
    EXPECT_NE(crossed.hash(), same.hash());

    std::unordered_set<SyntaxToken> set{absent, empty, crossed, same, absent};
    EXPECT_EQ(set.size(), 4u);
}

TEST(TextRange, intersectionLength)
{
    struct Row {
        TextRange a, b;
        qsizetype expected;
    } rows[] = {
        {{0, 5}, {3, 5}, 2}, {{0, 5}, {5, 5}, 0}, {{3, 0}, {0, 10}, 0}, {{0, 10}, {2, 3}, 3},
        {{2, 3}, {0, 10}, 3}, {{0, 4}, {0, -1}, 0}, {{5, std::numeric_limits<qsizetype>::max()}, {7, 1}, 1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.a.intersectionLength(row.b), row.expected) << row.a.location << "+" << row.a.length;
}

} // namespace
