// Placeholder sessions in the editor view controller, offscreen, with the real snippet controller
// and placeholder manager. A snippet of 40 lines with 10 placeholders in a 5 MB YAML description:
//   - its insertion (one step of undo, announced, the first chip selected), Tab to the next chip,
//     typing over the selected chip, Escape, the undo of the insertion and its redo, each with the
//     repaint that follows (target 16 ms each);
// and in 10 MB, a keystroke inside the snippet's lines with its 10 chips standing against the
// same keystroke without a session (target: within 10 %); and the repaint with a chip whose
// default text is 100,000 units long standing on screen (it must not stall).
// Each run checks the session and that the document's content equals the view's text.
//
//   QT_QPA_PLATFORM=offscreen build-*/bench/bench_app_placeholders

#include "AppBenchmarkMain.h"
#include "Carvex/Snippets/PlaceholderChipRenderer.h"
#include "Carvex/Snippets/PlaceholderManager.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "OpenSnippetEditor.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextDocument>

#include <functional>

namespace {

using namespace Carvex;

// 40 lines; every fourth holds a placeholder.
const QString& snippet() {
    static const QString text = [] {
        QString made;
        for (int line = 0; line < 40; ++line) {
            if (line % 4 == 1) {
                made += QStringLiteral("  field%1: ${%2:value number %2}\n").arg(line).arg(line / 4 + 1);
            } else {
                made += QStringLiteral("  key%1: plain text of line %1\n").arg(line);
            }
        }
        return made;
    }();
    return text;
}

struct OpenEditor : OpenSnippetEditor {
    qsizetype middle = 0;
    int baseSteps = 0;

