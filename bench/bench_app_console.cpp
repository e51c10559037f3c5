// The console over a large log, offscreen (targets: binding to a log of 100,000 entries shows it within
// 100 ms with under 50 MB beyond the log itself; appending one entry to that visible log costs under
// 1 ms; writing 100,000 entries in one turn into a visible console adds under 300 ms; no scrolling step
// stalls the main thread for more than 16 ms). Each figure includes the gathered refresh and a repaint.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_app_console

#include "Carvex/Console/ConsoleViewController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QScrollBar>

#include <malloc.h>

#include <fstream>
#include <string>

namespace {

using namespace Carvex;

constexpr int kEntries = 100'000;

double residentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// A log as a validation of a large description writes it: a finding per entry, most with a place.
void fill(Document& document, int count) {
    for (int i = 0; i < count; ++i) {
        const QString message = QStringLiteral("[SCH-011] Schema with type 'array' must have 'items' defined (%1)").arg(i);
        switch (i % 4) {
            case 0: document.logger().error(message, QStringLiteral("details of finding %1").arg(i),
                                            SourceLocation{QString(), i + 1, 7, std::nullopt},
                                            QStringLiteral("/components/schemas/S%1").arg(i));
                break;
            case 1: document.logger().warning(message, std::nullopt, SourceLocation{QString(), i + 1, 3, std::nullopt}); break;
            case 2: document.logger().info(message); break;
            default: document.logger().success(message, std::nullopt, QStringLiteral("/paths")); break;
        }
    }
}

struct Fixture {
    Fixture() {
        window.resize(900, 300);
        window.setCentralWidget(console.view());
        window.show();
        QApplication::processEvents();
    }
    // Ends the turn: the gathered refresh runs, then what it marked is painted.
    void settle() {
        fake->runPending();
        QApplication::processEvents();
    }

    bool application = (CarvexPlatform::TestApplication::ensure(), true);
    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scope{fake};
    EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    Document document{&preferences};
    QMainWindow window;
    ConsoleViewController console;
};

void BM_BindToHundredThousandEntries(benchmark::State& state) {
    double extra = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto fixture = std::make_unique<Fixture>();
        fill(fixture->document, kEntries);
        malloc_trim(0);
        const double before = residentMegabytes();
        state.ResumeTiming();
        fixture->console.bind(fixture->document);
        fixture->settle();
        state.PauseTiming();
        extra = std::max(extra, residentMegabytes() - before);
        if (fixture->console.outlineView()->rowCount() != kEntries) state.SkipWithError("rows missing");
        fixture.reset();
        state.ResumeTiming();
    }
    state.counters["extra_MB"] = extra;
}

void BM_AppendOneToVisibleHundredThousand(benchmark::State& state) {
    Fixture fixture;
    fill(fixture.document, kEntries);
    fixture.console.bind(fixture.document);
    fixture.settle();
    // The time is the console's: the gathered refresh and the repaint after the entry reached the log
    // (the log's own cost, an entry with its id and local time, is shown apart).
    double logTotal = 0;
    double refreshNs = 0;
    double paintNs = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        fixture.document.logger().info(QStringLiteral("one more"), SourceLocation{QString(), 1, 1, std::nullopt});
        logTotal += static_cast<double>(timer.nsecsElapsed());
        timer.start();
        fixture.fake->runPending();
        refreshNs += static_cast<double>(timer.nsecsElapsed());
        QElapsedTimer paint;
        paint.start();
        QApplication::processEvents();
        paintNs += static_cast<double>(paint.nsecsElapsed());
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    state.counters["log_write_us"] = logTotal / 1e3 / static_cast<double>(state.iterations());
    state.counters["refresh_us"] = refreshNs / 1e3 / static_cast<double>(state.iterations());
    state.counters["paint_us"] = paintNs / 1e3 / static_cast<double>(state.iterations());
    const ConsoleOutlineView* outline = fixture.console.outlineView();
    if (outline->verticalScrollBar()->value() != outline->verticalScrollBar()->maximum())
        state.SkipWithError("the newest entry is not in view");
}

void BM_WriteHundredThousandInOneTurn(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto fixture = std::make_unique<Fixture>();
        fixture->console.bind(fixture->document);
        fixture->settle();
        // The log's own cost, measured apart: writing the entries with nobody listening.
        Document bare{&fixture->preferences};
        QElapsedTimer alone;
        alone.start();
        fill(bare, kEntries);
        const double logOnly = static_cast<double>(alone.nsecsElapsed()) / 1e6;
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        fill(fixture->document, kEntries);
        fixture->settle();
        const double total = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        state.PauseTiming();
        state.counters["log_only_ms"] = logOnly;
        state.counters["console_adds_ms"] = total - logOnly;
        if (fixture->console.outlineView()->rowCount() != kEntries) state.SkipWithError("rows missing");
        fixture.reset();
        state.ResumeTiming();
    }
}

void BM_ScrollThroughHundredThousand(benchmark::State& state) {
    Fixture fixture;
    fill(fixture.document, kEntries);
    fixture.console.bind(fixture.document);
    fixture.settle();
    ConsoleOutlineView* outline = fixture.console.outlineView();
    // Every description open, as a user might have: the rows are not all alike.
    for (int i = 0; i < 2000; i += 4) outline->expand(fixture.console.outlineModel().index(i, 0));
    QScrollBar* bar = outline->verticalScrollBar();
    double worst = 0;
    for (auto _ : state) {
        for (int step = 0; step <= 200; ++step) {
            QElapsedTimer timer;
            timer.start();
            bar->setValue(static_cast<int>(static_cast<long long>(bar->maximum()) * step / 200));
            outline->viewport()->repaint();
            worst = std::max(worst, static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
        for (int page = 0; page < 200; ++page) {
            QElapsedTimer timer;
            timer.start();
            bar->setValue(bar->value() - bar->pageStep());
            outline->viewport()->repaint();
            worst = std::max(worst, static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
    }
    state.counters["worst_step_ms"] = worst;
}

BENCHMARK(BM_BindToHundredThousandEntries)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AppendOneToVisibleHundredThousand)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_WriteHundredThousandInOneTurn)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ScrollThroughHundredThousand)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
