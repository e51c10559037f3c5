// Parsing a large JSON description into the node tree (positions and pointers on every node) beside
// RapidJSON's DOM on the same bytes, and the peak memory of `kitdump tree` on a 4 MB description.
//
//   build/bench/bench_json_parse
//
// After the runs it prints the time ratio JSONParser / RapidJSON and the peak-memory ratio.

#include <benchmark/benchmark.h>
#include <rapidjson/document.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "KitdumpPeakMemory.h"
#include "SyntheticDescription.h"
#include "kit/core/GenericNode.h"
#include "kit/parsing/JSONParser.h"

namespace {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;

const std::string& largeDescription() {
  static const std::string text = SyntheticDescription::generate(8u << 20, SyntheticDescription::Syntax::json);
  return text;
}

std::size_t countNodes(const GenericNode& root) {
  std::size_t count = 0;
  std::vector<const GenericNode*> stack{&root};
  while (!stack.empty()) {
    const GenericNode* node = stack.back();
    stack.pop_back();
    ++count;
    if (auto members = node->objectValue()) {
      for (const auto& member : *members) stack.push_back(member.value);
    } else if (auto elements = node->arrayValue()) {
      for (const GenericNode* element : *elements) stack.push_back(element);
    }
  }
  return count;
}

std::size_t countValues(const rapidjson::Value& root) {
  std::size_t count = 0;
  std::vector<const rapidjson::Value*> stack{&root};
  while (!stack.empty()) {
    const rapidjson::Value* value = stack.back();
    stack.pop_back();
    ++count;
    if (value->IsObject()) {
      for (const auto& member : value->GetObject()) stack.push_back(&member.value);
    } else if (value->IsArray()) {
      for (const auto& element : value->GetArray()) stack.push_back(&element);
    }
  }
  return count;
}

// Both parsers must read the same number of values, so that a fast wrong answer fails the run.
bool answersAgree(std::string* why) {
  const std::string& text = largeDescription();
  VoziZazIreCore::NodePtr root = VoziZazIreParsing::JSONParser().parse(std::string_view(text));
  rapidjson::Document document;
  document.Parse(text.data(), text.size());
  if (document.HasParseError()) {
    *why = "RapidJSON refused the input";
    return false;
  }
  const std::size_t ours = countNodes(*root);
  const std::size_t theirs = countValues(document);
  if (ours != theirs) {
    *why = "node counts differ: " + std::to_string(ours) + " vs " + std::to_string(theirs);
    return false;
  }
  return true;
}

// Peak resident memory of `kitdump tree` on a 4 MB description, as a multiple of the file size. Registered
// first: a child's peak counts the memory it was forked with, so this runs while the program is small.
void BM_KitdumpTreePeakMemory(benchmark::State& state) {
  if (!std::filesystem::exists(KitdumpPeakMemory::kitdumpPath())) {
    state.SkipWithError("kitdump is not built");
    return;
  }
  const std::string text = SyntheticDescription::generate(4u << 20, SyntheticDescription::Syntax::json);
  double peak = 0;
  for (auto _ : state) {
    auto bytes = KitdumpPeakMemory::peakBytes(text, ".json", {"tree"});
    if (!bytes) {
      state.SkipWithError("kitdump failed");
      break;
    }
    peak = std::max(peak, *bytes);
  }
  state.counters["file_MB"] = static_cast<double>(text.size()) / 1e6;
  state.counters["peak_MB"] = peak / 1e6;
  state.counters["peak_per_file_byte"] = peak / static_cast<double>(text.size());
}
BENCHMARK(BM_KitdumpTreePeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_JSONParser(benchmark::State& state) {
  std::string why;
  if (!answersAgree(&why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  const std::string& text = largeDescription();
  const auto bytes = VoziZazIreParsing::DocumentParser::bytesOf(text);
  for (auto _ : state) {
    VoziZazIreCore::NodePtr root = VoziZazIreParsing::JSONParser().parse(bytes);
    benchmark::DoNotOptimize(root.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_JSONParser)->Unit(benchmark::kMillisecond);

void BM_RapidJSONDom(benchmark::State& state) {
  const std::string& text = largeDescription();
  for (auto _ : state) {
    rapidjson::Document document;
    document.Parse(text.data(), text.size());
    benchmark::DoNotOptimize(document.IsObject());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_RapidJSONDom)->Unit(benchmark::kMillisecond);


// Prints the usual table, then the ratios the targets are stated in.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      times_[run.run_name.function_name] = run.GetAdjustedRealTime();
      auto memory = run.counters.find("peak_per_file_byte");
      if (memory != run.counters.end()) memoryRatio_ = memory->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto ours = times_.find("BM_JSONParser");
    auto theirs = times_.find("BM_RapidJSONDom");
    if (ours != times_.end() && theirs != times_.end() && theirs->second > 0)
      std::printf("JSONParser / RapidJSON DOM time: %.2fx (target: at most 8x)\n", ours->second / theirs->second);
    if (memoryRatio_ > 0)
      std::printf("kitdump tree peak RSS / file size: %.2fx (target: below 15x)\n", memoryRatio_);
  }

 private:
  std::map<std::string, double> times_;
  double memoryRatio_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
