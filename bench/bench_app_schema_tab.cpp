// The Schema tab, offscreen, in a window 480 by 600.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_app_schema_tab [--benchmark_filter=...]
//
// - FirstPaint: an inline request body of 1,000 properties, each with a one-line description:
//   `configure` (the tree built afresh) to the first painted screen. Target: under 50 ms.
//   "measured_on_resize" counts the descriptions measured again after a width change: only the rows
//   laid out, not the thousand.
// - ExpandAll: Expand All on a resolved tree of ten references per level over eight levels, which
//   reaches the node budget, to the painted screen. Target: under 300 ms. "rows_shown" counts the
//   rows it opened.
// - FanOutConfigure: the same tree, Resolved: `configure` (built afresh) to the painted screen.
//   Target: under 50 ms.
// - Reparse and FirstFill: the properties pane's figures (see bench_app_properties_pane) with the
//   Schema tab shown for the selected operation: from the end of the debounce to the new rows painted,
//   "main_ms" the longest turn of the main thread. Targets: under 800 ms at 10 MB, no turn over 50 ms.
// Before timing, the fixtures are checked.

#include <benchmark/benchmark.h>

#include "AppBenchmarkMain.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/Properties/OperationDetailsTabController.h"
#include "Carvex/Properties/SchemaOutlineView.h"
#include "Carvex/Properties/SchemaTabViewController.h"
#include "Carvex/Properties/SchemaTreeCellView.h"
#include "Carvex/Properties/TabButtonBar.h"
#include "PaneDescription.h"
#include "PaneReparseHarness.h"
#include "kit/facade/OpenApiParser.h"
#include "platform/BackgroundTask.h"

#include <QApplication>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using Carvex::SchemaTabViewController;

void fail(const char* what)
{
    std::fprintf(stderr, "fixture check failed: %s\n", what);
    std::exit(1);
}

Carvex::ParsedOpenAPIModel parse(const std::string& text)
{
    return Carvex::ParsedOpenAPIModel(
        VoziZazIre::OpenApiParser().parse(text, VoziZazIre::Format::yaml, VoziZazIreCore::ValidationLevel::none).document);
}

Carvex::OperationDetailsViewModel detailsOf(const Carvex::ParsedOpenAPIModel& model, const QString& path)
{
    const auto details = Carvex::OperationDetailsBuilder().build({path, Carvex::HTTPMethod::post}, model);
    if (!details)
        fail("no operation");
    return *details;
}

std::string wideBody()
{
    std::string text = "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /wide:\n    post:\n"
                       "      requestBody:\n        content:\n          application/json:\n            schema:\n"
                       "              type: object\n              properties:\n";
    for (int i = 0; i < 1000; ++i)
        text += "                p" + std::to_string(i) + ": {type: string, format: uuid, description: 'The identifier of the "
            + std::to_string(i) + "th thing in the list.'}\n";
    text += "      responses:\n        '200': {description: ok}\n";
    return text;
}

std::string fanOutBody()
{
    std::string text = "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /fan:\n    post:\n"
                       "      requestBody:\n        content:\n"
                       "          application/json: {schema: {$ref: '#/components/schemas/L0'}}\n"
                       "      responses:\n        '200': {description: ok}\ncomponents:\n  schemas:\n";
    for (int level = 0; level < 8; ++level) {
        text += "    L" + std::to_string(level) + ":\n      type: object\n      properties:\n";
        for (int i = 0; i < 10; ++i)
            text += "        p" + std::to_string(i) + ": {$ref: '#/components/schemas/L" + std::to_string(level + 1)
                + "'}\n";
    }
    text += "    L8: {type: string}\n";
    return text;
}

// A Schema tab shown in a window of its own.
struct ShownTab {
    ShownTab()
    {
        tab.view()->resize(480, 600);
        tab.view()->show();
        QApplication::processEvents();
    }
    // Forgets every tree (on a worker thread, waited for), so that the next configure builds afresh.
    void forget()
    {
        tab.releaseModelUnless(std::nullopt);
        CarvexPlatform::BackgroundTask::waitForIdle();
        QApplication::processEvents();
    }
    void paint() { tab.outlineView()->viewport()->repaint(); }

    SchemaTabViewController tab;
};

void BM_FirstPaint(benchmark::State& state)
{
    const Carvex::ParsedOpenAPIModel model = parse(wideBody());
    const Carvex::OperationDetailsViewModel details = detailsOf(model, QStringLiteral("/wide"));
    ShownTab shown;
    for (auto _ : state) {
        state.PauseTiming();
        shown.forget();
        state.ResumeTiming();
        shown.tab.configure(details, model);
        shown.paint();
    }
    if (!shown.tab.rootNode() || shown.tab.rootNode()->children().size() != 1000)
        fail("the wide schema has not 1,000 properties");
    // A width change measures again only the rows laid out.
    const int before = shown.tab.outlineView()->cellView().measurements();
    shown.tab.view()->resize(400, 600);
    QApplication::processEvents();
    shown.paint();
    state.counters["measured_on_resize"] = shown.tab.outlineView()->cellView().measurements() - before;
}

