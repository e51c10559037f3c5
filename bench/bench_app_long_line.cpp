// One-line minified JSON descriptions of 2 MB and 5 MB (the synthetic many-paths description with
// its white space outside strings removed), offscreen:
//   - BareKey: a bare QPlainTextEdit of the editor's font and width takes one key at the start,
//     middle or end of the line and repaints: the toolkit's own relayout of the block (the floor);
//   - EditorKey: the same key through the whole editor (colours, marks, links, breadcrumbs, the
//     document's content, the properties coordinator) up to the repaint; target at most 1.2 times
//     BareKey plus 16 ms. `after_ms` is the main-thread CPU time of what the key brings later
//     (the colour passes; lexing runs on another thread), caret blinks and idle turns included;
//   - Open: the 2 MB or 5 MB text from the document to coloured text on screen, against BareOpen, a
//     bare QPlainTextEdit given the text and painted; target at most BareOpen plus 1 s. `after_ms`
//     is the main-thread CPU time of the two seconds after the coloured text shows (a second
//     layout of the line would show there).
// MB=20 is a YAML description whose `info.description` is one string of 20 MB (a line too long for
// the toolkit to keep its shaped text), with the key in the middle of the string.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_app_long_line

#include "AppBenchmarkMain.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Syntax/SyntaxTheme.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/TextView/EditorDocumentLayout.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"
#include "SyntheticDescription.h"
#include "TypeOneKey.h"
#include "platform/Settings.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <ctime>
#include <functional>
#include <memory>

