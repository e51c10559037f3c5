// Snippet text costs: rendering and placeholder parsing of a 1 MB content (target 20 ms each), with
// pathological field texts that must stay linear; moving 10,000 placeholder ranges after one edit
// (target 1 ms); the preview of a 4 KB template (target 2 ms). The catalog: from the built-in table
// (target 1 ms) and from a folder of 500 template files (100 ms); the best match over the built-in
// catalog (20 µs); the match context at the end of a 5 MB description (20 ms) and of a 10 MB single
// line (10 ms). Each run checks its answer, so a fast wrong result fails.
//
//   build/bench/bench_app_snippets --benchmark_counters_tabular=true

#include "AppBenchmarkMain.h"
#include "Carvex/Snippets/MatchContextBuilder.h"
#include "Carvex/Snippets/PlaceholderSession.h"
#include "Carvex/Snippets/SnippetPlaceholders.h"
#include "Carvex/Snippets/SnippetPreview.h"
#include "Carvex/Snippets/SnippetSuggestion.h"
#include "Carvex/Snippets/SnippetTemplateCoding.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "Carvex/Snippets/TemplateMatcher.h"
#include "Carvex/Syntax/SyntaxTheme.h"
#include "SyntheticDescription.h"


#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

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

namespace {

using namespace Carvex;

// A data home of its own for the whole program: empty, or holding the 500 files.
class DataHome {
public:
    // Both variables: with the standard paths' test mode on, the data home lies under HOME.
    DataHome() {
        qputenv("HOME", dir_.path().toUtf8());
        qputenv("XDG_DATA_HOME", dir_.path().toUtf8());
    }
    QString yamlFolder() const { return TemplateCatalog::userTemplatesDirectory().value_or(dir_.path()) + "/openapi-3.0/yaml"; }
    void fill(int files) {
        QDir().mkpath(yamlFolder());
        const std::vector<SnippetTemplate> rows = TemplateCatalog::builtInTemplates("3.0", FileFormat::yaml);
        for (int i = 0; i < files; ++i) {
            SnippetTemplate made = rows[size_t(i) % rows.size()];
            made.id += QString::number(i);
            QFile file(yamlFolder() + QString("/t%1.json").arg(i, 4, 10, QChar(u'0')));
            if (!file.open(QIODevice::WriteOnly)) return;
            const std::string json = SnippetTemplateCoding::encode(made);
            file.write(json.data(), qint64(json.size()));
        }
    }
    void empty() {
        if (const std::optional<QString> folder = TemplateCatalog::userTemplatesDirectory()) {
            QDir(*folder).removeRecursively();
        }
    }

private:
    QTemporaryDir dir_;
};

DataHome& dataHome() {
    static DataHome home;
    return home;
}

void CatalogFromBuiltInTable(benchmark::State& state) {
    dataHome().empty();
    for (auto _ : state) {
        const TemplateCatalog catalog("3.0", FileFormat::yaml);
        if (catalog.templates().size() != 38) state.SkipWithError("not the built-in table");
        benchmark::DoNotOptimize(catalog.templates().data());
    }
}
BENCHMARK(CatalogFromBuiltInTable)->Unit(benchmark::kMicrosecond);

void CatalogFromFolderOf500Files(benchmark::State& state) {
    dataHome().fill(500);
    for (auto _ : state) {
        const TemplateCatalog catalog("3.0", FileFormat::yaml);
        if (catalog.templates().size() != 500) state.SkipWithError("not the folder's 500 templates");
        benchmark::DoNotOptimize(catalog.templates().data());
    }
    dataHome().empty();
}
BENCHMARK(CatalogFromFolderOf500Files)->Unit(benchmark::kMillisecond);

class BuiltInCatalog : public TemplateCatalog {
public:
    BuiltInCatalog() : TemplateCatalog(builtInTemplates("3.0", FileFormat::yaml), "3.0", FileFormat::yaml) {}
};

void BestMatchOverBuiltInCatalog(benchmark::State& state) {
    const TemplateMatcher matcher(std::make_shared<BuiltInCatalog>());
    const MatchContext context{QString(), 0, "schema:", 5,
                               {"paths", "/items", "get", "responses", "200", "content", "application/json"},
                               FileFormat::yaml};
    for (auto _ : state) {
        const std::optional<SnippetTemplate> best = matcher.bestMatch(context);
        if (!best || best->id != u"schema-response") state.SkipWithError("wrong template");
        benchmark::DoNotOptimize(best);
    }
}
BENCHMARK(BestMatchOverBuiltInCatalog)->Unit(benchmark::kMicrosecond);

void MatchContextAtEndOf5MBDescription(benchmark::State& state) {
    const SyntheticDescription::Syntax syntax =
        state.range(0) == 0 ? SyntheticDescription::Syntax::yaml : SyntheticDescription::Syntax::json;
    const FileFormat format = state.range(0) == 0 ? FileFormat::yaml : FileFormat::json;
    const QString text = QString::fromStdString(SyntheticDescription::generate(5u << 20, syntax)) + "\n  paths:";
    for (auto _ : state) {
        const std::optional<MatchContext> context = MatchContextBuilder::build(text, text.size(), format);
        if (!context || context->lastKeyword != u"paths:") state.SkipWithError("wrong keyword");
        benchmark::DoNotOptimize(context);
    }
    state.SetLabel(format == FileFormat::yaml ? "yaml" : "json");
    state.counters["MB"] = double(text.size()) / (1 << 20);
}
BENCHMARK(MatchContextAtEndOf5MBDescription)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Minified JSON with blanks after its separators (arg 0) or none at all (arg 1), where the word at
// the caret is the whole line.
void MatchContextAtEndOf10MBSingleLine(benchmark::State& state) {
    const bool blanks = state.range(0) == 0;
    const QString unit = blanks ? R"({"type": "string", "format": "uuid", "description": "An id"}, )"
                                : R"({"type":"string","format":"uuid","description":"An-id"},)";
    QString text;
    text.reserve((10 << 20) + unit.size());
    while (text.size() < (10 << 20)) text += unit;
    text += R"("items":)";
    const qsizetype keywordLength = blanks ? 6 : text.size() - text.count(u'"');
    for (auto _ : state) {
        const std::optional<MatchContext> context = MatchContextBuilder::build(text, text.size(), FileFormat::json);
        if (!context || context->lastKeyword.size() != keywordLength || !context->lastKeyword.endsWith(u"items:") ||
            !context->parentPath.isEmpty()) {
            state.SkipWithError("wrong context");
        }
        benchmark::DoNotOptimize(context);
    }
    state.SetLabel(blanks ? "with blanks" : "without blanks");
    state.counters["MB"] = double(text.size()) / (1 << 20);
}
BENCHMARK(MatchContextAtEndOf10MBSingleLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

CARVEX_APP_BENCHMARK_MAIN()
