#pragma once

#include "Carvex/Completion/CompletionController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/RefLinkHandler.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "platform/Storyboard.h"

namespace CarvexTest {

// What starting the application installs for the whole process (the storyboard's scenes and the
// editor's factories), put back as it was found when the test ends: tests run after an
// application-level one in the same process meet the set-up they expect.
class ScopedApplicationSetup {
public:
    ScopedApplicationSetup() = default;
    ~ScopedApplicationSetup() {
        CarvexPlatform::Storyboard::main().restoreScenes(scenes_);
        Carvex::CompletionController::factory() = completion_;
        Carvex::TemplateCatalog::factory() = catalog_;
        Carvex::SnippetSuggestionController::factory() = snippets_;
        Carvex::RefLinkHandler::factory() = links_;
    }
    ScopedApplicationSetup(const ScopedApplicationSetup&) = delete;
    ScopedApplicationSetup& operator=(const ScopedApplicationSetup&) = delete;

private:
    std::map<QString, CarvexPlatform::Storyboard::SceneFactory> scenes_ = CarvexPlatform::Storyboard::main().scenes();
    Carvex::CompletionController::Factory completion_ = Carvex::CompletionController::factory();
    Carvex::TemplateCatalog::Factory catalog_ = Carvex::TemplateCatalog::factory();
    Carvex::SnippetSuggestionController::Factory snippets_ = Carvex::SnippetSuggestionController::factory();
    Carvex::RefLinkHandler::Factory links_ = Carvex::RefLinkHandler::factory();
};

}  // namespace CarvexTest
