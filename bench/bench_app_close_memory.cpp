// Resident memory across document windows that open, validate and close, offscreen: a 10 MB YAML
// description is opened through the document controller, validated with the real validation service
// and its window closed, 16 times over. The main queue runs on the fake clock, so the idle release
// after a close comes at once; the resident size is read after each validation and after each close.
// CloseWhileALongLineLoads closes, 8 times over, the window of a description whose third line is
// 2M units long, as soon as that line is in the editor and the 6 MB after it still loads: its memory
// must return as after the ordinary close (the same `growth` and `*_in_use`, a `first_close` near
// `empty`).
//
// Counters (MB): `empty` before the first open, `open_validated` the largest with the description open
// and validated (`open_loading` with the long line in and the rest loading), `first_close` and
// `last_close` after the first and the last close, `close_spread` the largest distance of any close
// from the first, `growth` the last close less the first; `*_in_use` the bytes the allocator has
// handed out and not had back after the first and the last close.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_app_close_memory

#include "Carvex/Console/ConsoleViewController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/EditorSplitViewController.h"
#include "Carvex/Windows/SplitViewController.h"
#include "SyntheticDescription.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/MemoryRelease.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/Storyboard.h"
#include "platform/TestApplication.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

using namespace Carvex;

constexpr int kCycles = 16;

double residentMB() {
    const auto bytes = CarvexPlatform::MemoryRelease::residentBytes();
    return bytes ? static_cast<double>(*bytes) / (1024.0 * 1024.0) : -1;
}

// Bytes the allocator has handed out and not had back, in MB (glibc; -1 elsewhere).
double inUseMB() {
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
#else
    return -1;
#endif
}

struct CloseBench {
    CloseBench() {
        CarvexPlatform::TestApplication::ensure();
        auto& storyboard = CarvexPlatform::Storyboard::main();
        DocumentWindowController::registerScene(storyboard);
        ConsoleViewController::registerScene(storyboard);
        EditorViewController::registerScene(storyboard);
        PropertiesViewController::registerScene(storyboard);
        controller.setEditorPreferencesStore(&preferences);
    }

    // Runs Qt's deferred deletions and the main queue until nothing is left, background work and
    // delayed items included (the clock jumps to each).
    void drain() {
        const auto horizon = fake->now() + std::chrono::seconds(60);
        for (int round = 0; round < 1000000 && fake->now() < horizon; ++round) {
            CarvexPlatform::BackgroundTask::waitForIdle();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            if (!fake->runNext()) {
                break;
            }
        }
        CarvexPlatform::BackgroundTask::waitForIdle();
    }

    // Writes `bytes` to a file of the bench's folder and returns its path.
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return path;
    }

    // Opens `path` in a window, or null.
    std::pair<Document*, DocumentWindowController*> open(const QString& path) {
        CarvexPlatform::Document* opened = nullptr;
        controller.openDocumentWithContentsOfFile(path, true,
                                                  [&](CarvexPlatform::Document* document, bool, auto) { opened = document; });
        auto* document = dynamic_cast<Document*>(opened);
        auto* window = document && !document->windowControllers().empty()
                           ? dynamic_cast<DocumentWindowController*>(document->windowControllers().front())
                           : nullptr;
        return {document, window};
    }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scope{fake};
    EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    QTemporaryDir folder;
    DocumentController controller{CarvexPlatform::Settings::isolated()};
};

// The resident size and the allocator's bytes in use after each close.
struct Closes {
    std::vector<double> resident;
    double firstInUse = 0;
    double lastInUse = 0;

    void record() {
        resident.push_back(residentMB());
        lastInUse = inUseMB();
        firstInUse = resident.size() == 1 ? lastInUse : firstInUse;
    }
    // Closes the window and waits for its memory to go back; false (the benchmark skipped) if it did not close.
    bool closeAndRecord(CloseBench& bench, DocumentWindowController* window, benchmark::State& state) {
        window->window()->close();
        bench.drain();
        if (!bench.controller.documents().empty() || CarvexPlatform::MemoryRelease::isPending()) {
            state.SkipWithError("the document did not close");
            return false;
        }
        record();
        return true;
    }
    void report(benchmark::State& state, double empty) const {
        double spread = 0;
        for (const double close : resident) {
            spread = std::max(spread, std::fabs(close - resident.front()));
        }
        state.counters["empty"] = empty;
        state.counters["first_close"] = resident.front();
        state.counters["last_close"] = resident.back();
        state.counters["close_spread"] = spread;
        state.counters["growth"] = resident.back() - resident.front();
        state.counters["first_close_in_use"] = firstInUse;
        state.counters["last_close_in_use"] = lastInUse;
        state.counters["releases"] = CarvexPlatform::MemoryRelease::releaseCount();
    }
};

