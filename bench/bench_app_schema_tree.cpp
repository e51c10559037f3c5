// Schema trees and the examples of operations, on synthetic descriptions.
//
//   build/bench/bench_app_schema_tree [--benchmark_filter=...]
//
// - LargestBodyTree: the tree of the request body with the largest resolved tree in a description of
//   about 50 MB, read in full (every child list made). Targets: referenced under 20 ms, resolved under
//   200 ms.
// - BudgetTree: a schema whose properties share components three to a level, thirty levels deep, read in
//   full in resolved mode: the tree stops at the node budget. Targets: under 200 ms; the heap the tree
//   holds ("tree_MB") under 40 MB.
// - AllExamples: `examples(for:)` of every source of every operation of a description of about 10 MB.
//   Target: the slowest call ("slowest_ms") under 50 ms. Three cases: 3.0, where every schema declares
//   its example; 3.1, whose schemas declare none (`example` is not read in 3.1), so every source tries the
//   generated fallback, which gives up on the chain of related models at the fallback's depth of 10; and
//   3.1 with every model's related items pointing at Model0, so most fallbacks generate in full.
// Before timing, the fixtures are checked: the largest body's tree is sizeable and the shared-component
// tree reaches the budget. "generated" counts sources answered by a generated example, "empty" those whose
// generation gave up (nesting deeper than the fallback's depth of 10).

#include <benchmark/benchmark.h>

#include "Carvex/ModelAdapters/ExampleExtractor.h"
#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/ModelAdapters/SchemaTreeBuilder.h"
#include "SyntheticDescription.h"
#include "kit/facade/OpenApiParser.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using Carvex::RefOrValue;
using Carvex::SchemaAdapter;
using Carvex::SchemaRefResolver;
using Carvex::SchemaTreeNode;
using Mode = SchemaRefResolver::Mode;

Carvex::ParsedOpenAPIModel parse(const std::string& text, VoziZazIre::Format format)
{
    return Carvex::ParsedOpenAPIModel(
        VoziZazIre::OpenApiParser().parse(text, format, VoziZazIreCore::ValidationLevel::none).document);
}

void fail(const char* what)
{
    std::fprintf(stderr, "fixture check failed: %s\n", what);
    std::exit(1);
}

// Reads every child list of the tree; the number of nodes.
std::size_t readAll(const SchemaTreeNode::Ptr& root)
{
    std::size_t count = 0;
    std::vector<const SchemaTreeNode*> stack{root.get()};
    while (!stack.empty()) {
        const SchemaTreeNode* node = stack.back();
        stack.pop_back();
        ++count;
        for (const auto& child : node->children())
            stack.push_back(child.get());
    }
    return count;
}

std::size_t heapInUse()
{
    return mallinfo2().uordblks;
}

std::optional<RefOrValue<SchemaAdapter>> requestBodySchema(const Carvex::OpenAPIDocumentAdapter& document,
                                                           const Carvex::OperationAdapter& operation)
{
    const auto slot = operation.requestBody();
    if (!slot)
        return std::nullopt;
    auto body = slot->sharedInlineValue();
    if (!body)
        body = document.resolveRequestBody(*slot->referenceValue());
    if (!body || body->content().empty())
        return std::nullopt;
    return body->content().begin()->second->schema();
}

struct LargeFixture {
    Carvex::ParsedOpenAPIModel model;
    std::shared_ptr<const Carvex::OpenAPIDocumentAdapter> document;
    RefOrValue<SchemaAdapter> largest;
    std::size_t bytes;
};

const LargeFixture& large()
{
    static const LargeFixture fixture = [] {
        const std::string text = SyntheticDescription::generate(50u << 20, SyntheticDescription::Syntax::json);
        auto model = parse(text, VoziZazIre::Format::json);
        auto document = model.makeAdapter();
        std::optional<RefOrValue<SchemaAdapter>> largest;
        std::size_t largestCount = 0;
        std::size_t bodies = 0;
        for (const auto& entry : document->allOperations()) {
            const auto schema = requestBodySchema(*document, *entry.operation);
            if (!schema)
                continue;
            // The models repeat their shape every few names; the first few dozen bodies hold every shape.
            if (++bodies > 40)
                break;
            const Carvex::SchemaTreeBuilder builder{SchemaRefResolver{document, Mode::resolved, 20}};
            const std::size_t count = readAll(builder.buildTree(*schema));
            if (count > largestCount) {
                largestCount = count;
                largest = schema;
            }
        }
        if (!largest || largestCount < 50)
            fail("no request body with a sizeable tree");
        std::printf("largest request body tree: %zu nodes resolved\n", largestCount);
        return LargeFixture{model, document, *largest, text.size()};
    }();
    return fixture;
}

