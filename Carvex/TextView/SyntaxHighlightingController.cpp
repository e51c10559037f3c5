#include "Carvex/TextView/SyntaxHighlightingController.h"

#include "Carvex/Syntax/DocumentLanguageDetector.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Syntax/JSONLexer.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/Syntax/YAMLLexer.h"
#include "platform/BackgroundTask.h"

#include <algorithm>
#include <limits>

namespace Carvex {

namespace {

std::vector<SyntaxToken> lexTokens(QStringView text, DocumentLanguage language,
                                   std::optional<TextRange> range) {
    if (language == DocumentLanguage::yaml) {
        const YAMLLexer lexer;
        return range ? lexer.tokenize(text, *range) : lexer.tokenize(text);
    }
    const JSONLexer lexer;
    return range ? lexer.tokenize(text, *range) : lexer.tokenize(text);
}

// The colour runs of the text's tokens.
std::vector<SyntaxColorLayer::Run> lex(QStringView text, DocumentLanguage language, std::optional<TextRange> range) {
    const int length = static_cast<int>(std::min<qsizetype>(text.size(), std::numeric_limits<int>::max()));
    return SyntaxColorLayer::runsFromTokens(lexTokens(text, language, range), length);
}

}  // namespace

SyntaxHighlightingController::SyntaxHighlightingController(EditorTextView* textView,
                                                           const SyntaxTheme& theme)
    : textView_(textView),
      adapter_(textView),
      theme_(theme),
      scheduler_(textView != nullptr ? textView->scheduler()
                                     : CarvexPlatform::MainScheduler::shared()),
      debounce_(debounceInterval, scheduler_) {
    if (textView != nullptr) {
        connect(textView, &EditorTextView::textDidChange, this,
                &SyntaxHighlightingController::textDidChange);
    }
}

SyntaxHighlightingController::~SyntaxHighlightingController() = default;

void SyntaxHighlightingController::setLanguage(DocumentLanguage language) {
    language_ = language;
    if (!isPaused_) {
        performHighlight();
    }
}

void SyntaxHighlightingController::setLanguage(const QUrl& url) {
    setLanguage(DocumentLanguageDetector{}.detect(url));
}

void SyntaxHighlightingController::setTheme(const SyntaxTheme& theme) {
    theme_ = theme;
    if (textView_ != nullptr) {
        // Colours already there change at once; the pass below brings new tokens.
        textView_->colorLayer().setTheme(theme_);
    }
    performHighlight();
}

void SyntaxHighlightingController::highlightFullDocument() {
    if (!isPaused_) {
        performHighlight();
    }
}

void SyntaxHighlightingController::forceHighlightFullDocument() { performHighlight(); }

void SyntaxHighlightingController::complete() {
    if (onHighlightingComplete) {
        auto callback = onHighlightingComplete;
        callback();
    }
}

void SyntaxHighlightingController::textDidChange() {
    if (isPaused_) {
        return;
    }
    std::weak_ptr<int> alive = life_;
    debounce_.schedule([this, alive] {
        scheduler_->post([this, alive] {
            if (alive.lock() && !isPaused_) {
                visiblePass();
            }
        });
    });
}

void SyntaxHighlightingController::lexThenApply(
    std::optional<TextRange> range, std::function<void(std::vector<SyntaxColorLayer::Run>)> apply,
    std::function<void()> dropped) {
    std::weak_ptr<int> alive = life_;
    const DocumentLanguage language = language_;
    if (textView_->textLength() <= backgroundLexingThreshold) {
        scheduler_->post([this, alive, language, range, apply, dropped] {
            if (!alive.lock()) {
                return;
            }
            if (textView_ == nullptr) {
                dropped();
                return;
            }
            apply(lex(textView_->viewText(), language, range));
        });
        return;
    }
    const QString text = textView_->detachedViewText();
    const quint64 revision = textView_->textRevision();
    CarvexPlatform::BackgroundTask::run(
        [text, language, range] { return lex(text, language, range); },
        [this, alive, revision, apply, dropped](std::vector<SyntaxColorLayer::Run> runs) {
            if (!alive.lock()) {
                return;
            }
            if (textView_ == nullptr || textView_->textRevision() != revision) {
                dropped();
                return;
            }
            apply(std::move(runs));
        },
        scheduler_);
}

void SyntaxHighlightingController::visiblePass() {
    if (textView_ == nullptr) {
        return;
    }
    const qsizetype length = textView_->textLength();
    if (length == 0) {
        return;
    }
    if (language_ == DocumentLanguage::unknown) {
        adapter_.clearHighlighting(theme_);
        complete();
        return;
    }
    const TextRange visible = textView_->visibleCharacterRange();
    const qsizetype start = std::max<qsizetype>(0, visible.location - visiblePassMargin);
    const qsizetype end = std::min<qsizetype>(length, visible.end() + visiblePassMargin);
    const TextRange range{start, end - start};
    std::weak_ptr<int> alive = life_;
    lexThenApply(
        range,
        [this, alive, range](std::vector<SyntaxColorLayer::Run> runs) {
            adapter_.applyRuns(std::move(runs), theme_, range);
            complete();
            if (!alive.lock()) {
                return;  // the callback may have ended the controller
            }
            scheduler_->schedule(delayedFullPassInterval, [this, alive] {
                if (alive.lock() && !isHighlighting_ && !isPaused_) {
                    performHighlight();
                }
            });
        },
        [] {});
}

void SyntaxHighlightingController::performHighlight() {
    if (textView_ == nullptr || textView_->textLength() == 0) {
        return;
    }
    if (language_ == DocumentLanguage::unknown) {
        adapter_.clearHighlighting(theme_);
        complete();
        return;
    }
    isHighlighting_ = true;
    textView_->colorLayer().awaitColours(textView_->textRevision());
    lexThenApply(
        std::nullopt,
        [this](std::vector<SyntaxColorLayer::Run> runs) {
            if (textView_ == nullptr) {
                isHighlighting_ = false;
                return;
            }
            textView_->colorLayer().coloursArrived();
            adapter_.applyRuns(std::move(runs), theme_, TextRange{0, textView_->textLength()});
            isHighlighting_ = false;
            textView_->viewport()->update();
            complete();
        },
        [this] { isHighlighting_ = false; });
}

}  // namespace Carvex
