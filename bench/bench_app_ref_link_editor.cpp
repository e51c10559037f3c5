// `$ref` links in a shown editor view, offscreen, on synthetic descriptions of about 10 MB:
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_app_ref_link_editor [--benchmark_filter=...]
//
// - Keystroke/<format>: the link work of one keystroke typed into a description (the handler's
//   update from the edit's announcement, the splice and the styled links' move), typing and
//   deleting in turn. Target: under 2 ms.
// - Paint/<links>: one repaint of the screen after every block's formats were dropped, with 100 or
//   100,000 links in texts of equal length whose first screen is the same. Target: the same time
//   for both.
// - CtrlClick/<format>: a Command-click on a link far down the text until the caret is placed,
//   the check that the model fits the text (a hash of the whole text) included; FirstClick also
//   makes a fresh model's adapters. Target: under 30 ms.
// - PointerMove/<format>: the cursor asked for a point over a link with Command held. Target:
//   under 1 ms.
// Before timing, each program checks its answer: the links after the edits equal a full
// detection, the click lands on the target's first character, the pointer is the pointing hand.

#include "AppBenchmarkMain.h"
#include "SyntheticDescription.h"

#include "Carvex/Documents/Document.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/EditorTextViewDelegate.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "Carvex/ModelAdapters/RefLinkDetector.h"
#include "Carvex/Editor/RefLinkHandler.h"
#include "Carvex/ModelAdapters/RefLocationResolver.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "kit/facade/OpenApiParser.h"
#include "platform/Settings.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QTextCursor>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

using namespace Carvex;
using SyntheticDescription::Syntax;

constexpr std::size_t kBytes = 10u << 20;

void fail(const char* what) {
    std::fprintf(stderr, "bench_app_ref_link_editor: %s\n", what);
    std::fflush(stderr);
    std::_Exit(1);
}

