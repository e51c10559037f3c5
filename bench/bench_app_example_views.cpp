// The Example tab and the example generator panel, offscreen, over a synthetic YAML description of about
// 10 MB.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_app_example_views [--benchmark_filter=...]
//
// - ExampleTabSlowestSource: the Example tab configured with an operation and showing the source that
//   took longest among a sample of operations, laid out and painted (the colours are made for what is
//   on screen when it is painted). Target: under 80 ms.
// - PanelReparseShare: what the coordinator asks of the panel after a re-parse (model, rows, choice of
//   operation and target kept, example generated, coloured and painted) with the slowest target of a
//   sample chosen; each iteration gets a freshly parsed model. Target: under 50 ms.
// - Reparse and FirstFill: the properties pane's figures with the panel attached and the Example tab
//   shown before each change (see bench_app_properties_pane): under 800 ms at 10 MB, no turn of the main
//   thread over 50 ms ("main_ms").
// - DeclaredExample/1: a declared example of about 1 MB shown in the tab, first screen painted. Target:
//   under 100 ms. "settled_ms" is the time until the rest of the text is appended (in slices, on later
//   turns) and its colours are in (texts over 256K units are lexed on a worker thread); the main thread
//   stays free in between. /10: the same at 10 MB, the most text the generator makes.
// Before timing, the shown texts are read back as JSON and the panel's choice is checked.

#include <benchmark/benchmark.h>

#include "AppBenchmarkMain.h"
#include "Carvex/Examples/ExampleGeneratorViewController.h"
#include "Carvex/ModelAdapters/AnyValueText.h"
#include "Carvex/ModelAdapters/ExampleExtractor.h"
#include "Carvex/ModelAdapters/GeneratedExample.h"
#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/ModelAdapters/OperationsIndexBuilder.h"
#include "Carvex/Properties/ExampleTabViewController.h"
#include "Carvex/Properties/OperationDetailsTabController.h"
#include "Carvex/Properties/OperationsTableModel.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Properties/PropertiesViewCoordinator.h"
#include "Carvex/Properties/TabButtonBar.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "PaneReparseHarness.h"
#include "SyntheticDescription.h"
#include "kit/parsing/JSONParser.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <QComboBox>
#include <QLayout>
#include <QTableView>
#include <QToolButton>

#include <time.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using SyntheticDescription::Syntax;

