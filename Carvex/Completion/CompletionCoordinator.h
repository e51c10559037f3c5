#pragma once

#include "Carvex/Completion/CompletionResult.h"
#include "Carvex/CaretContext/DocumentFormat.h"
#include "Carvex/Snippets/SnippetTemplate.h"
#include "platform/Debouncer.h"
#include "platform/MainScheduler.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Carvex {

class CompletionCoordinatorDelegate;

// Turns the stream of edits into at most one completion request per pause in typing: each request
// replaces the one still waiting, and after `debounceInterval` of quiet the engine runs on the main
// thread and its result goes to the delegate. The text is read when the pause ends, never copied
// while it waits, so the keystrokes in between edit the view's text in place. A request that was
// replaced or cancelled, also while its engine call runs, delivers nothing. Main thread only.
class CompletionCoordinator {
public:
    using Duration = CarvexPlatform::MainScheduler::Duration;
    // Proposals for a caret in a text; never fails.
    using Engine = std::function<CompletionResult(const QString& text, qsizetype caretLocation, DocumentFormat format,
                                                  const std::vector<SnippetTemplate>& snippetTemplates)>;
    // The text a request completes, read when its pause ends: null when the text is gone or is no
    // longer the one the request was made for (the request then ends without a result).
    using TextReader = std::function<const QString*()>;

    static constexpr Duration defaultDebounceInterval{40};

    // An engine over a `DefaultCompletionEngine` value.
    static Engine defaultEngine();

    explicit CompletionCoordinator(Engine engine = defaultEngine(), Duration debounceInterval = defaultDebounceInterval,
                                   std::shared_ptr<CarvexPlatform::MainScheduler> scheduler =
                                       CarvexPlatform::MainScheduler::shared());
    CompletionCoordinator(const CompletionCoordinator&) = delete;
    CompletionCoordinator& operator=(const CompletionCoordinator&) = delete;

    CompletionCoordinatorDelegate* delegate() const { return delegate_; }
    void setDelegate(CompletionCoordinatorDelegate* delegate) { delegate_ = delegate; }
    const Engine& engine() const { return engine_; }
    Duration debounceInterval() const { return debouncer_.delay(); }

    // Replaces any waiting request by one for `caretLocation` in the text `text` gives when the
    // pause ends.
    void requestCompletions(TextReader text, qsizetype caretLocation, DocumentFormat format,
                            std::vector<SnippetTemplate> snippetTemplates);
    // Drops the waiting request, or the delivery of the one being computed.
    void cancel();
    // Whether a request waits for its pause to end.
    bool isPending() const { return debouncer_.isPending(); }

private:
    void run(std::uint64_t generation, const TextReader& text, qsizetype caretLocation, DocumentFormat format,
             const std::vector<SnippetTemplate>& snippetTemplates);

    Engine engine_;
    CarvexPlatform::Debouncer debouncer_;
    CompletionCoordinatorDelegate* delegate_ = nullptr;
    // Grows with every request and cancel; a delivery checks it is still the newest.
    std::uint64_t generation_ = 0;
};

}  // namespace Carvex
