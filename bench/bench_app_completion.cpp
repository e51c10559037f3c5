// Completion costs: the reference index built from 10 MB of YAML or JSON, the `$ref` resolver over 20,000
// targets, building every fixed proposal table and reading a built one (which must not allocate), and the
// enum, required and type-list resolvers on 5 MB, with their gates passing near the end of the text and
// failing; whole requests of the completion engine on 200 KB and 5 MB of YAML and JSON, with carets
// sampled across the document (median and 95th percentile as counters), the version detection on
// 5 MB, and the peak heap growth of one request. Each run checks its answer, so a fast wrong result fails.
//
//   build/bench/bench_app_completion --benchmark_counters_tabular=true

#include "Carvex/Completion/DefaultCompletionEngine.h"
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

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

// Every allocation of the program is counted, so a benchmark can show that it makes none; the bytes
// of the C heap in use and their peak are followed too (Qt's containers allocate with malloc).
namespace {
std::atomic<std::size_t> allocations{0};
std::atomic<long long> heapInUse{0};
std::atomic<long long> heapPeak{0};

void noteAllocated(void* block)
{
    if (!block)
        return;
    const long long now = heapInUse.fetch_add(static_cast<long long>(malloc_usable_size(block))) +
        static_cast<long long>(malloc_usable_size(block));
    long long peak = heapPeak.load(std::memory_order_relaxed);
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}

void noteFreed(void* block)
{
    if (block)
        heapInUse.fetch_sub(static_cast<long long>(malloc_usable_size(block)));
}
} // namespace

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);

void* malloc(std::size_t size) noexcept
{
    void* block = __libc_malloc(size);
    noteAllocated(block);
    return block;
}
void* calloc(std::size_t count, std::size_t size) noexcept
{
    void* block = __libc_calloc(count, size);
    noteAllocated(block);
    return block;
}
void* realloc(void* block, std::size_t size) noexcept
{
    const long long before = block ? static_cast<long long>(malloc_usable_size(block)) : 0;
    void* moved = __libc_realloc(block, size);
    if (moved) {
        heapInUse.fetch_sub(before);
        noteAllocated(moved);
    } else if (size == 0) {
        heapInUse.fetch_sub(before);
    }
    return moved;
}
void* memalign(std::size_t alignment, std::size_t size) noexcept
{
    void* block = __libc_memalign(alignment, size);
    noteAllocated(block);
    return block;
}
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept
{
    return memalign(alignment, size);
}
int posix_memalign(void** result, std::size_t alignment, std::size_t size) noexcept
{
    void* block = memalign(alignment, size);
    if (!block)
        return ENOMEM;
    *result = block;
    return 0;
}
void free(void* block) noexcept
{
    noteFreed(block);
    __libc_free(block);
}
} // extern "C"

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
        // Both list id and name (YAML in quotes, which read as the names themselves).
        expected = 4;
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


// Whole requests of the engine. The generated description gets a comment before each `required`
// list (YAML) and a `type` list in each schema's "name" property, so that every kind of caret place
// occurs throughout the text.
enum class Place { key, value, reference, requiredItem, typeItem, comment };

struct Caret {
    qsizetype at = 0;
    Place place = Place::key;
};

struct EngineInput {
    QString text;
    DocumentFormat format = DocumentFormat::yaml;
    std::vector<Caret> carets;
};

QString decorated(QString text, bool json)
{
    if (json) {
        text.replace("\"type\": \"string\",\n            \"maxLength\"",
                     "\"type\": [\n              \"string\",\n              \"null\"\n            ],\n"
                     "            \"maxLength\"");
    } else {
        text.replace("      required:\n        - \"id\"", "      # names that must be present\n      required:\n"
                                                          "        - \"id\"");
        text.replace("          type: \"string\"\n          maxLength",
                     "          type:\n            - \"string\"\n            - \"null\"\n          maxLength");
    }
    return text;
}

// Up to `perPlace` carets of each place, spread evenly over the document.
std::vector<Caret> sampleCarets(const QString& text, bool json, std::size_t perPlace)
{
    std::vector<std::vector<Caret>> byPlace(6);
    const auto add = [&](Place place, qsizetype at) { byPlace[static_cast<int>(place)].push_back({at, place}); };
    QStringView listKey;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).sliced(start, end - start);
        const QStringView trimmed = line.trimmed();
        qsizetype indent = 0;
        while (indent < line.size() && line[indent].isSpace())
            ++indent;
        const qsizetype first = start + indent;
        const qsizetype reference = line.indexOf(u"#/components/schemas/");
        const qsizetype colon = trimmed.indexOf(u':');
        if (trimmed.startsWith(u'#')) {
            add(Place::comment, end);
        } else if (reference >= 0) {
            add(Place::reference, start + reference + 21);
        } else if (!listKey.isEmpty() && (json ? trimmed.startsWith(u'"') && colon < 0 : trimmed.startsWith(u"- "))) {
            add(listKey == u"required" ? Place::requiredItem : Place::typeItem, first + (json ? 1 : 2));
        } else if (colon > 1 && (json ? trimmed.startsWith(u'"') : trimmed.front().isLetter())) {
            add(Place::key, first + (json ? 3 : 2));
            if (colon + 2 < trimmed.size())
                add(Place::value, first + colon + 2);
        }
        if (trimmed.startsWith(json ? u"\"required\": [" : u"required:") && (json || trimmed.size() == 9))
            listKey = u"required";
        else if (trimmed.startsWith(json ? u"\"type\": [" : u"type:") && (json || trimmed.size() == 5))
            listKey = u"type";
        else if (json ? trimmed.startsWith(u']') : !trimmed.startsWith(u"- "))
            listKey = {};
        start = end + 1;
    }
    std::vector<Caret> carets;
    for (const std::vector<Caret>& candidates : byPlace) {
        const std::size_t step = std::max<std::size_t>(1, candidates.size() / perPlace);
        for (std::size_t i = step / 2; i < candidates.size(); i += step)
            carets.push_back(candidates[i]);
    }
    // Places mixed, so that any run of requests meets all of them.
    std::shuffle(carets.begin(), carets.end(), std::mt19937(102));
    return carets;
}