    explicit OpenEditor(std::size_t megabytes) : OpenSnippetEditor(description(megabytes)) {
        QApplication::processEvents();
        middle = view().viewText().indexOf(u'\n', view().textLength() / 2) + 1;
        view().setSelectedRange(TextRange{middle, 0});
        view().insertTextAtSelection(QStringLiteral("#\n"));
        middle += 2;
        baseSteps = view().document()->availableUndoSteps();
        view().viewport()->repaint();
    }
    PlaceholderManager& manager() { return *controller->snippetController()->placeholderManager(); }
    bool sessionActive() {
        const PlaceholderSession* session = manager().session();
        return session != nullptr && session->isActive();
    }
    void insert() {
        view().setSelectedRange(TextRange{middle, 0});
        manager().insertSnippet(snippet(), middle);
    }
    // The snippet taken back, its session ended: the text as it was.
    void reset() {
        send(Qt::Key_Escape);
        while (view().document()->availableUndoSteps() > baseSteps) {
            view().undo();
        }
    }
};

// Times `step` (and the repaint after it) once per iteration; `prepare` runs untimed before it.
void timeStep(benchmark::State& state, OpenEditor& editor, const std::function<void()>& prepare,
              const std::function<void()>& step, const std::function<bool()>& holds) {
    editor.timeStep(state, prepare, step, holds, "the session or the text is not as it should be");
}

void BM_InsertSnippet(benchmark::State& state) {
    OpenEditor editor(5);
    const qsizetype before = editor.view().textLength();
    timeStep(
        state, editor, [&] { editor.reset(); }, [&] { editor.insert(); },
        [&] {
            return editor.sessionActive() && editor.manager().session()->placeholders().size() == 10 &&
                   editor.view().textLength() > before;
        });
}
BENCHMARK(BM_InsertSnippet)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_TabToTheNextChip(benchmark::State& state) {
    OpenEditor editor(5);
    int expected = 0;
    timeStep(
        state, editor,
        [&] {
            if (!editor.sessionActive() || editor.manager().session()->activeIndex() >= 8) {
                editor.reset();
                editor.insert();
            }
            expected = editor.manager().session()->activeIndex() + 1;
        },
        [&] { editor.send(Qt::Key_Tab); },
        [&] { return editor.sessionActive() && editor.manager().session()->activeIndex() == expected; });
}
BENCHMARK(BM_TabToTheNextChip)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(45);

void BM_TypeOverTheSelectedChip(benchmark::State& state) {
    OpenEditor editor(5);
    timeStep(
        state, editor,
        [&] {
            editor.reset();
            editor.insert();
        },
        [&] { editor.send(Qt::Key_Q, Qt::NoModifier, QStringLiteral("q")); },
        [&] { return editor.sessionActive() && !editor.manager().session()->placeholders()[0].attachment; });
}
BENCHMARK(BM_TypeOverTheSelectedChip)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_Escape(benchmark::State& state) {
    OpenEditor editor(5);
    timeStep(
        state, editor,
        [&] {
            editor.reset();
            editor.insert();
        },
        [&] { editor.send(Qt::Key_Escape); }, [&] { return !editor.sessionActive(); });
}
BENCHMARK(BM_Escape)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_UndoTheInsertion(benchmark::State& state) {
    OpenEditor editor(5);
    const QString before = editor.view().viewText();
    timeStep(
        state, editor,
        [&] {
            editor.reset();
            editor.insert();
        },
        [&] { editor.send(Qt::Key_Z, Qt::ControlModifier); },
        [&] { return !editor.sessionActive() && editor.view().viewText() == before; });
}
BENCHMARK(BM_UndoTheInsertion)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_RedoTheInsertion(benchmark::State& state) {
    OpenEditor editor(5);
    const qsizetype withSnippet = [&] {
        editor.insert();
        const qsizetype length = editor.view().textLength();
        editor.reset();
        return length;
    }();
    timeStep(
        state, editor,
        [&] {
            editor.reset();
            editor.insert();
            editor.view().undo();
        },
        [&] { editor.send(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); },
        [&] { return !editor.sessionActive() && editor.view().textLength() == withSnippet; });
}
BENCHMARK(BM_RedoTheInsertion)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

// A chip whose default text is 100,000 units of words, standing on screen: the repaint after a
// keystroke elsewhere on its line (no target of its own; it must not stall).
void BM_RepaintWithAHundredThousandUnitDefault(benchmark::State& state) {
    OpenEditor editor(5);
    const QString huge = QStringLiteral("lorem ipsum ").repeated(8'334).left(100'000);
    editor.view().setSelectedRange(TextRange{editor.middle, 0});
    editor.manager().insertSnippet(QStringLiteral("big: ${1:") + huge + QStringLiteral("} ${2:next}\n"), editor.middle);
    editor.view().setSelectedRange(TextRange{editor.middle + 2, 0});
    timeStep(
        state, editor, [] {}, [&] { editor.view().viewport()->update(); },
        [&] { return editor.sessionActive() && editor.manager().chipRenderer().paintedChipCount() >= 1; });
}
BENCHMARK(BM_RepaintWithAHundredThousandUnitDefault)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// A keystroke on a plain line of the snippet, chips standing or not.
void keystrokeInTheSnippet(benchmark::State& state, bool withSession) {
    OpenEditor editor(10);
    editor.insert();
    if (!withSession) {
        editor.send(Qt::Key_Escape);
    }
    const qsizetype at = editor.view().viewText().indexOf(QStringLiteral("plain text of line 2"), editor.middle);
    editor.view().setSelectedRange(TextRange{at, 0});
    const qsizetype before = editor.view().textLength();
    std::int64_t typed = 0;
    timeStep(
        state, editor, [] {}, [&] { editor.send(Qt::Key_X, Qt::NoModifier, QStringLiteral("x")); },
        [&] {
            ++typed;
            return editor.sessionActive() == withSession && editor.view().textLength() == before + typed;
        });
}

void BM_KeystrokeWithTenChipsStandingInTenMegabytes(benchmark::State& state) { keystrokeInTheSnippet(state, true); }
BENCHMARK(BM_KeystrokeWithTenChipsStandingInTenMegabytes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);

void BM_KeystrokeWithoutASessionInTenMegabytes(benchmark::State& state) { keystrokeInTheSnippet(state, false); }
BENCHMARK(BM_KeystrokeWithoutASessionInTenMegabytes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);

}  // namespace

CARVEX_APP_BENCHMARK_MAIN()
