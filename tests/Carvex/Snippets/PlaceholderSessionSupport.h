#pragma once

#include "Carvex/Completion/CompletionController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Snippets/PlaceholderManager.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTextDocument>

#include <memory>

namespace CarvexTest {

// A catalog without templates: the snippet side is made, nothing is offered inline.
class EmptyTemplateCatalog : public Carvex::TemplateCatalog {
public:
    EmptyTemplateCatalog(QString version, Carvex::FileFormat format)
        : TemplateCatalog({}, std::move(version), format) {}
    void loadTemplates() override {}
};

// The real editor view controller with the real snippet controller and placeholder manager, on a
// fake clock and isolated settings; the completion slot keeps whatever is installed.
class PlaceholderSessionTest : public ::testing::Test {
public:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
        scope = std::make_unique<CarvexPlatform::ScopedMainScheduler>(fake);
        settings = CarvexPlatform::Settings::isolated();
        editorStore = std::make_unique<Carvex::EditorPreferencesStore>(settings);
        themeStore = std::make_unique<Carvex::SyntaxThemePreferencesStore>(settings);
        completionStore = std::make_unique<Carvex::CompletionPreferencesStore>(settings);
        savedCatalogs = std::exchange(Carvex::TemplateCatalog::factory(), {});
        savedSnippets = std::exchange(Carvex::SnippetSuggestionController::factory(), {});
        Carvex::TemplateCatalog::factory() = [](std::vector<Carvex::SnippetTemplate>, QString version,
                                                Carvex::FileFormat format) {
            return std::make_unique<EmptyTemplateCatalog>(std::move(version), format);
        };
        Carvex::SnippetSuggestionController::installFactory();
        controller = std::make_unique<Carvex::EditorViewController>(
            Carvex::EditorViewController::Stores{editorStore.get(), themeStore.get(), completionStore.get(), settings},
            fake);
        controller->view()->resize(700, 500);
        controller->view()->show();
    }
    void TearDown() override {
        controller.reset();
        document.reset();
        fake->runPending();
        Carvex::TemplateCatalog::factory() = savedCatalogs;
        Carvex::SnippetSuggestionController::factory() = savedSnippets;
        scope.reset();
    }

    Carvex::Document& open(const QString& text, const QString& path = QStringLiteral("/nowhere/a.yaml")) {
        document = std::make_unique<Carvex::Document>(editorStore.get());
        EXPECT_EQ(document->readFromData(text.toUtf8(), Carvex::DocumentTypes::yamlDocument), std::nullopt);
        document->setFilePath(path);
        controller->setDocument(document.get());
        controller->loadDocumentContent();
        return *document;
    }

    Carvex::EditorTextView& view() { return *controller->editorTextView(); }
    Carvex::PlaceholderManager& manager() { return *controller->snippetController()->placeholderManager(); }
    const Carvex::PlaceholderSession* session() {
        const Carvex::PlaceholderSession* current = manager().session();
        return current != nullptr && current->isActive() ? current : nullptr;
    }
    QString text() { return view().viewText(); }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& typed = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, typed);
        QApplication::sendEvent(&view(), &event);
    }
    void typeKey(const QString& typed) { press(0, Qt::NoModifier, typed); }
    void caret(qsizetype at) { view().setSelectedRange({at, 0}); }

    // Every chip stands on its default text, the session's ranges lie in the text and the
    // document's content is the view's text.
    void expectConsistent() {
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(document->content(), view().text());
        EXPECT_FALSE(text().contains(QChar(0xFFFC)));
        if (const Carvex::PlaceholderSession* running = session()) {
            for (const Carvex::Placeholder& placeholder : running->placeholders()) {
                ASSERT_GE(placeholder.range.location, 0);
                ASSERT_LE(placeholder.range.end(), text().size());
                if (placeholder.attachment) {
                    EXPECT_EQ(text().mid(placeholder.range.location, placeholder.range.length),
                              placeholder.defaultText);
                }
            }
            const auto extent = manager().snippetExtent();
            ASSERT_TRUE(extent);
            EXPECT_LE(extent->end(), text().size());
        }
    }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake;
    std::unique_ptr<CarvexPlatform::ScopedMainScheduler> scope;
    std::shared_ptr<CarvexPlatform::Settings> settings;
    std::unique_ptr<Carvex::EditorPreferencesStore> editorStore;
    std::unique_ptr<Carvex::SyntaxThemePreferencesStore> themeStore;
    std::unique_ptr<Carvex::CompletionPreferencesStore> completionStore;
    Carvex::TemplateCatalog::Factory savedCatalogs;
    Carvex::SnippetSuggestionController::Factory savedSnippets;
    std::unique_ptr<Carvex::Document> document;
    std::unique_ptr<Carvex::EditorViewController> controller;
};

}  // namespace CarvexTest
