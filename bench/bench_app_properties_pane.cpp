// The properties pane in a window, offscreen, over synthetic YAML descriptions of about 1 and 10 MB.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_app_properties_pane [--benchmark_filter=...]
//
// - Reparse: from the end of the debounce to the new rows painted in the table with the selected
//   operation selected again (parse and rows on a worker thread, the rest on the main thread).
//   "main_ms" is the longest single turn of the main thread on the way, "main_cpu_ms" that turn in
//   the thread's processor time. Targets: under 150 ms at 1 MB and 800 ms at 10 MB, no turn over 50 ms.
// - FirstFill: the same for a pane and coordinator made afresh, as after opening the 10 MB document
//   (a fresh model whose adapters are made on first use). Same targets.
// - Reload: the pane handed 100,000 rows, alternately with one more row above the selected one,
//   selecting its operation again and painting the rows on screen, among them a path of a megabyte and
//   a summary with line breaks and bidirectional controls. Target: under 20 ms.
// - HTMLDescription: a 100 KB HTML description prepared and laid out at 400 wide. Target: under 50 ms.
//   HTMLDescriptionShown: the same in the Description tab, laid out and painted as a pane shows it.
// - HugeDescription: a megabyte of HTML, a thousand nested elements, tables fourteen deep. Target:
//   under a second each.
// - BodyTab: the Body tab of an operation with 1,000 parameters and 100 responses, built and laid
//   out. Target: under 100 ms. BodyTabExpandAll: its Expand All, every row built, laid out and
//   painted (no target: sections build their rows when first unfolded).
// Reparse and FirstFill run with an operation selected and its Body tab shown.
// Before timing, the rows are checked against the description's operations.

#include <benchmark/benchmark.h>

#include "Carvex/Properties/OperationsTableModel.h"
#include "Carvex/Properties/BodyTabViewController.h"
#include "Carvex/Properties/DescriptionTabViewController.h"
#include "Carvex/Properties/OperationDetailsTabController.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Properties/SelfSizingTextView.h"
#include "Carvex/Properties/TabButtonBar.h"
#include "PaneDescription.h"
#include "PaneReparseHarness.h"
#include "platform/TestApplication.h"

#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QLayout>
#include <QToolButton>
#include <QTableView>

#include <memory>
#include <vector>

namespace {

// A pane in a window of its own, with a coordinator on the fake clock.
struct Pane : PaneReparseHarness {
    using PaneReparseHarness::PaneReparseHarness;

    void showBodyTab()
    {
        if (auto* tabs = controller.tabController())
            tabs->tabBar()->buttons()[1]->click();
    }