EditorTextView* editorTextViewOf(DocumentWindowController* window) {
    auto* split = dynamic_cast<SplitViewController*>(window->contentViewController());
    EditorSplitViewController* editorSplit = split ? split->editorSplitViewController() : nullptr;
    auto* editor = editorSplit ? dynamic_cast<EditorViewController*>(editorSplit->editorViewController()) : nullptr;
    return editor ? editor->editorTextView() : nullptr;
}

void BM_OpenValidateCloseTenMegabytes(benchmark::State& state) {
    // As the application does at start.
    CarvexPlatform::MemoryRelease::configureAllocator();
    CloseBench bench;
    const QString path = bench.write(QStringLiteral("large.yaml"),
                                     QByteArray::fromStdString(SyntheticDescription::generate(
                                         10u * 1024u * 1024u, SyntheticDescription::Syntax::yaml)));
    bench.drain();
    CarvexPlatform::MemoryRelease::releaseFreedMemory();
    const double empty = residentMB();
    double openValidated = 0;
    Closes closes;
    for (auto _ : state) {
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            const auto [document, window] = bench.open(path);
            if (!window) {
                state.SkipWithError("no window");
                return;
            }
            bench.drain();
            window->validateDocument();
            bench.drain();
            const std::size_t entries = document->logStore()->entries().size();
            if (window->isValidating() || entries < 2) {
                state.SkipWithError("the validation did not complete");
                return;
            }
            openValidated = std::max(openValidated, residentMB());
            if (!closes.closeAndRecord(bench, window, state)) {
                return;
            }
            std::fprintf(stderr, "cycle %2d: open and validated %.0f MB, after close %.0f MB (%.0f MB in use)\n",
                         cycle + 1, openValidated, closes.resident.back(), closes.lastInUse);
        }
    }
    closes.report(state, empty);
    state.counters["open_validated"] = openValidated;
}
BENCHMARK(BM_OpenValidateCloseTenMegabytes)->Unit(benchmark::kMillisecond)->Iterations(1);

constexpr int kLongLineCycles = 8;

void BM_CloseWhileALongLineLoads(benchmark::State& state) {
    CarvexPlatform::MemoryRelease::configureAllocator();
    CloseBench bench;
    // Words and JSON punctuation, as a minified description held in a string would have.
    QByteArray top = "openapi: 3.0.3\ninfo:\n  title: Long\n  version: '1'\n  description: \"";
    while (top.size() < 2'000'000) {
        top += "{'name':'Lorem ipsum dolor','value':[1,2,3],'ok':true},";
    }
    top += "\"\n";
    const qsizetype throughLongLine = top.size();  // in units too: it is ASCII
    QString path;
    {
        std::string rest = SyntheticDescription::generate(6u * 1024u * 1024u, SyntheticDescription::Syntax::yaml);
        rest.erase(0, rest.find("\npaths:") + 1);
        path = bench.write(QStringLiteral("long-line.yaml"), top + QByteArray::fromStdString(rest));
        top = QByteArray();
    }
    bench.drain();
    CarvexPlatform::MemoryRelease::releaseFreedMemory();
    const double empty = residentMB();
    double openLoading = 0;
    Closes closes;
    for (auto _ : state) {
        for (int cycle = 0; cycle < kLongLineCycles; ++cycle) {
            const auto [document, window] = bench.open(path);
            EditorTextView* view = window ? editorTextViewOf(window) : nullptr;
            if (!view) {
                state.SkipWithError("no window");
                return;
            }
            // Turns of the main queue until the long line is in, the rest still loading.
            for (int turn = 0; turn < 100000 && view->isLoading() &&
                               view->document()->characterCount() < throughLongLine;
                 ++turn) {
                QCoreApplication::processEvents();
                bench.fake->runNext();
            }
            if (!view->isLoading() || view->document()->characterCount() < throughLongLine) {
                state.SkipWithError("the long line did not come in while the text loaded");
                return;
            }
            openLoading = std::max(openLoading, residentMB());
            if (!closes.closeAndRecord(bench, window, state)) {
                return;
            }
            std::fprintf(stderr, "cycle %2d: open and loading %.0f MB, after close %.0f MB (%.0f MB in use)\n",
                         cycle + 1, openLoading, closes.resident.back(), closes.lastInUse);
        }
    }
    closes.report(state, empty);
    state.counters["open_loading"] = openLoading;
}
BENCHMARK(BM_CloseWhileALongLineLoads)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
