// Converting a 10 MB description between YAML and JSON (target: under 500 ms each way, and under 10 times
// the text's size in memory beyond the input). Each run is checked: the output reads back with as many
// values as the input holds.
//
//   build/bench/bench_app_conversion

#include "Carvex/Conversion/DocumentConversionService.h"
#include "Carvex/Conversion/StrictJSONReader.h"
#include "Carvex/Conversion/YAMLValueReader.h"
#include "SyntheticDescription.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <fstream>
#include <string>

namespace {

using namespace Carvex;

constexpr std::size_t kTenMegabytes = 10u * 1024u * 1024u;

const std::string& description(SyntheticDescription::Syntax syntax) {
    static const std::string yaml = SyntheticDescription::generate(kTenMegabytes, SyntheticDescription::Syntax::yaml);
    static const std::string json = SyntheticDescription::generate(kTenMegabytes, SyntheticDescription::Syntax::json);
    return syntax == SyntheticDescription::Syntax::yaml ? yaml : json;
}

// VmRSS or VmHWM of this process, in bytes.
double statusBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(std::string(field).size())) * 1024.0;
    }
    return 0;
}

// Starts a new peak of the resident set (Linux: "5" to clear_refs resets VmHWM).
bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear);
}

std::size_t valueCount(const std::string& text, bool yaml) {
    return yaml ? YAMLValueReader::read(text).nodeCount() : StrictJSONReader(text).read().nodeCount();
}

void run(benchmark::State& state, bool fromYAML) {
    const std::string& source = description(fromYAML ? SyntheticDescription::Syntax::yaml : SyntheticDescription::Syntax::json);
    const QString input = QString::fromStdString(source);
    const DocumentConversionService service;
    const std::size_t expected = valueCount(source, fromYAML);
    double peakExtra = 0;
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        const bool peakKnown = resetPeak();
        const double before = statusBytes("VmRSS:");
        state.ResumeTiming();
        QString output = fromYAML ? service.convertToJSON(input) : service.convertToYAML(input);
        state.PauseTiming();
        if (peakKnown) peakExtra = std::max(peakExtra, statusBytes("VmHWM:") - before);
        if (valueCount(output.toStdString(), !fromYAML) != expected) state.SkipWithError("output does not read back");
        output.clear();
        state.ResumeTiming();
    }
    state.counters["input_MB"] = static_cast<double>(source.size()) / 1e6;
    state.counters["extra_peak_MB"] = peakExtra / 1e6;
    state.counters["extra_peak_per_input_byte"] = peakExtra / static_cast<double>(source.size());
}

void BM_ConvertTenMegabytesYAMLToJSON(benchmark::State& state) { run(state, true); }
void BM_ConvertTenMegabytesJSONToYAML(benchmark::State& state) { run(state, false); }

BENCHMARK(BM_ConvertTenMegabytesYAMLToJSON)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ConvertTenMegabytesJSONToYAML)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
