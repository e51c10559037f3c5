#pragma once

#include "Carvex/Completion/CompletionController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/TextView/EditorTextView.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include <memory>
#include <utility>

namespace CarvexTest {

// The real editor offscreen on a fake clock with isolated settings. SetUp sets aside the completion,
// catalog and snippet factories, which a test installs its own of after calling it; TearDown drops the
// editor and its document, lets the clock run out and puts the factories back.
class RealEditorTest : public ::testing::Test {
public:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        scope = std::make_unique<CarvexPlatform::ScopedMainScheduler>(clock);
        settings = CarvexPlatform::Settings::isolated();
        editorStore = std::make_unique<Carvex::EditorPreferencesStore>(settings);
        themeStore = std::make_unique<Carvex::SyntaxThemePreferencesStore>(settings);
        completionStore = std::make_unique<Carvex::CompletionPreferencesStore>(settings);
        savedCompletion = std::exchange(Carvex::CompletionController::factory(), {});
        savedCatalog = std::exchange(Carvex::TemplateCatalog::factory(), {});
        savedSnippets = std::exchange(Carvex::SnippetSuggestionController::factory(), {});
    }
    void TearDown() override {
        editor.reset();
        document.reset();
        clock->runPending();
        Carvex::CompletionController::factory() = savedCompletion;
        Carvex::TemplateCatalog::factory() = savedCatalog;
        Carvex::SnippetSuggestionController::factory() = savedSnippets;
        scope.reset();
    }

    // A new editor on the stores, its view shown at `width` by `height`.
    void makeEditor(int width, int height) {
        editor = std::make_unique<Carvex::EditorViewController>(
            Carvex::EditorViewController::Stores{editorStore.get(), themeStore.get(), completionStore.get(), settings},
            clock);
        editor->view()->resize(width, height);
        editor->view()->show();
    }

    Carvex::EditorTextView& view() { return *editor->editorTextView(); }
    // Sends one key press to the text view; whether it was taken.
    bool press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&view(), &event);
        return event.isAccepted();
    }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> clock = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    std::unique_ptr<CarvexPlatform::ScopedMainScheduler> scope;
    std::shared_ptr<CarvexPlatform::Settings> settings;
    std::unique_ptr<Carvex::EditorPreferencesStore> editorStore;
    std::unique_ptr<Carvex::SyntaxThemePreferencesStore> themeStore;
    std::unique_ptr<Carvex::CompletionPreferencesStore> completionStore;
    Carvex::CompletionController::Factory savedCompletion;
    Carvex::TemplateCatalog::Factory savedCatalog;
    Carvex::SnippetSuggestionController::Factory savedSnippets;
    std::unique_ptr<Carvex::Document> document;
    std::unique_ptr<Carvex::EditorViewController> editor;
};

} // namespace CarvexTest
