#pragma once

#include "Carvex/Syntax/DocumentLanguage.h"
#include "Carvex/TextView/NSTextViewHighlighterAdapter.h"
#include "Carvex/Syntax/SyntaxTheme.h"
#include "Carvex/Syntax/SyntaxToken.h"
#include "Carvex/Text/TextChange.h"
#include "platform/Debouncer.h"
#include "platform/MainScheduler.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

namespace Carvex {

class EditorTextView;

// Colours one editor text view. 0.15 s after the last edit it re-colours the text on screen plus
// 500 units on each side, and 0.5 s after that the whole text; it re-colours everything on
// request (language or theme change, end of a pause). Every pass is a task on the main scheduler;
// texts longer than `backgroundLexingThreshold` are lexed on a background thread and the tokens
// applied back on the main thread, unless the text changed meanwhile (then the pass is dropped
// and the next edit's pass colours the new text). Main thread only.
class SyntaxHighlightingController : public QObject {
    Q_OBJECT
public:
    using Duration = CarvexPlatform::MainScheduler::Duration;
    static constexpr Duration debounceInterval{150};
    static constexpr Duration delayedFullPassInterval{500};
    static constexpr qsizetype visiblePassMargin = 500;
    static constexpr qsizetype backgroundLexingThreshold = 256 * 1024;

    SyntaxHighlightingController(EditorTextView* textView, const SyntaxTheme& theme);
    ~SyntaxHighlightingController() override;

    DocumentLanguage language() const { return language_; }
    // Stores the language; a full pass unless paused.
    void setLanguage(DocumentLanguage language);
    // The language of the URL's extension ("json"; "yaml" or "yml"; else unknown).
    void setLanguage(const QUrl& url);

    const SyntaxTheme& theme() const { return theme_; }
    // Stores the theme and runs a full pass, paused or not.
    void setTheme(const SyntaxTheme& theme);

    // A full pass unless paused.
    void highlightFullDocument();
    // A full pass even when paused.
    void forceHighlightFullDocument();
    // The full pass.
    void performHighlight();

    bool isPaused() const { return isPaused_; }
    void setPaused(bool paused) { isPaused_ = paused; }
    // True while a full pass is between its start and the application of its tokens.
    bool isHighlighting() const { return isHighlighting_; }

    // Called after every pass that applied or cleared colours.
    std::function<void()> onHighlightingComplete;

    EditorTextView* textView() const { return textView_; }

private:
    void textDidChange();
    void visiblePass();
    // Lexes (off the main thread for long texts) and turns the tokens into colour runs there.
    void lexThenApply(std::optional<TextRange> range,
                      std::function<void(std::vector<SyntaxColorLayer::Run>)> apply,
                      std::function<void()> dropped);
    void complete();

    QPointer<EditorTextView> textView_;
    NSTextViewHighlighterAdapter adapter_;
    DocumentLanguage language_ = DocumentLanguage::unknown;
    SyntaxTheme theme_;
    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
    CarvexPlatform::Debouncer debounce_;
    bool isHighlighting_ = false;
    bool isPaused_ = false;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

}  // namespace Carvex
