#include "tests/Carvex/TextView/EditorViewTestSupport.h"

#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"
#include "platform/BackgroundTask.h"

#include <QTest>

#include <functional>
#include <vector>

using namespace Carvex;
using namespace std::chrono_literals;
using CarvexTest::EditorViewTest;

class SyntaxHighlightingControllerTest : public EditorViewTest {
protected:
    void SetUp() override {
        EditorViewTest::SetUp();
        controller = std::make_unique<SyntaxHighlightingController>(view.get(),
                                                                    SyntaxTheme::darkDefault());
        controller->onHighlightingComplete = [this] { ++completions; };
    }
    void TearDown() override {
        controller.reset();
        EditorViewTest::TearDown();
    }
    void type(const QString& text) {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(view.get(), &event);
    }
    // Loads "a: 1", colours it once and forgets that pass; the caret stands at its end.
    void loadHighlighted() {
        view->loadText("a: 1\n");
        controller->setLanguage(DocumentLanguage::yaml);
        fake->runPending();
        completions = 0;
        view->setSelectedRange(TextRange{4, 0});
    }
    // Loads a text long enough to be lexed in the background.
    QString loadLarge() {
        QString text;
        while (text.size() < SyntaxHighlightingController::backgroundLexingThreshold + 1000) {
            text += "key: \"value\"\n";
        }
        view->loadText(text);
        fake->runPending();  // finishes the sliced load
        return text;
    }
    std::unique_ptr<SyntaxHighlightingController> controller;
    int completions = 0;
};

TEST_F(SyntaxHighlightingControllerTest, EmptyDocumentNeverCompletesUnknownLanguageClearsAndCompletes) {
    view->loadText("");
    controller->setLanguage(DocumentLanguage::yaml);
    controller->forceHighlightFullDocument();
    fake->advance(1s);
    EXPECT_EQ(completions, 0);
    view->loadText("key: value\n");
    view->colorLayer().apply({SyntaxToken{SyntaxTokenType::key, TextRange{0, 3}, nullptr}},
                             TextRange{0, 11});
    controller->setLanguage(DocumentLanguage::unknown);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(view->colorLayer().runs().empty());
}

TEST_F(SyntaxHighlightingControllerTest, FullPassColoursTheWholeText) {
    view->loadText("key: \"value\"\nnumber: 12\n");
    controller->setLanguage(DocumentLanguage::yaml);
    EXPECT_TRUE(controller->isHighlighting());
    fake->runPending();
    EXPECT_FALSE(controller->isHighlighting());
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(view->colorLayer().typeAt(0), SyntaxTokenType::key);
    EXPECT_EQ(view->colorLayer().typeAt(6), SyntaxTokenType::string);
    EXPECT_EQ(view->colorLayer().typeAt(21), SyntaxTokenType::number);
}

TEST_F(SyntaxHighlightingControllerTest, BurstOfTypingMakesOneVisiblePassThenADelayedFullPass) {
    loadHighlighted();
    for (const char* c : {"2", "3", "4"}) {
        type(c);
        fake->advance(100ms);
    }
    EXPECT_EQ(completions, 0);  // 100 ms after the last key: still waiting
    fake->advance(49ms);
    EXPECT_EQ(completions, 0);
    fake->advance(1ms);
    EXPECT_EQ(completions, 1);  // the visible pass, 150 ms after the last key
    EXPECT_EQ(view->colorLayer().typeAt(6), SyntaxTokenType::number);
    fake->advance(499ms);
    EXPECT_EQ(completions, 1);
    fake->advance(1ms);
    EXPECT_EQ(completions, 2);  // the full pass, 500 ms later
    fake->advance(5s);
    EXPECT_EQ(completions, 2);
}

TEST_F(SyntaxHighlightingControllerTest, PausedControllerIgnoresEditsButNotThemeOrForce) {
    loadHighlighted();
    controller->setPaused(true);
    type("5");
    controller->highlightFullDocument();
    controller->setLanguage(DocumentLanguage::json);
    fake->advance(2s);
    EXPECT_EQ(completions, 0);
    controller->setTheme(SyntaxTheme::lightDefault());
    fake->runPending();
    EXPECT_EQ(completions, 1);
    controller->forceHighlightFullDocument();
    fake->runPending();
    EXPECT_EQ(completions, 2);
    EXPECT_EQ(view->colorLayer().theme(), SyntaxTheme::lightDefault());
}

