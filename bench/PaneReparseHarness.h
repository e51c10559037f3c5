#pragma once
// The properties pane in a window of its own, with a coordinator on the fake clock, and the timing of
// one re-parse (or first fill): the text is handed over, the debounce passes, then each turn of the main
// thread is timed until the table shows the new rows, painted. Shared by the benchmarks of the pane
// and of its tabs.

#include <benchmark/benchmark.h>

#include "Carvex/Documents/Document.h"
#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/ModelAdapters/OperationsIndexBuilder.h"
#include "Carvex/Properties/OperationsTableModel.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Properties/PropertiesViewCoordinator.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/Settings.h"

#include <QTableView>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

struct PaneReparseHarness {
    using Clock = std::chrono::steady_clock;

    // The time from the end of the debounce to the rows painted, and its longest single turn of the
    // main thread, in wall time and in the thread's processor time (milliseconds).
    struct Turns {
        double total = 0;
        double longest = 0;
        double longestCPU = 0;

        void keepLongest(const Turns& turns)
        {
            longest = std::max(longest, turns.longest);
            longestCPU = std::max(longestCPU, turns.longestCPU);
        }
        void report(benchmark::State& state) const
        {
            state.counters["main_ms"] = longest;
            state.counters["main_cpu_ms"] = longestCPU;
        }
    };

    // The pane shows the document's details when given one (the coordinator keeps its model there).
    explicit PaneReparseHarness(std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake,
                                Carvex::Document* document = nullptr)
        : fake(std::move(fake))
    {
        controller.view()->resize(480, 900);
        controller.setCoordinator(std::make_unique<Carvex::PropertiesViewCoordinator>(
            std::make_shared<Carvex::OpenAPIModelParsingService>(), std::make_shared<Carvex::OperationsIndexBuilder>(),
            std::make_shared<Carvex::OperationDetailsBuilder>(),
            std::make_shared<Carvex::PropertiesViewPolicyStore>(CarvexPlatform::Settings::isolated()), this->fake));
        if (document)
            controller.setDocument(document);
        controller.view()->show();
        QObject::connect(controller.operationsTableModel(), &QAbstractItemModel::modelReset, [this] { ++resets; });
    }

    // Hands the text over, lets the debounce pass, then times each turn of the main thread until the
    // table shows the new rows (painted). When set, `settle` is one more turn once the rows are there,
    // and `paintAlso` is painted in the same turn as the table.
    Turns change(const QString& text)
    {
        controller.documentDidChange(text, Carvex::DocumentFormat::yaml);
        fake->advance(std::chrono::milliseconds(249));
        const int resetsBefore = resets;
        Turns turns;
        const auto start = Clock::now();
        auto turn = [&](auto&& step) {
            const auto begin = Clock::now();
            const double beginCPU = threadCPUMilliseconds();
            step();
            turns.longest = std::max(turns.longest, since(begin));
            turns.longestCPU = std::max(turns.longestCPU, threadCPUMilliseconds() - beginCPU);
        };
        turn([&] { fake->advance(std::chrono::milliseconds(1)); });
        while (resets == resetsBefore) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            turn([&] { fake->runPending(); });
        }
        if (settle)
            turn(settle);
        turn([&] {
            controller.operationsTableView()->viewport()->repaint();
            if (paintAlso)
                paintAlso();
        });
        turns.total = since(start);
        return turns;
    }

    // Selects the operation in the middle of the table, as a click would; answers it.
    Carvex::OperationID selectMiddleOperation()
    {
        const auto& rows = controller.operations();
        const Carvex::OperationID chosen = rows[rows.size() / 2].id;
        controller.coordinator()->selectOperation(chosen);
        return chosen;
    }

    // Closes the document and waits for the workers to finish with it.
    void close()
    {
        controller.documentDidClose();
        CarvexPlatform::BackgroundTask::waitForIdle();
    }

    static double threadCPUMilliseconds()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    }

    static double since(Clock::time_point start)
    {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake;
    Carvex::PropertiesViewController controller;
    int resets = 0;
    std::function<void()> settle;
    std::function<void()> paintAlso;
};
