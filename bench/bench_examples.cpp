// Example generation: building a node tree from a 200,000-value example, printing it in the three
// forms, and the memory held by a 100,000-node tree made node by node, as the schema walkers make theirs;
// then whole requests with the application's options: a recursive schema, a huge `minItems`, a 10^9
// fan-out, and every request-body and response schema of the synthetic 10 MB description.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "SyntheticDescription.h"
#include "kit/core/AnyValue.h"
#include "kit/core/Reference.h"
#include "kit/core/ValidationLevel.h"
#include "kit/examples/ExampleGenerationError.h"
#include "kit/examples/ExampleGenerator.h"
#include "kit/examples/GenericNodeBuilder.h"
#include "kit/examples/GenericNodeSerializer.h"
#include "kit/facade/OpenApiParser.h"
#include "kit/models/OpenAPI3_1/Document.h"
#include "kit/models/OpenAPI3_1/PathItem.h"
#include "kit/models/OpenAPI3_1/Paths.h"
#include "kit/parsing/JSONParser.h"

namespace {

using VoziZazIreCore::AnyValue;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::NodePtr;
using namespace VoziZazIreExampleGeneration;

// 20,000 records of ten values each (the record, six scalars, a list and its two entries).
const AnyValue& largeValue() {
  static const AnyValue value = [] {
    AnyValue::Array records;
    for (int i = 0; i < 20000; ++i) {
      AnyValue::Object record;
      record.insertOrAssign("id", AnyValue(i));
      record.insertOrAssign("name", AnyValue("item \"" + std::to_string(i) + "\" caf\u00e9"));
      record.insertOrAssign("price", AnyValue(i * 0.25 + 0.01));
      record.insertOrAssign("active", AnyValue(i % 2 == 0));
      record.insertOrAssign("owner", AnyValue(nullptr));
      record.insertOrAssign("code", AnyValue(i % 3 ? "yes" : "a: b"));
      record.insertOrAssign("tags", AnyValue(AnyValue::Array{AnyValue("x"), AnyValue(1e-7 * i)}));
      records.push_back(AnyValue(std::move(record)));
    }
    return AnyValue(std::move(records));
  }();
  return value;
}

std::size_t countNodes(const GenericNode& root) {
  std::size_t count = 0;
  std::vector<const GenericNode*> stack{&root};
  while (!stack.empty()) {
    const GenericNode* node = stack.back();
    stack.pop_back();
    ++count;
    if (auto object = node->objectValue()) {
      for (const auto& member : *object) stack.push_back(member.value);
    } else if (auto array = node->arrayValue()) {
      for (const GenericNode* element : *array) stack.push_back(element);
    }
  }
  return count;
}

void BM_NodeFromAnyValue(benchmark::State& state) {
  const AnyValue& value = largeValue();
  for (auto _ : state) {
    NodePtr root = GenericNodeBuilder::nodeFromAnyValue(value, "");
    benchmark::DoNotOptimize(root.get());
    if (state.iterations() == 0 && countNodes(*root) != 200001) state.SkipWithError("wrong node count");
  }
  state.counters["values"] = 200000;
}
BENCHMARK(BM_NodeFromAnyValue)->Unit(benchmark::kMillisecond);

void printIn(benchmark::State& state, int form) {
  NodePtr root = GenericNodeBuilder::nodeFromAnyValue(largeValue(), "");
  std::string text;
  for (auto _ : state) {
    text = form == 0   ? GenericNodeSerializer::toJSON(*root, true)
           : form == 1 ? GenericNodeSerializer::toJSON(*root, false)
                       : GenericNodeSerializer::toYAML(*root);
    benchmark::DoNotOptimize(text.data());
  }
  if (form < 2 && countNodes(*VoziZazIreParsing::JSONParser().parse(text)) != 200001)
    state.SkipWithError("printed JSON does not read back");
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
void BM_PrintPrettyJSON(benchmark::State& state) { printIn(state, 0); }
void BM_PrintCompactJSON(benchmark::State& state) { printIn(state, 1); }
void BM_PrintYAML(benchmark::State& state) { printIn(state, 2); }
BENCHMARK(BM_PrintPrettyJSON)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintCompactJSON)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintYAML)->Unit(benchmark::kMillisecond);

