// Resident memory across document windows that open, validate and close, offscreen: a 10 MB YAML
// description is opened through the document controller, validated with the real validation service
// and its window closed, 16 times over. The main queue runs on the fake clock, so the idle release
// after a close comes at once; the resident size is read after each validation and after each close.
//
// Counters (MB): `empty` before the first open, `open_validated` the largest with the description open
// and validated, `first_close` and `last_close` after the first and the last close, `close_spread` the
// largest distance of any close from the first, `growth` the last close less the first; `*_in_use` the
// bytes the allocator has handed out and not had back after the first and the last close.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_app_close_memory

#include "Carvex/Console/ConsoleViewController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Windows/DocumentWindowController.h"
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

#include <algorithm>
#include <cmath>
#include <cstdio>

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

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scope{fake};
    EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    QTemporaryDir folder;
    DocumentController controller{CarvexPlatform::Settings::isolated()};
};

void BM_OpenValidateCloseTenMegabytes(benchmark::State& state) {
    // As the application does at start.
    CarvexPlatform::MemoryRelease::configureAllocator();
    CloseBench bench;
    const QString path = bench.folder.filePath(QStringLiteral("large.yaml"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(QByteArray::fromStdString(
            SyntheticDescription::generate(10u * 1024u * 1024u, SyntheticDescription::Syntax::yaml)));
    }
    bench.drain();
    CarvexPlatform::MemoryRelease::releaseFreedMemory();
    const double empty = residentMB();
    double openValidated = 0;
    std::vector<double> closes;
    double firstInUse = 0;
    double lastInUse = 0;
    for (auto _ : state) {
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            CarvexPlatform::Document* opened = nullptr;
            bench.controller.openDocumentWithContentsOfFile(
                path, true, [&](CarvexPlatform::Document* document, bool, auto) { opened = document; });
            auto* document = dynamic_cast<Document*>(opened);
            auto* window = document && !document->windowControllers().empty()
                               ? dynamic_cast<DocumentWindowController*>(document->windowControllers().front())
                               : nullptr;
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
            window->window()->close();
            bench.drain();
            if (!bench.controller.documents().empty() || CarvexPlatform::MemoryRelease::isPending()) {
                state.SkipWithError("the document did not close");
                return;
            }
            closes.push_back(residentMB());
            lastInUse = inUseMB();
            firstInUse = cycle == 0 ? lastInUse : firstInUse;
            std::fprintf(stderr, "cycle %2d: open and validated %.0f MB, after close %.0f MB (%.0f MB in use)\n",
                         cycle + 1, openValidated, closes.back(), lastInUse);
        }
    }
    double spread = 0;
    for (const double close : closes) {
        spread = std::max(spread, std::fabs(close - closes.front()));
    }
    state.counters["empty"] = empty;
    state.counters["open_validated"] = openValidated;
    state.counters["first_close"] = closes.front();
    state.counters["last_close"] = closes.back();
    state.counters["close_spread"] = spread;
    state.counters["growth"] = closes.back() - closes.front();
    state.counters["first_close_in_use"] = firstInUse;
    state.counters["last_close_in_use"] = lastInUse;
    state.counters["releases"] = CarvexPlatform::MemoryRelease::releaseCount();
}
BENCHMARK(BM_OpenValidateCloseTenMegabytes)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
