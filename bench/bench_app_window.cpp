// The document window under load, offscreen, on the fake clock (each main-queue item is timed on its
// own, so the longest one is the worst stall a user could feel):
// - opening a 10 MB YAML description through the document controller: the time until its window is
//   shown with the first screenful coloured, and the longest main-thread item while the rest loads;
// - Validate with a result of 10,000 findings: the time until the log and the marks are complete,
//   and the longest main-thread item on the way;
// - Validate on a 4 MB description with a key typed every 16 ms: the longest a key waited, and the
//   time from the click until the log and the marks were complete;
// - converting a 10 MB description to JSON: the time until the new document holds the whole converted
//   text, and the longest main-thread item on the way.
// Items are timed by the wall clock and by the main thread's processor time (`_cpu_`), which a
// busy machine does not inflate.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_app_window

#include "Carvex/Console/ConsoleViewController.h"
#include "Carvex/Conversion/DocumentConversionService.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Validation/OpenAPIValidating.h"
#include "Carvex/Validation/ValidationDecorationController.h"
#include "Carvex/Validation/ValidationResultsViewController.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/EditorSplitViewController.h"
#include "Carvex/Windows/SplitViewController.h"
#include "SyntheticDescription.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/MainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/Storyboard.h"
#include "platform/TestApplication.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <thread>
#include <ctime>

namespace {

using namespace Carvex;

const QByteArray& largeYAML() {
    static const QByteArray text = QByteArray::fromStdString(
        SyntheticDescription::generate(10u * 1024u * 1024u, SyntheticDescription::Syntax::yaml));
    return text;
}

// Wall-clock and main-thread processor time since it was made, in milliseconds: on a busy machine
// the wall clock also counts the time other programs held the processor.
class Stopwatch {
public:
    Stopwatch() {
        wall_.start();
        cpuStart_ = threadTime();
    }
    double wallMs() const { return wall_.nsecsElapsed() / 1e6; }
    double cpuMs() const { return (threadTime() - cpuStart_) / 1e6; }

private:
    static double threadTime() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
    }
    QElapsedTimer wall_;
    double cpuStart_ = 0;
};

// The longest main-thread item seen, by the wall clock and by processor time.
struct Longest {
    double wallMs = 0;
    double cpuMs = 0;
    void add(const Stopwatch& item) {
        wallMs = std::max(wallMs, item.wallMs());
        cpuMs = std::max(cpuMs, item.cpuMs());
    }
    void add(const Longest& other) {
        wallMs = std::max(wallMs, other.wallMs);
        cpuMs = std::max(cpuMs, other.cpuMs);
    }
    void report(benchmark::State& state) const {
        state.counters["longest_item_ms"] = wallMs;
        state.counters["longest_item_cpu_ms"] = cpuMs;
    }
};

// Scenes, scheduler and controller of one run.
struct WindowBench {
    WindowBench() {
        CarvexPlatform::TestApplication::ensure();
        auto& storyboard = CarvexPlatform::Storyboard::main();
        DocumentWindowController::registerScene(storyboard);
        ConsoleViewController::registerScene(storyboard);
        EditorViewController::registerScene(storyboard);
        PropertiesViewController::registerScene(storyboard);
        controller.setEditorPreferencesStore(&preferences);
    }
    ~WindowBench() {
        for (CarvexPlatform::Document* document : controller.documents()) {
            document->close();
        }
        drain();
    }
    // Runs the main queue item by item until nothing is left (background work and delayed items
    // included, the clock jumping to each); the longest item.
    Longest drain() {
        Longest longest;
        const auto horizon = fake->now() + std::chrono::seconds(30);
        for (int round = 0; round < 100000 && fake->now() < horizon; ++round) {
            CarvexPlatform::BackgroundTask::waitForIdle();
            const Stopwatch item;
            if (!fake->runNext()) {
                break;
            }
            longest.add(item);
        }
        return longest;
    }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scope{fake};
    EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    QTemporaryDir folder;
    DocumentController controller{CarvexPlatform::Settings::isolated()};
};

