#include "Carvex/CaretContext/LineReading.h"

#include <gtest/gtest.h>

#include <QString>

#include <string>

namespace {

using namespace Carvex::LineReading;

std::string quotingName(Quoting quoting)
{
    switch (quoting) {
    case Quoting::plain: return "plain";
    case Quoting::yamlSingle: return "single";
    case Quoting::yamlDouble: return "double";
    case Quoting::json: return "json";
    }
    return "?";
}

// "quoting raw → decoded", or "none".
std::string describe(const std::optional<Scalar>& scalar)
{
    if (!scalar)
        return "none";
    return quotingName(scalar->quoting) + " " + scalar->raw.toString().toStdString() + " → "
        + decoded(*scalar).toStdString();
}

// A key with its colon, the name and the escapes read: "double a\"b → a"b @4".
TEST(LineReading, yamlKeysEndAtTheColonOutsideQuotesAndFlowCollections)
{
    struct Row {
        const char* name;
        const char* text;
        const char* expected;
    };
    const Row rows[] = {
        {"plain", "name: x", "plain name → name @4"},
        {"plain at the end", "name:", "plain name → name @4"},
        {"colon without blank is text", "a:b: c", "plain a:b → a:b @3"},
        {"blank inside", "a b: c", "plain a b → a b @3"},
        {"url value", "url: https://x", "plain url → url @3"},
        {"no key in a url", "https://x", "none"},
        {"blank before colon", "Pet :", "plain Pet → Pet @4"},
        {"empty plain key", ": x", "plain  →  @0"},
        {"tab after colon", "k:\tv", "plain k → k @1"},
        {"double quoted with an escaped quote", R"("a\": b": x)", R"(double a\": b → a": b @8)"},
        {"single quoted with a doubled quote", "'it''s: x': y", "single it''s: x → it's: x @10"},
        {"quoted then blank then colon", "'k' : v", "single k → k @4"},
        {"quoted key takes a colon without blank", "\"a\":b", "double a → a @3"},
        {"quoted scalar alone", "'x: y'", "none"},
        {"quoted then text is a plain key", "\"a\" b: c", "plain \"a\" b → \"a\" b @5"},
        {"open quote reads as plain text", "\"a: b", "plain \"a → \"a @2"},
        {"flow mapping", "{a: b}", "none"},
        {"flow sequence holding a colon", "[a, b: c]", "none"},
        {"flow with a quoted bracket", "{a: \"}: x\"}", "none"},
        {"flow as a key", "{a: b}: c", "plain {a: b} → {a: b} @6"},
        {"open flow", "{a: b, c: d", "none"},
        {"comment hides a colon", "a # b: c", "none"},
        {"hash inside a word", "a#b: c", "plain a#b → a#b @3"},
        {"leading blanks", "  k: v", "plain k → k @3"},
        {"value holding a flow", "k: {a: b}", "plain k → k @1"},
        {"quote inside a plain key", "it's: x", "plain it's → it's @4"},
        {"empty", "", "none"},
    };
    for (const Row& row : rows) {
        const QString text = QString::fromUtf8(row.text);
        const std::optional<YAMLKey> key = yamlKey(text);
        const std::string got = key ? describe(key->name) + " @" + std::to_string(key->colon) : "none";
        EXPECT_EQ(got, row.expected) << row.name;
    }
}

// Items, JSON keys and strings, flows and comments, each read whole; what is left open reads sensibly.
TEST(LineReading, itemsStringsFlowsAndCommentsAreReadWhole)
{
    struct ItemRow {
        const char* text;
        const char* expected;
        bool open;
    };
    const ItemRow items[] = {
        {" \"a\\\"b\" # c", R"(double a\"b → a"b)", false},
        {"'it''s'", "single it''s → it's", false},
        {"plain # comment", "plain plain → plain", false},
        {"{a: b} # c", "plain {a: b} → {a: b}", false},
        {"[a, 'b]', c]", "plain [a, 'b]', c] → [a, 'b]', c]", false},
        {"\"open", "double open → open", true},
        {"[a, {b: c}", "plain [a, {b: c} → [a, {b: c}", true},
        {"[a, # rest", "plain [a, # rest → [a, # rest", true},
        {"'ends with a doubled quote''", "single ends with a doubled quote'' → ends with a doubled quote'", true},
        {"'C:\\' # c", "single C:\\ → C:\\", false},
    };
    for (const ItemRow& row : items) {
        const QString text = QString::fromUtf8(row.text);
        const YAMLItem item = yamlItem(text);
        EXPECT_EQ(describe(item.scalar), row.expected) << row.text;
        EXPECT_EQ(item.open, row.open) << row.text;
    }

    EXPECT_EQ(describe(jsonKey(uR"(  "a\"b": 1)")), R"(json a\"b → a"b)");
    EXPECT_EQ(describe(jsonKey(uR"("x", "k\\" : 2)")), R"(json k\\ → k\)");
    EXPECT_EQ(describe(jsonKey(uR"("a\": 1)")), "none");
    EXPECT_EQ(describe(jsonKey(u"\"\\u00e9\": 1")), "json \\u00e9 → \u00e9");

    std::string strings;
    for (const Scalar& scalar : jsonStrings(uR"(["\"dq\"", "a\\", "b", "open)"))
        strings += decoded(scalar).toStdString() + "|";
    EXPECT_EQ(strings, R"("dq"|a\|b|)");

    // The strings standing directly in an array, over its lines; keys, nested values and a string a
    // line break cuts are passed over.
    const QString array =
        QStringLiteral("x [\n  \"\\\"dq\\\"\",\n  {\"k\": \"v\"}, [\"n\"],\n  \"cut\n  \"b]\"\n] \"after\"");
    const JSONArrayStrings listed = jsonArrayStrings(array, 2);
    std::string values;
    for (const Scalar& scalar : listed.strings)
        values += decoded(scalar).toStdString() + "|";
    EXPECT_EQ(values, R"("dq"|b]|)");
    EXPECT_TRUE(listed.closed);
    EXPECT_FALSE(jsonArrayStrings(u"[\"a\", [\"b\"]", 0).closed);

    EXPECT_EQ(flowCollection(u"{a: [b, '}'], c: \"]\"} tail", 0).end, 21);
    EXPECT_FALSE(flowCollection(u"{a: [b}", 0).closed);
    EXPECT_EQ(afterDashes(u"- - a"), 4);
    EXPECT_EQ(afterDashes(u"-"), 1);
    EXPECT_EQ(afterDashes(u"-x: y"), 0);
    EXPECT_EQ(afterDashes(u"--- a"), 0);
    EXPECT_EQ(yamlCommentStart(u"k: 'a #b' # c"), 10);
    EXPECT_EQ(yamlCommentStart(u"k: a#b"), 6);
    // A quote inside a plain scalar is text; a doubled quote does not close a single-quoted one.
    EXPECT_EQ(yamlCommentStart(u"a \"b # c\""), 5);
    EXPECT_EQ(yamlCommentStart(u"'it''s # x' # y"), 12);
    EXPECT_EQ(yamlCommentStart(u"[a,'b # c'] # d"), 12);
    EXPECT_EQ(yamlCommentStart(u"k: 'C:\\' # c"), 9);

    // The items of a flow sequence on its line: entries, nested collections and an open quote are none.
    std::string flowItems;
    for (const Scalar& item : yamlFlowItems(u"k: [a b, 'it''s', \"x]\" , c: d, [e], {f: g}, h # i, j]", 3))
        flowItems += decoded(item).toStdString() + "|";
    EXPECT_EQ(flowItems, "a b|it's|x]|h|");
    EXPECT_TRUE(yamlFlowItems(u"[a, 'b", 0).size() == 1);

    // Long runs of quotes, brackets and backslashes are read in one pass.
    const QString hostile = QString(200'000, u'[') + QString(200'000, u'"') + QString(200'000, u'\\');
    EXPECT_FALSE(yamlKey(hostile));
    EXPECT_TRUE(yamlItem(hostile).open);
    EXPECT_FALSE(jsonArrayStrings(hostile, 0).closed);
    EXPECT_EQ(jsonStrings(QString(200'001, u'"')).size(), 100'000u);
}

// The quoted scalar holding the caret ("^"), as "open..close" (close -1 when the line leaves it
// open), and whether the caret follows a closed one with only blanks between.
TEST(LineReading, quotedScalarAtTheCaretStartsWhereAScalarBegins)
{
    struct Row {
        const char* text;
        bool json;
        const char* holding;
        bool follows;
    };
    const Row rows[] = {
        {"k: 'it''s ^", false, "3..-1", false},
        {"k: \"a\\\"b^\"", false, "3..8", false},
        {"k: it's^", false, "none", false},
        {"k: a \"b^", false, "none", false},
        {"k: 'a' ^", false, "none", true},
        {"k: 'a' x^", false, "none", false},
        {"- &a \"x^", false, "5..-1", false},
        {"[a, 'b^", false, "4..-1", false},
        {"k: # 'a^", false, "none", false},
        {"k: | 'a^", false, "none", false},
        {"k: 'a\n  b^", false, "none", false},
        {"\"a\\\"b^", true, "0..-1", false},
        {"\"k\": \"v\" ^", true, "none", true},
        {"k: 'C:\\' ^", false, "none", true},
    };
    for (const Row& row : rows) {
        QString text = QString::fromUtf8(row.text);
        const qsizetype caret = text.indexOf(u'^');
        text.remove(caret, 1);
        const std::optional<LineQuoted> holding = quotedHolding(text, caret, row.json);
        const std::string got =
            holding ? std::to_string(holding->open) + ".." + std::to_string(holding->close) : "none";
        EXPECT_EQ(got, row.holding) << row.text;
        EXPECT_EQ(quotedAtCaret(text, caret, row.json).followsClosed, row.follows) << row.text;
    }
}

// The flow collections holding the caret ("^") as "depth@innermost opening bracket", or "closed" past
// one that closed with only blanks between; a line above that left one open holds the lines deeper
// than it.
TEST(LineReading, flowCollectionsAtTheCaretRunOverTheLinesThatContinueThem)
{
    const std::pair<const char*, const char*> rows[] = {
        {"k: [a, {b: ^", "2@7"},
        {"k: [a, '[' ^", "1@3"},
        {"k: [a]^", "closed"},
        {"k: [a] \t^", "closed"},
        {"k: {a: [b]}^", "closed"},
        {"k: [a] x^", "none"},
        {"k: a [b^", "none"},
        {"k: [a # b^", "none"},
        {"k: [a,\n  b,\n  ^", "1@3"},
        {"k: [a,\n  {b: [c,\n     d]},\n    ^", "1@3"},
        {"k: [a,\n  b]^", "closed"},
        {"k: [a,\n  b]\nj: ^", "none"},
        {"k: [a,\n^", "1@3"},
        {"  k: [a,\n\n  # c\n  ^", "1@5"},
        {"  k: [a]\n  ^", "none"},
        {"k:\n  d: |\n    x\n  [y\n    z]\n  ^", "none"},
    };
    for (const auto& [marked, expected] : rows) {
        QString text = QString::fromUtf8(marked);
        const qsizetype caret = text.indexOf(u'^');
        text.remove(caret, 1);
        const YAMLFlowAtCaret flow = yamlFlowAtCaret(text, caret);
        const std::string got = flow.depth > 0 ? std::to_string(flow.depth) + "@" + std::to_string(flow.innermost)
            : flow.followsClosed              ? "closed"
                                              : "none";
        EXPECT_EQ(got, expected) << marked;
    }
    // A long run of open brackets is read in one pass, and so is a deep chain of lines.
    const QString deep = QStringLiteral("k: ") + QString(200'000, u'[') + QStringLiteral("\n  ");
    EXPECT_EQ(yamlFlowAtCaret(deep, deep.size()).depth, 200'000);
}

} // namespace
