// The caret's whole context (path, role, prefix, hints, line, key, sibling keys) in a 10 MB
// description, at the carets that make the scanners walk furthest: the end of the text, and the
// last root key, where the sibling keys are every key at the root (target under 10 ms each).
//
//   build-*/bench/bench_app_caret

#include "Carvex/CaretContext/CursorLocationService.h"
#include "SyntheticDescription.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

using Carvex::CompletionContext;
using Carvex::CursorLocationService;
using Carvex::DocumentFormat;
using SyntheticDescription::Syntax;

const QString& description(Syntax syntax)
{
    static const QString json = QString::fromStdString(SyntheticDescription::generate(10u << 20, Syntax::json));
    static const QString yaml = QString::fromStdString(SyntheticDescription::generate(10u << 20, Syntax::yaml));
    return syntax == Syntax::json ? json : yaml;
}

// The caret just after "comp" in the last root key.
qsizetype inLastRootKey(const QString& text, Syntax syntax)
{
    const QString key = syntax == Syntax::json ? QStringLiteral("\n  \"components\"") : QStringLiteral("\ncomponents:");
    return text.lastIndexOf(key) + key.indexOf(u'c') + 4;
}

void run(benchmark::State& state, Syntax syntax, bool atEnd)
{
    const QString& text = description(syntax);
    const DocumentFormat format = syntax == Syntax::json ? DocumentFormat::json : DocumentFormat::yaml;
    const qsizetype caret = atEnd ? text.size() : inLastRootKey(text, syntax);
    const CursorLocationService service;
    CompletionContext context;
    for (auto _ : state) {
        context = service.extractContext(text, caret, format);
        benchmark::DoNotOptimize(context);
    }
    if (!atEnd) {
        // The answer must be right, not only fast.
        const bool right = context.role == Carvex::CursorRole::mappingKey && context.prefix == u"comp" &&
                           context.path.empty() && context.existingKeys.contains("paths") &&
                           context.existingKeys.contains("openapi") && context.existingKeys.size() == 5;
        if (!right)
            state.SkipWithError("wrong context at the last root key");
    } else if (context.role == Carvex::CursorRole::unknown) {
        state.SkipWithError("no context at the end");
    }
    state.counters["MB"] = double(text.size()) * 2 / (1 << 20);
}

void BM_CaretContext_JSON_End(benchmark::State& state) { run(state, Syntax::json, true); }
void BM_CaretContext_JSON_RootKey(benchmark::State& state) { run(state, Syntax::json, false); }
void BM_CaretContext_YAML_End(benchmark::State& state) { run(state, Syntax::yaml, true); }
void BM_CaretContext_YAML_RootKey(benchmark::State& state) { run(state, Syntax::yaml, false); }

BENCHMARK(BM_CaretContext_JSON_End)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CaretContext_JSON_RootKey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CaretContext_YAML_End)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CaretContext_YAML_RootKey)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
