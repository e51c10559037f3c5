// The editor's text view on a 10 MB YAML description, offscreen:
//   - open: from handing the text to the view until the screen shows coloured text (target 300 ms);
//   - one keystroke: main-thread time from the key press until the view has repainted (target 16 ms),
//     also right after a highlighting pass took a snapshot of the text;
//   - the longest single piece of main-thread work of loading and of a full highlighting pass
//     (target 50 ms);
//   - resident memory with the document open and coloured (target 400 MB);
//   - a key typed while the text still loads: main-thread time from the key press until the view has
//     repainted with the key, the rest of the text still loading behind it (target 100 ms);
//   - a one-line text of 1 and 4 MB, with blanks or minified: the whole load, and its longest turn;
//   - a key typed in the middle of a one-line minified text of 256 KB and 1 MB, coloured or not.
//
//   QT_QPA_PLATFORM=offscreen build-*/bench/bench_app_editor

#include "AppBenchmarkMain.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/LineNumberRulerView.h"
#include "Carvex/TextView/NSTextViewHighlighterAdapter.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"
#include "Carvex/Syntax/YAMLLexer.h"
#include "SyntheticDescription.h"
#include "TypeOneKey.h"
#include "platform/FakeMainScheduler.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextLayout>

#include <fstream>
#include <string>

