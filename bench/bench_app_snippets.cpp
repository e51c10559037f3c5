// Snippet text costs: rendering and placeholder parsing of a 1 MB content (target 20 ms each), with
// pathological field texts that must stay linear; moving 10,000 placeholder ranges after one edit
// (target 1 ms); the preview of a 4 KB template (target 2 ms). Each run checks its answer.
//
//   build/bench/bench_app_snippets --benchmark_counters_tabular=true

#include "Carvex/Snippets/PlaceholderSession.h"
#include "Carvex/Snippets/SnippetPlaceholders.h"
#include "Carvex/Snippets/SnippetPreview.h"
#include "Carvex/Snippets/SnippetSuggestion.h"
#include "Carvex/Syntax/SyntaxTheme.h"

#include "platform/TestApplication.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

using namespace Carvex;

const QString& block() {
    static const QString text = QStringLiteral(
        "\n  get:\n    summary: ${1:List items}\n    operationId: ${2:listItems}\n    responses:\n"
        "      '200':\n        description: ${3:OK \U0001F600}\n        content:\n"
        "          application/json:\n            schema:\n              $ref: '#/components/schemas/${4:Item}'\n");
    return text;
}
constexpr int fieldsPerBlock = 4;

// The operation body repeated until the text holds at least `units` UTF-16 units.
QString templateOf(qsizetype units) {
    QString text;
    text.reserve(units + block().size());
    while (text.size() < units) text += block();
    return text;
}

QString repeated(const QString& piece, qsizetype units) {
    QString text;
    text.reserve(units + piece.size());
    while (text.size() < units) text += piece;
    return text;
}

void BM_RenderContent(benchmark::State& state) {
    const QString content = templateOf(state.range(0));
    const qsizetype lines = content.count(u'\n');
    const qsizetype blocks = content.count(QStringLiteral("get:"));
    const auto render = [&] {
        return SnippetSuggestion::render(content, u"  ", IndentationStyle::spaces(2), FileFormat::yaml);
    };
    const QString once = render();
    if (once.count(u'\n') != lines || once.count(QStringLiteral("\n      summary: ${1:List items}\n")) != blocks)
        state.SkipWithError("wrong rendering");
    for (auto _ : state) {
        QString out = render();
        benchmark::DoNotOptimize(out);
        if (out.size() != once.size()) state.SkipWithError("rendering changed");
    }
    state.SetComplexityN(content.size());
    state.counters["units"] = double(content.size());
}
BENCHMARK(BM_RenderContent)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_ParsePlaceholders(benchmark::State& state) {
    const QString content = templateOf(state.range(0));
    const std::size_t fields = std::size_t(content.count(QStringLiteral("get:"))) * fieldsPerBlock;
    for (auto _ : state) {
        const SnippetPlaceholders parsed = parseSnippetPlaceholders(content, 100);
        if (parsed.placeholders.size() != fields ||
            parsed.displayText.mid(parsed.placeholders.back().range.location - 100, 4) != u"Item")
            state.SkipWithError("wrong parse");
        benchmark::DoNotOptimize(parsed);
    }
    state.counters["units"] = double(content.size());
    state.counters["fields"] = double(fields);
}
BENCHMARK(BM_ParsePlaceholders)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Texts where a backtracking engine retries every "${" to the end: no field may be found, and the
// time must grow with the text, not its square.
const QString& pathological(int which) {
    static const QString pieces[] = {QStringLiteral("${1:"), QStringLiteral("${"), QStringLiteral("${1:}"),
                                     QStringLiteral("${12345678901234567890")};
    return pieces[which];
}

void BM_ParsePathological(benchmark::State& state) {
    const QString text = repeated(pathological(int(state.range(0))), state.range(1));
    for (auto _ : state) {
        const SnippetPlaceholders parsed = parseSnippetPlaceholders(text, 0);
        if (!parsed.placeholders.empty() || parsed.displayText.size() != text.size())
            state.SkipWithError("a field was found");
        benchmark::DoNotOptimize(parsed);
    }
    state.SetComplexityN(text.size());
    state.SetLabel(pathological(int(state.range(0))).toStdString());
}
BENCHMARK(BM_ParsePathological)
    ->ArgsProduct({{0, 1, 2, 3}, {250'000, 1'000'000}})
    ->Unit(benchmark::kMillisecond);

void BM_AdjustRanges(benchmark::State& state) {
    const int count = int(state.range(0));
    std::vector<Placeholder> placeholders;
    placeholders.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        placeholders.push_back(Placeholder{i, QStringLiteral("abc"), TextRange{qsizetype(i) * 10, 3}, nullptr});
    PlaceholderSession session(std::move(placeholders), 0, LineRange{0, 1}, true);
    bool insert = true;
    for (auto _ : state) {
        // An insertion before all but the first, then its deletion: every placeholder moves each time.
        const auto answer = insert ? session.adjustRanges(TextRange{5, 0}, 1) : session.adjustRanges(TextRange{5, 1}, 0);
        benchmark::DoNotOptimize(answer);
        insert = !insert;
    }
    const qsizetype last = session.placeholders().back().range.location;
    if (last != qsizetype(count - 1) * 10 + (insert ? 0 : 1)) state.SkipWithError("wrong ranges");
    state.counters["placeholders"] = double(count);
}
BENCHMARK(BM_AdjustRanges)->Arg(10'000)->Unit(benchmark::kMicrosecond);

void BM_Preview(benchmark::State& state) {
    const QString text = templateOf(state.range(0));
    const SyntaxTheme theme = SyntaxTheme::build([](SyntaxThemePreferenceKey) { return QColor(Qt::red); });
    const qsizetype fields = text.count(QStringLiteral("get:")) * fieldsPerBlock;
    for (auto _ : state) {
        const SnippetPreview preview = makeSnippetPreview(text, false, theme, QColor(Qt::blue));
        qsizetype underlined = 0;
        for (const QTextLayout::FormatRange& range : preview.formats) underlined += range.format.fontUnderline();
        if (underlined != fields || preview.text.contains(QStringLiteral("${"))) state.SkipWithError("wrong preview");
        benchmark::DoNotOptimize(preview);
    }
    state.counters["units"] = double(text.size());
}
BENCHMARK(BM_Preview)->Arg(4'096)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    CarvexPlatform::TestApplication::ensure();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