double since(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

double threadCPUMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

Carvex::ParsedOpenAPIModel parse(const QString& text) {
    const auto result = Carvex::OpenAPIModelParsingService().parse(text, Carvex::DocumentFormat::yaml);
    if (!result.isSuccess()) {
        fail("description did not parse");
    }
    return *result.model();
}

bool readsAsJSON(const QString& text);

struct Fixture {
    QString text;
    std::optional<Carvex::ParsedOpenAPIModel> model;
    std::vector<Carvex::OperationRowViewModel> rows;
};

// The 10 MB description declaring OpenAPI 3.1 (`version` 31) or 3.0 (30). Its schemas are nested and
// refer to each other, so generating from them stops at the depth limit; 3.0 schemas carry an `example`
// of their own, which the Example tab shows, while a 3.1 schema has none.
Fixture& fixture(int version = 31) {
    static std::map<int, Fixture> fixtures;
    auto found = fixtures.find(version);
    if (found != fixtures.end()) {
        return found->second;
    }
    Fixture& data = fixtures[version];
    data = [version] {
        Fixture made;
        const int units = SyntheticDescription::unitsFor(std::size_t{10} << 20, Syntax::yaml);
        made.text = QString::fromStdString(
            SyntheticDescription::generateUnits(units, Syntax::yaml, version == 30 ? "3.0.3" : "3.1.0"));
        made.model = parse(made.text);
        made.rows = Carvex::OperationsIndexBuilder().build(*made.model);
        if (made.rows.size() != static_cast<std::size_t>(units) * 3) {
            fail("wrong row count");
        }
        return made;
    }();
    return data;
}

// What the panel shows: a generated example as JSON, or the line saying there is none.
bool panelOutputIsSound(const QString& text) {
    return text == Carvex::ExampleGeneratorViewController::noSchemaText || readsAsJSON(text);
}

// Operations to look at for the slowest source or target: the first and last few and a spread between.
std::vector<std::size_t> sampledRows(std::size_t count) {
    std::vector<std::size_t> picked;
    for (std::size_t index = 0; index < count; ++index) {
        if (index < 30 || index + 30 >= count || index % 211 == 0) {
            picked.push_back(index);
        }
    }
    return picked;
}

Carvex::OperationDetailsViewModel detailsOf(const Carvex::ParsedOpenAPIModel& model, const Carvex::OperationID& id) {
    auto details = Carvex::OperationDetailsBuilder().build(id, model);
    if (!details) {
        fail("no details");
    }
    return *details;
}

// Whether `text` reads as JSON through the library's parser.
bool readsAsJSON(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    try {
        VoziZazIreParsing::JSONParser().parse(
            std::span(reinterpret_cast<const std::uint8_t*>(utf8.constData()), static_cast<std::size_t>(utf8.size())));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

struct Slowest {
    Carvex::OperationID id;
    int index = 0;
    double milliseconds = 0;
};

void BM_ExampleTabSlowestSource(benchmark::State& state) {
    CarvexPlatform::TestApplication::ensure();
    Fixture& data = fixture(static_cast<int>(state.range(0)));
    const Carvex::ParsedOpenAPIModel& model = *data.model;
    auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    Carvex::ExampleTabViewController tab(fake);
    tab.view()->resize(480, 600);
    tab.view()->show();

    Slowest slowest;
    double cold = 0;
    int shown = 0;
    int sources = 0;
    for (std::size_t row : sampledRows(data.rows.size())) {
        const Carvex::OperationDetailsViewModel details = detailsOf(model, data.rows[row].id);
        tab.configure(details, model);
        for (int index = 0; index < static_cast<int>(tab.availableSources().size()); ++index) {
            const auto start = Clock::now();
            tab.selectSource(index);
            tab.view()->repaint();
            const double took = since(start);
            ++sources;
            shown += tab.currentSourceExamples().empty() ? 0 : 1;
            cold = cold == 0 ? took : cold;
            if (took > slowest.milliseconds) {
                slowest = {data.rows[row].id, index, took};
            }
        }
    }
    const Carvex::OperationDetailsViewModel details = detailsOf(model, slowest.id);
    for (auto _ : state) {
        tab.configure(details, model);
        tab.selectSource(slowest.index);
        tab.view()->layout()->activate();
        tab.view()->repaint();
    }
    const bool withExamples = !tab.currentSourceExamples().empty();
    if (withExamples ? !readsAsJSON(tab.textView()->viewText()) || tab.textView()->isHidden()
                     : tab.noExamplesLabel()->isHidden()) {
        state.SkipWithError("the tab does not show its state");
    }
    state.counters["first_source_ms"] = cold;
    state.counters["sampled_sources"] = sources;
    state.counters["sources_with_examples"] = shown;
    state.counters["text_units"] = static_cast<double>(tab.textView()->textLength());
    std::printf("slowest source: %s %s #%d\n", Carvex::rawValue(slowest.id.method).data(),
                qPrintable(slowest.id.path), slowest.index);
}

void BM_PanelReparseShare(benchmark::State& state) {
    CarvexPlatform::TestApplication::ensure();
    Fixture& data = fixture();
    auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    Carvex::ExampleGeneratorViewController panel(fake);
    panel.view()->resize(900, 320);
    panel.view()->show();

    // The slowest target of the sample, by the service alone.
    const Carvex::ExampleGeneratorService service;
    Slowest slowest;
    for (std::size_t row : sampledRows(data.rows.size())) {
        const Carvex::OperationRowViewModel& operation = data.rows[row];
        const auto targets = service.availableTargets(operation.path(), operation.method(), *data.model);
        for (int index = 0; index < static_cast<int>(targets.size()); ++index) {
            const auto start = Clock::now();
            benchmark::DoNotOptimize(service.generateExample(targets[static_cast<std::size_t>(index)], operation.path(),
                                                             operation.method(), *data.model));
            const double took = since(start);
            if (took > slowest.milliseconds) {
                slowest = {operation.id, index, took};
            }
        }
    }

    // What the coordinator does after a parse, then the user's choice of the slowest target.
    const auto refresh = [&](const Carvex::ParsedOpenAPIModel& model, std::vector<Carvex::OperationRowViewModel> rows) {
        panel.setCurrentModel(model);
        std::optional<QString> path;
        std::optional<Carvex::HTTPMethod> method;
        const int chosen = panel.selectedOperationIndex();
        if (chosen >= 0 && static_cast<std::size_t>(chosen) < panel.operations().size()) {
            path = panel.operations()[static_cast<std::size_t>(chosen)].path();
            method = panel.operations()[static_cast<std::size_t>(chosen)].method();
        }
        panel.setOperations(std::move(rows));
        panel.reloadOperations(path, method);
        panel.reloadTargets();
        panel.updateEmptyState();
        fake->runPending();
        panel.view()->repaint();
    };
    refresh(*data.model, data.rows);
    for (std::size_t index = 0; index < data.rows.size(); ++index) {
        if (data.rows[index].id == slowest.id) {
            panel.operationPopup()->setCurrentIndex(static_cast<int>(index));
            emit panel.operationPopup()->activated(static_cast<int>(index));
        }
    }
    panel.targetPopup()->setCurrentIndex(slowest.index);
    emit panel.targetPopup()->activated(slowest.index);

    double longestCPU = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A re-parse gives a new model, whose adapters are made on first use.
        std::optional<Carvex::ParsedOpenAPIModel> model = parse(data.text);
        std::vector<Carvex::OperationRowViewModel> rows = data.rows;
        state.ResumeTiming();
        const double beginCPU = threadCPUMilliseconds();
        refresh(*model, std::move(rows));
        longestCPU = std::max(longestCPU, threadCPUMilliseconds() - beginCPU);
        state.PauseTiming();
        if (panel.operations()[static_cast<std::size_t>(panel.selectedOperationIndex())].id != slowest.id ||
            panel.selectedTargetIndex() != slowest.index || !panelOutputIsSound(panel.outputText())) {
            state.SkipWithError("the choice was not kept");
            break;
        }
        panel.setCurrentModel(std::nullopt);
        model.reset();
        state.ResumeTiming();
    }
    state.counters["main_cpu_ms"] = longestCPU;
    state.counters["operations"] = static_cast<double>(data.rows.size());
    std::printf("slowest target: %s %s #%d\n", Carvex::rawValue(slowest.id.method).data(),
                qPrintable(slowest.id.path), slowest.index);
}

// The example panel is made before the pane and outlives it.
struct PanelHolder {
    explicit PanelHolder(std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake) : panel(std::move(fake)) {}
    Carvex::ExampleGeneratorViewController panel;
};

// The properties pane in a window with the example panel attached, on the fake clock. After the rows,
// one more turn lets the panel take them, and the panel is painted with the table.
struct Pane : PanelHolder, PaneReparseHarness {
    explicit Pane(const std::shared_ptr<CarvexPlatform::FakeMainScheduler>& fake)
        : PanelHolder(fake), PaneReparseHarness(fake) {
        panel.view()->resize(900, 320);
        panel.view()->show();
        controller.setExampleGeneratorViewController(&panel);
        settle = [this] { this->fake->runPending(); };
        paintAlso = [this] { panel.view()->repaint(); };
    }

    void showExampleTab() {
        if (auto* tabs = controller.tabController()) {
            tabs->tabBar()->buttons()[3]->click();
        }
    }
};

void BM_Reparse(benchmark::State& state) {
    CarvexPlatform::TestApplication::ensure();
    const Fixture& data = fixture();
    Pane pane(std::make_shared<CarvexPlatform::FakeMainScheduler>());
    pane.change(data.text);
    pane.selectMiddleOperation();
    Pane::Turns worst;
    for (auto _ : state) {
        pane.showExampleTab();
        const Pane::Turns turns = pane.change(data.text);
        state.SetIterationTime(turns.total / 1e3);
        worst.keepLongest(turns);
        if (pane.controller.operations().size() != data.rows.size() || pane.panel.operations().size() != data.rows.size()) {
            state.SkipWithError("wrong row count");
        }
        if (!panelOutputIsSound(pane.panel.outputText())) {
            state.SkipWithError("the panel shows neither an example nor its absence");
        }
    }
    worst.report(state);
    pane.close();
}

void BM_FirstFill(benchmark::State& state) {
    CarvexPlatform::TestApplication::ensure();
    const Fixture& data = fixture();
    Pane::Turns worst;
    for (auto _ : state) {
        Pane pane(std::make_shared<CarvexPlatform::FakeMainScheduler>());
        const Pane::Turns turns = pane.change(data.text);
        state.SetIterationTime(turns.total / 1e3);
        worst.keepLongest(turns);
        if (pane.controller.operations().size() != data.rows.size() || !panelOutputIsSound(pane.panel.outputText())) {
            state.SkipWithError("wrong rows or no example");
        }
        state.PauseTiming();
        pane.close();
        state.ResumeTiming();
    }
    worst.report(state);
}

void BM_DeclaredExample(benchmark::State& state) {
    CarvexPlatform::TestApplication::ensure();
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    std::string example = "[";
    for (int index = 0; example.size() < bytes; ++index) {
        example += (index ? ", " : "") + std::string("{\"id\": ") + std::to_string(index) +
                   ", \"name\": \"n\\u00e9me " + std::to_string(index) + "\", \"price\": 19.99, \"ok\": true, \"tag\": null}";
    }
    example += "]";
    const Carvex::ParsedOpenAPIModel model = parse(QString::fromStdString(
        "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /big:\n    get:\n      responses:\n"
        "        '200': {description: d, content: {application/json: {example: " + example + "}}}\n"));
    const Carvex::OperationDetailsViewModel details = detailsOf(model, {QStringLiteral("/big"), Carvex::HTTPMethod::get});
    auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    Carvex::ExampleTabViewController tab(fake);
    tab.view()->resize(480, 600);
    tab.view()->show();
    double settled = 0;
    for (auto _ : state) {
        const auto shown = Clock::now();
        tab.configure(details, model);
        tab.view()->layout()->activate();
        tab.view()->repaint();
        state.PauseTiming();
        CarvexPlatform::BackgroundTask::waitForIdle();
        fake->runPending();
        tab.textView()->finishLoading();
        settled = std::max(settled, since(shown));
        state.ResumeTiming();
    }
    if (!tab.textView()->colorLayer().typeAt(tab.textView()->textLength() - 1)) {
        state.SkipWithError("the end of the text is not coloured");
    }
    state.counters["settled_ms"] = settled;
    if (!readsAsJSON(tab.textView()->viewText())) {
        state.SkipWithError("the example does not read back");
    }
    state.counters["text_units"] = static_cast<double>(tab.textView()->textLength());
}

}  // namespace

BENCHMARK(BM_ExampleTabSlowestSource)->Arg(31)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanelReparseShare)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Reparse)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FirstFill)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DeclaredExample)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

CARVEX_APP_BENCHMARK_MAIN();