void BM_LargestBodyTree(benchmark::State& state, Mode mode)
{
    const LargeFixture& fixture = large();
    std::size_t nodes = 0;
    for (auto _ : state) {
        const Carvex::SchemaTreeBuilder builder{SchemaRefResolver{fixture.document, mode, 20}};
        nodes = readAll(builder.buildTree(fixture.largest));
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["MB"] = static_cast<double>(fixture.bytes) / (1 << 20);
}

// Components L0 ... L30, each with three properties referring to the next level.
std::string fanOutDescription()
{
    std::string text = "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths: {}\ncomponents:\n  schemas:\n";
    for (int level = 0; level < 30; ++level) {
        const std::string next = "{$ref: '#/components/schemas/L" + std::to_string(level + 1) + "'}";
        text += "    L" + std::to_string(level) + ": {type: object, description: level " + std::to_string(level)
                + ", required: [a], properties: {a: " + next + ", b: " + next + ", c: " + next + "}}\n";
    }
    return text + "    L30: {type: string, format: date-time, enum: [a, b]}\n";
}

void BM_BudgetTree(benchmark::State& state)
{
    const auto model = parse(fanOutDescription(), VoziZazIre::Format::yaml);
    const auto document = model.makeAdapter();
    const auto slot = RefOrValue<SchemaAdapter>::reference(
        VoziZazIreCore::Reference("#/components/schemas/L0", std::nullopt, std::nullopt, std::nullopt));
    std::size_t nodes = 0;
    double treeBytes = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        const Carvex::SchemaTreeBuilder builder{SchemaRefResolver{document, Mode::resolved, 20}};
        auto root = builder.buildTree(slot);
        nodes = readAll(root);
        treeBytes = static_cast<double>(heapInUse() - before);
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
    if (nodes < std::size_t(SchemaRefResolver::defaultNodeBudget))
        fail("the shared-component tree did not reach the budget");
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["tree_MB"] = treeBytes / (1 << 20);
}

// The related models of every model point at Model0, so that examples generate in full instead of
// following a chain of models through every one.
std::string withRelatedToFirstModel(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    const std::string related = "\"related\"";
    const std::string target = "#/components/schemas/Model";
    while (true) {
        const std::size_t at = text.find(related, from);
        const std::size_t ref = at == std::string::npos ? at : text.find(target, at);
        if (ref == std::string::npos)
            break;
        const std::size_t digits = ref + target.size();
        std::size_t end = digits;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        out.append(text, from, digits - from).append("0");
        from = end;
    }
    return out.append(text, from, std::string::npos);
}

enum class ExampleCase { declared30, chain31, generated31 };

void BM_AllExamples(benchmark::State& state, ExampleCase which)
{
    const int units = SyntheticDescription::unitsFor(10u << 20, SyntheticDescription::Syntax::json);
    std::string text = SyntheticDescription::generateUnits(units, SyntheticDescription::Syntax::json,
                                                           which == ExampleCase::declared30 ? "3.0.3" : "3.1.0");
    if (which == ExampleCase::generated31)
        text = withRelatedToFirstModel(text);
    const auto model = parse(text, VoziZazIre::Format::json);
    const Carvex::ExampleExtractor extractor(model);
    const Carvex::OperationDetailsBuilder builder;
    std::vector<std::pair<Carvex::OperationDetailsViewModel, Carvex::ExampleSource>> calls;
    for (const auto& entry : model.makeAdapter()->allOperations()) {
        const auto details = builder.build({QString::fromStdString(entry.path), entry.method}, model);
        if (!details)
            fail("an operation without details");
        for (const auto& source : extractor.availableSources(*details))
            calls.emplace_back(*details, source);
    }
    double slowest = 0;
    double total = 0;
    std::size_t generated = 0;
    std::size_t empty = 0;
    for (auto _ : state) {
        slowest = 0;
        total = 0;
        generated = 0;
        empty = 0;
        for (const auto& [details, source] : calls) {
            const auto start = std::chrono::steady_clock::now();
            const auto examples = extractor.examples(details, source);
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            if (examples.empty())
                ++empty;
            else
                generated += examples.front().name == "Generated";
            slowest = std::max(slowest, ms);
            total += ms;
        }
    }
    state.counters["calls"] = static_cast<double>(calls.size());
    state.counters["generated"] = static_cast<double>(generated);
    state.counters["empty"] = static_cast<double>(empty);
    state.counters["slowest_ms"] = slowest;
    state.counters["mean_ms"] = calls.empty() ? 0 : total / static_cast<double>(calls.size());
    state.counters["MB"] = static_cast<double>(text.size()) / (1 << 20);
}

} // namespace

BENCHMARK_CAPTURE(BM_LargestBodyTree, referenced, Mode::referenced)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargestBodyTree, resolved, Mode::resolved)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BudgetTree)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AllExamples, v3_0_declared, ExampleCase::declared30)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_AllExamples, v3_1_model_chain, ExampleCase::chain31)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_AllExamples, v3_1_generated, ExampleCase::generated31)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
