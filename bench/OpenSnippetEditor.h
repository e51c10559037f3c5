#pragma once
// The editor view controller in a window of its own, offscreen, with the real template catalog and
// snippet controller, holding a document of synthetic YAML; and the timing of one step with the
// repaint after it. Shared by the benchmarks of inline snippets and placeholder sessions.

#include <benchmark/benchmark.h>

#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/TextView/EditorTextView.h"
#include "SyntheticDescription.h"
#include "platform/Settings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>

struct OpenSnippetEditor {
    std::shared_ptr<CarvexPlatform::Settings> settings = CarvexPlatform::Settings::isolated();
    Carvex::EditorPreferencesStore editorStore{settings};
    Carvex::SyntaxThemePreferencesStore themeStore{settings};
    Carvex::CompletionPreferencesStore completionStore{settings};
    Carvex::Document document{&editorStore};
    std::unique_ptr<Carvex::EditorViewController> controller;

    // A synthetic YAML description of 5 or 10 MB, made once.
    static const QString& description(std::size_t megabytes)
    {
        static const QString five = QString::fromStdString(
            SyntheticDescription::generate(5u * 1024u * 1024u, SyntheticDescription::Syntax::yaml));
        static const QString ten = QString::fromStdString(
            SyntheticDescription::generate(10u * 1024u * 1024u, SyntheticDescription::Syntax::yaml));
        return megabytes == 5 ? five : ten;
    }

    // The editor shown 1000 by 800 with `content` loaded.
    explicit OpenSnippetEditor(const QString& content)
    {
        Carvex::TemplateCatalog::installFactory();
        Carvex::SnippetSuggestionController::installFactory();
        controller = std::make_unique<Carvex::EditorViewController>(
            Carvex::EditorViewController::Stores{&editorStore, &themeStore, &completionStore, settings});
        controller->view()->resize(1000, 800);
        controller->view()->show();
        document.setFilePath(QStringLiteral("/nowhere/description.yaml"));
        document.setContent(content);
        controller->setDocument(&document);
        controller->loadDocumentContent();
        view().finishLoading();
    }

    Carvex::EditorTextView& view() { return *controller->editorTextView(); }

    void send(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&view(), &event);
    }

    // Times `step` (and the repaint after it) once per iteration; `prepare` runs untimed before it.
    // A run after which `holds` fails stops the benchmark with `fault`. The worst run is reported
    // as "worst_ms".
    void timeStep(benchmark::State& state, const std::function<void()>& prepare, const std::function<void()>& step,
                  const std::function<bool()>& holds, const char* fault)
    {
        double worst = 0;
        for (auto _ : state) {
            prepare();
            QElapsedTimer timer;
            timer.start();
            step();
            view().viewport()->repaint();
            const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
            state.SetIterationTime(seconds);
            worst = std::max(worst, seconds * 1000);
            if (!holds()) {
                state.SkipWithError(fault);
                break;
            }
            if (document.content() != view().text()) {
                state.SkipWithError("the document's content differs from the view's text");
                break;
            }
        }
        state.counters["worst_ms"] = worst;
    }
};
