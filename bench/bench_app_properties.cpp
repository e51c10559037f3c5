// The properties pipeline on synthetic YAML descriptions of about 1 and 10 MB.
//
//   build/bench/bench_app_properties [--benchmark_filter=...]
//
// - Index: the sorted operation rows of the 10 MB model. Target: under 50 ms.
// - AllDetails: the details of every operation; "slowest_ms" is the slowest single operation in wall time,
//   "slowest_cpu_ms" in the thread's CPU time. Target: under 5 ms.
// - ChangeToRows: from the end of the debounce to the rows at the delegate (parse on a worker thread,
//   applied on the main thread); "main_ms" is the longest stretch the main thread spent on the way.
//   Targets: under 1.5 s at 10 MB and 150 ms at 1 MB, no main-thread stretch over 100 ms.
// - DocumentDidChange: one call with the whole 10 MB text. Target: under 0.5 ms.
// - ManyPaths / ManyParameters: the index of 100,000 paths and the details of one operation with 10,000
//   parameters grow as n log n.
// Before timing, the rows are checked against the description's operations.

#include <benchmark/benchmark.h>

#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/ModelAdapters/OperationsIndexBuilder.h"
#include "Carvex/Properties/PropertiesViewCoordinator.h"
#include "SyntheticDescription.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/TestApplication.h"

#include <time.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using SyntheticDescription::Syntax;

struct Fixture {
    QString text;
    Carvex::ParsedOpenAPIModel model;
    int operations;
};

Carvex::ParsedOpenAPIModel parse(const QString& text)
{
    const auto result = Carvex::OpenAPIModelParsingService().parse(text, Carvex::DocumentFormat::yaml);
    if (!result.isSuccess()) {
        std::fprintf(stderr, "description did not parse: %s\n", result.error()->localizedDescription().toUtf8().constData());
        std::abort();
    }
    return *result.model();
}

const Fixture& fixture(std::size_t megabytes)
{
    static std::map<std::size_t, Fixture> fixtures;
    auto found = fixtures.find(megabytes);
    if (found == fixtures.end()) {
        const int units = SyntheticDescription::unitsFor(megabytes << 20, Syntax::yaml);
        const QString text = QString::fromStdString(SyntheticDescription::generateUnits(units, Syntax::yaml));
        Carvex::ParsedOpenAPIModel model = parse(text);
        const auto rows = Carvex::OperationsIndexBuilder().build(model);
        if (rows.size() != static_cast<std::size_t>(units) * 3) {
            std::fprintf(stderr, "%zu rows for %d resources\n", rows.size(), units);
            std::abort();
        }
        found = fixtures.emplace(megabytes, Fixture{text, std::move(model), units * 3}).first;
    }
    return found->second;
}

void BM_Index(benchmark::State& state)
{
    const Fixture& data = fixture(static_cast<std::size_t>(state.range(0)));
    const Carvex::OperationsIndexBuilder builder;
    for (auto _ : state)
        benchmark::DoNotOptimize(builder.build(data.model).size());
    state.counters["rows"] = data.operations;
}