namespace {

using namespace Carvex;

constexpr int editorWidth = 1000;
constexpr int editorHeight = 800;

// The description of about `bytes` pretty-printed, without white space outside strings.
QString minified(std::size_t bytes) {
    return QString::fromStdString(SyntheticDescription::generateMinified(bytes));
}

// About 2 MB and 5 MB of text.
const QString& line(int megabytes) {
    static const QString two = minified(4'400'000);
    static const QString five = minified(11'000'000);
    static const QString twenty = QStringLiteral("openapi: 3.0.3\ninfo:\n  title: H\n  version: \"1\"\n  description: \"") +
                                  QString(20 * 1024 * 1024, QLatin1Char('x')) + QStringLiteral("\"\npaths: {}\n");
    return megabytes == 2 ? two : megabytes == 5 ? five : twenty;
}

QString pathFor(int megabytes) {
    return megabytes == 20 ? QStringLiteral("/nowhere/description.yaml") : QStringLiteral("/nowhere/description.json");
}

qsizetype placeIn(qsizetype length, int place) {
    return place == 0 ? 0 : place == 1 ? length / 2 : length;
}

void waitUntil(const std::function<bool()>& done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

struct Editor {
    std::shared_ptr<CarvexPlatform::Settings> settings = CarvexPlatform::Settings::isolated();
    EditorPreferencesStore editorStore{settings};
    SyntaxThemePreferencesStore themeStore{settings};
    CompletionPreferencesStore completionStore{settings};
    Document document{&editorStore};
    std::unique_ptr<EditorViewController> controller;
    bool coloured = false;

    explicit Editor(const QString& text, const QString& path = pathFor(5)) {
        controller = std::make_unique<EditorViewController>(
            EditorViewController::Stores{&editorStore, &themeStore, &completionStore, settings});
        controller->view()->resize(editorWidth, editorHeight);
        controller->view()->show();
        document.setFilePath(path);
        document.setContent(text);
        controller->setDocument(&document);
        SyntaxHighlightingController* highlighting = controller->highlightingController();
        const auto previous = highlighting->onHighlightingComplete;
        highlighting->onHighlightingComplete = [this, previous] {
            coloured = true;
            if (previous) {
                previous();
            }
        };
        controller->loadDocumentContent();
    }
    EditorTextView& view() { return *controller->editorTextView(); }
    // Whether no line is still being laid out a slice at a time (its text is not on screen yet).
    bool laidOut() {
        const auto* layout = qobject_cast<const EditorDocumentLayout*>(view().document()->documentLayout());
        return layout == nullptr || !layout->isLayingOutAnyBlock();
    }
    bool screenIsColoured() {
        const QTextBlock block = view().firstVisibleTextBlock();
        return coloured && laidOut() && block.isValid() && block.layout()->lineCount() > 0 &&
               !block.layout()->formats().isEmpty();
    }
};

double threadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Main-thread CPU time the event loop spends until the colours of the last change are there and
// two seconds have passed (the full colour pass comes half a second after the first).
double settleMilliseconds(Editor& editor) {
    editor.coloured = false;
    const double before = threadCpuMilliseconds();
    QElapsedTimer wall;
    wall.start();
    qint64 colouredAt = -1;
    while (wall.elapsed() < 30'000) {
        QEventLoop turn;  // waits for events, as the application's loop does
        QTimer::singleShot(50, &turn, &QEventLoop::quit);
        turn.exec();
        if (editor.coloured && colouredAt < 0) {
            colouredAt = wall.elapsed();
        }
        if (colouredAt >= 0 && wall.elapsed() - colouredAt > 2'000) {
            break;
        }
    }
    return threadCpuMilliseconds() - before;
}

// Main-thread CPU time the event loop spends over the next two seconds.
double nextTwoSecondsMilliseconds() {
    const double before = threadCpuMilliseconds();
    QEventLoop turn;
    QTimer::singleShot(2'000, &turn, &QEventLoop::quit);
    turn.exec();
    return threadCpuMilliseconds() - before;
}

void BM_BareKey(benchmark::State& state) {
    const QString& text = line(static_cast<int>(state.range(0)));
    QPlainTextEdit bare;
    bare.resize(editorWidth, editorHeight);
    bare.setFont(SyntaxTheme::editorFont());
    bare.setWordWrapMode(QTextOption::WrapAnywhere);
    bare.show();
    bare.setPlainText(text);
    QTextCursor cursor(bare.document());
    cursor.setPosition(static_cast<int>(placeIn(text.size(), static_cast<int>(state.range(1)))));
    bare.setTextCursor(cursor);
    bare.ensureCursorVisible();
    bare.viewport()->repaint();
    for (auto _ : state) {
        state.SetIterationTime(typeOneKeyAndRepaint(bare));
    }
}

void BM_EditorKey(benchmark::State& state) {
    const QString& text = line(static_cast<int>(state.range(0)));
    Editor editor(text, pathFor(static_cast<int>(state.range(0))));
    EditorTextView& view = editor.view();
    waitUntil([&] { return !view.isLoading() && editor.coloured && editor.laidOut(); });
    settleMilliseconds(editor);
    view.setSelectedRange(TextRange{placeIn(text.size(), static_cast<int>(state.range(1))), 0});
    view.ensureCursorVisible();
    view.viewport()->repaint();
    settleMilliseconds(editor);
    double after = 0;
    for (auto _ : state) {
        state.SetIterationTime(typeOneKeyAndRepaint(view));
        state.PauseTiming();
        after += settleMilliseconds(editor);
        state.ResumeTiming();
    }
    state.counters["after_ms"] = after / static_cast<double>(state.iterations());
    if (view.textLength() != text.size() + state.iterations() || editor.document.content() != view.text()) {
        state.SkipWithError("keys were lost or the document's content differs from the view's text");
    }
}

void BM_BareOpen(benchmark::State& state) {
    const QString& text = line(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QPlainTextEdit bare;
        bare.resize(editorWidth, editorHeight);
        bare.setFont(SyntaxTheme::editorFont());
        bare.setWordWrapMode(QTextOption::WrapAnywhere);
        bare.show();
        QElapsedTimer timer;
        timer.start();
        bare.setPlainText(text);
        bare.viewport()->repaint();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
}

void BM_Open(benchmark::State& state) {
    const QString& text = line(static_cast<int>(state.range(0)));
    double after = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        Editor editor(text);
        editor.view().viewport()->repaint();
        waitUntil([&] { return editor.screenIsColoured(); });
        editor.view().viewport()->repaint();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        if (editor.view().colorLayer().typeAt(2) != SyntaxTokenType::jsonKey) {
            state.SkipWithError("the text is not coloured");
        }
        state.PauseTiming();
        after += nextTwoSecondsMilliseconds();
        state.ResumeTiming();
    }
    state.counters["after_ms"] = after / static_cast<double>(state.iterations());
}

// Sizes in megabytes; places: start, middle, end of the line.
void places(benchmark::internal::Benchmark* b) {
    for (int megabytes : {2, 5}) {
        for (int place : {0, 1, 2}) {
            b->Args({megabytes, place});
        }
    }
    b->Args({20, 1});
    b->ArgNames({"MB", "place"})->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
}
BENCHMARK(BM_BareKey)->Apply(places);
BENCHMARK(BM_EditorKey)->Apply(places);
BENCHMARK(BM_BareOpen)->ArgName("MB")->Arg(2)->Arg(5)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Open)->ArgName("MB")->Arg(2)->Arg(5)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

CARVEX_APP_BENCHMARK_MAIN()