    int selectedRow() const
    {
        const QModelIndexList rows = controller.operationsTableView()->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.front().row();
    }
};

void BM_Reparse(benchmark::State& state)
{
    CarvexPlatform::TestApplication::ensure();
    const PaneDescription& data = PaneDescription::ofMegabytes(static_cast<std::size_t>(state.range(0)));
    Pane pane(std::make_shared<CarvexPlatform::FakeMainScheduler>());
    pane.change(data.text);
    const Carvex::OperationID chosen = pane.selectMiddleOperation();
    Pane::Turns worst;
    for (auto _ : state) {
        pane.showBodyTab();
        const Pane::Turns turns = pane.change(data.text);
        state.SetIterationTime(turns.total / 1e3);
        worst.keepLongest(turns);
        if (pane.controller.operations().size() != data.operations)
            state.SkipWithError("wrong row count");
        if (pane.selectedRow() != pane.controller.operationsTableModel()->rowOf(chosen) || pane.selectedRow() < 0)
            state.SkipWithError("the selection was not restored");
    }
    worst.report(state);
    pane.close();
}

void BM_FirstFill(benchmark::State& state)
{
    CarvexPlatform::TestApplication::ensure();
    const PaneDescription& data = PaneDescription::ofMegabytes(static_cast<std::size_t>(state.range(0)));
    Pane::Turns worst;
    for (auto _ : state) {
        Pane pane(std::make_shared<CarvexPlatform::FakeMainScheduler>());
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

void BM_Reload(benchmark::State& state)
{
    CarvexPlatform::TestApplication::ensure();
    const int count = static_cast<int>(state.range(0));
    std::vector<Carvex::OperationRowViewModel> rows;
    rows.reserve(static_cast<std::size_t>(count) + 1);
    for (int index = 0; index < count; ++index) {
        rows.push_back({Carvex::OperationID{QStringLiteral("/resources/%1/items").arg(index, 6, 10, QLatin1Char('0')),
                                            Carvex::allHTTPMethods[static_cast<std::size_t>(index) % 8]},
                        QStringLiteral("Summary of operation %1").arg(index), std::nullopt, index % 7 == 0, index * 5 + 4});
    }
    // Among them, on screen: a path of a megabyte and a summary with line breaks and bidirectional controls.
    rows[0].id.path = QStringLiteral("/") + QString(1 << 20, QLatin1Char('p'));
    rows[1].summary = QStringLiteral("first line\nsecond line\r\nthird \u202Ereversed\u2066 isolated\u2029 and more");
    std::vector<Carvex::OperationRowViewModel> inserted = rows;
    inserted.insert(inserted.begin(), {Carvex::OperationID{QStringLiteral("/a"), Carvex::HTTPMethod::get},
                                       std::nullopt, std::nullopt, false, 1});
    Pane pane(std::make_shared<CarvexPlatform::FakeMainScheduler>());
    const Carvex::OperationID chosen = rows[rows.size() * 3 / 4].id;
    pane.controller.coordinator()->selectOperation(chosen);
    bool odd = false;
    for (auto _ : state) {
        odd = !odd;
        pane.controller.coordinatorDidUpdateOperations(*pane.controller.coordinator(), odd ? inserted : rows);
        pane.controller.operationsTableView()->viewport()->repaint();
        if (pane.selectedRow() != (odd ? count * 3 / 4 + 1 : count * 3 / 4))
            state.SkipWithError("the selection was not restored");
    }
    state.counters["rows"] = count;
}

void BM_HTMLDescription(benchmark::State& state)
{
    CarvexPlatform::TestApplication::ensure();
    QString html;
    while (html.size() < 100 * 1024)
        html += QStringLiteral("<p>Returns the <b>pets</b> the caller may see, <i>sorted</i> by <code>name</code>; "
                               "see <a href=\"https://example.com/docs\">the docs</a>.</p><ul><li>one</li><li>two</li></ul>");
    for (auto _ : state) {
        std::unique_ptr<Carvex::SelfSizingTextView> view(Carvex::SelfSizingTextView::makeDescriptionView(html, 12));
        benchmark::DoNotOptimize(view->heightForWidth(400));
        // Freeing the view belongs to whatever replaces it, not to showing this one.
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
    state.counters["kilobytes"] = static_cast<double>(html.size()) / 1024;
}

// Bad input: a description of a megabyte of HTML, one nested a thousand elements deep, and one with
// tables nested fourteen deep (shown as plain text), prepared and laid out at 400 wide.
// Target: under a second each.
void BM_HugeDescription(benchmark::State& state)
{
    CarvexPlatform::TestApplication::ensure();
    QString text;
    switch (state.range(0)) {
    case 0:
        text = QStringLiteral("<p>Paragraph with <b>bold</b> text.</p>").repeated(1024 * 1024 / 38);
        break;
    case 1:
        text = QStringLiteral("<div><span>").repeated(500) + QStringLiteral("core") +
               QStringLiteral("</span></div>").repeated(500);
        break;
    default:
        text = QStringLiteral("<table><tr><td>").repeated(14) + QStringLiteral("deep") +
               QStringLiteral("</td></tr></table>").repeated(14);
        break;
    }
    for (auto _ : state) {
        std::unique_ptr<Carvex::SelfSizingTextView> view(Carvex::SelfSizingTextView::makeDescriptionView(text, 12));
        benchmark::DoNotOptimize(view->heightForWidth(400));
    }
    state.counters["kilobytes"] = static_cast<double>(text.size()) / 1024;
}

// The same description shown by the Description tab of a pane 480 wide: built, laid out and painted
// (into an image).
void BM_HTMLDescriptionShown(benchmark::State& state)
{
    CarvexPlatform::TestApplication::ensure();
    Carvex::OperationDetailsViewModel details;
    details.id = Carvex::OperationID{QStringLiteral("/pets"), Carvex::HTTPMethod::get};
    details.summary = QStringLiteral("List pets");
    QString html;
    while (html.size() < 100 * 1024)
        html += QStringLiteral("<p>Returns the <b>pets</b> the caller may see, <i>sorted</i> by <code>name</code>; "
                               "see <a href=\"https://example.com/docs\">the docs</a>.</p><ul><li>one</li><li>two</li></ul>");
    details.description = html;
    Carvex::DescriptionTabViewController tab;
    tab.view()->resize(480, 900);
    tab.view()->show();
    for (auto _ : state) {
        tab.configure(details);
        // The new rows are shown, then laid out.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        benchmark::DoNotOptimize(tab.view()->grab());
    }
    const auto* text = tab.view()->findChild<Carvex::SelfSizingTextView*>();
    if (!text || !text->isVisible() || text->width() < 400 || text->height() < 10000)
        state.SkipWithError("the description was not laid out");
    else
        state.counters["height"] = text->height();
}

Carvex::OperationDetailsViewModel largeOperation()
{
    Carvex::OperationDetailsViewModel details;
    details.id = Carvex::OperationID{QStringLiteral("/pets"), Carvex::HTTPMethod::post};
    const Carvex::ParamLocation locations[] = {Carvex::ParamLocation::path, Carvex::ParamLocation::query,
                                               Carvex::ParamLocation::header, Carvex::ParamLocation::cookie};
    for (int index = 0; index < 1000; ++index)
        details.parameters.emplace_back(QStringLiteral("parameter%1").arg(index), locations[index % 4], index % 3 == 0,
                                        QStringLiteral("The <b>%1th</b> parameter.").arg(index), QStringLiteral("string"),
                                        QStringLiteral("uuid"), std::nullopt, std::nullopt, false, index + 10);
    for (int index = 0; index < 100; ++index)
        details.responses.emplace_back(QString::number(200 + index), QStringLiteral("Response %1").arg(index),
                                       QStringList{QStringLiteral("application/json")}, QStringLiteral("Pet"), 5, index + 2000);
    return details;
}

// Expand All on that Body tab: every row built, laid out and painted (into an image).
void BM_BodyTabExpandAll(benchmark::State& state)
{
    CarvexPlatform::TestApplication::ensure();
    const Carvex::OperationDetailsViewModel details = largeOperation();
    Carvex::BodyTabViewController tab;
    tab.view()->resize(480, 600);
    tab.view()->show();
    for (auto _ : state) {
        state.PauseTiming();
        tab.configure(details);
        QCoreApplication::sendPostedEvents();
        state.ResumeTiming();
        tab.expandAllSections();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        benchmark::DoNotOptimize(tab.view()->grab());
    }
    state.counters["rows"] = static_cast<double>(tab.view()->findChildren<Carvex::SelfSizingTextView*>().size());
}

void BM_BodyTab(benchmark::State& state)
{
    CarvexPlatform::TestApplication::ensure();
    const Carvex::OperationDetailsViewModel details = largeOperation();
    Carvex::BodyTabViewController tab;
    tab.view()->resize(480, 600);
    tab.view()->show();
    for (auto _ : state) {
        tab.configure(details);
        tab.view()->layout()->activate();
        tab.view()->repaint();
    }
    state.counters["sections"] = static_cast<double>(tab.collapsibleSections().size());
}

} // namespace

BENCHMARK(BM_HTMLDescription)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HugeDescription)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HTMLDescriptionShown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BodyTab)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BodyTabExpandAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reparse)->Arg(1)->Arg(10)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FirstFill)->Arg(10)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Reload)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
