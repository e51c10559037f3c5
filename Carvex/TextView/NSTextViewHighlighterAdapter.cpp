#include "Carvex/TextView/NSTextViewHighlighterAdapter.h"

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/SyntaxColorLayer.h"

namespace Carvex {

NSTextViewHighlighterAdapter::NSTextViewHighlighterAdapter(EditorTextView* textView)
    : textView_(textView) {}

void NSTextViewHighlighterAdapter::apply(const std::vector<SyntaxToken>& tokens,
                                         const SyntaxTheme& theme) {
    if (textView_ == nullptr) {
        return;
    }
    apply(tokens, theme, TextRange{0, textView_->textLength()});
}

void NSTextViewHighlighterAdapter::apply(const std::vector<SyntaxToken>& tokens,
                                         const SyntaxTheme& theme, TextRange range) {
    if (textView_ == nullptr) {
        return;
    }
    SyntaxColorLayer& layer = textView_->colorLayer();
    layer.setTheme(theme);
    layer.apply(tokens, range);
}

void NSTextViewHighlighterAdapter::applyRuns(std::vector<SyntaxColorLayer::Run> runs, const SyntaxTheme& theme,
                                             TextRange range) {
    if (textView_ == nullptr) {
        return;
    }
    SyntaxColorLayer& layer = textView_->colorLayer();
    layer.setTheme(theme);
    layer.applyRuns(std::move(runs), range);
}

void NSTextViewHighlighterAdapter::clearHighlighting(const SyntaxTheme& theme) {
    if (textView_ == nullptr || textView_->textLength() < 1) {
        return;
    }
    SyntaxColorLayer& layer = textView_->colorLayer();
    layer.setTheme(theme);
    layer.clear(TextRange{0, textView_->textLength()});
}

}  // namespace Carvex
