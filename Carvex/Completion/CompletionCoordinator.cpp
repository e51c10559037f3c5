#include "Carvex/Completion/CompletionCoordinator.h"

#include "Carvex/Completion/CompletionCoordinatorDelegate.h"
#include "Carvex/Completion/DefaultCompletionEngine.h"

namespace Carvex {

CompletionCoordinator::Engine CompletionCoordinator::defaultEngine() {
    auto engine = std::make_shared<const DefaultCompletionEngine>();
    return [engine](const QString& text, qsizetype caretLocation, DocumentFormat format,
                    const std::vector<SnippetTemplate>& snippetTemplates) {
        return engine->completions(text, caretLocation, format, snippetTemplates);
    };
}

CompletionCoordinator::CompletionCoordinator(Engine engine, Duration debounceInterval,
                                             std::shared_ptr<CarvexPlatform::MainScheduler> scheduler)
    : engine_(std::move(engine)), debouncer_(debounceInterval, std::move(scheduler)) {}

void CompletionCoordinator::requestCompletions(TextReader text, qsizetype caretLocation, DocumentFormat format,
                                               std::vector<SnippetTemplate> snippetTemplates) {
    const std::uint64_t generation = ++generation_;
    // The debouncer belongs to this object and cancels its work when it goes, so `this` outlives
    // the work it runs.
    debouncer_.schedule([this, generation, text = std::move(text), caretLocation, format,
                         templates = std::move(snippetTemplates)] {
        run(generation, text, caretLocation, format, templates);
    });
}

void CompletionCoordinator::cancel() {
    ++generation_;
    debouncer_.cancel();
}

void CompletionCoordinator::run(std::uint64_t generation, const TextReader& text, qsizetype caretLocation,
                                DocumentFormat format, const std::vector<SnippetTemplate>& snippetTemplates) {
    if (generation != generation_ || !engine_) {
        return;
    }
    const QString* current = text ? text() : nullptr;
    if (current == nullptr) {
        return;
    }
    const CompletionResult result = engine_(*current, caretLocation, format, snippetTemplates);
    // A request or cancel made while the engine ran replaces this one.
    if (generation != generation_ || delegate_ == nullptr) {
        return;
    }
    delegate_->completionCoordinatorDidComplete(*this, result);
}

}  // namespace Carvex
