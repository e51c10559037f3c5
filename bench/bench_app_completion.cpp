// Completion costs: the reference index built from 10 MB of YAML or JSON, the `$ref` resolver over 20,000
// targets, building every fixed proposal table and reading a built one (which must not allocate), and the
// enum, required and type-list resolvers on 5 MB, with their gates passing near the end of the text and
// failing. Each run checks its answer, so a fast wrong result fails.
//
//   build/bench/bench_app_completion --benchmark_counters_tabular=true

#include "Carvex/Completion/EnumDefaultResolver.h"
#include "Carvex/Completion/OpenAPI30Tables.h"
#include "Carvex/Completion/OpenAPI31Tables.h"
#include "Carvex/Completion/ReferenceIndexer.h"
#include "Carvex/Completion/ReferenceResolver.h"
#include "Carvex/Completion/RequiredFieldResolver.h"
#include "Carvex/Completion/TypeArrayResolver.h"

#include "SyntheticDescription.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

// Every allocation of the program is counted, so a benchmark can show that it makes none.
namespace {
std::atomic<std::size_t> allocations{0};
} // namespace

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

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

// A 5 MB description with one schema appended at the end whose `default` has a sibling `enum`; the
// caret stands after "default: " (inside the opened string in JSON).
struct ResolverInput {
    QString text;
    qsizetype caret = 0;
    QString lastModel;
};

const ResolverInput& resolverInput(DocumentFormat format)
{
    static const auto make = [](SyntheticDescription::Syntax syntax) {
        const int units = SyntheticDescription::unitsFor(5'000'000, syntax);
        ResolverInput input;
        input.text = QString::fromStdString(SyntheticDescription::generateUnits(units, syntax));
        input.lastModel = QStringLiteral("Model") + QString::number(units - 1);
        if (syntax == SyntheticDescription::Syntax::yaml) {
            input.text += "    Extra:\n      type: string\n      enum:\n        - a\n        - \"b\"\n      default: ";
            input.caret = input.text.size();
        } else {
            const QString extra = ",\n      \"Extra\": {\n        \"enum\": [\"a\", \"b\"],\n        \"default\": \"";
            const qsizetype at = input.text.lastIndexOf("\n    }\n  }\n}");
            input.text.insert(at, extra + "\n      }");
            input.caret = at + extra.size();
        }
        return input;
    };
    static const ResolverInput yaml = make(SyntheticDescription::Syntax::yaml);
    static const ResolverInput json = make(SyntheticDescription::Syntax::json);
    return format == DocumentFormat::yaml ? yaml : json;
}

Carvex::CompletionContext resolverContext(DocumentFormat format, Carvex::CursorRole role,
                                          std::vector<Carvex::PathComponent> path, qsizetype caret = 0)
{
    Carvex::CompletionContext context;
    context.format = format;
    context.role = role;
    context.path = std::move(path);
    context.caretLocation = caret;
    context.currentKey = QStringLiteral("default");
    context.hints.isInString = format == DocumentFormat::json;
    return context;
}

enum class Resolver { enumDefault, required, typeList };