void BM_ExpandAll(benchmark::State& state)
{
    const Carvex::ParsedOpenAPIModel model = parse(fanOutBody());
    const Carvex::OperationDetailsViewModel details = detailsOf(model, QStringLiteral("/fan"));
    ShownTab shown;
    shown.tab.modeSelected(1);
    shown.tab.configure(details, model);
    Carvex::SchemaOutlineView& outline = *shown.tab.outlineView();
    for (auto _ : state) {
        state.PauseTiming();
        shown.tab.collapseAll();
        QApplication::processEvents();
        state.ResumeTiming();
        shown.tab.expandAll();
        QApplication::processEvents();
        shown.paint();
    }
    // The rows shown: the root and the children of every opened row.
    long long rows = 0;
    std::vector<QModelIndex> level = {outline.model()->index(0, 0)};
    while (!level.empty()) {
        rows += static_cast<long long>(level.size());
        std::vector<QModelIndex> next;
        for (const QModelIndex& index : level) {
            if (!outline.isExpanded(index))
                continue;
            for (int row = 0; row < outline.model()->rowCount(index); ++row)
                next.push_back(outline.model()->index(row, 0, index));
        }
        level = std::move(next);
    }
    if (rows < 10000)
        fail("Expand All opened too little of the fan-out");
    state.counters["rows_shown"] = static_cast<double>(rows);
}

void BM_FanOutConfigure(benchmark::State& state)
{
    const Carvex::ParsedOpenAPIModel model = parse(fanOutBody());
    const Carvex::OperationDetailsViewModel details = detailsOf(model, QStringLiteral("/fan"));
    ShownTab shown;
    shown.tab.modeSelected(1);
    for (auto _ : state) {
        state.PauseTiming();
        shown.forget();
        state.ResumeTiming();
        shown.tab.configure(details, model);
        shown.paint();
    }
    if (!shown.tab.rootNode() || shown.tab.rootNode()->children().size() != 10)
        fail("the fan-out root has not ten properties");
}

// The document is made before the pane and outlives it.
struct DocumentHolder {
    Carvex::Document document;
};

// The properties pane with the Schema tab shown, as in bench_app_properties_pane. The details are
// shown with the document's model, which the coordinator keeps there.
struct Pane : DocumentHolder, PaneReparseHarness {
    explicit Pane(std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake)
        : PaneReparseHarness(std::move(fake), &document)
    {
    }

    // Shows the Schema tab of the selected operation; whether it shows a tree.
    bool showSchemaTab()
    {
        auto* tabs = controller.tabController();
        if (!tabs)
            return false;
        tabs->tabBar()->buttons()[2]->click();
        return tabs->schemaTab() && tabs->schemaTab()->rootNode();
    }
};

// An operation in the middle whose Schema tab shows a tree.
Carvex::OperationID chooseOperation(Pane& pane)
{
    const auto& rows = pane.controller.operations();
    for (std::size_t offset = 0; offset < rows.size(); ++offset) {
        const Carvex::OperationID id = rows[(rows.size() / 2 + offset) % rows.size()].id;
        pane.controller.coordinator()->selectOperation(id);
        if (pane.showSchemaTab())
            return id;
    }
    fail("no operation has a schema");
    return {};
}

void BM_Reparse(benchmark::State& state)
{
    const PaneDescription& data = PaneDescription::ofMegabytes(static_cast<std::size_t>(state.range(0)));
    Pane pane(std::make_shared<CarvexPlatform::FakeMainScheduler>());
    pane.change(data.text);
    chooseOperation(pane);
    Pane::Turns worst;
    for (auto _ : state) {
        if (!pane.showSchemaTab())
            state.SkipWithError("the Schema tab shows no tree");
        const Pane::Turns turns = pane.change(data.text);
        state.SetIterationTime(turns.total / 1e3);
        worst.keepLongest(turns);
        if (pane.controller.operations().size() != data.operations)
            state.SkipWithError("wrong row count");
    }
    worst.report(state);
    pane.close();
}

void BM_FirstFill(benchmark::State& state)
{
    const PaneDescription& data = PaneDescription::ofMegabytes(static_cast<std::size_t>(state.range(0)));
    Pane::Turns worst;
    for (auto _ : state) {
        state.PauseTiming();
        // The window had shown another document's operation on its Schema tab.
        Pane pane(std::make_shared<CarvexPlatform::FakeMainScheduler>());
        pane.change(QString::fromStdString(fanOutBody()));
        pane.controller.coordinator()->selectOperation({QStringLiteral("/fan"), Carvex::HTTPMethod::post});
        if (!pane.showSchemaTab())
            state.SkipWithError("the Schema tab shows no tree");
        state.ResumeTiming();
        const Pane::Turns turns = pane.change(data.text);
        state.SetIterationTime(turns.total / 1e3);
        worst.keepLongest(turns);
        if (pane.controller.operations().size() != data.operations)
            state.SkipWithError("wrong row count");
        state.PauseTiming();
        pane.close();
        state.ResumeTiming();
    }
    worst.report(state);
}

} // namespace

BENCHMARK(BM_FirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FanOutConfigure)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reparse)->Arg(10)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FirstFill)->Arg(10)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

CARVEX_APP_BENCHMARK_MAIN();
