// The whole road of a description at level high — text, parser, GenericNode tree, transform, validation —
// on synthetic descriptions of about 1, 5 and 20 MB, the same description in JSON and in YAML.
//
//   build/bench/bench_pipeline [--benchmark_filter=...]
//
// Three stages are timed on the same bytes: the parser alone; the parser and the version's transformer
// (OpenAPI3_0Transformer or OpenAPI3_1Transformer) at level high; and the facade, OpenApiParser at level
// high, which adds version detection and validation. Releasing the result is not timed. After the runs
// a table gives each stage's share of the whole road and its speed in MB/s, from the thread's CPU time
// (the usual columns give wall and CPU time as Google Benchmark measures them).
//
// Before timing, each description is checked: read in JSON and in YAML, it must give the same number of
// nodes, path items and operations and the same findings (severity, pointer and message, in order); and the
// transform stage must give the findings the facade starts with. A mismatch fails the benchmark.

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "KitdumpPeakMemory.h"
#include "SyntheticDescription.h"
#include "kit/core/Diagnostic.h"
#include "kit/core/GenericNode.h"
#include "kit/core/ValidationLevel.h"
#include "kit/facade/OpenApiParser.h"
#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"
#include "kit/transform/OpenAPI3_0Transformer.h"
#include "kit/transform/OpenAPI3_1Transformer.h"

