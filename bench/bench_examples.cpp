// Example generation: building a node tree from a 200,000-value example, printing it in the three
// forms, and the memory held by a 100,000-node tree made node by node, as the schema walkers make theirs.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>
#include <vector>

#include "kit/core/AnyValue.h"
#include "kit/examples/GenericNodeBuilder.h"
#include "kit/examples/GenericNodeSerializer.h"
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

}  // namespace

BENCHMARK_MAIN();
