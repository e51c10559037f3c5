// The parsed model of a synthetic description of about 10 MB, read through the version-neutral adapters.
//
//   build/bench/bench_app_model [--benchmark_filter=...]
//
// - Walk: every operation through the adapters (path and operation parameters, request body, responses,
//   media types, and for each schema met, followed one step through the document when referenced: its
//   type text, its properties with their type texts, its enum texts). Target: under 30 ms. The model's
//   adapters are made once and kept with it, so a walk after the first reuses them; FirstAdapterWalk
//   shows the first walk, which makes them.
// - Facade / Service: the library's own parse at level none of the UTF-8 text, and the parse service on
//   the editor's UTF-16 text (conversion included); ServiceConversion times what the service adds (blank
//   check and conversion), to set against the facade's parse. Target: under 5 %.
// Before timing, the walk is checked to meet every operation and a plausible number of schemas.

#include <benchmark/benchmark.h>

#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"
#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"
#include "SyntheticDescription.h"
#include "kit/facade/OpenApiParser.h"

#include <cstdio>
#include <map>
#include <optional>
#include <string>

namespace {

using Carvex::RefOrValue;
using Carvex::SchemaAdapter;
using SyntheticDescription::Syntax;

constexpr std::size_t kBytes = 10u << 20;

struct WalkCounts {
    std::size_t operations = 0;
    std::size_t schemas = 0;
    std::size_t textBytes = 0;
};

void walkSchema(const Carvex::OpenAPIDocumentAdapter& document, const RefOrValue<SchemaAdapter>& entry,
                WalkCounts& counts)
{
    std::shared_ptr<const SchemaAdapter> schema = entry.sharedInlineValue();
    if (!schema)
        schema = document.resolveSchema(*entry.referenceValue());
    if (!schema)
        return;
    ++counts.schemas;
    counts.textBytes += schema->typeDescription().size();
    if (const auto values = schema->enumDisplayValues()) {
        for (const auto& value : *values)
            counts.textBytes += value.size();
    }
    if (const auto properties = schema->properties()) {
        for (const auto& property : *properties) {
            if (const SchemaAdapter* inlineSchema = property.schema.inlineValue()) {
                counts.textBytes += inlineSchema->typeDescription().size();
                if (const auto values = inlineSchema->enumDisplayValues())
                    counts.textBytes += values->size();
            }
        }
    }
}

void walkContent(const Carvex::OpenAPIDocumentAdapter& document,
                 const VoziZazIreCore::OrderedMap<std::shared_ptr<const Carvex::MediaTypeAdapter>>& content,
                 WalkCounts& counts)
{
    for (const auto& [type, media] : content) {
        counts.textBytes += type.size();
        if (const auto schema = media->schema())
            walkSchema(document, *schema, counts);
    }
}

WalkCounts walk(const Carvex::OpenAPIDocumentAdapter& document)
{
    WalkCounts counts;
    for (const auto& [path, method, operation] : document.allOperations()) {
        ++counts.operations;
        std::vector<RefOrValue<Carvex::ParameterAdapter>> parameters;
        if (const auto item = document.pathItem(path); item && item->parameters())
            parameters = *item->parameters();
        if (const auto own = operation->parameters())
            parameters.insert(parameters.end(), own->begin(), own->end());
        for (const auto& entry : parameters) {
            std::shared_ptr<const Carvex::ParameterAdapter> parameter = entry.sharedInlineValue();
            if (!parameter)
                parameter = document.resolveParameter(*entry.referenceValue());
            if (!parameter)
                continue;
            counts.textBytes += parameter->name().size();
            if (const auto schema = parameter->schema())
                walkSchema(document, *schema, counts);
        }
        if (const auto body = operation->requestBody()) {
            std::shared_ptr<const Carvex::RequestBodyAdapter> value = body->sharedInlineValue();
            if (!value)
                value = document.resolveRequestBody(*body->referenceValue());
            if (value)
                walkContent(document, value->content(), counts);
        }
        for (const auto& [code, entry] : operation->responses()->items()) {
            std::shared_ptr<const Carvex::ResponseAdapter> response = entry.sharedInlineValue();
            if (!response)
                response = document.resolveResponse(*entry.referenceValue());
            if (!response)
                continue;
            counts.textBytes += code.size() + response->description().size();
            if (const auto content = response->content())
                walkContent(document, *content, counts);
        }
    }
    return counts;
}

struct Fixture {
    std::string utf8;
    QString text;
    Carvex::ParsedOpenAPIModel model;
};

const Fixture& fixture(const char* version)
{
    static std::map<std::string, Fixture> fixtures;
    auto found = fixtures.find(version);
    if (found == fixtures.end()) {
        const int units = SyntheticDescription::unitsFor(kBytes, Syntax::yaml);
        std::string text = SyntheticDescription::generateUnits(units, Syntax::yaml, version);
        const auto result = Carvex::OpenAPIModelParsingService().parse(QString::fromStdString(text),
                                                                        Carvex::DocumentFormat::yaml);
        if (!result.isSuccess()) {
            std::fprintf(stderr, "synthetic %s description did not parse: %s\n", version,
                         result.error()->localizedDescription().toUtf8().constData());
            std::abort();
        }
        const WalkCounts counts = walk(*result.model()->makeAdapter());
        if (counts.operations != static_cast<std::size_t>(units) * 3 || counts.schemas < counts.operations) {
            std::fprintf(stderr, "walk met %zu operations and %zu schemas for %d resources\n", counts.operations,
                         counts.schemas, units);
            std::abort();
        }
        QString qtext = QString::fromStdString(text);
        found = fixtures.emplace(version, Fixture{std::move(text), std::move(qtext), *result.model()}).first;
    }
    return found->second;
}

void BM_AdapterWalk(benchmark::State& state, const char* version)
{
    const Fixture& data = fixture(version);
    WalkCounts counts;
    for (auto _ : state) {
        counts = walk(*data.model.makeAdapter());
        benchmark::DoNotOptimize(counts.textBytes);
    }
    state.counters["operations"] = static_cast<double>(counts.operations);
    state.counters["schemas"] = static_cast<double>(counts.schemas);
    state.counters["MB"] = static_cast<double>(data.utf8.size()) / (1 << 20);
}

// The first walk of a model: its adapters are made on the way (a fresh model over the same document, so
// they are not made yet). Tearing them down afterwards is not timed (the pane releases replaced models on a
// worker thread).
void BM_FirstAdapterWalk(benchmark::State& state, const char* version)
{
    const Fixture& data = fixture(version);
    WalkCounts counts;
    for (auto _ : state) {
        std::optional<Carvex::ParsedOpenAPIModel> fresh =
            data.model.version() == Carvex::ModelOpenAPIVersion::openAPI30
                ? Carvex::ParsedOpenAPIModel::v3_0(data.model.document30())
                : Carvex::ParsedOpenAPIModel::v3_1(data.model.document31());
        counts = walk(*fresh->makeAdapter());
        benchmark::DoNotOptimize(counts.textBytes);
        state.PauseTiming();
        fresh.reset();
        state.ResumeTiming();
    }
    state.counters["operations"] = static_cast<double>(counts.operations);
    state.counters["schemas"] = static_cast<double>(counts.schemas);
}

void BM_FacadeParseLevelNone(benchmark::State& state, const char* version)
{
    const Fixture& data = fixture(version);
    const VoziZazIre::OpenApiParser parser;
    for (auto _ : state) {
        auto result = parser.parse(data.utf8, VoziZazIre::Format::yaml, VoziZazIreCore::ValidationLevel::none);
        benchmark::DoNotOptimize(result.document.value().index());
        state.PauseTiming();
        { auto discard = std::move(result); }
        state.ResumeTiming();
    }
}

void BM_ParseService(benchmark::State& state, const char* version)
{
    const Fixture& data = fixture(version);
    const Carvex::OpenAPIModelParsingService service;
    for (auto _ : state) {
        auto result = service.parse(data.text, Carvex::DocumentFormat::yaml);
        benchmark::DoNotOptimize(result.isSuccess());
        state.PauseTiming();
        { auto discard = std::move(result); }
        state.ResumeTiming();
    }
}

// What the service adds before the facade's parse: the blank check and the strict UTF-16 to UTF-8
// conversion of the editor's text. Timed on its own, since two parses of 10 MB differ by more than it
// from run to run on a busy machine.
void BM_ServiceConversion(benchmark::State& state, const char* version)
{
    const Fixture& data = fixture(version);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Carvex::OpenAPIModelParsingService::isBlank(data.text));
        const auto utf8 = Carvex::OpenAPIModelParsingService::strictUtf8(data.text);
        benchmark::DoNotOptimize(utf8->size());
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_AdapterWalk, v3_0, "3.0.3")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AdapterWalk, v3_1, "3.1.0")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstAdapterWalk, v3_0, "3.0.3")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstAdapterWalk, v3_1, "3.1.0")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FacadeParseLevelNone, v3_1, "3.1.0")->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK_CAPTURE(BM_ParseService, v3_1, "3.1.0")->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK_CAPTURE(BM_ServiceConversion, v3_1, "3.1.0")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
