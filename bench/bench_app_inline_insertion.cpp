// What accepting an inline snippet writes, worked out at the end of a 10 MB text: after "get:" and
// after a "type:" the body repeats, at the end of a 10 MB description (it reads the caret's line
// only: target 0.1 ms), after a key at the end of one 10 MB line, and on a 10 MB line of list
// dashes, which is refused (both linear: target 10 ms, well inside a frame). Each run checks its
// answer, so a fast wrong result fails.
//
//   build/bench/bench_app_inline_insertion --benchmark_counters_tabular=true

#include "AppBenchmarkMain.h"
#include "Carvex/Snippets/InlineSnippetInsertion.h"
#include "Carvex/Snippets/MatchContextBuilder.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "SyntheticDescription.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

using namespace Carvex;

constexpr qsizetype kTenMegabytes = 10 << 20;

const SnippetTemplate& builtIn(const char* id) {
    static const std::vector<SnippetTemplate> rows = TemplateCatalog::builtInTemplates("3.0", FileFormat::yaml);
    for (const SnippetTemplate& row : rows) {
        if (row.id == QLatin1String(id)) return row;
    }
    std::abort();
}

struct Case {
    QString text;
    const SnippetTemplate* snippet;
    std::optional<qsizetype> replaceStart;  // none: refused
};

Case caseFor(int which) {
    switch (which) {
    case 0: {
        const QString description =
            QString::fromStdString(SyntheticDescription::generate(kTenMegabytes, SyntheticDescription::Syntax::yaml));
        return {description + "paths:\n  /added:\n    get:", &builtIn("operation-get"), std::nullopt};
    }
    case 1: {
        const QString description =
            QString::fromStdString(SyntheticDescription::generate(kTenMegabytes, SyntheticDescription::Syntax::yaml));
        const QString text = description + "components:\n  schemas:\n    Added:\n      type:";
        return {text, &builtIn("schema-object-type"), text.size() - 5};
    }
    case 2: {
        const QString text = "    " + QString(kTenMegabytes, u'x') + " type:";
        return {text, &builtIn("schema-object-type"), text.size() - 5};
    }
    default: {
        QString text;
        text.reserve(kTenMegabytes + 8);
        while (text.size() < kTenMegabytes) text += QStringLiteral("- ");
        text += QStringLiteral("name:");
        return {text, &builtIn("parameter-full"), std::nullopt};
    }
    }
}

void BM_InlineInsertionAtTheEnd(benchmark::State& state) {
    const Case c = caseFor(int(state.range(0)));
    const qsizetype point = c.text.size();
    const QString base = MatchContextBuilder::baseIndent(c.text, point);
    const SnippetSuggestion suggestion{*c.snippet,
                                       SnippetSuggestion::render(c.snippet->content, base,
                                                                 IndentationStyle::spaces(2), FileFormat::yaml),
                                       point, MatchContextBuilder::lastKeyword(c.text, point, FileFormat::yaml), base};
    const bool refused = state.range(0) == 3;
    const auto make = [&] {
        return InlineSnippetInsertion::make(c.text, suggestion, IndentationStyle::spaces(2), FileFormat::yaml);
    };
    const auto once = make();
    if (refused ? once.has_value() : !once.has_value()) {
        state.SkipWithError("wrong answer");
    } else if (once && once->replaceStart != c.replaceStart.value_or(point)) {
        state.SkipWithError("wrong range");
    } else if (state.range(0) == 0 && !once->ghostText.startsWith(u"\n      summary: Get items\n")) {
        state.SkipWithError("wrong layout");
    }
    for (auto _ : state) {
        auto insertion = make();
        benchmark::DoNotOptimize(insertion);
    }
    state.counters["units"] = double(c.text.size());
}
BENCHMARK(BM_InlineInsertionAtTheEnd)
    ->ArgName("case")
    ->Arg(0)  // "get:" at the end of a 10 MB description
    ->Arg(1)  // "type:" at the end of a 10 MB description
    ->Arg(2)  // "type:" at the end of one 10 MB line
    ->Arg(3)  // "name:" after 10 MB of list dashes: refused
    ->Unit(benchmark::kMicrosecond);

}  // namespace

CARVEX_APP_BENCHMARK_MAIN();