// state.range(0): the resolver; range(1): the format (0 YAML, 1 JSON); range(2): 1 when the gate passes.
void BM_Resolver(benchmark::State& state)
{
    using Carvex::PathComponent;
    const auto resolver = static_cast<Resolver>(state.range(0));
    const DocumentFormat format = state.range(1) ? DocumentFormat::json : DocumentFormat::yaml;
    const bool gatePasses = state.range(2) != 0;
    const ResolverInput& input = resolverInput(format);
    const auto role = [&](Carvex::CursorRole passing) { return gatePasses ? passing : Carvex::CursorRole::mappingKey; };
    std::size_t expected = 0;
    Carvex::CompletionContext context;
    switch (resolver) {
    case Resolver::enumDefault:
        context = resolverContext(format, role(Carvex::CursorRole::mappingValue), {}, input.caret);
        expected = 2;
        break;
    case Resolver::required:
        context = resolverContext(format, role(Carvex::CursorRole::sequenceItem),
                                  {PathComponent::key("components"), PathComponent::key("schemas"),
                                   PathComponent::dynamicKey(input.lastModel), PathComponent::key("required"),
                                   PathComponent::index(2)});
        // YAML lists the names in quotes, so none counts as listed; JSON lists id and name.
        expected = format == DocumentFormat::yaml ? 6 : 4;
        break;
    case Resolver::typeList:
        context = resolverContext(format, role(Carvex::CursorRole::sequenceItem),
                                  {PathComponent::key("components"), PathComponent::key("schemas"),
                                   PathComponent::dynamicKey(input.lastModel), PathComponent::key("properties"),
                                   PathComponent::dynamicKey("status"), PathComponent::key("type"),
                                   PathComponent::index(0)});
        expected = 7;
        break;
    }
    if (!gatePasses)
        expected = 0;
    for (auto _ : state) {
        std::vector<Carvex::CompletionItem> items;
        switch (resolver) {
        case Resolver::enumDefault: items = Carvex::EnumDefaultResolver().suggestions(context, input.text); break;
        case Resolver::required: items = Carvex::RequiredFieldResolver().suggestions(context, input.text); break;
        case Resolver::typeList:
            items = Carvex::TypeArrayResolver().suggestions(context, input.text, Carvex::OpenAPIVersion::openAPI31);
            break;
        }
        if (items.size() != expected) {
            state.SkipWithError("wrong number of proposals");
            return;
        }
        benchmark::DoNotOptimize(items);
    }
    state.counters["MB"] = static_cast<double>(input.text.size()) / 1e6;
}
BENCHMARK(BM_Resolver)
    ->ArgNames({"resolver", "json", "gate"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}, {1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resolver)
    ->Name("BM_ResolverGateFails")
    ->ArgNames({"resolver", "json", "gate"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}, {0}})
    ->Unit(benchmark::kNanosecond);

// What the first reads of every table of both namespaces cost: each row made into a proposal with its id.
void BM_BuildEveryTable(benchmark::State& state)
{
    std::vector<std::span<const Carvex::CompletionTableRow>> sources = Carvex::OpenAPI31Tables::ownTableRows();
    for (auto rows : Carvex::OpenAPI30Tables::ownTableRows())
        sources.push_back(rows);
    for (auto _ : state) {
        std::size_t rows = 0;
        for (auto source : sources) {
            const std::vector<Carvex::CompletionItem> table = Carvex::buildCompletionTable(source);
            rows += table.size();
            benchmark::DoNotOptimize(table.data());
        }
        if (rows != 359) {
            state.SkipWithError("wrong number of rows");
            return;
        }
    }
}
BENCHMARK(BM_BuildEveryTable)->Unit(benchmark::kMicrosecond);

// Reading tables of both namespaces once they are built: no allocation, no copy.
void BM_ReadBuiltTables(benchmark::State& state)
{
    using Read = const std::vector<Carvex::CompletionItem>& (*)();
    const Read reads[] = {&Carvex::OpenAPI31Tables::schemaKeys, &Carvex::OpenAPI30Tables::schemaKeys,
                          &Carvex::OpenAPI31Tables::contactKeys, &Carvex::OpenAPI30Tables::contactKeys,
                          &Carvex::OpenAPI31Tables::formatValues, &Carvex::OpenAPI30Tables::httpStatusCodes};
    for (Read read : reads)
        read();
    const std::size_t before = allocations.load();
    for (auto _ : state) {
        for (Read read : reads)
            benchmark::DoNotOptimize(read().data());
    }
    const std::size_t made = allocations.load() - before;
    state.counters["allocations"] = static_cast<double>(made);
    if (made != 0)
        state.SkipWithError("a read allocated");
}
BENCHMARK(BM_ReadBuiltTables);

} // namespace

BENCHMARK_MAIN();
