#include "tests/Carvex/TextView/EditorViewTestSupport.h"

#include "Carvex/TextView/NSTextViewHighlighterAdapter.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/TextView/TextFormatLayer.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <functional>
#include <random>

using namespace Carvex;
using CarvexTest::EditorViewTest;
using LayerRun = SyntaxColorLayer::Run;
using T = SyntaxTokenType;

namespace {

SyntaxToken token(T type, qsizetype location, qsizetype length) {
    return SyntaxToken{type, TextRange{location, length}, nullptr};
}

}  // namespace

class SyntaxColorLayerTest : public EditorViewTest {
protected:
    SyntaxColorLayer& layer() { return view->colorLayer(); }
    // Replaces `removed` units at `at` with `added` in the view, and the same in `model`, the kind
    // of each unit: inserted text takes the kind of the character before it.
    void replaceInBoth(std::vector<int>& model, int at, int removed, int added) {
        view->replaceCharacters(TextRange{at, removed}, QString(added, u'y'));
        const int before = at > 0 ? model[static_cast<std::size_t>(at - 1)] : -1;
        model.erase(model.begin() + at, model.begin() + at + removed);
        model.insert(model.begin() + at, static_cast<std::size_t>(added), before);
    }
};

TEST_F(SyntaxColorLayerTest, ApplyClipsToTheTextKeepsColoursOutsideTheRangeAndLaterTokensWin) {
    view->loadText("0123456789");
    layer().apply({token(T::key, 2, 3), token(T::string, 8, 5), token(T::number, 20, 2)}, TextRange{4, 2});
    EXPECT_EQ(layer().runs(), (std::vector<LayerRun>{{2, 3, T::key}, {8, 2, T::string}}));  // not clipped to the range
    layer().apply({token(T::key, 0, 4), token(T::string, 6, 4)}, TextRange{0, 10});
    layer().apply({token(T::number, 3, 1)}, TextRange{2, 5});
    EXPECT_EQ(layer().runs(), (std::vector<LayerRun>{{0, 2, T::key}, {3, 1, T::number}, {7, 3, T::string}}));
    layer().apply({token(T::key, 0, 6), token(T::string, 4, 4)}, TextRange{0, 10});
    EXPECT_EQ(layer().runs(), (std::vector<LayerRun>{{0, 4, T::key}, {4, 4, T::string}}));
    layer().clear(TextRange{0, 10});
    EXPECT_TRUE(layer().runs().empty());
}

