#pragma once

#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/Syntax/SyntaxTheme.h"
#include "Carvex/Syntax/SyntaxToken.h"
#include "Carvex/Text/TextRange.h"

#include <QPointer>
#include <vector>

namespace Carvex {

class EditorTextView;

// Hands tokens to a text view's colour layer (`SyntaxColorLayer`): token colours are a display
// layer, never character formats of the document, so validation underlines and other extra
// selections are untouched by construction. Holds the view weakly.
class NSTextViewHighlighterAdapter {
public:
    explicit NSTextViewHighlighterAdapter(EditorTextView* textView);

    // Colours the tokens over the whole text.
    void apply(const std::vector<SyntaxToken>& tokens, const SyntaxTheme& theme);
    // Removes the colours over `range` (clipped to the text), then colours each token over its
    // range clipped to the text (not to `range`).
    void apply(const std::vector<SyntaxToken>& tokens, const SyntaxTheme& theme, TextRange range);
    // The same with the tokens already turned into runs of the colour layer.
    void applyRuns(std::vector<SyntaxColorLayer::Run> runs, const SyntaxTheme& theme, TextRange range);
    // Removes every token colour; the whole text shows the default attributes.
    void clearHighlighting(const SyntaxTheme& theme);

    EditorTextView* textView() const { return textView_; }

private:
    QPointer<EditorTextView> textView_;
};

}  // namespace Carvex
