#pragma once

#include "Carvex/Text/TextRange.h"
#include "Carvex/Indentation/AutoIndentEngine.h"
#include "Carvex/Indentation/NSTextViewAutoIndentAdapter.h"
#include "Carvex/Syntax/DocumentLanguage.h"
#include "platform/Settings.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

class QUrl;

namespace Carvex {

class EditorTextView;

// Makes Return and the closing brackets structural in an editor text view. The editor consults
// it before every edit; when it makes the edit itself it answers false and the typed text is
// dropped. It remembers where "{" or "[" was just typed, so that Return right after it closes the
// pair on a line of its own. Main thread only.
class AutoIndentController : public QObject {
    Q_OBJECT
public:
    explicit AutoIndentController(EditorTextView* textView,
                                  std::shared_ptr<CarvexPlatform::Settings> defaults =
                                      CarvexPlatform::Settings::standard());

    EditorTextView* textView() const { return textView_; }
    const AutoIndentEngine& engine() const { return engine_; }
    DocumentLanguage language() const { return language_; }
    const std::optional<IndentationStyle>& detectedStyle() const { return detectedStyle_; }
    bool isProcessingIndent() const { return isProcessingIndent_; }
    const std::optional<qsizetype>& lastTypedOpeningBracketLocation() const {
        return lastTypedOpeningBracketLocation_;
    }
    bool ignoreNextCursorMove() const { return ignoreNextCursorMove_; }

    void setLanguage(DocumentLanguage language) { language_ = language; }
    void setLanguageFromURL(const QUrl& url);

    // The style the view's text shows, else the user's. Called when content is loaded or replaced.
    void detectIndentationStyle();
    void setIndentationStyle(const IndentationStyle& style) { detectedStyle_ = style; }

    // Asked before an edit of `range` by `replacement` (none: not a text edit). True lets the view
    // apply the edit; false means it was made here or is refused.
    bool textViewShouldChangeText(EditorTextView& textView, TextRange range,
                                  const std::optional<QString>& replacement);

    // Told of every selection change.
    void cursorDidMove();

private:
    bool handleNewline();
    bool handleClosingBracket(QChar bracket);
    IndentationStyle currentStyle(QStringView text) const;
    void forgetTypedBracket() { lastTypedOpeningBracketLocation_.reset(); }

    QPointer<EditorTextView> textView_;
    NSTextViewAutoIndentAdapter adapter_;
    AutoIndentEngine engine_;
    DocumentLanguage language_ = DocumentLanguage::unknown;
    std::optional<IndentationStyle> detectedStyle_;
    bool isProcessingIndent_ = false;
    std::optional<qsizetype> lastTypedOpeningBracketLocation_;
    bool ignoreNextCursorMove_ = false;
};

} // namespace Carvex
