// At the caret of a 10 MB description:
//   - the caret's whole context (path, role, prefix, hints, line, key, sibling keys), at the carets
//     that make the scanners walk furthest: the end of the text, and the last root key, where the
//     sibling keys are every key at the root (target under 10 ms each);
//   - a breadcrumb click: finding the text position of the deepest path, at the end of the text
//     (target under 20 ms);
//   - Return, and "}" whose opening brace is the text's first unit, with auto-indentation, as
//     main-thread time from the key press until the edit is made (target under 16 ms).
//
//   QT_QPA_PLATFORM=offscreen build-*/bench/bench_app_caret

#include "Carvex/CaretContext/CursorLocationService.h"
#include "Carvex/Editor/BreadcrumbNavigator.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/EditorTextViewDelegate.h"
#include "Carvex/Indentation/AutoIndentController.h"
#include "SyntheticDescription.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QString>
#include <QCoreApplication>
#include <QKeyEvent>

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

void navigate(benchmark::State& state, Syntax syntax)
{
    const QString& text = description(syntax);
    const bool json = syntax == Syntax::json;
    // The path of the text's last example: the navigator reads (nearly) all of the text.
    const qsizetype caret = text.lastIndexOf(QStringLiteral("related")) + 2;
    const std::vector<Carvex::PathComponent> path =
        CursorLocationService().extractContext(text, caret, json ? DocumentFormat::json : DocumentFormat::yaml).path;
    std::optional<qsizetype> found;
    for (auto _ : state) {
        found = json ? Carvex::BreadcrumbNavigator::findJSONPosition(path, text)
                     : Carvex::BreadcrumbNavigator::findYAMLPosition(path, text);
        benchmark::DoNotOptimize(found);
    }
    // The place found must lead back to the same path.
    if (path.empty() || !found ||
        CursorLocationService().extractContext(text, *found + 1, json ? DocumentFormat::json : DocumentFormat::yaml)
                .path.size() + 1 < path.size())
        state.SkipWithError("the path's place was not found");
    state.counters["depth"] = double(path.size());
}

void BM_BreadcrumbClick_JSON(benchmark::State& state) { navigate(state, Syntax::json); }
void BM_BreadcrumbClick_YAML(benchmark::State& state) { navigate(state, Syntax::yaml); }
BENCHMARK(BM_BreadcrumbClick_JSON)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BreadcrumbClick_YAML)->Unit(benchmark::kMillisecond);

// A loaded editor whose text delegate consults auto-indentation before each edit.
struct IndentingEditor : Carvex::EditorTextViewDelegate {
    Carvex::EditorTextView view;
    Carvex::AutoIndentController controller{&view, CarvexPlatform::Settings::isolated()};

    IndentingEditor(const QString& text, Carvex::DocumentLanguage language)
    {
        view.resize(1000, 800);
        view.show();
        view.loadText(text);
        view.finishLoading();
        view.setTextDelegate(this);
        controller.setLanguage(language);
        controller.detectIndentationStyle();
        QCoreApplication::processEvents();
    }
    ~IndentingEditor() override { view.setTextDelegate(nullptr); }
    bool editorTextViewShouldChangeText(Carvex::EditorTextView& textView, Carvex::TextRange range,
                                        const QString& replacement) override
    {
        return controller.textViewShouldChangeText(textView, range, replacement);
    }
    void editorTextViewDidChangeSelection(Carvex::EditorTextView&) override { controller.cursorDidMove(); }
};

// Times one key at `caret`, undoing it between runs.
void timeKey(benchmark::State& state, IndentingEditor& editor, qsizetype caret, Qt::Key key, char text,
             const QString& expectedInsert)
{
    const qsizetype before = editor.view.textLength();
    for (auto _ : state) {
        editor.view.setSelectedRange(Carvex::TextRange{caret, 0});
        QElapsedTimer timer;
        timer.start();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(text)));
        QCoreApplication::sendEvent(&editor.view, &press);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        const bool right = editor.view.viewText().mid(caret - (key == Qt::Key_BraceRight ? 4 : 0),
                                                      expectedInsert.size()) == expectedInsert;
        editor.view.undo();
        if (!right || editor.view.textLength() != before) {
            state.SkipWithError("the key did not make the planned edit");
            break;
        }
    }
}

void BM_ReturnWithAutoIndent_YAML(benchmark::State& state)
{
    CarvexPlatform::TestApplication::ensure();
    const QString& text = description(Syntax::yaml);
    IndentingEditor editor(text, Carvex::DocumentLanguage::yaml);
    // After the last key that opens a block of responses.
    const qsizetype caret = text.lastIndexOf(QStringLiteral("responses:\n")) + 10;
    const qsizetype lineStart = text.lastIndexOf(u'\n', caret - 1) + 1;
    const QString indent = text.mid(lineStart, caret - 10 - lineStart);
    timeKey(state, editor, caret, Qt::Key_Return, '\n', "\n" + indent + "  ");
}

void BM_ClosingBraceWithAutoIndent_JSON(benchmark::State& state)
{
    CarvexPlatform::TestApplication::ensure();
    // The root object's closing brace typed on a blank line at the very end: the search for its
    // opening brace walks the whole text.
    QString text = description(Syntax::json);
    text.truncate(text.lastIndexOf(u'}'));
    text += "    ";
    IndentingEditor editor(text, Carvex::DocumentLanguage::json);
    timeKey(state, editor, text.size(), Qt::Key_BraceRight, '}', "}");
}

BENCHMARK(BM_ReturnWithAutoIndent_YAML)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ClosingBraceWithAutoIndent_JSON)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

BENCHMARK_MAIN();