Document* open(WindowBench& bench, const QString& name, const QByteArray& text) {
    const QString path = bench.folder.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text);
    file.close();
    CarvexPlatform::Document* opened = nullptr;
    bench.controller.openDocumentWithContentsOfFile(path, true, [&](CarvexPlatform::Document* document, bool, auto) {
        opened = document;
    });
    return dynamic_cast<Document*>(opened);
}

void BM_OpenTenMegabyteWindow(benchmark::State& state) {
    Longest longestStall;
    for (auto _ : state) {
        WindowBench bench;
        const Stopwatch shown;
        Document* document = open(bench, "large.yaml", largeYAML());
        const double toWindow = shown.wallMs();
        auto* window = document && !document->windowControllers().empty()
                           ? dynamic_cast<DocumentWindowController*>(document->windowControllers().front())
                           : nullptr;
        if (!window || !window->window()->isVisible()) {
            state.SkipWithError("no window");
            return;
        }
        longestStall.add(bench.drain());
        state.SetIterationTime(toWindow / 1e3);
        auto* editor = dynamic_cast<EditorViewController*>(window->editorViewController());
        if (!editor || editor->editorTextView()->textLength() != document->content().size()) {
            state.SkipWithError("the text did not arrive whole");
            return;
        }
    }
    longestStall.report(state);
}
BENCHMARK(BM_OpenTenMegabyteWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Hands out a fixed result on the next turn.
class FixedValidation : public OpenAPIValidating {
public:
    explicit FixedValidation(CarvexValidationResult result) : result_(std::move(result)) {}
    CarvexPlatform::WorkItem validate(const QString&, Completion completion) const override {
        return CarvexPlatform::MainScheduler::shared()->postCancellable(
            [result = result_, completion] { completion(result); });
    }

private:
    CarvexValidationResult result_;
};

// Validate pressed, its result holding 10,000 findings: the time until the log and the marks are
// complete, and the longest main-thread item on the way.
void BM_ApplyTenThousandFindings(benchmark::State& state) {
    WindowBench bench;
    QByteArray text = "openapi: 3.0.3\ninfo:\n  title: t\n  version: '1'\npaths:\n";
    for (int line = 0; line < 10000; ++line) {
        text += "  /p" + QByteArray::number(line) + ": {}\n";
    }
    Document* document = open(bench, "many.yaml", text);
    auto* window = dynamic_cast<DocumentWindowController*>(document->windowControllers().front());
    bench.drain();
    std::vector<CarvexValidationError> findings;
    for (int line = 0; line < 10000; ++line) {
        CarvexValidationError error;
        error.id = QUuid::createUuid();
        error.message = QStringLiteral("[PTH-001] finding %1").arg(line);
        error.sourceLocation = SourceLocation{QString(), line + 6, 3, std::nullopt};
        error.severity = line % 3 == 0 ? CarvexValidationSeverity::warning : CarvexValidationSeverity::error;
        findings.push_back(error);
    }
    window->setValidationService(
        std::make_shared<FixedValidation>(CarvexValidationResult::validationErrors(findings)));
    Longest longestItem;
    for (auto _ : state) {
        document->logStore()->clear();
        const Stopwatch click;
        window->validateDocument();
        longestItem.add(click);
        longestItem.add(bench.drain());
        state.SetIterationTime(click.wallMs() / 1e3);
        auto* editor = dynamic_cast<EditorViewController*>(window->editorViewController());
        if (window->isValidating() || document->logStore()->entries().size() != 10002 ||
            editor->validationDecorationController()->decorationCount() != 10000) {
            state.SkipWithError("findings lost");
            return;
        }
    }
    longestItem.report(state);
}
BENCHMARK(BM_ApplyTenThousandFindings)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

const QByteArray& fourMegabyteYAML() {
    static const QByteArray text = QByteArray::fromStdString(
        SyntheticDescription::generate(4u * 1024u * 1024u, SyntheticDescription::Syntax::yaml));
    return text;
}

// Validate pressed on a 4 MB description, then a key typed every 16 ms until the log and the marks
// are complete: the longest a key waited for the main thread (from when it was due until it was
// handled, its handling included), and the time from the click until the run was complete. Main-queue items run when
// they fall due by the wall clock (the fake clock follows it).
void BM_ValidateWhileTyping(benchmark::State& state) {
    WindowBench bench;
    Document* document = open(bench, "typing.yaml", fourMegabyteYAML());
    auto* window = dynamic_cast<DocumentWindowController*>(document->windowControllers().front());
    auto* editor = dynamic_cast<EditorViewController*>(window->editorViewController());
    bench.drain();
    EditorTextView& view = *editor->editorTextView();
    Longest longestItem;
    double worstKeyWait = 0;
    double worstKeyHandling = 0;
    double clickToComplete = 0;
    std::int64_t keys = 0;
    for (auto _ : state) {
        // The keys go into a comment line of their own in the middle, so every run reads the same
        // description.
        const qsizetype middle = view.viewText().indexOf(u'\n', view.textLength() / 2) + 1;
        view.replaceCharacters(TextRange{middle, 0}, QStringLiteral("#\n"), false);
        view.setSelectedRange(TextRange{middle + 1, 0});
        bench.drain();
        document->logStore()->clear();
        const qsizetype lengthBefore = view.textLength();
        const auto fakeStart = bench.fake->now();
        const Stopwatch run;
        window->validateDocument();
        longestItem.add(run);
        double nextKey = 16;
        std::int64_t typed = 0;
        while (window->isValidating() && run.wallMs() < 60000) {
            const double now = run.wallMs();
            if (now >= nextKey) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
                const Stopwatch key;
                QApplication::sendEvent(&view, &press);
                worstKeyHandling = std::max(worstKeyHandling, key.wallMs());
                worstKeyWait = std::max(worstKeyWait, run.wallMs() - nextKey);
                // Keys that fell due meanwhile are not made up for: a typist waits for the screen.
                nextKey = std::max(nextKey + 16, run.wallMs());
                ++typed;
                continue;
            }
            const auto due = bench.fake->nextDueIn();
            const double dueAt =
                due ? std::chrono::duration<double, std::milli>(bench.fake->now() - fakeStart + *due).count() : 1e18;
            if (dueAt <= now) {
                const Stopwatch item;
                bench.fake->runNext();
                longestItem.add(item);
                continue;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        state.SetIterationTime(run.wallMs() / 1e3);
        clickToComplete = std::max(clickToComplete, run.wallMs());
        keys += typed;
        longestItem.add(bench.drain());
        if (window->isValidating() || view.textLength() != lengthBefore + typed ||
            document->logStore()->entries().size() < 2) {
            state.SkipWithError("the run did not complete, or keys were lost");
            return;
        }
    }
    state.counters["worst_key_wait_ms"] = worstKeyWait;
    state.counters["worst_key_handling_ms"] = worstKeyHandling;
    state.counters["keys"] = static_cast<double>(keys);
    state.counters["log_entries"] = static_cast<double>(document->logStore()->entries().size());
    state.counters["click_to_log_and_marks_ms"] = clickToComplete;
    state.counters["marks"] = editor->validationDecorationController()->decorationCount();
    longestItem.report(state);
}
BENCHMARK(BM_ValidateWhileTyping)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ConvertTenMegabytes(benchmark::State& state) {
    WindowBench bench;
    Document* document = open(bench, "large.yaml", largeYAML());
    auto* window = dynamic_cast<DocumentWindowController*>(document->windowControllers().front());
    bench.drain();
    const QString expected = DocumentConversionService().convertToJSON(document->content());
    Longest longest;
    for (auto _ : state) {
        const Stopwatch click;
        window->convertToJSON();
        longest.add(click);
        longest.add(bench.drain());
        state.SetIterationTime(click.wallMs() / 1e3);
        auto* converted = dynamic_cast<Document*>(bench.controller.documents().back());
        if (!converted || converted == document || converted->content() != expected) {
            state.SkipWithError("the converted document is wrong");
            return;
        }
        converted->close();
        bench.drain();
    }
    longest.report(state);
}
BENCHMARK(BM_ConvertTenMegabytes)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
