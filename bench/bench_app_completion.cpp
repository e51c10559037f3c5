// Completion costs on large descriptions: the reference index built from 10 MB of YAML or JSON, and the
// `$ref` resolver over 20,000 targets. Each run checks its answer, so a fast wrong result fails.
//
//   build/bench/bench_app_completion --benchmark_counters_tabular=true

#include "Carvex/Completion/ReferenceIndexer.h"
#include "Carvex/Completion/ReferenceResolver.h"

#include "SyntheticDescription.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <string>

namespace {

using Carvex::DocumentFormat;

struct Description {
    QString text;
    int units = 0;
};

const Description& description(SyntheticDescription::Syntax syntax)
{
    static const auto make = [](SyntheticDescription::Syntax s) {
        const int units = SyntheticDescription::unitsFor(10'000'000, s);
        return Description{QString::fromStdString(SyntheticDescription::generateUnits(units, s)), units};
    };
    static const Description yaml = make(SyntheticDescription::Syntax::yaml);
    static const Description json = make(SyntheticDescription::Syntax::json);
    return syntax == SyntheticDescription::Syntax::yaml ? yaml : json;
}

void buildIndex(benchmark::State& state, SyntheticDescription::Syntax syntax, DocumentFormat format)
{
    const Description& input = description(syntax);
    const Carvex::ReferenceIndexer indexer;
    for (auto _ : state) {
        const Carvex::ReferenceIndex index = indexer.buildIndex(input.text, format);
        if (index.targets(Carvex::ReferenceKind::schema).size() != static_cast<std::size_t>(input.units)) {
            state.SkipWithError("wrong number of schemas");
            return;
        }
        benchmark::DoNotOptimize(index);
    }
    state.counters["MB"] = static_cast<double>(input.text.size()) / 1e6;
    state.SetBytesProcessed(state.iterations() * input.text.size() * 2);
}

void BM_BuildIndexYAML(benchmark::State& state)
{
    buildIndex(state, SyntheticDescription::Syntax::yaml, DocumentFormat::yaml);
}
BENCHMARK(BM_BuildIndexYAML)->Unit(benchmark::kMillisecond);

void BM_BuildIndexJSON(benchmark::State& state)
{
    buildIndex(state, SyntheticDescription::Syntax::json, DocumentFormat::json);
}
BENCHMARK(BM_BuildIndexJSON)->Unit(benchmark::kMillisecond);

// 20,000 schemas, a quarter of them beginning with "m" or "M"; the prefix "m" keeps those by name.
void BM_ResolveReferencesOneLetter(benchmark::State& state)
{
    Carvex::ReferenceIndex index;
    auto& schemas = index.targetsByKind[Carvex::ReferenceKind::schema];
    const char* stems[] = {"Model", "pet", "Order", "mapping"};
    for (int i = 0; i < 20'000; ++i)
        schemas.emplace_back(Carvex::ReferenceKind::schema, QString::fromLatin1(stems[i % 4]) + QString::number(i));
    Carvex::CompletionContext context;
    context.prefix = "m";
    context.hints.isRefValueContext = true;
    context.hints.expectedReferenceKind = Carvex::ReferenceKind::schema;
    const Carvex::ReferenceResolver resolver;
    for (auto _ : state) {
        const std::vector<Carvex::CompletionItem> items = resolver.suggestions(context, {}, index);
        if (items.size() != 10'000) {
            state.SkipWithError("wrong number of proposals");
            return;
        }
        benchmark::DoNotOptimize(items);
    }
}
BENCHMARK(BM_ResolveReferencesOneLetter)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