namespace {

using namespace Carvex;

const QString& description() {
    static const QString text = QString::fromStdString(
        SyntheticDescription::generate(10u * 1024u * 1024u, SyntheticDescription::Syntax::yaml));
    return text;
}

double residentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

void prepare(EditorTextView& view) {
    view.resize(1000, 800);
    view.setFont(SyntaxTheme::editorFont());
    LineNumberRulerView::installLineNumberRuler(view);
    view.show();
    QApplication::processEvents();
}

// True when the first block on screen carries token formats.
bool screenIsColoured(EditorTextView& view) {
    const QTextBlock block = view.firstVisibleTextBlock();
    return block.isValid() && !block.layout()->formats().isEmpty() &&
           view.colorLayer().typeAt(0) == SyntaxTokenType::key;
}

void waitUntil(const std::function<bool()>& done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

void BM_OpenTenMegabytesToColouredScreen(benchmark::State& state) {
    const QString& text = description();
    double rssBefore = 0;
    double rssOpen = 0;
    for (auto _ : state) {
        rssBefore = residentMegabytes();
        EditorTextView view;
        prepare(view);
        SyntaxHighlightingController controller(&view, SyntaxTheme::lightDefault());
        bool coloured = false;
        controller.onHighlightingComplete = [&] { coloured = true; };
        QElapsedTimer timer;
        timer.start();
        view.loadText(text);
        controller.setLanguage(DocumentLanguage::yaml);
        waitUntil([&] { return coloured; });
        view.viewport()->repaint();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        if (!screenIsColoured(view)) {
            state.SkipWithError("the screen is not coloured");
            break;
        }
        waitUntil([&] { return !view.isLoading(); });
        rssOpen = residentMegabytes();
        if (view.document()->characterCount() - 1 != view.textLength()) {
            state.SkipWithError("the loaded document differs from the text");
            break;
        }
    }
    state.counters["MB"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    state.counters["rss_open_MB"] = rssOpen;
    state.counters["rss_delta_MB"] = rssOpen - rssBefore;
}
BENCHMARK(BM_OpenTenMegabytesToColouredScreen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// A view with the whole description loaded and coloured, the caret in the middle of the text.
struct OpenDocument {
    EditorTextView view;
    std::unique_ptr<SyntaxHighlightingController> controller;

    OpenDocument() {
        prepare(view);
        controller = std::make_unique<SyntaxHighlightingController>(&view, SyntaxTheme::lightDefault());
        bool coloured = false;
        controller->onHighlightingComplete = [&] { coloured = true; };
        view.loadText(description());
        view.finishLoading();
        controller->setLanguage(DocumentLanguage::yaml);
        waitUntil([&] { return coloured; });
        controller->onHighlightingComplete = nullptr;
        const qsizetype middle = view.viewText().indexOf(u'\n', view.textLength() / 2) + 1;
        view.setSelectedRange(TextRange{middle, 0});
        view.ensureCursorVisible();
        view.viewport()->repaint();
    }
};

void typeKeys(benchmark::State& state, bool snapshotHeld) {
    OpenDocument document;
    EditorTextView& view = document.view;
    const qsizetype lengthBefore = view.textLength();
    double worst = 0;
    std::int64_t typed = 0;
    std::int64_t overFrame = 0;
    for (auto _ : state) {
        // A highlighting pass in flight holds a copy of the text, taken as the controller takes it.
        QString snapshot = snapshotHeld ? view.detachedViewText() : QString();
        const double seconds = typeOneKeyAndRepaint(view);
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds * 1000);
        overFrame += seconds * 1000 > 16 ? 1 : 0;
        ++typed;
        benchmark::DoNotOptimize(snapshot);
    }
    if (view.textLength() != lengthBefore + typed) {
        state.SkipWithError("keystrokes were lost");
    }
    state.counters["worst_ms"] = worst;
    state.counters["over_16ms"] = static_cast<double>(overFrame);
}

void BM_TypeOneCharacterInTenMegabytes(benchmark::State& state) { typeKeys(state, false); }
BENCHMARK(BM_TypeOneCharacterInTenMegabytes)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_TypeOneCharacterWhileAPassHoldsTheText(benchmark::State& state) { typeKeys(state, true); }
BENCHMARK(BM_TypeOneCharacterWhileAPassHoldsTheText)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

// The main-thread part of a full pass: the tokens (lexed in the background) applied to the colour
// layer and the screen repainted.
void BM_FullPassMainThreadPart(benchmark::State& state) {
    OpenDocument document;
    EditorTextView& view = document.view;
    const auto tokens = YAMLLexer{}.tokenize(view.viewText());
    NSTextViewHighlighterAdapter adapter(&view);
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        adapter.apply(tokens, SyntaxTheme::lightDefault(), TextRange{0, view.textLength()});
        view.viewport()->repaint();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    if (view.colorLayer().runs().empty()) {
        state.SkipWithError("nothing coloured");
    }
    state.counters["tokens"] = static_cast<double>(tokens.size());
}
BENCHMARK(BM_FullPassMainThreadPart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The longest single turn of the main thread while a 10 MB text loads slice by slice.
void BM_LongestLoadSlice(benchmark::State& state) {
    double worst = 0;
    for (auto _ : state) {
        auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
        EditorTextView view(nullptr, fake);
        prepare(view);
        QElapsedTimer timer;
        timer.start();
        view.loadText(description());
        worst = std::max(worst, static_cast<double>(timer.nsecsElapsed()) / 1e6);
        double longest = 0;
        while (view.isLoading()) {
            timer.restart();
            fake->runOne();
            longest = std::max(longest, static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
        worst = std::max(worst, longest);
        state.SetIterationTime(longest / 1000);
        if (view.document()->characterCount() - 1 != view.textLength()) {
            state.SkipWithError("the loaded document differs from the text");
        }
    }
    state.counters["worst_turn_ms"] = worst;
}
BENCHMARK(BM_LongestLoadSlice)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The first key typed while a 10 MB text loads: it goes into the part loaded so far and the rest
// comes in behind it.
void BM_FirstKeyWhileLoading(benchmark::State& state) {
    for (auto _ : state) {
        auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
        EditorTextView view(nullptr, fake);
        prepare(view);
        view.loadText(description());
        fake->runOne();
        view.setSelectedRange(TextRange{0, 0});
        state.SetIterationTime(typeOneKeyAndRepaint(view));
        if (!view.isLoading()) {
            state.SkipWithError("the key waited for the whole text");
            break;
        }
        fake->runPending();
        if (view.isLoading() || view.textLength() != description().size() + 1 ||
            view.document()->characterCount() - 1 != view.textLength() || view.viewText().front() != u'x') {
            state.SkipWithError("the key or the text did not arrive whole");
        }
    }
}
BENCHMARK(BM_FirstKeyWhileLoading)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// A text of one line of `state.range(0)` units (minified JSON, say): from handing it to the view
// until the whole of it is loaded, every slice run.
void BM_LoadOneLongLine(benchmark::State& state) {
    // With blanks between the members, or minified: few places to break the line.
    const QString line = state.range(1) ? QStringLiteral("{\"k\":\"v\",").repeated(state.range(0) / 10)
                                        : QStringLiteral("{\"k\": \"v\", ").repeated(state.range(0) / 12);
    for (auto _ : state) {
        auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
        EditorTextView view(nullptr, fake);
        prepare(view);
        QElapsedTimer timer;
        timer.start();
        view.loadText(line);
        double longest = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        while (view.isLoading()) {
            QElapsedTimer turn;
            turn.start();
            fake->runOne();
            longest = std::max(longest, static_cast<double>(turn.nsecsElapsed()) / 1e6);
        }
        view.viewport()->repaint();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        state.counters["longest_turn_ms"] = longest;
        if (view.document()->characterCount() - 1 != view.textLength()) {
            state.SkipWithError("the loaded document differs from the text");
        }
    }
}
BENCHMARK(BM_LoadOneLongLine)->Args({1 << 20, 0})->Args({4 << 20, 0})->Args({1 << 20, 1})->Args({4 << 20, 1})->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

CARVEX_APP_BENCHMARK_MAIN()

namespace {

// One key typed in the middle of a one-line text of `state.range(0)` units (minified JSON), with
// (1) and without (0) its syntax colours: main-thread time from the key press until the view has
// repainted.
void BM_TypeInOneLongLine(benchmark::State& state) {
    const QString line = QStringLiteral("{\"key\":\"value\",\"n\":12,").repeated(state.range(0) / 24);
    EditorTextView view;
    prepare(view);
    std::unique_ptr<SyntaxHighlightingController> controller;
    view.loadText(line);
    view.finishLoading();
    if (state.range(1)) {
        controller = std::make_unique<SyntaxHighlightingController>(&view, SyntaxTheme::lightDefault());
        bool coloured = false;
        controller->onHighlightingComplete = [&] { coloured = true; };
        controller->setLanguage(DocumentLanguage::json);
        waitUntil([&] { return coloured; });
        controller->onHighlightingComplete = nullptr;
    }
    view.setSelectedRange(TextRange{view.textLength() / 2, 0});
    view.ensureCursorVisible();
    view.viewport()->repaint();
    for (auto _ : state) {
        state.SetIterationTime(typeOneKeyAndRepaint(view));
    }
}
BENCHMARK(BM_TypeInOneLongLine)->Args({256 << 10, 0})->Args({256 << 10, 1})->Args({1 << 20, 0})->Args({1 << 20, 1})->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