const EngineInput& engineInput(std::size_t bytes, DocumentFormat format)
{
    static const auto make = [](std::size_t size, DocumentFormat f) {
        const bool json = f == DocumentFormat::json;
        const auto syntax = json ? SyntheticDescription::Syntax::json : SyntheticDescription::Syntax::yaml;
        EngineInput input;
        input.text = decorated(QString::fromStdString(SyntheticDescription::generate(size, syntax)), json);
        input.format = f;
        input.carets = sampleCarets(input.text, json, size < 1'000'000 ? 100 : 40);
        return input;
    };
    static const EngineInput small[] = {make(200'000, DocumentFormat::yaml), make(200'000, DocumentFormat::json)};
    static const EngineInput large[] = {make(5'000'000, DocumentFormat::yaml), make(5'000'000, DocumentFormat::json)};
    const int which = format == DocumentFormat::json ? 1 : 0;
    return bytes < 1'000'000 ? small[which] : large[which];
}

// What a request at each place must give: sorted proposals; none in a comment; the schemas at a
// `$ref`; the names the required and type lists lack.
const char* wrongAnswer(const Caret& caret, const Carvex::CompletionResult& result)
{
    if (!std::is_sorted(result.items.begin(), result.items.end()))
        return "proposals out of order";
    switch (caret.place) {
    case Place::comment:
        return result.items.empty() && result.context.hints.isInComment ? nullptr : "proposals in a comment";
    case Place::reference:
        return result.context.hints.isRefValueContext && !result.items.empty() ? nullptr : "no reference proposals";
    case Place::requiredItem:
    case Place::typeItem:
        return result.context.role == Carvex::CursorRole::sequenceItem && !result.items.empty() ? nullptr
                                                                                                : "no list proposals";
    case Place::key:
        return result.context.role == Carvex::CursorRole::mappingKey ? nullptr : "a key caret not on a key";
    case Place::value:
        return nullptr;
    }
    return nullptr;
}

