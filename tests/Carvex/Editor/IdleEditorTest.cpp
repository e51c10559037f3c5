// Once a text has loaded and nothing comes in, the real editor does nothing: no timer of ours fires,
// no highlighting pass runs, no block is laid out again, and the caret's blink (the toolkit's own
// timer, kept running here) never makes a long line be analysed again.

#include "tests/Carvex/Editor/RealEditorTest.h"

#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/TextView/EditorDocumentLayout.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"
#include "bench/SyntheticDescription.h"
#include "platform/BackgroundTask.h"

#include <QAbstractTextDocumentLayout>
#include <QDeadlineTimer>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <string>

namespace CarvexTest {
namespace {

using namespace Carvex;
using namespace std::chrono_literals;

// Sanitizer and debug builds get a tenth of each input, but a string still longer than the longest
// line that keeps its shaped text (8M units).
constexpr std::size_t megabyte = 1024 * 1024;
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr std::size_t scale = 10;
constexpr qsizetype longString = 9 * megabyte;
#else
constexpr std::size_t scale = 1;
constexpr qsizetype longString = 20 * megabyte;
#endif

std::string minified(std::size_t bytes) { return SyntheticDescription::generateMinified(bytes); }

struct Input {
    const char* name;
    QByteArray (*make)();
    const char* type;
    const char* path;
};

void PrintTo(const Input& input, std::ostream* out) { *out << input.name; }

const Input inputs[] = {
    {"minified_json_5MB", [] { return QByteArray::fromStdString(minified(11 * megabyte / scale)); },
     "JSON Document", "/tmp/idle.json"},
    {"minified_json_2MB", [] { return QByteArray::fromStdString(minified(9 * megabyte / 2 / scale)); },
     "JSON Document", "/tmp/idle.json"},
    {"yaml_with_a_20MB_string",
     [] {
         return "openapi: 3.0.3\ninfo:\n  title: H\n  version: \"1\"\n  description: \"" +
                QByteArray(longString, 'x') + "\"\npaths: {}\n";
     },
     "YAML Document", "/tmp/idle.yaml"},
    {"many_paths_yaml_10MB",
     [] {
         return QByteArray::fromStdString(
             SyntheticDescription::generate(10 * megabyte / scale, SyntheticDescription::Syntax::yaml));
     },
     "YAML Document", "/tmp/idle.yaml"},
};

// What the editor does while it should be idle.
struct Work {
    std::size_t timers = 0;       // our scheduled work and timers
    int highlightingPasses = 0;
    int layouts = 0;              // blocks laid out, long blocks' lines walked
    int analysingPaints = 0;      // paints with the caret in a long block that dropped its shaped text
    int paints = 0;
    bool operator==(const Work&) const = default;
};

class IdleEditorTest : public RealEditorTest, public ::testing::WithParamInterface<Input> {
protected:
    void SetUp() override {
        RealEditorTest::SetUp();
        flashTime = QApplication::cursorFlashTime();
        QApplication::setCursorFlashTime(40);  // blinks every 20 ms
        makeEditor(900, 700);
        view().viewport()->installEventFilter(&paintCounter);
        paintCounter.onPaint = [this] {
            ++work.paints;
            const QTextBlock caretBlock = view().textCursor().block();
            if (caretBlock.length() > 20'000 && !caretBlock.layout()->cacheEnabled()) {
                ++work.analysingPaints;
            }
        };
    }
    void TearDown() override {
        view().viewport()->removeEventFilter(&paintCounter);
        RealEditorTest::TearDown();
        QApplication::setCursorFlashTime(flashTime);
    }

    EditorDocumentLayout& layout() { return *qobject_cast<EditorDocumentLayout*>(view().document()->documentLayout()); }

    // Runs everything the load brings until none of it is left: our scheduled work, the background
    // work, the colours on their way and a long line laid out in slices (on the toolkit's own timers,
    // in real time). False when our work keeps coming, or the load's does not end within five
    // minutes (a loaded single core takes tens of seconds for the longest line).
    bool settle() {
        const auto loadEnded = [this] {
            return clock->pendingCount() == 0 && !view().isLoading() && !view().colorLayer().coloursPending() &&
                   !layout().isLayingOutAnyBlock();
        };
        const QDeadlineTimer deadline(300'000);
        int ours = 0;
        // Twice in a row: what the last step brings (a paint after a line is laid out) is served too.
        for (int quiet = 0; quiet < 2;) {
            if (deadline.hasExpired() || ours > 10'000) {
                return false;
            }
            CarvexPlatform::BackgroundTask::waitForIdle();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            if (clock->runNext()) {
                ++ours;
                quiet = 0;
            } else if (loadEnded()) {
                ++quiet;
            } else {
                quiet = 0;
                QTest::qWait(2);  // the layout's next slice, on a timer
            }
        }
        return true;
    }

    struct PaintCounter : QObject {
        std::function<void()> onPaint;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint && onPaint) {
                onPaint();
            }
            return false;
        }
    };

    int flashTime = 0;
    PaintCounter paintCounter;
    Work work;
};

TEST_P(IdleEditorTest, NothingRunsAfterTheLoad) {
    const Input& input = GetParam();
    document = std::make_unique<Document>(editorStore.get());
    ASSERT_EQ(document->readFromData(input.make(), QString::fromLatin1(input.type)), std::nullopt);
    document->setFilePath(QString::fromLatin1(input.path));
    editor->setDocument(document.get());
    ASSERT_NE(qobject_cast<EditorDocumentLayout*>(view().document()->documentLayout()), nullptr);
    SyntaxHighlightingController* highlighting = editor->highlightingController();
    highlighting->onHighlightingComplete = [this, previous = highlighting->onHighlightingComplete] {
        ++work.highlightingPasses;
        if (previous) {
            previous();
        }
    };
    editor->loadDocumentContent();
    // The caret in the middle of the text, blinking in an active window.
    view().window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view().window()));
    view().setFocus();
    ASSERT_TRUE(settle()) << "work keeps coming after the load";
    ASSERT_FALSE(view().isLoading());
    ASSERT_GT(work.highlightingPasses, 0);
    view().setSelectedRange(TextRange{view().textLength() / 2, 0});
    view().ensureCursorVisible();
    QTest::qWait(50);
    ASSERT_TRUE(settle());

    work.highlightingPasses = 0;
    work.paints = 0;
    work.analysingPaints = 0;
    const int layoutsBefore = layout().workCount();
    // Two seconds of our clock and one of the toolkit's, the caret blinking; a short line's caret is
    // watched until it has blinked, however long a loaded machine takes to get there.
    const bool caretInLongLine = view().textCursor().block().length() > 20'000;
    const QDeadlineTimer deadline(60'000);
    for (int step = 0; step < 20 || (!caretInLongLine && work.paints == 0 && !deadline.hasExpired()); ++step) {
        work.timers += clock->advance(100ms);
        QTest::qWait(50);
    }
    work.layouts = layout().workCount() - layoutsBefore;
    const int paints = std::exchange(work.paints, 0);
    EXPECT_EQ(work, Work{});
    // The blink repaints a short line's caret; a long line's caret stays still or keeps its
    // shaped text.
    if (!caretInLongLine) {
        EXPECT_GT(paints, 0) << "the caret blinks";
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, IdleEditorTest, ::testing::ValuesIn(inputs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace CarvexTest
