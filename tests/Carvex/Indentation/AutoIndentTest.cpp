#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/EditorTextViewDelegate.h"
#include "Carvex/Indentation/AutoIndentController.h"
#include "Carvex/Indentation/AutoIndentEngine.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"
#include "kit/parsing/YAMLParser.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QUrl>

using Carvex::AutoIndentContext;
using Carvex::AutoIndentController;
using Carvex::AutoIndentStrategy;
using Carvex::DocumentLanguage;
using Carvex::IndentationStyle;
using Carvex::TextRange;

namespace {

// A marked text ("|", or the given mark, is the caret) after a plan is applied, the caret marked again.
std::string afterPlan(const char* marked, DocumentLanguage language, IndentationStyle style, bool autoClose,
                      char16_t mark = u'|')
{
    QString text = QString::fromUtf8(marked);
    const qsizetype caret = text.indexOf(QChar(mark));
    text.remove(caret, 1);
    const Carvex::AutoIndentEngine engine{Carvex::IndentationPreferencesStore(CarvexPlatform::Settings::isolated())};
    const std::optional<Carvex::AutoIndentEditPlan> plan = engine.computeEditPlan(text, caret, language, style, autoClose);
    if (!plan)
        return "no plan";
    EXPECT_EQ(plan->range, (TextRange{caret, 0})) << marked;
    text.replace(plan->range.location, plan->range.length, plan->replacement);
    text.insert(plan->range.location + plan->caretOffset, QChar(mark));
    return text.toStdString();
}

struct StrategyRow {
    const char* name;
    DocumentLanguage language;
    const char* before;
    bool autoClose;
    const char* after;
};

TEST(AutoIndentStrategies, returnIndentsByStructure)
{
    const auto j = DocumentLanguage::json;
    const auto y = DocumentLanguage::yaml;
    const StrategyRow rows[] = {
        {"json_just_typed_brace", j, "  \"a\": {|", true, "  \"a\": {\n    |\n  }"},
        {"json_older_brace", j, "  \"a\": {|", false, "  \"a\": {\n    |"},
        {"json_closer_after_caret", j, "  \"a\": {|}", false, "  \"a\": {\n    |\n  }"},
        {"json_bracket_closes_with_bracket", j, "\"x\": [|", true, "\"x\": [\n  |\n]"},
        {"json_inside_string", j, "  \"desc\": \"abc|", false, "  \"desc\": \"abc\n|"},
        {"json_escaped_quote_keeps_string_open", j, "\"a\": \"x\\\"|", false, "\"a\": \"x\\\"\n|"},
        {"json_before_closer_one_level_less", j, "    \"a\": 1|}", false, "    \"a\": 1\n  |}"},
        {"json_plain_line_keeps_indent", j, "    \"a\": 1,|", false, "    \"a\": 1,\n    |"},
        {"json_blank_after_brace_is_not_brace", j, "  { |", false, "  { \n  |"},
        {"yaml_key_opens_block", y, "paths:|", false, "paths:\n  |"},
        {"yaml_item_with_mapping", y, "  - name: x|", false, "  - name: x\n    |"},
        {"yaml_scalar_item", y, "  - item|", false, "  - item\n  |"},
        {"yaml_bare_dash", y, "  -|", false, "  -\n    |"},
        {"yaml_block_scalar", y, "description: |", false, "description: \n  |"},
        {"yaml_folded_scalar", y, "  text: >|", false, "  text: >\n    |"},
        {"yaml_comment_keeps_indent", y, "  # note|", false, "  # note\n  |"},
        {"yaml_blank_takes_last_content_line", y, "a:\n    b: 1\n\n|", false, "a:\n    b: 1\n\n\n    |"},
        {"yaml_blank_without_content_above", y, "  |", false, "  \n  |"},
        {"yaml_plain_value", y, "  key: value|", false, "  key: value\n  |"},
    };
    for (const StrategyRow& row : rows)
        EXPECT_EQ(afterPlan(row.before, row.language, IndentationStyle::spaces(2), row.autoClose), row.after)
            << row.name;

    // One tab as the unit.
    EXPECT_EQ(afterPlan("\t\"a\": {|}", j, IndentationStyle::tabs(), false), "\t\"a\": {\n\t\t|\n\t}");
    EXPECT_EQ(afterPlan("\tpaths:|", y, IndentationStyle::tabs(), false), "\tpaths:\n\t\t|");
}

TEST(AutoIndentStrategies, yamlNewLineFollowsItemContentCommentsAndBlockScalarIndicators)
{
    // "^" is the caret; the unit is the row's style.
    struct Row {
        const char* name;
        IndentationStyle style;
        const char* before;
        const char* after;
    };
    const auto two = IndentationStyle::spaces(2);
    const auto four = IndentationStyle::spaces(4);
    const Row rows[] = {
        // An item's mapping goes on at the column of its first key, whatever the unit.
        {"item_mapping_four", four, "    - name: limit^", "    - name: limit\n      ^"},
        {"item_mapping_wide_dash", four, "    -   url: x^", "    -   url: x\n        ^"},
        {"nested_items", two, "  - - a: 1^", "  - - a: 1\n      ^"},
        // A key of that mapping that opens a block nests under the key, not beside it.
        {"item_key_opens_block_two", two, "  - schema:^", "  - schema:\n      ^"},
        {"item_key_opens_block_four", four, "    - schema:^", "    - schema:\n          ^"},
        {"item_block_scalar", two, "  - description: |^", "  - description: |\n      ^"},
        {"item_scalar_with_comment", two, "  - pets # a: b^", "  - pets # a: b\n  ^"},
        {"bare_dash_with_comment", two, "  - # next^", "  - # next\n    ^"},
        // A trailing comment does not hide the colon or the block indicator.
        {"key_then_comment", two, "  responses: # all^", "  responses: # all\n    ^"},
        {"hash_in_quotes_is_not_comment", two, "  k: 'a #b:'^", "  k: 'a #b:'\n  ^"},
        {"hash_inside_word_is_not_comment", two, "  k: a#b:^", "  k: a#b:\n    ^"},
        {"comment_line_ending_in_colon", two, "  # note:^", "  # note:\n  ^"},
        // Chomping and indentation indicators still begin a block scalar.
        {"literal_strip", two, "  description: |-^", "  description: |-\n    ^"},
        {"folded_keep", two, "  description: >+^", "  description: >+\n    ^"},
        {"literal_indent_indicator", two, "  description: |2-^", "  description: |2-\n    ^"},
        {"block_scalar_then_comment", four, "description: > # text^", "description: > # text\n    ^"},
        {"pipe_in_plain_value", two, "  k: a |^", "  k: a |\n  ^"},
        // The lines of a block scalar are text: the next line keeps their column, whatever they end with.
        {"text_ending_in_colon", two, "a:\n  b: |\n    Steps:^", "a:\n  b: |\n    Steps:\n    ^"},
        {"text_like_an_item", two, "a:\n  b: >-\n    - item: x^", "a:\n  b: >-\n    - item: x\n    ^"},
        {"text_like_a_header", two, "- b: |2\n    c: |^", "- b: |2\n    c: |\n    ^"},
        {"deeper_text_of_an_item", four, "tags:\n- description: >\n      Use:\n        - this:^",
         "tags:\n- description: >\n      Use:\n        - this:\n        ^"},
        {"after_the_text", two, "a:\n  b: |\n    text\n  c:^", "a:\n  b: |\n    text\n  c:\n    ^"},
        // Return before the text of a line opens a line above it and leaves the text where it stands.
        {"caret_at_line_start", two, "a:\n  b: 1\n^  c: 2", "a:\n  b: 1\n\n^  c: 2"},
        {"caret_inside_indentation", two, "a:\n  b:\n  ^  c: 2", "a:\n  b:\n  \n  ^  c: 2"},
        {"blank_line_with_blanks_after_caret", two, "a:\n    b: 1\n^  ", "a:\n    b: 1\n\n    ^  "},
    };
    for (const Row& row : rows)
        EXPECT_EQ(afterPlan(row.before, DocumentLanguage::yaml, row.style, false, u'^'), row.after) << row.name;
}

TEST(AutoIndentStrategies, yamlItemHoldsAMappingOnlyByAColonOutsideQuotesBeforeABlank)
{
    // The lines before the caret (which ends the last one) and the spaces the new line gets.
    struct Row {
        const char* before;
        int indent;
    };
    const Row rows[] = {
        // Quoted scalars: a colon in them is text (completion quotes such names).
        {"required:\n  - \"a:b\"", 2},
        {"  - 'a: b'", 2},
        {"  - \"a: b\"", 2},
        {"  - \"a\\\": b\"", 2},
        {"  - 'it''s: b'", 2},
        {"  - \"a:b\" # x: y", 2},
        // A plain scalar: no blank after the colon.
        {"  - a:b", 2},
        {"  - https://x", 2},
        {"  - ab", 2},
        {"  - a#b", 2},
        // A mapping item, its key plain or quoted.
        {"  - key: value", 4},
        {"  - \"k\": v", 4},
        {"  - 'k':\tv", 4},
        {"  - \"a:b\": v # c", 4},
        // A key's quoted value that ends in a colon opens nothing.
        {"  key: \"x:\"", 2},
        {"  - \"a:\"", 2},
        // Flow collections: a colon in them is text, as in a quoted scalar.
        {"  - {a: b}", 2},
        {"  - [a, b: c]", 2},
        {"  - {a: \"x: y\", b: [c, 'd: e']} # k: v", 2},
        {"  - - {a: b}", 2},
        // A flow collection or quoted scalar left open goes on below, deeper than the dash.
        {"  - {a: b,", 4},
        {"  - [a, b: c", 4},
        {"  - 'open", 4},
    };
    for (const Row& row : rows) {
        const std::string before = std::string(row.before) + "^";
        const std::string expected = std::string(row.before) + "\n" + std::string(std::size_t(row.indent), ' ') + "^";
        EXPECT_EQ(afterPlan(before.c_str(), DocumentLanguage::yaml, IndentationStyle::spaces(2), false, u'^'), expected)
            << row.before;
    }

    // The next item typed on the new line belongs to the same list.
    const struct {
        const char* item;
        const char* node; // the item as the reader reads it
    } items[] = {
        {"\"a:b\"", R"(string("a:b"))"},   {"{a: b}", "object(1 keys)"},      {"[a, b: c]", "array(2 items)"},
        {"\"a: b\"", R"(string("a: b"))"}, {"'x: y'", R"(string("x: y"))"}, {"{a: [b, c]}", "object(1 keys)"},
    };
    for (const auto& row : items) {
        const std::string before = std::string("type: object\nrequired:\n  - ") + row.item + "^";
        std::string text = afterPlan(before.c_str(), DocumentLanguage::yaml, IndentationStyle::spaces(2), false, u'^');
        text.replace(text.find('^'), 1, "- s4");
        VoziZazIreCore::NodePtr root;
        ASSERT_NO_THROW(root = VoziZazIreParsing::YAMLParser().parse(std::string_view(text))) << text;
        const VoziZazIreCore::GenericNode* required = (*root)["required"];
        ASSERT_NE(required, nullptr);
        ASSERT_TRUE(required->arrayValue().has_value());
        ASSERT_EQ(required->arrayValue()->size(), 2u) << text;
        EXPECT_EQ((*required->arrayValue())[0]->description(), row.node) << text;
        EXPECT_EQ((*required->arrayValue())[1]->stringValue(), "s4");
    }
}

TEST(AutoIndentStrategies, yamlValueLeftOpenGoesOnDeeperThanItsKey)
{
    // The lines before the caret (which ends the last one), the spaces the new line gets, and text that
    // the reader takes there.
    const struct {
        const char* before;
        int indent;
        const char* typed;
    } rows[] = {
        {"key: [a,", 2, "b]"},
        {"key: {a: b,", 2, "c: d}"},
        {"key: \"open: x", 2, "y\""},
        {"key: 'it''s", 2, "x'"},
        {"key: &l [a, # c", 2, "b]"},
        {"a:\n  key: {b: [c,", 4, "d]}"},
        // An item's key stands at the item's content column.
        {"- a: [b,", 4, "c]"},
        {"x:\n  - a: {b: c,", 6, "d: e}"},
        {"- - a: \"b", 6, "c\""},
        // A value closed on its line is done: the next key stands at the key's column.
        {"key: [a, b]", 0, "next: 1"},
        {"- a: {b: c} # d: [", 2, "e: f"},
        {"key: \"a: [b\"", 0, "next: 1"},
        // A line that closes what a line above opened is done with it: the next key is the opener's sibling.
        {"p:\n  x: [a,\n    b]", 2, "y: 1"},
        {"p:\n  x: {a: b,\n    c: d} # e", 2, "y: 1"},
        {"p:\n  x: \"open: x\n\n    y\"", 2, "y: 1"},
        {"p:\n  x: 'it''s\n    y'", 2, "y: 1"},
        {"- a: [b,\n    c]", 2, "d: 1"},
        {"x: [a, [b,\n  c,\n  d]]", 0, "y: 1"},
        {"x: [a,\n  [b,\n  c]]", 0, "y: 1"},
        // One that closes only an inner level stays inside.
        {"x: [a, [b,\n  c],", 2, "d]"},
    };
    for (const auto& row : rows) {
        const std::string before = std::string(row.before) + "^";
        std::string text = afterPlan(before.c_str(), DocumentLanguage::yaml, IndentationStyle::spaces(2), false, u'^');
        EXPECT_EQ(text, std::string(row.before) + "\n" + std::string(std::size_t(row.indent), ' ') + "^");
        text.replace(text.find('^'), 1, row.typed);
        EXPECT_NO_THROW(VoziZazIreParsing::YAMLParser().parse(std::string_view(text))) << text;
    }

    // A value that opens many flow collections is read in one pass.
    const std::string deep = "key: " + std::string(5000, '[') + "a,";
    EXPECT_EQ(afterPlan((deep + "^").c_str(), DocumentLanguage::yaml, IndentationStyle::spaces(2), false, u'^'),
              deep + "\n  ^");
}

TEST(AutoIndentStrategies, removeIndentLevelTakesOneUnitOrWhatIsThere)
{
    struct Row {
        const char* indent;
        IndentationStyle style;
        const char* expected;
    };
    const Row rows[] = {
        {"    ", IndentationStyle::spaces(2), "  "},     {"\t\t", IndentationStyle::tabs(), "\t"},
        {"  \t", IndentationStyle::spaces(2), "  "},     {"      ", IndentationStyle::spaces(8), "  "},
        {"   ", IndentationStyle::spaces(4), ""},        {"", IndentationStyle::spaces(2), ""},
        {"\t ", IndentationStyle::spaces(4), "\t"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Carvex::YAMLAutoIndentStrategy::removeIndentLevel(row.indent, row.style).toStdString(), row.expected)
            << "[" << row.indent << "]";
}

TEST(AutoIndentStrategies, contextHoldsTheCaretLineAndFiveLinesAbove)
{
    const QString text = "1\n2\n3\n4\n5\n6\n  ab|cd\nnext";
    const qsizetype caret = text.indexOf(u'|');
    const AutoIndentContext context =
        AutoIndentContext::make(QString(text).remove(caret, 1), caret, IndentationStyle::spaces(2), false);
    EXPECT_EQ(context.precedingLines, (QStringList{"2", "3", "4", "5", "6"}));
    EXPECT_EQ(context.currentLineBeforeCaret, "  ab");
    EXPECT_EQ(context.currentLineAfterCaret, "cd");
    EXPECT_EQ(AutoIndentContext::make("ab", 99, IndentationStyle::spaces(2), false).currentLineBeforeCaret, "ab");
}

// An editor text view whose delegate consults the auto-indent controller before each edit, as
// the editor does.
class AutoIndentEditing : public ::testing::Test, public Carvex::EditorTextViewDelegate {
protected:
    void SetUp() override
    {
        CarvexPlatform::TestApplication::ensure();
        fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
        scope = std::make_unique<CarvexPlatform::ScopedMainScheduler>(fake);
        view = std::make_unique<Carvex::EditorTextView>(nullptr, fake);
        view->resize(600, 400);
        view->show();
        controller = std::make_unique<AutoIndentController>(view.get(), CarvexPlatform::Settings::isolated());
        view->setTextDelegate(this);
    }
    void TearDown() override
    {
        view->setTextDelegate(nullptr);
        controller.reset();
        view.reset();
        scope.reset();
    }
    bool editorTextViewShouldChangeText(Carvex::EditorTextView& textView, TextRange range,
                                        const QString& replacement) override
    {
        return controller->textViewShouldChangeText(textView, range, replacement);
    }
    void editorTextViewDidChangeSelection(Carvex::EditorTextView&) override { controller->cursorDidMove(); }

    // Loads a marked text ("|" the caret, "⟦...⟧" a selection) in `language`.
    void load(const char* marked, DocumentLanguage language)
    {
        QString text = QString::fromUtf8(marked);
        TextRange selection;
        if (const qsizetype open = text.indexOf(QChar(0x27E6)); open >= 0) {
            const qsizetype close = text.indexOf(QChar(0x27E7));
            text.remove(close, 1);
            text.remove(open, 1);
            selection = TextRange{open, close - open - 1};
        } else {
            selection = TextRange{text.indexOf(u'|'), 0};
            text.remove(selection.location, 1);
        }
        view->loadText(text);
        view->finishLoading();
        view->setSelectedRange(selection);
        controller->setLanguage(language);
        controller->detectIndentationStyle();
    }
    // The view's text with the caret marked.
    std::string shown() const
    {
        QString text = view->viewText();
        text.insert(view->selectedRange().location, u'|');
        return text.toStdString();
    }
    void type(const char* keys) { QTest::keyClicks(view.get(), QString::fromUtf8(keys)); }
    void pressReturn() { QTest::keyClick(view.get(), Qt::Key_Return); }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake;
    std::unique_ptr<CarvexPlatform::ScopedMainScheduler> scope;
    std::unique_ptr<Carvex::EditorTextView> view;
    std::unique_ptr<AutoIndentController> controller;
};

TEST_F(AutoIndentEditing, returnRightAfterTypingABraceClosesThePairAndUndoesInOneStep)
{
    load("{\n  \"a\": |\n}", DocumentLanguage::json);
    type("{");
    EXPECT_EQ(controller->lastTypedOpeningBracketLocation(), 9);
    pressReturn();
    EXPECT_EQ(shown(), "{\n  \"a\": {\n    |\n  }\n}");
    EXPECT_FALSE(controller->lastTypedOpeningBracketLocation().has_value());
    EXPECT_FALSE(controller->isProcessingIndent());

    view->undo();
    EXPECT_EQ(view->viewText(), "{\n  \"a\": {\n}");
    view->undo();
    EXPECT_EQ(view->viewText(), "{\n  \"a\": \n}");
}

TEST_F(AutoIndentEditing, aMovedCaretForgetsTheTypedBrace)
{
    load("{\n  \"a\": |\n}", DocumentLanguage::json);
    type("{");
    view->setSelectedRange(TextRange{0, 0});
    view->setSelectedRange(TextRange{10, 0});
    pressReturn();
    EXPECT_EQ(shown(), "{\n  \"a\": {\n    |\n}");
}

TEST_F(AutoIndentEditing, closingBracketMovesToItsOpenersIndentOnABlankLine)
{
    struct Row {
        const char* name;
        const char* marked;
        const char* typed;
        DocumentLanguage language;
        const char* expected;
    };
    const Row rows[] = {
        {"eight_spaces_become_two", "  \"a\": {\n    \"b\": 1\n        |", "}", DocumentLanguage::json,
         "  \"a\": {\n    \"b\": 1\n  }|"},
        {"bracket_skips_strings", "  [\"]\", \"{\"\n      |", "]", DocumentLanguage::json, "  [\"]\", \"{\"\n  ]|"},
        {"after_other_text_typed_as_is", "  \"a\": {\n    \"b\": 1 |", "}", DocumentLanguage::json,
         "  \"a\": {\n    \"b\": 1 }|"},
        {"no_opener_typed_as_is", "    |", "}", DocumentLanguage::json, "    }|"},
        {"unknown_language_typed_as_is", "  {\n        |", "}", DocumentLanguage::unknown, "  {\n        }|"},
        {"yaml_typed_as_is", "a: {\n      |", "}", DocumentLanguage::yaml, "a: {\n      }|"},
        {"over_a_selection_is_ordinary_typing", "  {\n⟦    ⟧", "}", DocumentLanguage::json, "  {\n}|"},
    };
    for (const Row& row : rows) {
        load(row.marked, row.language);
        type(row.typed);
        EXPECT_EQ(shown(), row.expected) << row.name;
    }
}

TEST_F(AutoIndentEditing, returnOverASelectionReplacesItThenIndents)
{
    load("paths:⟦ junk\n  more⟧", DocumentLanguage::yaml);
    pressReturn();
    EXPECT_EQ(shown(), "paths:\n  |");
    view->undo();
    EXPECT_EQ(view->viewText(), "paths: junk\n  more");

    load("{\n  \"a\": 1,⟦ \"b\": 2⟧\n}", DocumentLanguage::json);
    pressReturn();
    EXPECT_EQ(shown(), "{\n  \"a\": 1,\n  |\n}");
}

TEST_F(AutoIndentEditing, unknownLanguageLeavesReturnToTheView)
{
    load("  key:|", DocumentLanguage::unknown);
    pressReturn();
    EXPECT_EQ(shown(), "  key:\n|");

    const std::pair<const char*, DocumentLanguage> urls[] = {{"file:///a/b.YML", DocumentLanguage::yaml},
                                                             {"file:///a/b.json", DocumentLanguage::json},
                                                             {"file:///a/b.txt", DocumentLanguage::unknown}};
    for (const auto& [url, language] : urls) {
        controller->setLanguageFromURL(QUrl(url));
        EXPECT_EQ(controller->language(), language) << url;
    }
}

TEST_F(AutoIndentEditing, styleComesFromTheTextElseThePreferences)
{
    load("a:\n    b:\n        c: 1\n    d:\n        e: 2\n    f:|", DocumentLanguage::yaml);
    EXPECT_EQ(controller->detectedStyle(), IndentationStyle::spaces(4));
    pressReturn();
    EXPECT_EQ(shown(), "a:\n    b:\n        c: 1\n    d:\n        e: 2\n    f:\n        |");
    load("x:|", DocumentLanguage::yaml);
    EXPECT_EQ(controller->detectedStyle(), IndentationStyle::spaces(2));
    controller->setIndentationStyle(IndentationStyle::tabs());
    pressReturn();
    EXPECT_EQ(shown(), "x:\n\t|");
}

} // namespace
