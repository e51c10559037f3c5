#include "tests/Carvex/TextView/EditorViewTestSupport.h"

#include "Carvex/Text/LineEndingStyle.h"
#include "Carvex/Validation/DecorationStyle.h"
#include "Carvex/Validation/OpenAPIValidationService.h"
#include "Carvex/Validation/ValidationDecorationController.h"

#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextLayout>

#include <string>

using namespace Carvex;
using CarvexTest::EditorViewTest;

namespace {

SourceLocation at(std::int64_t line, std::int64_t column) {
    return SourceLocation{QString(), line, column, std::nullopt};
}

CarvexValidationError finding(std::int64_t line, std::int64_t column,
                              std::optional<SourceLocation> end = std::nullopt,
                              CarvexValidationSeverity severity = CarvexValidationSeverity::error) {
    CarvexValidationError error;
    error.id = QUuid::createUuid();
    error.message = QStringLiteral("[TST-001] finding");
    error.sourceLocation = at(line, column);
    error.endLocation = std::move(end);
    error.severity = severity;
    return error;
}

// MARK: Ranges

struct RangeRow {
    const char* name;
    const char* text;
    std::int64_t line;
    std::int64_t column;
    std::optional<std::pair<std::int64_t, std::int64_t>> end;
    const char* marked;  // nullptr: no range
};

class ValidationRangeTest : public ::testing::TestWithParam<RangeRow> {};

TEST_P(ValidationRangeTest, Converts) {
    const RangeRow& row = GetParam();
    const QString text = QString::fromUtf8(row.text);
    ValidationRangeConverter converter;
    converter.buildCache(text);
    std::optional<SourceLocation> end;
    if (row.end) {
        end = at(row.end->first, row.end->second);
    }
    const auto range = converter.convertToNSRange(at(row.line, row.column), end, text);
    if (row.marked == nullptr) {
        EXPECT_FALSE(range.has_value());
        return;
    }
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(text.mid(range->location, range->length), QString::fromUtf8(row.marked));
}

INSTANTIATE_TEST_SUITE_P(
    Placement, ValidationRangeTest,
    ::testing::Values(
        RangeRow{"start_to_end", "0123456789abcdefghij", 1, 11, std::make_pair(1, 16), "abcde"},
        RangeRow{"end_before_start_marks_token", "0123456789abcde fgh", 1, 11, std::make_pair(1, 9), "abcde"},
        RangeRow{"space_is_no_token", "a\nb\n  key: x\n", 3, 1, std::nullopt, " "},
        RangeRow{"slash_and_letters_to_line_end", "1\n2\n3\nref:  /paths\nnext", 4, 7, std::nullopt, "/paths"},
        RangeRow{"token_characters", "x: $ref-a.b/c_d:e", 1, 4, std::nullopt, "$ref-a.b/c_d"},
        RangeRow{"line_past_last", "a\nb", 3, 1, std::nullopt, nullptr},
        RangeRow{"line_zero", "a\nb", 0, 1, std::nullopt, nullptr},
        RangeRow{"at_text_end", "ab", 1, 3, std::nullopt, nullptr},
        RangeRow{"column_past_line_marks_its_break", "ab\ncd", 1, 7, std::nullopt, "\n"},
        RangeRow{"end_on_a_later_line", "k:\n  a: 1\n  b: 2\nz", 2, 3, std::make_pair(3, 7), "a: 1\n  b: 2"},
        RangeRow{"end_past_text_is_clamped", "key: value", 1, 6, std::make_pair(9, 1), "value"},
        RangeRow{"emoji_before_on_the_line", "t: \xF0\x9F\x98\x80\xF0\x9F\x98\x80 word", 1, 7, std::nullopt, "word"},
        RangeRow{"combining_marks_in_token", "x e\xCC\x81t\xC3\xA9 y", 1, 3, std::nullopt, "e\xCC\x81t\xC3\xA9"},
        RangeRow{"token_stops_at_emoji", "ab\xF0\x9F\x98\x80", 1, 1, std::nullopt, "ab"},
        RangeRow{"no_token_marks_the_whole_character", "x \xF0\x9F\x98\x80 y", 1, 3, std::nullopt, "\xF0\x9F\x98\x80"},
        RangeRow{"no_token_marks_letter_and_marks", "(\xCC\x81\xCC\x81)", 1, 1, std::nullopt, "(\xCC\x81\xCC\x81"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValidationRangeConverterTest, SingleLocationsAndTokenLengths) {
    const QString text = QStringLiteral("abc def\nxyz");
    ValidationRangeConverter converter;
    EXPECT_EQ(converter.cachedLineCount(), 0);
    // Converting for a text without a cache builds it.
    EXPECT_EQ(converter.convertToNSRange(at(1, 5), text, true), (TextRange{4, 3}));
    EXPECT_EQ(converter.cachedLineCount(), 2);
    EXPECT_EQ(converter.convertToNSRange(at(1, 5), text, false), (TextRange{4, 1}));
    EXPECT_EQ(converter.convertToNSRange(at(2, 2), text, true), (TextRange{9, 2}));
    converter.invalidateCache();
    EXPECT_EQ(converter.cachedLineCount(), 0);
    struct Row {
        qsizetype index;
        qsizetype length;
    };
    for (const Row& row : {Row{0, 3}, Row{3, 1}, Row{8, 3}, Row{11, 1}, Row{99, 1}, Row{-1, 1}}) {
        EXPECT_EQ(ValidationRangeConverter::tokenLength(text, row.index), row.length) << row.index;
    }
}

TEST(ValidationDecorationTest, TooltipText) {
    ValidationDecoration decoration;
    decoration.error.message = QStringLiteral("[SCH-011] Needs items");
    EXPECT_EQ(decoration.tooltipText(), QStringLiteral("[SCH-011] Needs items"));
    decoration.error.sourceLocation = SourceLocation{QString(), 12, 5, 200};
    decoration.error.description = QString();
    EXPECT_EQ(decoration.tooltipText(), QStringLiteral("[SCH-011] Needs items (12:5)"));
    decoration.error.description = QStringLiteral("Add an items schema.");
    EXPECT_EQ(decoration.tooltipText(),
              QStringLiteral("[SCH-011] Needs items (12:5)\n\nAdd an items schema."));
    EXPECT_EQ(DecorationStyle::error().underlineStyle, 0x102);
    EXPECT_EQ(DecorationStyle::warning().underlineColor,
              CarvexPlatform::DynamicColor(CarvexPlatform::SystemColor::systemOrange));
    EXPECT_FALSE(DecorationStyle::error().backgroundColor.has_value());
}

// MARK: Marks in a text view

class DecorationViewTest : public EditorViewTest {
protected:
    void SetUp() override {
        EditorViewTest::SetUp();
        controller = std::make_unique<ValidationDecorationController>(view.get());
        QObject::connect(view.get(), &EditorTextView::textDidChange,
                         [this](TextChange change) { controller->updateForEdit(change); });
    }
    void TearDown() override {
        controller.reset();
        EditorViewTest::TearDown();
    }
    QString markedText(const ValidationDecoration& decoration) const {
        return view->viewText().mid(decoration.range.location, decoration.range.length);
    }
    // The renderer's marks as (location, length) pairs, in order.
    std::vector<TextRange> drawnRanges() const {
        std::vector<TextRange> ranges;
        for (const auto& mark : controller->renderer()->marks()) {
            ranges.push_back(mark.range);
        }
        return ranges;
    }

    std::unique_ptr<ValidationDecorationController> controller;
};

struct ParsedRow {
    const char* name;
    const char* file;    // the file's text (the view shows it with line feeds only)
    const char* marked;  // what the first finding marks
};

class DecorationFromParserTest : public DecorationViewTest,
                                 public ::testing::WithParamInterface<ParsedRow> {};

TEST_P(DecorationFromParserTest, FindingsLandOnTheirText) {
    const QString file = QString::fromUtf8(GetParam().file);
    view->loadText(file);
    const auto result = OpenAPIValidationService().validateNow(file);
    const auto findings = result.findings();
    ASSERT_FALSE(findings.empty()) << result.description().toStdString();
    controller->apply(findings);
    ASSERT_EQ(controller->decorationCount(), 1);
    EXPECT_EQ(markedText(controller->decorations().front()), QString::fromUtf8(GetParam().marked));
}

INSTANTIATE_TEST_SUITE_P(
    Clusters, DecorationFromParserTest,
    ::testing::Values(
        ParsedRow{"json_after_emoji_and_combining_mark",
                  "{\"openapi\": \"3.0.3\", \"info\": {\"title\": \"\xF0\x9F\x98\x80"
                  "e\xCC\x81\", \"version\": \"1\", \"contact\": {\"email\": \"nope\"}}, \"paths\": {}}",
                  "{\"email\": \"nope\"}"},
        ParsedRow{"yaml_after_emoji_and_combining_mark",
                  "openapi: 3.0.3\ninfo: {title: \"\xF0\x9F\x98\x80" "e\xCC\x81\", version: \"1\", contact: "
                  "{email: nope}}\npaths: {}\n",
                  "{email: nope}"},
        ParsedRow{"yaml_crlf_and_emoji_lines",
                  "openapi: 3.0.3\r\ninfo:\r\n  title: \xF0\x9F\x98\x80\xF0\x9F\x98\x80\r\n  version: \"1\"\r\n"
                  "  contact: {email: \xC3\xA9\xF0\x9F\x98\x80}\r\npaths: {}\r\n",
                  "{email: \xC3\xA9\xF0\x9F\x98\x80}"},
        ParsedRow{"json_crlf",
                  "{\r\n  \"openapi\": \"3.0.3\",\r\n  \"info\": {\"title\": \"\xF0\x9F\x98\x80\", \"version\": "
                  "\"1\", \"contact\": {\"email\": \"x\"}},\r\n  \"paths\": {}\r\n}\r\n",
                  "{\"email\": \"x\"}"},
        ParsedRow{"json_syntax_error_after_emoji",
                  "{\"openapi\": \"3.0.3\", \"info\": {\"title\": \"\xF0\x9F\x98\x80\", \"version\": \"1\"} "
                  "\"paths\": {}}",
                  "\"paths\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DecorationViewTest, ApplyMarksWithoutTouchingTheDocument) {
    view->loadText(QStringLiteral("openapi: 3.0.3\ninfo:\n  title: T\n"));
    QSignalSpy changes(view.get(), &EditorTextView::textDidChange);
    CarvexValidationError unplaced = finding(1, 1);
    unplaced.sourceLocation.reset();
    controller->apply({finding(2, 1), unplaced, finding(9, 1), finding(3, 3, std::nullopt,
                                                                    CarvexValidationSeverity::warning)});
    ASSERT_EQ(controller->decorationCount(), 2);
    EXPECT_TRUE(controller->hasDecorations());
    EXPECT_EQ(markedText(controller->decorations()[0]), QStringLiteral("info"));
    EXPECT_EQ(markedText(controller->decorations()[1]), QStringLiteral("title"));
    EXPECT_EQ(controller->renderer()->marks()[1].severity, CarvexValidationSeverity::warning);
    EXPECT_EQ(controller->renderer()->marks()[0].id, controller->decorations()[0].id);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_FALSE(view->document()->isModified());
    EXPECT_FALSE(view->document()->isUndoAvailable());
    EXPECT_EQ(controller->rangeConverter().cachedLineCount(), 4);

    controller->apply({});
    EXPECT_FALSE(controller->hasDecorations());
    EXPECT_TRUE(controller->renderer()->marks().empty());
    EXPECT_EQ(controller->rangeConverter().cachedLineCount(), 0);
}

TEST_F(DecorationViewTest, LookupByIndexAndPoint) {
    view->loadText(QStringLiteral("0123456789abcdefghij\nsecond"));
    controller->apply({finding(1, 11, at(1, 16)), finding(1, 13, at(1, 19))});
    struct Row {
        qsizetype index;
        int decoration;  // -1: none
    };
    for (const Row& row : {Row{9, -1}, Row{10, 0}, Row{12, 0}, Row{14, 0}, Row{15, 1}, Row{17, 1},
                           Row{18, -1}, Row{-1, -1}, Row{500, -1}}) {
        const ValidationDecoration* found = controller->decoration(row.index);
        if (row.decoration < 0) {
            EXPECT_EQ(found, nullptr) << row.index;
        } else {
            ASSERT_NE(found, nullptr) << row.index;
            EXPECT_EQ(found->id, controller->decorations()[static_cast<std::size_t>(row.decoration)].id);
        }
    }
    QTextCursor cursor(view->document());
    cursor.setPosition(11);
    const QPoint inside = view->cursorRect(cursor).center() + QPoint(2, 0);
    ASSERT_NE(controller->decoration(inside), nullptr);
    EXPECT_EQ(controller->decoration(inside)->id, controller->decorations()[0].id);
    cursor.setPosition(24);
    EXPECT_EQ(controller->decoration(view->cursorRect(cursor).center()), nullptr);
    ValidationDecorationController detached(nullptr);
    detached.apply({finding(1, 1)});
    EXPECT_EQ(detached.renderer(), nullptr);
    EXPECT_FALSE(detached.hasDecorations());
    EXPECT_EQ(detached.decoration(QPoint(1, 1)), nullptr);
}

struct EditRow {
    const char* name;
    qsizetype location;  // the edit replaces (location, length) by `replacement`
    qsizetype length;
    const char* replacement;
    std::optional<qsizetype> markAt;  // where the mark on "abcde" (10..15) is afterwards
};

class DecorationEditTest : public DecorationViewTest, public ::testing::WithParamInterface<EditRow> {};

TEST_P(DecorationEditTest, EditsMoveOrDropTheMark) {
    const EditRow& row = GetParam();
    view->loadText(QStringLiteral("0123456789abcde fghij klmno"));
    controller->apply({finding(1, 11, at(1, 16))});
    ASSERT_EQ(controller->decorationCount(), 1);
    ASSERT_TRUE(view->replaceCharacters(TextRange{row.location, row.length},
                                        QString::fromUtf8(row.replacement), false));
    if (!row.markAt) {
        EXPECT_FALSE(controller->hasDecorations());
        EXPECT_TRUE(drawnRanges().empty());
        return;
    }
    ASSERT_EQ(controller->decorationCount(), 1);
    EXPECT_EQ(controller->decorations()[0].range, (TextRange{*row.markAt, 5}));
    EXPECT_EQ(markedText(controller->decorations()[0]), QStringLiteral("abcde"));
    EXPECT_EQ(drawnRanges(), (std::vector<TextRange>{{*row.markAt, 5}}));
}

// The same edit made before the marks are handed over (placed in the text as it was before it):
// they end where live marks would.
TEST_P(DecorationEditTest, MarksHandedOverAfterTheEditFollowItAlike) {
    const EditRow& row = GetParam();
    const QString before = QStringLiteral("0123456789abcde fghij klmno");
    view->loadText(before);
    std::vector<TextChange> edits;
    QObject::connect(view.get(), &EditorTextView::textDidChange, [&edits](TextChange change) { edits.push_back(change); });
    ASSERT_TRUE(view->replaceCharacters(TextRange{row.location, row.length},
                                        QString::fromUtf8(row.replacement), false));
    ValidationRangeConverter converter;
    auto placed = ValidationDecorationController::place(finding(1, 11, at(1, 16)), converter, before);
    ASSERT_TRUE(placed.has_value());
    controller->setDecorations({*placed}, edits);
    if (!row.markAt) {
        EXPECT_FALSE(controller->hasDecorations());
        return;
    }
    ASSERT_EQ(controller->decorationCount(), 1);
    EXPECT_EQ(markedText(controller->decorations()[0]), QStringLiteral("abcde"));
    EXPECT_EQ(drawnRanges(), (std::vector<TextRange>{{*row.markAt, 5}}));
}

INSTANTIATE_TEST_SUITE_P(
    Edits, DecorationEditTest,
    ::testing::Values(
        EditRow{"typing_before_moves", 2, 0, "xyz", 13},
        EditRow{"emoji_before_moves_by_two_units", 2, 0, "\xF0\x9F\x98\x80", 12},
        EditRow{"deleting_before_moves", 2, 3, "", 7},
        EditRow{"deleting_up_to_the_mark_moves", 5, 5, "", 5},
        EditRow{"typing_at_its_start_drops", 10, 0, "x", std::nullopt},
        EditRow{"typing_inside_drops", 12, 0, "x", std::nullopt},
        EditRow{"typing_at_its_end_drops", 15, 0, "x", std::nullopt},
        EditRow{"replacing_across_drops", 8, 4, "y", std::nullopt},
        EditRow{"replacing_it_exactly_drops", 10, 5, "abcde", std::nullopt},
        EditRow{"typing_after_keeps", 16, 0, "x", 10},
        EditRow{"deleting_after_keeps", 17, 6, "", 10}),
    [](const auto& info) { return std::string(info.param.name); });

// Several edits in a row, over marks on every line: handing the marks over afterwards with the
// edits gives the marks that followed the edits live.
TEST_F(DecorationViewTest, MarksHandedOverAfterSeveralEditsMatchLiveOnes) {
    const QString before = QStringLiteral("alpha: 1\nbeta: 2\ngamma: 3\ndelta: 4\nepsilon: 5\n");
    std::vector<CarvexValidationError> findings;
    for (int line = 1; line <= 5; ++line) {
        findings.push_back(finding(line, 1));
    }
    struct Edit {
        qsizetype location;
        qsizetype length;
        const char* replacement;
    };
    const Edit edits[] = {{0, 0, "# top\n"}, {20, 3, ""}, {9, 0, "zz"}, {30, 6, "x\ny\n"}};
    view->loadText(before);
    controller->apply(findings);
    std::vector<TextChange> changes;
    QObject::connect(view.get(), &EditorTextView::textDidChange, [&changes](TextChange change) { changes.push_back(change); });
    for (const Edit& edit : edits) {
        ASSERT_TRUE(view->replaceCharacters(TextRange{edit.location, edit.length}, QString::fromUtf8(edit.replacement), false));
    }
    const std::vector<ValidationDecoration> live = controller->decorations();
    ASSERT_FALSE(live.empty());
    ASSERT_LT(live.size(), findings.size()) << "some edit should have dropped a mark";

    ValidationRangeConverter converter;
    std::vector<ValidationDecoration> placed;
    for (const auto& error : findings) {
        placed.push_back(*ValidationDecorationController::place(error, converter, before));
    }
    controller->setDecorations(placed, changes);
    EXPECT_EQ(controller->decorations(), live);
}

TEST_F(DecorationViewTest, RemovingAMarkRemovesExactlyItsUnderline) {
    view->loadText(QStringLiteral("0123456789abcde fghij klmno"));
    const auto first = finding(1, 11, at(1, 16));   // "abcde"
    const auto second = finding(1, 17, at(1, 22));  // "fghij"
    controller->apply({first, second});
    // Deleting "abcde " drops the first mark and moves the second onto the first one's old place:
    // the second keeps its underline.
    ASSERT_TRUE(view->replaceCharacters(TextRange{10, 6}, QString(), false));
    ASSERT_EQ(controller->decorationCount(), 1);
    EXPECT_EQ(controller->decorations()[0].id, second.id);
    EXPECT_EQ(drawnRanges(), (std::vector<TextRange>{{10, 5}}));
    EXPECT_EQ(markedText(controller->decorations()[0]), QStringLiteral("fghij"));

    // A mark pushed out of the text leaves no underline behind.
    controller->apply({second});
    controller->updateForEdit(TextRange{0, 0}, 40);
    EXPECT_FALSE(controller->hasDecorations());
    EXPECT_TRUE(drawnRanges().empty());
    // A delta that would move a later mark before the text's start drops it.
    view->loadText(QStringLiteral("0123456789abcde fghij klmno"));
    controller->apply({second});
    controller->updateForEdit(TextRange{2, 0}, -30);
    EXPECT_FALSE(controller->hasDecorations());
    EXPECT_EQ(controller->rangeConverter().cachedLineCount(), 0);
}

// Counts the pixels of the mark colour in a row band below a character range.
int colouredPixels(const QImage& image, const QRect& band, const QColor& colour) {
    int count = 0;
    for (int y = std::max(0, band.top()); y <= std::min(image.height() - 1, band.bottom()); ++y) {
        for (int x = std::max(0, band.left()); x <= std::min(image.width() - 1, band.right()); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) < 24 && std::abs(pixel.green() - colour.green()) < 24 &&
                std::abs(pixel.blue() - colour.blue()) < 24) {
                ++count;
            }
        }
    }
    return count;
}

TEST_F(DecorationViewTest, UnderlinesAreDrawnInTheSeverityColourOnlyUnderTheirText) {
    view->setHighlightCurrentLine(false);
    view->setShowIndentGuides(false);
    view->loadText(QStringLiteral("first second third\nnext line"));
    controller->apply({finding(1, 7, at(1, 13)),
                       finding(2, 1, at(2, 5), CarvexValidationSeverity::warning)});
    const QImage image = view->viewport()->grab().toImage();
    QTextCursor cursor(view->document());
    cursor.setPosition(6);
    const QRect start = view->cursorRect(cursor);
    cursor.setPosition(12);
    const QRect end = view->cursorRect(cursor);
    const QRect under(start.left(), start.top(), end.left() - start.left(), start.height() + 4);
    const QColor red = DecorationStyle::error().underlineColor.resolved();
    const QColor orange = DecorationStyle::warning().underlineColor.resolved();
    EXPECT_GT(colouredPixels(image, under, red), 4);
    EXPECT_EQ(colouredPixels(image, under, orange), 0);
    // Nothing under "first".
    cursor.setPosition(0);
    const QRect firstWord(view->cursorRect(cursor).left(), start.top(), start.left() - 2 - view->cursorRect(cursor).left(),
                          start.height() + 4);
    EXPECT_EQ(colouredPixels(image, firstWord, red), 0);
    cursor.setPosition(19);
    const QRect next = view->cursorRect(cursor);
    EXPECT_GT(colouredPixels(image, QRect(next.left(), next.top(), 30, next.height() + 4), orange), 4);
    EXPECT_EQ(controller->renderer()->paintedMarkCount(), 2);
}

TEST_F(DecorationViewTest, PaintingVisitsOnlyTheMarksOnScreen) {
    QString text;
    for (int i = 0; i < 5000; ++i) {
        text += QStringLiteral("key%1: value\n").arg(i);
    }
    view->loadText(text);
    std::vector<CarvexValidationError> errors;
    for (int line = 1; line <= 5000; ++line) {
        errors.push_back(finding(line, 1));
    }
    controller->apply(errors);
    ASSERT_EQ(controller->decorationCount(), 5000);
    paint();
    EXPECT_GT(controller->renderer()->paintedMarkCount(), 0);
    EXPECT_LT(controller->renderer()->paintedMarkCount(), 100);
}

// A minified description is one line that wraps into thousands on screen: painting looks only at
// the wrapped lines in view, at the top and after a scroll to the end.
TEST_F(DecorationViewTest, PaintingALongWrappedLineVisitsOnlyTheMarksOnScreen) {
    QString text;
    for (int i = 0; i < 5000; ++i) {
        text += QStringLiteral("\"key%1\": 1, ").arg(i, 4, 10, QLatin1Char('0'));
    }
    view->loadText(text);
    std::vector<CarvexValidationError> errors;
    for (int i = 0; i < 5000; ++i) {
        errors.push_back(finding(1, 1 + i * 14, at(1, 10 + i * 14)));  // each "keyNNNN"
    }
    controller->apply(errors);
    ASSERT_EQ(controller->decorationCount(), 5000);
    ASSERT_GT(view->document()->firstBlock().layout()->lineCount(), 100);
    paint();
    EXPECT_GT(controller->renderer()->paintedMarkCount(), 0);
    EXPECT_LT(controller->renderer()->paintedMarkCount(), 500);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    paint();
    EXPECT_GT(controller->renderer()->paintedMarkCount(), 0);
    EXPECT_LT(controller->renderer()->paintedMarkCount(), 500);
}

}  // namespace
