#pragma once

#include "Carvex/Completion/CompletionController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Properties/PropertiesViewCoordinator.h"
#include "Carvex/Editor/RefLinkHandler.h"
#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <memory>
#include <string>
#include <vector>

namespace CarvexTest {

// What the fakes behind the editor's fakes heard, in order.
struct Journal {
    std::vector<std::string> events;
    std::vector<std::string> take() { return std::exchange(events, {}); }
};

class FakePlaceholderSession : public Carvex::PlaceholderSession {
public:
    const std::vector<Carvex::Placeholder>& placeholders() const override { return list; }
    int activeIndex() const override { return active; }
    bool isActive() const override { return running; }
    std::vector<Carvex::Placeholder> list;
    int active = 0;
    bool running = true;
};

class FakePlaceholderManager : public Carvex::PlaceholderManager {
public:
    explicit FakePlaceholderManager(Journal& journal) : journal_(journal) {}
    Carvex::PlaceholderSession* session() const override { return current.get(); }
    bool isPerformingInternalUpdate() const override { return internal; }
    std::optional<Carvex::TextRange> activePlaceholderRange() override {
        journal_.events.push_back("placeholders.activePlaceholderRange");
        return chip;
    }
    void didReplaceText(Carvex::TextRange range, qsizetype newLength) override {
        journal_.events.push_back("placeholders.didReplaceText");
        replaced.push_back({range, newLength});
    }
    std::unique_ptr<FakePlaceholderSession> current;
    std::optional<Carvex::TextRange> chip;
    bool internal = false;
    std::vector<std::pair<Carvex::TextRange, qsizetype>> replaced;

private:
    Journal& journal_;
};

class FakeCatalog : public Carvex::TemplateCatalog {
public:
    FakeCatalog(Journal& journal, QString version, Carvex::FileFormat format)
        : TemplateCatalog({}, std::move(version), format), journal_(journal) {}
    void loadTemplates() override {
        const bool json = fileFormat() == Carvex::FileFormat::json;
        journal_.events.push_back(json ? "catalog.load json" : "catalog.load yaml");
        Carvex::SnippetTemplate made;
        made.id = json ? "json-template" : "yaml-template";
        templates_ = {made};
    }

private:
    Journal& journal_;
};

class FakeSnippets : public Carvex::SnippetSuggestionController {
public:
    FakeSnippets(Journal& journal, std::shared_ptr<Carvex::TemplateCatalog> catalog)
        : catalog(std::move(catalog)), journal_(journal) {
        manager = std::make_shared<FakePlaceholderManager>(journal);
        placeholderManager_ = manager;
    }
    void textDidChange() override { journal_.events.push_back("snippets.textDidChange"); }
    void selectionDidChange() override { journal_.events.push_back("snippets.selectionDidChange"); }
    bool handleKeyDown(QKeyEvent&) override {
        journal_.events.push_back("snippets.handleKeyDown");
        if (endSessionOnKey && manager->current) {
            manager->current->running = false;
        }
        return consumeKeys;
    }
    void updateSuggestion() override { journal_.events.push_back("snippets.updateSuggestion"); }

    std::shared_ptr<Carvex::TemplateCatalog> catalog;
    std::shared_ptr<FakePlaceholderManager> manager;
    bool consumeKeys = false;
    bool endSessionOnKey = false;

private:
    Journal& journal_;
};

class FakeCompletion : public Carvex::CompletionController {
public:
    explicit FakeCompletion(Journal& journal) : journal_(journal) {}
    void textDidChange() override { journal_.events.push_back("completion.textDidChange"); }
    void selectionDidChangeWithoutEdit() override {
        journal_.events.push_back("completion.selectionDidChangeWithoutEdit");
    }
    bool handleKeyDown(QKeyEvent&) override {
        journal_.events.push_back("completion.handleKeyDown");
        return consumeKeys;
    }
    void triggerCompletion() override { journal_.events.push_back("completion.triggerCompletion"); }
    bool isPopupVisible() const override { return popupVisible; }
    bool consumeKeys = false;
    bool popupVisible = false;

private:
    Journal& journal_;
};

class FakeLinks : public Carvex::RefLinkHandler {
public:
    explicit FakeLinks(Journal& journal) : journal_(journal) {}
    const std::vector<Carvex::RefLink>& cachedLinks() const override { return links; }
    Carvex::RefLinkStyler* styler() const override { return nullptr; }
    void updateLinks(Carvex::DocumentLanguage) override { journal_.events.push_back("links.updateLinks"); }
    bool handleCmdClick(QPoint) override {
        journal_.events.push_back("links.handleCmdClick");
        return true;
    }
    std::optional<QCursor> cursor(QPoint, Qt::KeyboardModifiers) override { return QCursor(Qt::PointingHandCursor); }
    std::vector<Carvex::RefLink> links;

private:
    Journal& journal_;
};

class FakeCoordinator : public Carvex::PropertiesViewCoordinator {
public:
    explicit FakeCoordinator(Journal& journal) : journal_(journal) {}
    void documentDidClose() override {}
    void documentDidChange(const QString& text, Carvex::DocumentFormat format) override {
        journal_.events.push_back("properties.documentDidChange");
        lastText = text;
        lastFormat = format;
    }
    // Lets go of the text as the coordinator does.
    void documentWillChange() override {
        ++willChangeCount;
        lastText = QString();
    }
    int willChangeCount = 0;
    QString lastText;
    Carvex::DocumentFormat lastFormat = Carvex::DocumentFormat::unknown;

private:
    Journal& journal_;
};

// Installs the recording fakes as the slot factories and restores the previous ones.
class ScopedFakeSlots {
public:
    explicit ScopedFakeSlots(Journal& journal)
        : completion_(std::exchange(Carvex::CompletionController::factory(), {})),
          catalog_(std::exchange(Carvex::TemplateCatalog::factory(), {})),
          snippets_(std::exchange(Carvex::SnippetSuggestionController::factory(), {})),
          links_(std::exchange(Carvex::RefLinkHandler::factory(), {})) {
        Carvex::CompletionController::factory() = [this, &journal](Carvex::EditorTextView*,
                                                                   Carvex::CompletionPreferencesStore&) {
            auto made = std::make_unique<FakeCompletion>(journal);
            completion = made.get();
            return made;
        };
        Carvex::TemplateCatalog::factory() = [&journal](std::vector<Carvex::SnippetTemplate>, QString version,
                                                        Carvex::FileFormat format) {
            return std::make_unique<FakeCatalog>(journal, std::move(version), format);
        };
        Carvex::SnippetSuggestionController::factory() =
            [this, &journal](Carvex::EditorTextView*, std::shared_ptr<Carvex::TemplateCatalog> catalog) {
                auto made = std::make_unique<FakeSnippets>(journal, std::move(catalog));
                snippets = made.get();
                ++snippetControllersMade;
                return made;
            };
        Carvex::RefLinkHandler::factory() = [this, &journal](Carvex::EditorTextView*, Carvex::Document*) {
            auto made = std::make_unique<FakeLinks>(journal);
            links = made.get();
            return made;
        };
    }
    ~ScopedFakeSlots() {
        Carvex::CompletionController::factory() = completion_;
        Carvex::TemplateCatalog::factory() = catalog_;
        Carvex::SnippetSuggestionController::factory() = snippets_;
        Carvex::RefLinkHandler::factory() = links_;
    }
    ScopedFakeSlots(const ScopedFakeSlots&) = delete;
    ScopedFakeSlots& operator=(const ScopedFakeSlots&) = delete;