// The processor time of this thread: on a shared machine a request's wall time also counts the
// other programs that run meanwhile.
double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// state.range(0): the text's size in KB; range(1): 1 for JSON. Each iteration is one request at the
// next sampled caret, each caret once; the counters give the median and the 95th percentile of the
// requests' processor time.
void BM_EngineRequest(benchmark::State& state)
{
    const DocumentFormat format = state.range(1) ? DocumentFormat::json : DocumentFormat::yaml;
    const EngineInput& input = engineInput(static_cast<std::size_t>(state.range(0)) * 1000, format);
    const Carvex::DefaultCompletionEngine engine;
    std::vector<double> milliseconds;
    std::size_t next = 0;
    for (auto _ : state) {
        const Caret& caret = input.carets[next++ % input.carets.size()];
        const double started = threadMilliseconds();
        const Carvex::CompletionResult result = engine.complete(input.text, caret.at, input.format);
        milliseconds.push_back(threadMilliseconds() - started);
        if (const char* wrong = wrongAnswer(caret, result)) {
            state.SkipWithError(wrong);
            return;
        }
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    state.counters["median_ms"] = milliseconds[milliseconds.size() / 2];
    state.counters["p95_ms"] = milliseconds[milliseconds.size() * 95 / 100];
    state.counters["max_ms"] = milliseconds.back();
    state.counters["carets"] = static_cast<double>(input.carets.size());
    state.counters["MB"] = static_cast<double>(input.text.size()) / 1e6;
}
BENCHMARK(BM_EngineRequest)
    ->ArgNames({"KB", "json"})
    ->ArgsProduct({{200, 5000}, {0, 1}})
    ->Iterations(240)
    ->Unit(benchmark::kMillisecond);

// A request below a list of 10,000 items, written at its key's column (range(0) 0) or a level deeper
// (1), at the end of the 5 MB description: on a new line after the key that follows the list, where the
// keys above and below the list count as present (range(1) 0), and on a new item at the list's end,
// whose index counts every item (1). Median and 95th percentile as for the whole requests above.
void BM_EngineRequestBelowLongList(benchmark::State& state)
{
    const bool deeper = state.range(0) != 0;
    const bool onItem = state.range(1) != 0;
    static QString lists[2][2];
    QString& text = lists[deeper][onItem];
    if (text.isEmpty()) {
        const QString items = deeper ? QStringLiteral("    - ") : QStringLiteral("  - ");
        text = engineInput(5'000'000, DocumentFormat::yaml).text;
        text += QStringLiteral("x-long-list:\n  summary: S\n  tags:\n");
        for (int i = 0; i < 10'000; ++i)
            text += items + QStringLiteral("tag%1\n").arg(i);
        text += onItem ? items : QStringLiteral("  operationId: x\n  ");
    }
    const Carvex::DefaultCompletionEngine engine;
    std::vector<double> milliseconds;
    for (auto _ : state) {
        const double started = threadMilliseconds();
        const Carvex::CompletionResult result = engine.complete(text, text.size(), DocumentFormat::yaml);
        milliseconds.push_back(threadMilliseconds() - started);
        const bool right = onItem ? result.context.path.size() == 3 && result.context.path[2].position() == 10'000
                                  : result.context.existingKeys.contains("summary")
                                        && result.context.existingKeys.contains("tags");
        if (!right) {
            state.SkipWithError("the list's key or its items not found");
            return;
        }
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    state.counters["median_ms"] = milliseconds[milliseconds.size() / 2];
    state.counters["p95_ms"] = milliseconds[milliseconds.size() * 95 / 100];
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_EngineRequestBelowLongList)
    ->ArgNames({"deeper", "onItem"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond);

// A request on a new line after 5 MB of YAML, at the top level and one level in: the reading of flow
// collections that lines above may have left open walks back to the caret line's parent, over the
// whole section before it.
void BM_EngineRequestAfterLongSection(benchmark::State& state)
{
    static QString texts[2];
    QString& text = texts[state.range(0)];
    if (text.isEmpty())
        text = engineInput(5'000'000, DocumentFormat::yaml).text + (state.range(0) ? QStringLiteral("\n  ") : QStringLiteral("\n"));
    const Carvex::DefaultCompletionEngine engine;
    std::vector<double> milliseconds;
    for (auto _ : state) {
        const double started = threadMilliseconds();
        const Carvex::CompletionResult result = engine.complete(text, text.size(), DocumentFormat::yaml);
        milliseconds.push_back(threadMilliseconds() - started);
        benchmark::DoNotOptimize(result);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    state.counters["median_ms"] = milliseconds[milliseconds.size() / 2];
    state.counters["p95_ms"] = milliseconds[milliseconds.size() * 95 / 100];
}
BENCHMARK(BM_EngineRequestAfterLongSection)->ArgNames({"indented"})->DenseRange(0, 1)->Iterations(60)->Unit(benchmark::kMillisecond);

// The version of 5 MB that declares 3.1, and of 5 MB of near misses ("openapi: 3.1" over and over).
void BM_DetectVersion(benchmark::State& state)
{
    static const QString nearMisses = [] {
        QString text;
        while (text.size() < 5'000'000)
            text += QStringLiteral("openapi: 3.1 \"openapi\" : '3,0' OpenAPI:\n");
        return text;
    }();
    const QString& text = state.range(0) == 2 ? nearMisses
        : engineInput(5'000'000, state.range(0) ? DocumentFormat::json : DocumentFormat::yaml).text;
    for (auto _ : state) {
        if (Carvex::DefaultCompletionEngine::detectVersion(text) != Carvex::OpenAPIVersion::openAPI31) {
            state.SkipWithError("a 3.0 declaration found where there is none");
            return;
        }
    }
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_DetectVersion)->ArgNames({"text"})->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The most heap that one request adds over what was in use before it, over all sampled carets, as a
// multiple of the text's UTF-16 size. (The largest comes from a `default` value: the enum lookup
// holds the text's lines as views.)
void BM_EngineRequestPeakHeap(benchmark::State& state)
{
    const DocumentFormat format = state.range(1) ? DocumentFormat::json : DocumentFormat::yaml;
    const EngineInput& input = engineInput(static_cast<std::size_t>(state.range(0)) * 1000, format);
    const Carvex::DefaultCompletionEngine engine;
    long long worst = 0;
    for (auto _ : state) {
        for (const Caret& caret : input.carets) {
            const long long before = heapInUse.load();
            heapPeak.store(before);
            {
                const Carvex::CompletionResult result = engine.complete(input.text, caret.at, input.format);
                benchmark::DoNotOptimize(result.items.data());
            }
            worst = std::max(worst, heapPeak.load() - before);
        }
    }
    const double ratio = static_cast<double>(worst) / static_cast<double>(input.text.size() * 2);
    state.counters["peak_growth_MB"] = static_cast<double>(worst) / 1e6;
    state.counters["x_text_utf16"] = ratio;
    if (ratio >= 3)
        state.SkipWithError("one request grew the heap by three times the text or more");
}
BENCHMARK(BM_EngineRequestPeakHeap)
    ->ArgNames({"KB", "json"})
    ->ArgsProduct({{200, 5000}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