namespace {

struct ShiftRow {
    const char* name;
    qsizetype location;
    qsizetype removed;
    const char* inserted;
    std::vector<LayerRun> expected;
};

class SyntaxColorLayerShiftTest : public SyntaxColorLayerTest,
                                  public ::testing::WithParamInterface<ShiftRow> {};

TEST_P(SyntaxColorLayerShiftTest, RunsMoveLikeCharacterAttributes) {
    view->loadText("aaaa bbbb cccc");
    layer().apply({token(T::key, 0, 4), token(T::string, 5, 4), token(T::number, 10, 4)},
                  TextRange{0, 14});
    const auto& row = GetParam();
    view->replaceCharacters(TextRange{row.location, row.removed}, QString::fromUtf8(row.inserted));
    EXPECT_EQ(layer().runs(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, SyntaxColorLayerShiftTest,
    ::testing::Values(
        ShiftRow{"typing_after_a_run_extends_it", 4, 0, "x",
                 {{0, 5, T::key}, {6, 4, T::string}, {11, 4, T::number}}},
        ShiftRow{"typing_inside_a_run_grows_it", 6, 0, "xy",
                 {{0, 4, T::key}, {5, 6, T::string}, {12, 4, T::number}}},
        ShiftRow{"typing_before_a_run_shifts_it", 5, 0, "x",
                 {{0, 4, T::key}, {6, 4, T::string}, {11, 4, T::number}}},
        ShiftRow{"deleting_a_whole_run_drops_it", 4, 6, "",
                 {{0, 4, T::key}, {4, 4, T::number}}},
        ShiftRow{"deleting_across_runs_clips_them", 2, 5, "",
                 {{0, 2, T::key}, {2, 2, T::string}, {5, 4, T::number}}},
        ShiftRow{"replacing_takes_the_kind_before", 5, 4, "zz",
                 {{0, 4, T::key}, {8, 4, T::number}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

TEST_F(SyntaxColorLayerTest, ColouringTouchesNeitherUndoNorModifiedNorTextChanged) {
    view->loadText("key: value\nother: 1\n");
    view->setSelectedRange(TextRange{0, 0});
    QSignalSpy plainChanged(view.get(), &QPlainTextEdit::textChanged);
    QSignalSpy contentsChange(view->document(), &QTextDocument::contentsChange);
    QSignalSpy ours(view.get(), &EditorTextView::textDidChange);
    NSTextViewHighlighterAdapter adapter(view.get());
    adapter.apply({token(T::key, 0, 3), token(T::string, 5, 5), token(T::number, 18, 1)},
                  SyntaxTheme::lightDefault());
    paint();  // the formats reach the layouts of the blocks on screen
    const QTextBlock first = view->document()->firstBlock();
    ASSERT_FALSE(first.layout()->formats().isEmpty());
    EXPECT_EQ(first.layout()->formats()[0].format.foreground().color(),
              SyntaxTheme::lightDefault().attributes(T::key).foreground().color());
    adapter.clearHighlighting(SyntaxTheme::lightDefault());
    paint();
    EXPECT_TRUE(first.layout()->formats().isEmpty());
    EXPECT_EQ(plainChanged.count(), 0);
    EXPECT_EQ(contentsChange.count(), 0);
    EXPECT_EQ(ours.count(), 0);
    EXPECT_FALSE(view->document()->isModified());
    EXPECT_FALSE(view->document()->isUndoAvailable());
}

TEST_F(SyntaxColorLayerTest, colouring_before_an_edit_does_not_widen_the_reported_change) {
    // Formats set on a layout used to leave a pending document change that the next edit
    // reported as a change of the whole text.
    view->loadText("key: value\nother: 1\nthird: 3\n");
    layer().apply({token(T::key, 0, 3), token(T::key, 11, 5), token(T::key, 20, 5)},
                  TextRange{0, view->textLength()});
    paint();
    QSignalSpy contentsChange(view->document(), &QTextDocument::contentsChange);
    view->replaceCharacters(TextRange{12, 0}, "x");
    ASSERT_EQ(contentsChange.count(), 1);
    EXPECT_EQ(contentsChange[0], (QList<QVariant>{12, 0, 1}));  // position, removed, added
    ASSERT_EQ(delegate.changes.size(), 1u);
    EXPECT_EQ(delegate.changes[0], (TextChange{TextRange{12, 1}, 1}));
}

TEST_F(SyntaxColorLayerTest, EditedBlockGetsShiftedFormatsBeforeTheNextPaint) {
    view->loadText("key: value\n");
    layer().apply({token(T::key, 0, 3), token(T::string, 5, 5)}, TextRange{0, 11});
    paint();
    view->replaceCharacters(TextRange{0, 0}, "  ");
    paint();
    const auto formats = view->document()->firstBlock().layout()->formats();
    ASSERT_EQ(formats.size(), 2);
    EXPECT_EQ(formats[0].start, 2);
    EXPECT_EQ(formats[1].start, 7);
    EXPECT_EQ(layer().typeAt(2), T::key);
    EXPECT_EQ(layer().typeAt(0), std::nullopt);
}

TEST_F(SyntaxColorLayerTest, UnknownKindsAndGapsPaintTheDefaultColour) {
    view->loadText("abc def");
    const SyntaxTheme& theme = SyntaxTheme::darkDefault();
    layer().setTheme(theme);
    layer().apply({token(T::unknown, 0, 3), token(T::string, 4, 3)}, TextRange{0, 7});
    EXPECT_EQ(layer().colorAt(0), theme.defaultAttributes().foreground().color());
    EXPECT_EQ(layer().colorAt(3), theme.defaultAttributes().foreground().color());
    EXPECT_EQ(layer().colorAt(5), theme.attributes(T::string).foreground().color());
    paint();
    const auto formats = view->document()->firstBlock().layout()->formats();
    ASSERT_EQ(formats.size(), 1);  // the unknown token needs no format of its own
    EXPECT_EQ(formats[0].start, 4);
}

// The runs must always equal a plain per-character model of "clear the range, then paint each
// token in order", whatever the mix of ranges, overlaps and edits.
TEST_F(SyntaxColorLayerTest, RandomApplicationsAndEditsMatchAPerCharacterModel) {
    std::mt19937 random(12345);
    QString text(400, u'x');
    view->loadText(text);
    std::vector<int> model(static_cast<std::size_t>(text.size()), -1);
    auto check = [&](int step) {
        std::vector<int> actual(model.size(), -1);
        for (const LayerRun& run : layer().runs()) {
            ASSERT_TRUE(0 <= run.start && run.start <= run.end() && run.end() <= static_cast<int>(actual.size()))
                << "step " << step;
            std::fill(actual.begin() + run.start, actual.begin() + run.end(), static_cast<int>(run.type));
        }
        ASSERT_EQ(actual, model) << "step " << step;
        for (std::size_t i = 1; i < layer().runs().size(); ++i) {
            ASSERT_LE(layer().runs()[i - 1].end(), layer().runs()[i].start) << "step " << step;
        }
    };
    for (int step = 0; step < 600; ++step) {
        const int length = static_cast<int>(model.size());
        if (random() % 3 != 0 || length == 0) {
            const int from = static_cast<int>(random() % static_cast<unsigned>(length + 1));
            const int span = static_cast<int>(random() % 60);
            std::vector<SyntaxToken> tokens;
            int at = std::max(0, from - static_cast<int>(random() % 20));
            const int count = static_cast<int>(random() % 6);
            for (int k = 0; k < count; ++k) {
                const int tokenLength = 1 + static_cast<int>(random() % 15);
                const auto type = static_cast<T>(random() % 9);
                tokens.push_back(token(type, at, tokenLength));
                at += tokenLength + static_cast<int>(random() % 5) - 1;  // may overlap by one
            }
            layer().apply(tokens, TextRange{from, span});
            std::fill(model.begin() + from, model.begin() + std::min(length, from + span), -1);
            for (const SyntaxToken& t : tokens) {
                const qsizetype first = std::clamp<qsizetype>(t.range.location, 0, length);
                const qsizetype last = std::clamp<qsizetype>(t.range.end(), first, length);
                std::fill(model.begin() + first, model.begin() + last, static_cast<int>(t.type));
            }
        } else {
            const int at = static_cast<int>(random() % static_cast<unsigned>(length + 1));
            const int removed = std::min(length - at, static_cast<int>(random() % 8));
            const int added = static_cast<int>(random() % 8);
            replaceInBoth(model, at, removed, added);
        }
        check(step);
        if (HasFatalFailure()) {
            return;
        }
    }
}

// Runs after an edit move lazily: the kinds read between edits (and the formats of the lines on
// screen) must be those of the moved runs, wherever the edits fall, before the runs are read whole.
TEST_F(SyntaxColorLayerTest, KindsReadBetweenEditsFollowEveryEditBeforeTheRunsAreReadWhole) {
    std::mt19937 random(777);
    QString text;
    for (int line = 0; line < 20; ++line) {
        text += QStringLiteral("key%1: value %1\n").arg(line);
    }
    view->loadText(text);
    std::vector<SyntaxToken> tokens;
    std::vector<int> model(static_cast<std::size_t>(text.size()), -1);
    for (int at = 0; at + 3 < text.size(); at += 5) {
        const auto type = static_cast<T>(at % 9);
        tokens.push_back(token(type, at, 3));
        std::fill(model.begin() + at, model.begin() + at + 3, static_cast<int>(type));
    }
    layer().apply(tokens, TextRange{0, text.size()});
    int caret = static_cast<int>(text.size() / 2);
    for (int step = 0; step < 400; ++step) {
        const int length = static_cast<int>(model.size());
        // Mostly typing and deleting near the last edit, now and then a jump elsewhere.
        const int at = random() % 10 == 0 ? static_cast<int>(random() % static_cast<unsigned>(length + 1))
                                          : std::clamp(caret + static_cast<int>(random() % 7) - 3, 0, length);
        const int removed = std::min(length - at, static_cast<int>(random() % 3));
        const int added = static_cast<int>(random() % 3);
        replaceInBoth(model, at, removed, added);
        caret = at + added;
        for (std::size_t i = 0; i < model.size(); ++i) {
            const std::optional<T> kind = layer().typeAt(static_cast<qsizetype>(i));
            ASSERT_EQ(kind ? static_cast<int>(*kind) : -1, model[i]) << "step " << step << " unit " << i;
        }
        if (step % 50 == 0) {
            view->viewport()->repaint();  // formats of the lines on screen, from the moved runs
            const QTextBlock block = view->document()->findBlock(caret);
            for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
                const int first = block.position() + range.start;
                const int kind = model[static_cast<std::size_t>(first)];
                ASSERT_NE(kind, -1) << "step " << step;
                for (int unit = first; unit < first + range.length; ++unit) {
                    ASSERT_EQ(model[static_cast<std::size_t>(unit)], kind) << "step " << step << " unit " << unit;
                }
            }
        }
    }
    std::vector<int> actual(model.size(), -1);
    for (const LayerRun& run : layer().runs()) {
        std::fill(actual.begin() + run.start, actual.begin() + run.end(), static_cast<int>(run.type));
    }
    EXPECT_EQ(actual, model);
}

TEST_F(SyntaxColorLayerTest, ALongLineCarriesFormatsOnlyAroundWhatIsOnScreen) {
    // One line of 200,000 units (minified JSON, say): a key and a string in every ten units.
    const QString text = QStringLiteral("\"k\":\"vvv\",").repeated(20000);
    view->loadText(text);
    view->finishLoading();
    std::vector<SyntaxToken> tokens;
    for (qsizetype at = 0; at < text.size(); at += 10) {
        tokens.push_back(token(T::key, at, 3));
        tokens.push_back(token(T::string, at + 4, 5));
    }
    layer().apply(tokens, TextRange{0, text.size()});
    // Another layer underlines one unit near the end.
    struct Underline : TextFormatLayer {
        int at = 0;
        void appendFormats(int blockStart, int blockEnd, QList<QTextLayout::FormatRange>& ranges) const override {
            QTextCharFormat underline;
            underline.setFontUnderline(true);
            if (blockStart <= at && at < blockEnd) {
                ranges.append(QTextLayout::FormatRange{at - blockStart, 1, underline});
            }
        }
    } underlines;
    underlines.at = static_cast<int>(text.size()) - 5;
    layer().addFormatLayer(&underlines);
    const QTextBlock block = view->document()->firstBlock();
    // Each format paints the colour of the run under it.
    const auto checkFormats = [&](const char* when) {
        const auto formats = block.layout()->formats();
        EXPECT_FALSE(formats.isEmpty()) << when;
        EXPECT_LT(formats.size(), static_cast<qsizetype>(tokens.size()) / 2) << when;
        for (const auto& range : formats) {
            if (range.format.fontUnderline()) {
                EXPECT_EQ(range.start, underlines.at) << when;
                continue;
            }
            EXPECT_EQ(range.format.foreground().color(), layer().colorAt(range.start)) << when << " at " << range.start;
            EXPECT_EQ(range.format.foreground().color(), layer().colorAt(range.start + range.length - 1)) << when;
        }
        return formats;
    };

    paint();
    EXPECT_LT(checkFormats("first paint").value(0).start, 10);

    // A key at the start moves the formats with the text before the block is laid out again.
    view->replaceCharacters(TextRange{0, 0}, QStringLiteral("x"));
    EXPECT_EQ(block.layout()->formats().value(0).start, 1);
    paint();
    checkFormats("after a key");

    // Scrolled to the end, the end is coloured.
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    paint();
    const auto atEnd = checkFormats("at the end");
    EXPECT_TRUE(std::any_of(atEnd.begin(), atEnd.end(), [](const auto& range) { return range.format.fontUnderline(); }));
    layer().removeFormatLayer(&underlines);
    EXPECT_GT(atEnd.value(atEnd.size() - 1).start, text.size() - 100);
}

namespace {

// What happens to a long line on screen between two paints, and whether the line must be laid
// out again for it (its colours on screen changed).
struct LongLineRow {
    const char* name;
    std::function<void(EditorTextView&, SyntaxColorLayer&, const std::vector<SyntaxToken>&)> change;
    bool laidOutAgain;
};

class SyntaxColorLayerLongLineTest : public SyntaxColorLayerTest,
                                     public ::testing::WithParamInterface<LongLineRow> {};

std::vector<SyntaxToken> keysAndStrings(qsizetype length) {
    std::vector<SyntaxToken> tokens;
    for (qsizetype at = 0; at < length; at += 10) {
        tokens.push_back(token(T::key, at, 3));
        tokens.push_back(token(T::string, at + 4, 5));
    }
    return tokens;
}

TEST_P(SyntaxColorLayerLongLineTest, ALongLineIsLaidOutAgainOnlyForNewColoursOnScreen) {
    const QString text = QStringLiteral("\"k\":\"vvv\",").repeated(20000);
    view->loadText(text);
    view->finishLoading();
    const std::vector<SyntaxToken> tokens = keysAndStrings(text.size());
    layer().apply(tokens, TextRange{0, text.size()});
    paint();
    const QTextBlock block = view->document()->firstBlock();
    GetParam().change(*view, layer(), tokens);
    (void)view->blockGeometry(block);  // the layout an edit itself needs
    // Laying the block out sets its text options again: a mark left in them tells whether it was.
    QTextOption marked = block.layout()->textOption();
    marked.setTabStopDistance(1234);
    block.layout()->setTextOption(marked);
    paint();
    EXPECT_EQ(block.layout()->textOption().tabStopDistance() != 1234, GetParam().laidOutAgain);
    EXPECT_FALSE(block.layout()->formats().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Changes, SyntaxColorLayerLongLineTest,
    ::testing::Values(
        LongLineRow{"a_pass_that_brings_the_same_colours",
                    [](EditorTextView& view, SyntaxColorLayer& layer, const std::vector<SyntaxToken>& tokens) {
                        layer.apply(tokens, TextRange{0, view.textLength()});
                    },
                    false},
        LongLineRow{"a_key_at_the_start_of_the_line",
                    [](EditorTextView& view, SyntaxColorLayer&, const std::vector<SyntaxToken>&) {
                        view.replaceCharacters(TextRange{0, 0}, QStringLiteral("x"));
                    },
                    false},
        LongLineRow{"new_colours_far_from_the_screen",
                    [](EditorTextView& view, SyntaxColorLayer& layer, const std::vector<SyntaxToken>&) {
                        layer.apply({token(T::number, view.textLength() - 8, 3)},
                                    TextRange{view.textLength() - 10, 10});
                    },
                    false},
        LongLineRow{"new_colours_on_screen",
                    [](EditorTextView&, SyntaxColorLayer& layer, const std::vector<SyntaxToken>&) {
                        layer.apply({token(T::number, 4, 5)}, TextRange{0, 10});
                    },
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// How a long line comes into a loading view, and whether its colours are still on their way then.
struct ComingLineRow {
    const char* name;
    QString before;  // the lines before it
    int repeats;     // of `"k":"vvv",`
    QString after;
    bool coloursOnTheirWay;
};

class SyntaxColorLayerComingLineTest : public SyntaxColorLayerTest,
                                       public ::testing::WithParamInterface<ComingLineRow> {};

TEST_P(SyntaxColorLayerComingLineTest, ALongLineIsLaidOutOnceWithItsColours) {
    // A line of megabytes takes seconds to lay out: laid out as it came in, then again for its
    // colours and again when the scroll bar narrowed it, it took three times that to open.
    const ComingLineRow& row = GetParam();
    const QString line = QStringLiteral("\"k\":\"vvv\",").repeated(row.repeats);
    const QString text = row.before + line + row.after;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    view->loadText(text);
    ASSERT_TRUE(view->isLoading());
    // A scroll bar that comes (or goes) once the line is in changes the width of its lines.
    struct ResizeCounter : QObject {
        int resizes = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            resizes += event->type() == QEvent::Resize ? 1 : 0;
            return false;
        }
    } counter;
    view->viewport()->installEventFilter(&counter);
    const auto colour = [&] {
        std::vector<SyntaxToken> tokens;
        for (qsizetype at = row.before.size(); at < row.before.size() + line.size(); at += 10) {
            tokens.push_back(token(T::key, at, 3));
        }
        layer().apply(tokens, TextRange{0, text.size()});
    };
    if (row.coloursOnTheirWay) {
        layer().awaitColours(view->textRevision());
        for (int turn = 0; turn < 3; ++turn) {
            fake->runOne();
        }
        EXPECT_LT(view->document()->characterCount(), line.size()) << "the line came in before its colours";
        layer().coloursArrived();
    }
    colour();
    fake->runPending();
    ASSERT_FALSE(view->isLoading());
    const QTextBlock block = view->document()->findBlock(static_cast<int>(row.before.size()));
    ASSERT_EQ(block.text(), line);
    // It has the formats of its start before it is first laid out, and its first paint keeps them.
    const auto formats = block.layout()->formats();
    ASSERT_FALSE(formats.isEmpty());
    EXPECT_EQ(formats.front().start, 0);
    paint();
    EXPECT_EQ(block.layout()->formats(), formats);
    // Nothing lays it out again afterwards, at another width or for anything else.
    QTextOption marked = block.layout()->textOption();
    marked.setTabStopDistance(1234);
    block.layout()->setTextOption(marked);
    QCoreApplication::processEvents();
    paint();
    EXPECT_EQ(block.layout()->textOption().tabStopDistance(), 1234) << "laid out again";
    EXPECT_EQ(counter.resizes, 0);
    EXPECT_TRUE(view->verticalScrollBar()->isVisible());
    view->viewport()->removeEventFilter(&counter);
}

INSTANTIATE_TEST_SUITE_P(
    Loads, SyntaxColorLayerComingLineTest,
    ::testing::Values(ComingLineRow{"after_a_screen_of_short_lines", QStringLiteral("{\n").repeated(40000), 20000,
                                    QStringLiteral("\n}"), false},
                      ComingLineRow{"as_the_whole_text", QString(), 20000, QString(), true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