TEST_F(SyntaxHighlightingControllerTest, DestroyedControllerLeavesPendingWorkHarmless) {
    std::vector<SyntaxColorLayer::Run> runsAtTheEnd;
    int completionsAtTheEnd = -1;
    bool awaitedAtTheEnd = false;
    const auto end = [&] {
        runsAtTheEnd = view->colorLayer().runs();
        awaitedAtTheEnd = view->colorLayer().awaitsColours();
        completionsAtTheEnd = completions;
        controller.reset();
    };
    struct Row {
        const char* name;
        std::function<void()> upToTheEnd;
    };
    const Row rows[] = {
        {"a full pass and a key's pass waiting",
         [&] {
             view->loadText("a: 1\n");
             controller->setLanguage(DocumentLanguage::yaml);
             view->setSelectedRange(TextRange{4, 0});
             type("2");
             end();
         }},
        {"a pass lexed in the background",
         [&] {
             loadLarge();
             controller->setLanguage(DocumentLanguage::yaml);
             end();
         }},
        {"a key's pass posted as the controller goes",
         [&] {
             loadHighlighted();
             type("2");
             fake->schedule(SyntaxHighlightingController::debounceInterval, end);
             fake->advance(SyntaxHighlightingController::debounceInterval);
         }},
        {"the full pass after a key's pass waiting",
         [&] {
             loadHighlighted();
             type("2");
             fake->advance(SyntaxHighlightingController::debounceInterval);
             ASSERT_EQ(completions, 1);
             end();
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        controller = std::make_unique<SyntaxHighlightingController>(view.get(), SyntaxTheme::darkDefault());
        controller->onHighlightingComplete = [this] { ++completions; };
        completions = 0;
        completionsAtTheEnd = -1;
        row.upToTheEnd();
        ASSERT_EQ(controller, nullptr);
        CarvexPlatform::BackgroundTask::waitForIdle();
        fake->advance(2s);
        // The pending passes find no controller: no pass starts, no colours change and nobody is told.
        EXPECT_EQ(completions, completionsAtTheEnd);
        EXPECT_EQ(view->colorLayer().awaitsColours(), awaitedAtTheEnd);
        EXPECT_TRUE(view->colorLayer().runs() == runsAtTheEnd)
            << view->colorLayer().runs().size() << " runs, " << runsAtTheEnd.size() << " at the end";
    }
}

TEST_F(SyntaxHighlightingControllerTest, LargeTextIsLexedInTheBackground) {
    const QString text = loadLarge();
    controller->setLanguage(DocumentLanguage::yaml);
    CarvexPlatform::BackgroundTask::waitForIdle();
    fake->runPending();
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(view->colorLayer().typeAt(text.size() - 5), SyntaxTokenType::string);
}

TEST_F(SyntaxHighlightingControllerTest, background_result_for_an_older_text_is_dropped) {
    loadLarge();
    controller->setLanguage(DocumentLanguage::yaml);
    view->replaceCharacters(TextRange{0, 0}, "# comment\n");  // the text moves on meanwhile
    CarvexPlatform::BackgroundTask::waitForIdle();
    fake->runPending();
    EXPECT_FALSE(controller->isHighlighting());
    EXPECT_EQ(view->colorLayer().typeAt(0), std::nullopt);  // not coloured with stale offsets
}

TEST_F(SyntaxHighlightingControllerTest, PassesLeaveExtraSelectionsAlone) {
    // Validation underlines are extra selections: a pass replaces token colours only.
    view->loadText("key: value\n");
    QTextEdit::ExtraSelection underline;
    underline.cursor = QTextCursor(view->document());
    underline.cursor.setPosition(5);
    underline.cursor.setPosition(10, QTextCursor::KeepAnchor);
    underline.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    underline.format.setUnderlineColor(Qt::red);
    view->setExtraSelections({underline});
    controller->setLanguage(DocumentLanguage::yaml);
    fake->runPending();
    paint();
    ASSERT_EQ(view->extraSelections().size(), 1);
    EXPECT_EQ(view->extraSelections()[0].format.underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_EQ(view->extraSelections()[0].cursor.selectionStart(), 5);
    EXPECT_EQ(view->colorLayer().typeAt(6), SyntaxTokenType::string);
}

TEST_F(SyntaxHighlightingControllerTest, VisiblePassColoursOnlyTheScreenAndItsMargins) {
    QString text;
    for (int i = 0; i < 2000; ++i) {
        text += "key: 1\n";  // 7 units a line
    }
    view->loadText(text);
    controller->setLanguage(DocumentLanguage::yaml);
    fake->runPending();
    // Paint a wrong kind over the whole text, then edit at the top.
    view->colorLayer().apply({SyntaxToken{SyntaxTokenType::comment, TextRange{0, text.size()}, nullptr}},
                             TextRange{0, text.size()});
    view->setSelectedRange(TextRange{0, 0});
    view->replaceCharacters(TextRange{0, 0}, "a");
    fake->advance(150ms);
    const TextRange visible = view->visibleCharacterRange();
    const qsizetype reach = visible.end() + SyntaxHighlightingController::visiblePassMargin;
    EXPECT_EQ(view->colorLayer().typeAt(1), SyntaxTokenType::key);
    const qsizetype lastNumberInReach = view->viewText().lastIndexOf(u'1', reach - 1);
    const qsizetype farKey = view->viewText().indexOf(QStringLiteral("key"), reach + 100);
    EXPECT_EQ(view->colorLayer().typeAt(lastNumberInReach), SyntaxTokenType::number);
    EXPECT_EQ(view->colorLayer().typeAt(farKey), SyntaxTokenType::comment);  // beyond: untouched
    fake->advance(500ms);
    EXPECT_EQ(view->colorLayer().typeAt(farKey), SyntaxTokenType::key);  // the full pass
}