    FakeCompletion* completion = nullptr;
    FakeSnippets* snippets = nullptr;
    FakeLinks* links = nullptr;
    int snippetControllersMade = 0;

private:
    Carvex::CompletionController::Factory completion_;
    Carvex::TemplateCatalog::Factory catalog_;
    Carvex::SnippetSuggestionController::Factory snippets_;
    Carvex::RefLinkHandler::Factory links_;
};

// An editor view controller with its view loaded and shown offscreen, on a fake clock, isolated
// settings and the recording fakes behind every slot; its properties pane has a recording
// coordinator.
class EditorViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
        scope = std::make_unique<CarvexPlatform::ScopedMainScheduler>(fake);
        settings = CarvexPlatform::Settings::isolated();
        editorStore = std::make_unique<Carvex::EditorPreferencesStore>(settings);
        themeStore = std::make_unique<Carvex::SyntaxThemePreferencesStore>(settings);
        completionStore = std::make_unique<Carvex::CompletionPreferencesStore>(settings);
        fakes = std::make_unique<ScopedFakeSlots>(journal);
        controller = std::make_unique<Carvex::EditorViewController>(
            Carvex::EditorViewController::Stores{editorStore.get(), themeStore.get(), completionStore.get(), settings},
            fake);
        controller->view()->resize(700, 500);
        controller->view()->show();
        properties = std::make_unique<Carvex::PropertiesViewController>();
        auto coordinator = std::make_unique<FakeCoordinator>(journal);
        this->coordinator = coordinator.get();
        properties->setCoordinator(std::move(coordinator));
        controller->setPropertiesViewController(properties.get());
    }
    void TearDown() override {
        controller.reset();
        properties.reset();
        document.reset();
        fakes.reset();
        fake->runPending();
        scope.reset();
    }

    // A document holding `text`, read as a file at `path` (none: untitled of `typeName`).
    Carvex::Document& open(const QString& text, const QString& path = {},
                           const QString& typeName = Carvex::DocumentTypes::yamlDocument) {
        document = std::make_unique<Carvex::Document>(editorStore.get());
        EXPECT_EQ(document->readFromData(text.toUtf8(), typeName), std::nullopt);
        if (!path.isEmpty()) {
            document->setFilePath(path);
        }
        controller->setDocument(document.get());
        controller->loadDocumentContent();
        journal.events.clear();
        return *document;
    }

    Carvex::EditorTextView& view() { return *controller->editorTextView(); }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&view(), &event);
    }
    void type(const QString& text) { view().insertTextAtSelection(text); }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake;
    std::unique_ptr<CarvexPlatform::ScopedMainScheduler> scope;
    std::shared_ptr<CarvexPlatform::Settings> settings;
    std::unique_ptr<Carvex::EditorPreferencesStore> editorStore;
    std::unique_ptr<Carvex::SyntaxThemePreferencesStore> themeStore;
    std::unique_ptr<Carvex::CompletionPreferencesStore> completionStore;
    Journal journal;
    std::unique_ptr<ScopedFakeSlots> fakes;
    std::unique_ptr<Carvex::PropertiesViewController> properties;
    FakeCoordinator* coordinator = nullptr;
    std::unique_ptr<Carvex::Document> document;
    std::unique_ptr<Carvex::EditorViewController> controller;
};

}  // namespace CarvexTest