// This thread's CPU time: a wall-clock maximum on a busy machine also counts time spent switched out.
double threadCPUMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void BM_AllDetails(benchmark::State& state)
{
    const Fixture& data = fixture(static_cast<std::size_t>(state.range(0)));
    const auto rows = Carvex::OperationsIndexBuilder().build(data.model);
    const Carvex::OperationDetailsBuilder builder;
    double slowest = 0, slowestCPU = 0;
    for (auto _ : state) {
        for (const auto& row : rows) {
            const auto start = Clock::now();
            const double startCPU = threadCPUMilliseconds();
            auto details = builder.build(row.id, data.model);
            slowestCPU = std::max(slowestCPU, threadCPUMilliseconds() - startCPU);
            slowest = std::max(slowest, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            if (!details)
                state.SkipWithError("an operation without details");
        }
    }
    state.counters["slowest_ms"] = slowest;
    state.counters["slowest_cpu_ms"] = slowestCPU;
    state.counters["operations"] = static_cast<double>(rows.size());
}

class RowsDelegate final : public Carvex::PropertiesViewCoordinatorDelegate {
public:
    void coordinatorDidUpdateOperations(Carvex::PropertiesViewCoordinator&,
                                        const std::vector<Carvex::OperationRowViewModel>& operations) override
    {
        rows = operations.size();
    }
    void coordinatorDidUpdateDetails(Carvex::PropertiesViewCoordinator&, const Carvex::OperationDetailsViewModel&) override {}
    void coordinatorDidRequestNoOperationsState(Carvex::PropertiesViewCoordinator&) override {}
    void coordinatorDidRequestVersionGatedState(Carvex::PropertiesViewCoordinator&) override {}
    void coordinatorDidRequestParseErrorState(Carvex::PropertiesViewCoordinator&) override {}
    void coordinatorDidRequestNoDocumentState(Carvex::PropertiesViewCoordinator&) override {}
    void coordinatorDidClearSelection(Carvex::PropertiesViewCoordinator&) override {}
    std::size_t rows = 0;
};

std::unique_ptr<Carvex::PropertiesViewCoordinator> makeCoordinator(std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake)
{
    return std::make_unique<Carvex::PropertiesViewCoordinator>(
        std::make_shared<Carvex::OpenAPIModelParsingService>(), std::make_shared<Carvex::OperationsIndexBuilder>(),
        std::make_shared<Carvex::OperationDetailsBuilder>(),
        std::make_shared<Carvex::PropertiesViewPolicyStore>(CarvexPlatform::Settings::isolated()), std::move(fake));
}

void BM_ChangeToRows(benchmark::State& state)
{
    CarvexPlatform::TestApplication::ensure();
    const Fixture& data = fixture(static_cast<std::size_t>(state.range(0)));
    auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    auto coordinator = makeCoordinator(fake);
    RowsDelegate delegate;
    coordinator->setDelegate(&delegate);
    double longestMain = 0;
    for (auto _ : state) {
        delegate.rows = 0;
        coordinator->documentDidChange(data.text, Carvex::DocumentFormat::yaml);
        fake->advance(std::chrono::milliseconds(249));
        // The debounce ends here; every turn of the main thread after it is timed on its own.
        const auto start = Clock::now();
        auto turn = Clock::now();
        fake->advance(std::chrono::milliseconds(1));
        longestMain = std::max(longestMain, std::chrono::duration<double, std::milli>(Clock::now() - turn).count());
        while (delegate.rows == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            turn = Clock::now();
            fake->runPending();
            longestMain = std::max(longestMain, std::chrono::duration<double, std::milli>(Clock::now() - turn).count());
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (delegate.rows != static_cast<std::size_t>(data.operations))
            state.SkipWithError("wrong row count");
    }
    state.counters["main_ms"] = longestMain;
    // A syntax error in the large text keeps the last state under the default policy.
    coordinator->documentDidChange(data.text + QStringLiteral("\npaths: [\n"), Carvex::DocumentFormat::yaml);
    fake->advance(std::chrono::milliseconds(250));
    while (coordinator->isParsePending()) {
        CarvexPlatform::BackgroundTask::waitForIdle();
        fake->runPending();
    }
    if (coordinator->lastOperations().size() != static_cast<std::size_t>(data.operations)
        || !coordinator->lastSuccessfulModel())
        state.SkipWithError("a syntax error lost the last state");
}

void BM_DocumentDidChange(benchmark::State& state)
{
    CarvexPlatform::TestApplication::ensure();
    const Fixture& data = fixture(10);
    auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    auto coordinator = makeCoordinator(fake);
    for (auto _ : state)
        coordinator->documentDidChange(data.text, Carvex::DocumentFormat::yaml);
    coordinator->documentDidClose();
}

// A description with `paths` paths of one operation each, or one operation with `parameters` parameters.
QString manyText(int paths, int parameters)
{
    std::string text = "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n";
    for (int i = 0; i < paths; ++i)
        text += "  /Item" + std::to_string((i * 7919) % paths) + (i % 2 ? "/x" : "") + ":\n    get: {responses: {}}\n";
    if (parameters > 0) {
        text += "  /one:\n    parameters:\n";
        for (int i = 0; i < parameters / 2; ++i)
            text += "      - {name: p" + std::to_string((i * 7919) % parameters) + ", in: query}\n";
        text += "    get:\n      responses: {}\n      parameters:\n";
        for (int i = 0; i < parameters / 2; ++i)
            text += "      - {name: P" + std::to_string((i * 104729) % parameters) + ", in: header, required: "
                    + (i % 3 ? "true" : "false") + "}\n";
    }
    return QString::fromStdString(text);
}

void BM_ManyPaths(benchmark::State& state)
{
    const auto model = parse(manyText(static_cast<int>(state.range(0)), 0));
    const Carvex::OperationsIndexBuilder builder;
    for (auto _ : state)
        benchmark::DoNotOptimize(builder.build(model).size());
    state.SetComplexityN(state.range(0));
}

void BM_ManyParameters(benchmark::State& state)
{
    const auto model = parse(manyText(0, static_cast<int>(state.range(0))));
    const Carvex::OperationDetailsBuilder builder;
    for (auto _ : state) {
        const auto details = builder.build({QStringLiteral("/one"), Carvex::HTTPMethod::get}, model);
        benchmark::DoNotOptimize(details->parameters.size());
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(BM_Index)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllDetails)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ChangeToRows)->Arg(1)->Arg(10)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DocumentDidChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ManyPaths)->Arg(12500)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ManyParameters)->Arg(1250)->Arg(2500)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
