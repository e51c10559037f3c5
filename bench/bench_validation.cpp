// Validation of a multi-megabyte description: the whole parse at level high (parser, transform, rules) beside
// the parse at level none, the validator alone on the typed document, the reference rules alone, and a
// description whose component schemas form one 10,000-long composition chain.
//
//   build/bench/bench_validation
//
// Before timing, each input's findings are checked: the synthetic description (about 4 MB, every "$ref"
// pointing at a declared component) must give no reference finding and some schema findings must be
// absent too; the chain must give exactly one REF-003 naming all 10,000 schemas.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SyntheticDescription.h"
#include "kit/core/ValidationLevel.h"
#include "kit/facade/OpenApiParser.h"
#include "kit/validation/OpenAPI31Validator.h"
#include "kit/validation/ReferenceValidator.h"
#include "kit/validation/ValidationContext.h"
#include "kit/validation/ValidationWalk.h"

namespace {

using VoziZazIre::Format;
using VoziZazIre::OpenApiParser;
using VoziZazIreCore::ValidationLevel;

constexpr std::size_t kSize = 4u << 20;

void fail(const std::string& why) {
  std::fprintf(stderr, "answer check failed: %s\n", why.c_str());
  std::exit(1);
}

std::size_t countWithPrefix(const std::vector<VoziZazIreCore::Diagnostic>& diagnostics, std::string_view prefix) {
  std::size_t n = 0;
  for (const auto& d : diagnostics)
    if (d.message().starts_with(prefix)) ++n;
  return n;
}

const std::string& yamlText() {
  static const std::string text = SyntheticDescription::generate(kSize, SyntheticDescription::Syntax::yaml);
  return text;
}

const std::string& jsonText() {
  static const std::string text = SyntheticDescription::generate(kSize, SyntheticDescription::Syntax::json);
  return text;
}

// Ten thousand component schemas, each composing the next; the last composes the first.
const std::string& chainText() {
  static const std::string text = [] {
    std::string out = "openapi: 3.1.0\ninfo: {title: chain, version: '1'}\npaths: {}\ncomponents:\n  schemas:\n";
    for (int i = 0; i < 10000; ++i) {
      out += "    S";
      out += std::to_string(i);
      out += ": {allOf: [{$ref: '#/components/schemas/S";
      out += std::to_string((i + 1) % 10000);
      out += "'}]}\n";
    }
    return out;
  }();
  return text;
}

const VoziZazIre::ParseResult& typed(const std::string& text, Format format) {
  static std::vector<std::pair<const std::string*, VoziZazIre::ParseResult>> cache;
  for (const auto& [key, result] : cache)
    if (key == &text) return result;
  cache.emplace_back(&text, OpenApiParser().parse(text, format, ValidationLevel::none));
  return cache.back().second;
}

void checkAnswers() {
  for (const auto* text : {&yamlText(), &jsonText()}) {
    const auto result = OpenApiParser().parse(*text, text == &yamlText() ? Format::yaml : Format::json,
                                              ValidationLevel::high);
    if (countWithPrefix(result.diagnostics, "[REF-") != 0) fail("reference findings on the synthetic description");
    if (countWithPrefix(result.diagnostics, "[SEC-") != 0) fail("security findings on the synthetic description");
  }
  const auto chain = OpenApiParser().parse(chainText(), Format::yaml, ValidationLevel::high);
  if (countWithPrefix(chain.diagnostics, "[REF-003]") != 1) fail("the chain must give one REF-003");
  for (const auto& d : chain.diagnostics)
    if (d.message().starts_with("[REF-003]") && !d.message().ends_with("S9998 -> S9999 -> S0"))
      fail("the chain's cycle report");
}

void BM_ParseHigh(benchmark::State& state) {
  const bool yaml = state.range(0) == 0;
  const std::string& text = yaml ? yamlText() : jsonText();
  for (auto _ : state) {
    auto result = OpenApiParser().parse(text, yaml ? Format::yaml : Format::json, ValidationLevel::high);
    benchmark::DoNotOptimize(result.diagnostics.size());
  }
  state.SetLabel(yaml ? "yaml" : "json");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseHigh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ParseNone(benchmark::State& state) {
  const bool yaml = state.range(0) == 0;
  const std::string& text = yaml ? yamlText() : jsonText();
  for (auto _ : state) {
    auto result = OpenApiParser().parse(text, yaml ? Format::yaml : Format::json, ValidationLevel::none);
    benchmark::DoNotOptimize(result.diagnostics.size());
  }
  state.SetLabel(yaml ? "yaml" : "json");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseNone)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The validator alone (every rule set, references included) on the typed document.
void BM_Validator(benchmark::State& state) {
  const auto* document = typed(yamlText(), Format::yaml).document.v3_1();
  for (auto _ : state) {
    auto found = VoziZazIreValidation::OpenAPI31Validator().validate(*document, true);
    benchmark::DoNotOptimize(found.size());
  }
}
BENCHMARK(BM_Validator)->Unit(benchmark::kMillisecond);

// The reference rules alone: composition graph, cycle search and the walk.
void BM_ReferenceRules(benchmark::State& state) {
  const auto* document = typed(yamlText(), Format::yaml).document.v3_1();
  for (auto _ : state) {
    VoziZazIreValidation::ValidationContext context;
    VoziZazIreValidation::registerComponentNames<VoziZazIreTransform::Version31>(*document, context);
    VoziZazIreValidation::RefValidator{}.validate(*document, context);
    benchmark::DoNotOptimize(context.diagnostics().size());
  }
}
BENCHMARK(BM_ReferenceRules)->Unit(benchmark::kMillisecond);

// The validator on 10,000 schemas that form one composition cycle.
void BM_ValidatorOnChain(benchmark::State& state) {
  const auto* document = typed(chainText(), Format::yaml).document.v3_1();
  for (auto _ : state) {
    auto found = VoziZazIreValidation::OpenAPI31Validator().validate(*document, true);
    benchmark::DoNotOptimize(found.size());
  }
}
BENCHMARK(BM_ValidatorOnChain)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  checkAnswers();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