namespace {

using SyntheticDescription::Syntax;
using VoziZazIreCore::Diagnostic;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::NodePtr;
using VoziZazIreCore::ValidationLevel;

enum Stage { kParse, kTransform, kFacade };
constexpr const char* kStageNames[] = {"parser", "parser+transform", "whole road"};

// One input: size in MB, syntax, version (30 or 31).
using Key = std::tuple<int, int, int>;

std::string_view versionText(int version) { return version == 30 ? "3.0.3" : "3.1.0"; }

// The same description in both syntaxes: the unit count is the one that makes the JSON about `mb` MB.
const std::string& input(const Key& key) {
  static std::map<Key, std::string> inputs;
  auto it = inputs.find(key);
  if (it != inputs.end()) return it->second;
  const auto [mb, syntax, version] = key;
  const int units = SyntheticDescription::unitsFor(static_cast<std::size_t>(mb) << 20, Syntax::json);
  std::string text = SyntheticDescription::generateUnits(units, syntax == 0 ? Syntax::json : Syntax::yaml, versionText(version));
  return inputs.emplace(key, std::move(text)).first->second;
}

std::span<const std::uint8_t> bytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

NodePtr parse(const std::string& text, int syntax) {
  if (syntax == 0) return VoziZazIreParsing::JSONParser().parse(bytesOf(text));
  return VoziZazIreParsing::YAMLParser().parse(bytesOf(text));
}

// The transform's result of either version; its findings, and its model kept until the caller lets go.
struct Transformed {
  std::shared_ptr<const void> model;
  std::vector<Diagnostic> diagnostics;
};

Transformed transform(const GenericNode& root, int version) {
  if (version == 30) {
    auto result = VoziZazIreTransform::OpenAPI3_0Transformer().transform(root, ValidationLevel::high);
    return {std::move(result.model), std::move(result.diagnostics)};
  }
  auto result = VoziZazIreTransform::OpenAPI3_1Transformer().transform(root, ValidationLevel::high);
  return {std::move(result.model), std::move(result.diagnostics)};
}

VoziZazIre::ParseResult facade(const std::string& text, int syntax) {
  return VoziZazIre::OpenApiParser().parse(bytesOf(text), syntax == 0 ? VoziZazIre::Format::json : VoziZazIre::Format::yaml,
                                           ValidationLevel::high);
}

// --- The answer check -------------------------------------------------------------------------------

struct Answer {
  std::size_t nodes = 0;
  std::size_t pathItems = 0;
  std::size_t operations = 0;
  std::vector<std::string> findings;  // severity, pointer and message (with its code) of each finding, in order
  std::size_t transformFindings = 0;
};

template <class Document>
void countOperations(const Document& document, Answer& answer) {
  for (const auto& [path, item] : document.paths->items) {
    ++answer.pathItems;
    if (!item) continue;
    for (const auto* operation : {&item->get, &item->put, &item->post, &item->delete_, &item->options, &item->head,
                                  &item->patch, &item->trace})
      if (*operation) ++answer.operations;
  }
}

std::string findingText(const Diagnostic& d) {
  return std::string(d.severity() == VoziZazIreCore::DiagnosticSeverity::error ? "error " : "other ") +
         d.jsonPointer().value_or("") + " " + d.message();
}

Answer answerOf(const std::string& text, int syntax, int version) {
  Answer answer;
  const VoziZazIre::ParseResult result = facade(text, syntax);
  std::vector<const GenericNode*> stack{result.genericTree.get()};
  while (!stack.empty()) {
    const GenericNode* node = stack.back();
    stack.pop_back();
    ++answer.nodes;
    if (auto members = node->objectValue())
      for (const auto& m : *members) stack.push_back(m.value);
    if (auto elements = node->arrayValue())
      for (const GenericNode* e : *elements) stack.push_back(e);
  }
  if (const auto* d = result.document.v3_0()) countOperations(*d, answer);
  if (const auto* d = result.document.v3_1()) countOperations(*d, answer);
  for (const auto& d : result.diagnostics) answer.findings.push_back(findingText(d));
  const std::vector<Diagnostic> transformed = transform(*parse(text, syntax), version).diagnostics;
  answer.transformFindings = transformed.size();
  for (std::size_t i = 0; i < transformed.size(); ++i)
    if (i >= answer.findings.size() || findingText(transformed[i]) != answer.findings[i]) answer.transformFindings = static_cast<std::size_t>(-1);
  return answer;
}

// Empty when the description reads alike in both syntaxes; else what differs. Checked once per size.
const std::string& mismatch(int mb, int version) {
  static std::map<std::pair<int, int>, std::string> checked;
  auto it = checked.find({mb, version});
  if (it != checked.end()) return it->second;
  std::string why;
  try {
    const Answer json = answerOf(input({mb, 0, version}), 0, version);
    const Answer yaml = answerOf(input({mb, 1, version}), 1, version);
    if (json.nodes != yaml.nodes) why += " nodes " + std::to_string(json.nodes) + " vs " + std::to_string(yaml.nodes) + ";";
    if (json.operations != yaml.operations || json.pathItems != yaml.pathItems)
      why += " operations " + std::to_string(json.operations) + " vs " + std::to_string(yaml.operations) + ";";
    if (json.findings != yaml.findings)
      why += " findings " + std::to_string(json.findings.size()) + " vs " + std::to_string(yaml.findings.size()) + ";";
    if (json.transformFindings == static_cast<std::size_t>(-1) || yaml.transformFindings == static_cast<std::size_t>(-1))
      why += " the transform's findings are not the facade's first ones;";
    if (json.operations == 0) why += " no operations read;";
    std::printf("check %2d MB %s: %zu nodes, %zu path items, %zu operations, %zu findings (%zu from the transform)%s%s\n",
                mb, std::string(versionText(version)).c_str(), json.nodes, json.pathItems, json.operations,
                json.findings.size(), json.transformFindings, why.empty() ? ", JSON and YAML agree" : ":",
                why.c_str());
  } catch (const std::exception& error) {
    why = std::string(" threw: ") + error.what();
    std::printf("check %2d MB: %s\n", mb, why.c_str());
  }
  return checked.emplace(std::make_pair(mb, version), why).first->second;
}

// --- Timing -----------------------------------------------------------------------------------------

// The thread's CPU time in seconds: the table below is read on a machine that may be busy.
double cpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::map<std::tuple<int, int, int, int>, double>& secondsPerRun() {
  static std::map<std::tuple<int, int, int, int>, double> times;
  return times;
}

// --- Memory -----------------------------------------------------------------------------------------

// Peak resident memory of a level-high parse (`kitdump parse FILE --level high`) of a 4 MB description,
// as a multiple of the file's size; each syntax in its own file of about 4 MB. Registered before the
// timings: a child's peak counts the memory it was forked with, so this runs while the program is small.
std::map<int, std::pair<double, double>>& peakPerSyntax() {
  static std::map<int, std::pair<double, double>> peaks;  // syntax -> (file bytes, peak bytes)
  return peaks;
}

void BM_LevelHighPeakMemory(benchmark::State& state) {
  const int syntax = static_cast<int>(state.range(0));
  if (!std::filesystem::exists(KitdumpPeakMemory::kitdumpPath())) {
    state.SkipWithError("kitdump is not built");
    return;
  }
  const Syntax kind = syntax == 0 ? Syntax::json : Syntax::yaml;
  const std::string text = SyntheticDescription::generate(4u << 20, kind);
  double peak = 0;
  for (auto _ : state) {
    auto bytes = KitdumpPeakMemory::peakBytes(text, syntax == 0 ? ".json" : ".yaml", {"parse"}, {"--level", "high"});
    if (!bytes) {
      state.SkipWithError("kitdump failed");
      return;
    }
    peak = std::max(peak, *bytes);
  }
  peakPerSyntax()[syntax] = {static_cast<double>(text.size()), peak};
  state.counters["file_MB"] = static_cast<double>(text.size()) / 1e6;
  state.counters["peak_MB"] = peak / 1e6;
  state.counters["peak_per_file_byte"] = peak / static_cast<double>(text.size());
  state.SetLabel(syntax == 0 ? "json" : "yaml");
}
BENCHMARK(BM_LevelHighPeakMemory)->Arg(0)->Arg(1)->ArgName("yaml")->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Pipeline(benchmark::State& state) {
  const int mb = static_cast<int>(state.range(0));
  const int syntax = static_cast<int>(state.range(1));
  const int version = static_cast<int>(state.range(2));
  const auto stage = static_cast<Stage>(state.range(3));
  if (const std::string& why = mismatch(mb, version); !why.empty()) {
    state.SkipWithError(why.c_str());
    return;
  }
  const std::string& text = input({mb, syntax, version});
  double seconds = 0;
  for (auto _ : state) {
    const double start = cpuSeconds();
    if (stage == kParse) {
      NodePtr root = parse(text, syntax);
      benchmark::DoNotOptimize(root.get());
      seconds += cpuSeconds() - start;
      state.PauseTiming();
      root.reset();
      state.ResumeTiming();
    } else if (stage == kTransform) {
      NodePtr root = parse(text, syntax);
      Transformed result = transform(*root, version);
      benchmark::DoNotOptimize(result.diagnostics.data());
      seconds += cpuSeconds() - start;
      state.PauseTiming();
      result = {};
      root.reset();
      state.ResumeTiming();
    } else {
      VoziZazIre::ParseResult result = facade(text, syntax);
      benchmark::DoNotOptimize(result.diagnostics.data());
      seconds += cpuSeconds() - start;
      state.PauseTiming();
      { VoziZazIre::ParseResult released = std::move(result); }
      state.ResumeTiming();
    }
  }
  secondsPerRun()[{mb, syntax, version, stage}] = seconds / static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
  state.SetLabel(std::string(syntax == 0 ? "json " : "yaml ") + std::string(versionText(version)) + " " + kStageNames[stage]);
}

void arguments(benchmark::internal::Benchmark* b) {
  for (int mb : {1, 5, 20})
    for (int syntax : {0, 1})
      for (int stage : {kParse, kTransform, kFacade}) b->Args({mb, syntax, 31, stage});
  for (int syntax : {0, 1})
    for (int stage : {kParse, kTransform, kFacade}) b->Args({5, syntax, 30, stage});
}
BENCHMARK(BM_Pipeline)->Apply(arguments)->Unit(benchmark::kMillisecond)->ArgNames({"MB", "yaml", "version", "stage"});

void printShares() {
  const auto& times = secondsPerRun();
  std::printf("\nCPU time per run. Stage shares of the whole road at level high (transform = parser+transform - parser; validation and\n"
              "the rest = whole road - parser+transform); MB/s of each stage alone and of the whole road:\n");
  std::printf("%-6s %-5s %-7s %9s %9s %9s %9s | %8s %10s %11s | %9s %9s %9s %9s\n", "size", "fmt", "version", "parse ms",
              "trans ms", "valid ms", "total ms", "parse %", "transform %", "validation %", "parse", "transform",
              "validation", "road");
  for (int version : {31, 30})
    for (int mb : {1, 5, 20})
      for (int syntax : {0, 1}) {
        auto at = [&](int stage) {
          auto it = times.find({mb, syntax, version, stage});
          return it == times.end() ? -1.0 : it->second;
        };
        const double p = at(kParse), pt = at(kTransform), all = at(kFacade);
        if (p < 0 || pt < 0 || all < 0) continue;
        const double megabytes = static_cast<double>(input({mb, syntax, version}).size()) / 1e6;
        const double t = pt - p, v = all - pt;
        // A stage that takes next to nothing has no meaningful speed.
        auto speed = [&](double seconds) {
          char text[32];
          if (seconds < all * 0.01) return std::string("-");
          std::snprintf(text, sizeof text, "%.1f", megabytes / seconds);
          return std::string(text);
        };
        std::printf("%3d MB %-5s %-7s %9.1f %9.1f %9.1f %9.1f | %7.1f%% %9.1f%% %10.1f%% | %9s %9s %9s %9s\n", mb,
                    syntax == 0 ? "json" : "yaml", std::string(versionText(version)).c_str(), p * 1e3, t * 1e3, v * 1e3,
                    all * 1e3, 100 * p / all, 100 * t / all, 100 * v / all, speed(p).c_str(), speed(t).c_str(),
                    speed(v).c_str(), speed(all).c_str());
      }
  for (const auto& [syntax, sizes] : peakPerSyntax())
    std::printf("%s, level high: peak RSS %.1f MB for a %.2f MB file = %.2fx the file (target: below 12x)\n",
                syntax == 0 ? "json" : "yaml", sizes.second / 1e6, sizes.first / 1e6, sizes.second / sizes.first);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  printShares();
  benchmark::Shutdown();
  return 0;
}