std::size_t heapInUse() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// 10,000 objects of nine scalar members each, in one array: 100,001 nodes, each made on its own with
// its path as pointer.
NodePtr buildNodeByNode() {
  std::vector<NodePtr> items;
  items.reserve(10000);
  for (int i = 0; i < 10000; ++i) {
    const std::string base = "items/" + std::to_string(i);
    VoziZazIreCore::OrderedMap<NodePtr> members;
    for (int m = 0; m < 9; ++m) {
      const std::string key = "field" + std::to_string(m);
      const std::string pointer = base + "/" + key;
      NodePtr value = m % 3 == 0   ? GenericNodeBuilder::stringNode("string", pointer)
                      : m % 3 == 1 ? GenericNodeBuilder::intNode(m, pointer)
                                   : GenericNodeBuilder::boolNode(true, pointer);
      members.appendUnchecked(key, std::move(value));
    }
    items.push_back(GenericNodeBuilder::objectNode(members, base));
  }
  return GenericNodeBuilder::arrayNode(items, "items");
}

void BM_NodeByNodeTreeMemory(benchmark::State& state) {
  double megabytes = 0;
  for (auto _ : state) {
    const std::size_t before = heapInUse();
    NodePtr root = buildNodeByNode();
    megabytes = static_cast<double>(heapInUse() - before) / (1024.0 * 1024.0);
    if (countNodes(*root) != 100001) state.SkipWithError("wrong node count");
  }
  state.counters["MB"] = megabytes;
}
BENCHMARK(BM_NodeByNodeTreeMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

// --- Whole requests -----------------------------------------------------------------------------------

ExampleGenerationOptions applicationOptions() {
  return ExampleGenerationOptions(false, true, true, 10, CycleHandling::useNeutralValue, ResponseSelection::prefer200,
                                  ContentTypeSelection::firstDefined);
}

VoziZazIre::ParseResult parse(const std::string& text) {
  return VoziZazIre::OpenApiParser().parse(text, VoziZazIre::Format::yaml, VoziZazIreCore::ValidationLevel::none);
}

using SchemaRef31 = VoziZazIreCore::ReferenceOr<ExampleModel31::Schema>;

SchemaRef31 referenceTo(const std::string& name) {
  return SchemaRef31(VoziZazIreCore::Reference("#/components/schemas/" + name, std::nullopt, std::nullopt, std::nullopt));
}

// The example of one component, or the error's text; `expected` is the start the answer must have.
void request(benchmark::State& state, const std::string& body, const std::string& name, const std::string& expected) {
  const VoziZazIre::ParseResult result = parse("openapi: 3.1.0\ninfo: {title: t, version: '1'}\npaths: {}\n" + body);
  const auto* components = result.document.v3_1()->components.get();
  const ExampleGenerator generator(applicationOptions());
  std::string answer;
  for (auto _ : state) {
    try {
      answer = generator.toJSON(*generator.generate(referenceTo(name), components), false);
    } catch (const ExampleGenerationError& error) {
      answer = error.what();
    }
  }
  if (answer.compare(0, expected.size(), expected) != 0) state.SkipWithError(("unexpected answer: " + answer.substr(0, 200)).c_str());
}

void BM_RecursiveSchema(benchmark::State& state) {
  request(state,
          "components:\n  schemas:\n"
          "    Base: {type: object, required: [id], properties: {id: {type: string, format: uuid}, created: {type: string, format: date-time}}}\n"
          "    TreeNode:\n      allOf:\n        - $ref: '#/components/schemas/Base'\n"
          "        - type: object\n          properties:\n            label: {type: string}\n"
          "            children: {type: array, minItems: 3, items: {$ref: '#/components/schemas/TreeNode'}}\n"
          "            parent: {$ref: '#/components/schemas/TreeNode'}\n",
          "TreeNode", R"({"children":[null,null,null])");
}
BENCHMARK(BM_RecursiveSchema)->Unit(benchmark::kMillisecond);

// A description of about 1 MB with one schema asking for 10^9 items.
void BM_HugeMinItems(benchmark::State& state) {
  std::string text = SyntheticDescription::generate(1u << 20, SyntheticDescription::Syntax::yaml);
  const std::size_t schemas = text.find("\n  schemas:\n");
  text.insert(schemas + 12, "    Huge: {type: array, minItems: 1000000000, items: {type: integer, minimum: 3}}\n");
  const VoziZazIre::ParseResult result = parse(text);
  const auto* components = result.document.v3_1()->components.get();
  const ExampleGenerator generator(applicationOptions());
  std::size_t items = 0;
  for (auto _ : state) items = generator.generate(referenceTo("Huge"), components)->count();
  if (items != 1000) state.SkipWithError("the array is not capped at 1000 items");
}
BENCHMARK(BM_HugeMinItems)->Unit(benchmark::kMillisecond);

void BM_FanOutOfTenToTheNinth(benchmark::State& state) {
  std::string body = "components:\n  schemas:\n";
  for (int level = 0; level < 9; ++level) {
    body += "    L" + std::to_string(level) + ":\n      properties:\n";
    for (int p = 0; p < 10; ++p)
      body += "        p" + std::to_string(p) + ": {$ref: '#/components/schemas/L" + std::to_string(level + 1) + "'}\n";
  }
  body += "    L9: {type: string}\n";
  request(state, body, "L0", "Invalid schema at path p0/");
}
BENCHMARK(BM_FanOutOfTenToTheNinth)->Unit(benchmark::kMillisecond);

// Every request-body and response schema of the synthetic 10 MB description, one request each: the
// slowest and the total, in milliseconds.
void BM_EveryBodyAndResponseOfTenMegabytes(benchmark::State& state) {
  const VoziZazIre::ParseResult result =
      parse(SyntheticDescription::generate(10u << 20, SyntheticDescription::Syntax::yaml));
  const auto* document = result.document.v3_1();
  const auto* components = document->components.get();
  std::vector<const SchemaRef31*> schemas;
  for (const auto& [path, item] : document->paths->items)
    for (const auto& operation : {item->get, item->put, item->delete_}) {
      if (!operation) continue;
      if (operation->requestBody)
        if (const auto* body = operation->requestBody->inlineValue())
          for (const auto& [type, media] : body->content)
            if (media->schema) schemas.push_back(&*media->schema);
      if (operation->responses)
        for (const auto& [code, response] : operation->responses->items)
          if (const auto* inlineResponse = response.inlineValue(); inlineResponse && inlineResponse->content)
            for (const auto& [type, media] : *inlineResponse->content)
              if (media->schema) schemas.push_back(&*media->schema);
    }
  const ExampleGenerator generator(applicationOptions());
  double slowest = 0, total = 0;
  std::size_t failures = 0;
  for (auto _ : state) {
    slowest = total = 0;
    failures = 0;
    for (const SchemaRef31* schema : schemas) {
      const auto start = std::chrono::steady_clock::now();
      try {
        benchmark::DoNotOptimize(generator.generate(*schema, components).get());
      } catch (const ExampleGenerationError&) {
        ++failures;
      }
      const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      slowest = std::max(slowest, ms);
      total += ms;
    }
  }
  if (schemas.empty()) state.SkipWithError("no schemas");
  state.counters["schemas"] = static_cast<double>(schemas.size());
  state.counters["depth_errors"] = static_cast<double>(failures);
  state.counters["slowest_ms"] = slowest;
  state.counters["total_ms"] = total;
}
BENCHMARK(BM_EveryBodyAndResponseOfTenMegabytes)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