double millisecondsOf(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

DocumentLanguage languageOf(Syntax syntax) {
    return syntax == Syntax::json ? DocumentLanguage::json : DocumentLanguage::yaml;
}

VoziZazIre::Format formatOf(Syntax syntax) {
    return syntax == Syntax::json ? VoziZazIre::Format::json : VoziZazIre::Format::yaml;
}

// Times the handler's update inside the edit's announcement, as the editor runs it.
class TimingDelegate : public QObject, public EditorTextViewDelegate {
public:
    bool editorTextViewShouldChangeText(EditorTextView&, TextRange, const QString&) override { return true; }
    void editorTextViewDidChangeText(EditorTextView&, const TextChange&) override {
        if (handler == nullptr) {
            return;
        }
        QElapsedTimer timer;
        timer.start();
        handler->updateLinks(language);
        milliseconds += millisecondsOf(timer);
    }
    RefLinkHandler* handler = nullptr;
    DocumentLanguage language = DocumentLanguage::unknown;
    double milliseconds = 0;
};

// A shown view with a document, its link handler and the model of its text.
struct Editor {
    EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    Document document{&preferences};
    EditorTextView view;
    TimingDelegate delegate;
    QElapsedTimer slotTimer;
    double slotMilliseconds = 0;
    std::unique_ptr<RefLinkHandler> handler;
    DocumentLanguage language;

    Editor(const QString& text, DocumentLanguage language) : language(language) {
        view.resize(1000, 800);
        view.show();
        view.setTextDelegate(&delegate);
        view.loadText(text);
        view.finishLoading();
        document.setContent(text);
        QApplication::processEvents();
        // The styler's and the handler's slots run between these two.
        QObject::connect(&view, &EditorTextView::textDidChange, [this] { slotTimer.start(); });
        handler = std::make_unique<RefLinkHandler>(&view, &document);
        QObject::connect(&view, &EditorTextView::textDidChange,
                         [this] { slotMilliseconds += millisecondsOf(slotTimer); });
        delegate.handler = handler.get();
        delegate.language = language;
        handler->updateLinks(language);
    }

    void parse(VoziZazIre::Format format) {
        const VoziZazIre::ParseResult result = VoziZazIre::OpenApiParser().parse(
            view.viewText().toStdString(), format, VoziZazIreCore::ValidationLevel::none);
        document.parsedModel = ParsedOpenAPIModel(result.document).withSourceTextHash(qHash(view.viewText()));
    }
};

Editor& editorFor(Syntax syntax, bool parsed) {
    // Kept for the program: views outlive no application.
    static auto* const editors = new std::map<Syntax, std::unique_ptr<Editor>>;
    std::unique_ptr<Editor>& editor = (*editors)[syntax];
    if (!editor) {
        editor = std::make_unique<Editor>(QString::fromStdString(SyntheticDescription::generate(kBytes, syntax)),
                                          languageOf(syntax));
    }
    if (parsed && !editor->document.parsedModel) {
        editor->parse(formatOf(syntax));
    }
    return *editor;
}

void checkLinks(Editor& editor) {
    if (editor.handler->cachedLinks() != RefLinkDetector().detectLinks(editor.view.viewText(), editor.language)) {
        fail("the spliced links differ from a full detection");
    }
    std::size_t local = 0;
    for (const RefLink& link : editor.handler->cachedLinks()) {
        local += link.isLocal() && link.valueRange.length > 0 ? 1 : 0;
    }
    if (editor.handler->styler()->styledLinks().size() != local) {
        fail("the styled links differ from the local links");
    }
}

void Keystroke(benchmark::State& state, Syntax syntax) {
    Editor& editor = editorFor(syntax, false);
    const qsizetype at = editor.view.viewText().indexOf(QStringLiteral("description"), editor.view.textLength() / 2);
    if (at < 0) {
        fail("no description in the middle of the text");
    }
    bool typed = false;
    double worst = 0;
    for (auto _ : state) {
        editor.delegate.milliseconds = 0;
        editor.slotMilliseconds = 0;
        if (typed) {
            editor.view.replaceCharacters(TextRange{at, 1}, QString());
        } else {
            editor.view.replaceCharacters(TextRange{at, 0}, QStringLiteral("x"));
        }
        typed = !typed;
        const double milliseconds = editor.delegate.milliseconds + editor.slotMilliseconds;
        worst = std::max(worst, milliseconds);
        state.SetIterationTime(milliseconds / 1e3);
    }
    checkLinks(editor);
    state.counters["links"] = static_cast<double>(editor.handler->cachedLinks().size());
    state.counters["worst_ms"] = worst;
}

// About 10 MB of YAML: 40 links at the top (more than a screen), then lines that are links or not
// so that the text holds `links` links in all.
QString paintText(int links) {
    const QString link = QStringLiteral("      $ref: '#/components/schemas/Pet'\n");
    const QString plain = QStringLiteral("      note: '#/components/schemas/Pet'\n");
    const int lines = 250'000;
    QString text = QStringLiteral("openapi: 3.0.3\ncomponents:\n  schemas:\n    Pet:\n      type: object\n");
    text.reserve(lines * link.size() + 100);
    constexpr int top = 40;
    const int rest = std::max(0, links - top);
    const int every = rest > 0 ? (lines - top) / rest : 0;
    int placed = 0;
    for (int line = 0; line < lines; ++line) {
        bool isLink = line < top;
        if (!isLink && every > 0 && placed < rest && (line - top) % every == 0) {
            isLink = true;
            ++placed;
        }
        text += isLink ? link : plain;
    }
    return text;
}

void Paint(benchmark::State& state) {
    const int links = static_cast<int>(state.range(0));
    Editor editor(paintText(links), DocumentLanguage::yaml);
    if (editor.handler->styler()->styledLinks().size() != static_cast<std::size_t>(links)) {
        fail("the paint text has another number of links");
    }
    for (auto _ : state) {
        editor.view.colorLayer().invalidateAll();
        editor.view.viewport()->repaint();
    }
    state.counters["links"] = links;
}

void CtrlClick(benchmark::State& state, Syntax syntax, bool freshModel) {
    Editor& editor = editorFor(syntax, true);
    const std::vector<RefLinkStyler::StyledLink>& styled = editor.handler->styler()->styledLinks();
    if (styled.empty()) {
        fail("no links to click");
    }
    const RefLinkStyler::StyledLink target = styled[styled.size() * 9 / 10];
    const qsizetype index = target.range.location + 1;
    const std::optional<VoziZazIreCore::SourceLocation> start =
        RefLocationResolver().resolveSourceLocation(target.path, *editor.document.parsedModel);
    if (!start) {
        fail("the clicked link has no target");
    }
    const std::optional<qsizetype> expected = RefLocationResolver::textPosition(*start, editor.view.viewText());
    double worst = 0;
    for (auto _ : state) {
        // A new revision of the same text, so that the click hashes the whole text again.
        editor.view.replaceCharacters(TextRange{0, 0}, QStringLiteral(" "));
        editor.view.replaceCharacters(TextRange{0, 1}, QString());
        if (freshModel) {
            editor.parse(formatOf(syntax));
        }
        editor.view.setSelectedRange(TextRange{0, 0});
        QElapsedTimer timer;
        timer.start();
        const bool followed = editor.handler->handleCmdClick(index);
        const double milliseconds = millisecondsOf(timer);
        if (!followed || editor.view.selectedRange() != TextRange{*expected, 0}) {
            fail("the click did not land on the target");
        }
        worst = std::max(worst, milliseconds);
        state.SetIterationTime(milliseconds / 1e3);
    }
    state.counters["worst_ms"] = worst;
}

void PointerMove(benchmark::State& state, Syntax syntax) {
    Editor& editor = editorFor(syntax, false);
    const RefLinkStyler::StyledLink link = editor.handler->styler()->styledLinks().front();
    editor.view.setSelectedRange(TextRange{link.range.location, 0});
    editor.view.ensureCursorVisible();
    QApplication::processEvents();
    QTextCursor cursor(editor.view.document());
    cursor.setPosition(static_cast<int>(link.range.location + 2));
    const QPoint point = editor.view.cursorRect(cursor).center();
    const std::optional<QCursor> first = editor.handler->cursor(point, Qt::ControlModifier);
    if (!first || first->shape() != Qt::PointingHandCursor) {
        fail("no pointing hand over a link");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(editor.handler->cursor(point, Qt::ControlModifier));
    }
}

BENCHMARK_CAPTURE(Keystroke, json, Syntax::json)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK_CAPTURE(Keystroke, yaml, Syntax::yaml)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(Paint)->Arg(100)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CtrlClick, json, Syntax::json, false)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(CtrlClick, yaml, Syntax::yaml, false)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(CtrlClick, FirstClick/json, Syntax::json, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(CtrlClick, FirstClick/yaml, Syntax::yaml, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(PointerMove, json, Syntax::json)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PointerMove, yaml, Syntax::yaml)->Unit(benchmark::kMicrosecond);

}  // namespace

CARVEX_APP_BENCHMARK_MAIN()
