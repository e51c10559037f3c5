// Snippet catalog costs: a catalog from the built-in table (no template folder), from a folder of
// 500 template files, the best match over the built-in catalog, and the match context at the end of
// a 5 MB description and of a 10 MB single line. Each run checks its answer, so a fast wrong result
// fails.
//
//   build/bench/bench_app_snippet_catalog --benchmark_counters_tabular=true

#include "Carvex/Snippets/MatchContextBuilder.h"
#include "Carvex/Snippets/SnippetTemplateCoding.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "Carvex/Snippets/TemplateMatcher.h"

#include "SyntheticDescription.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace Carvex;

namespace {

// A data home of its own for the whole program: empty, or holding the 500 files.
class DataHome {
public:
    DataHome() { qputenv("XDG_DATA_HOME", dir_.path().toUtf8()); }
    QString yamlFolder() const { return dir_.path() + "/Carvex/Templates/openapi-3.0/yaml"; }
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
    void empty() { QDir(dir_.path() + "/Carvex").removeRecursively(); }

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

BENCHMARK_MAIN();
