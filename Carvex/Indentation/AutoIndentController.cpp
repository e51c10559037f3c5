#include "Carvex/Indentation/AutoIndentController.h"

#include "Carvex/CaretContext/CaretLine.h"
#include "Carvex/CaretContext/UnitSearch.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Syntax/DocumentLanguageDetector.h"

#include <QUrl>

namespace Carvex {

namespace {

// Sets a flag for the lifetime of the guard.
class Processing {
public:
    explicit Processing(bool& flag) : flag_(flag) { flag_ = true; }
    ~Processing() { flag_ = false; }
    Processing(const Processing&) = delete;
    Processing& operator=(const Processing&) = delete;

private:
    bool& flag_;
};

bool isEscapedQuote(QStringView text, qsizetype at)
{
    qsizetype run = 0;
    while (at - run > 0 && text[at - run - 1] == u'\\')
        ++run;
    return (run & 1) != 0;
}

// The opening bracket that a closer typed at `caret` closes: walking back over strings, the same
// kind of closer nests; the other kind is passed over.
std::optional<qsizetype> matchingOpener(QStringView text, qsizetype caret, QChar closer)
{
    const char16_t* units = text.utf16();
    const char16_t close = closer.unicode();
    const char16_t open = close == u'}' ? u'{' : u'[';
    qsizetype depth = 1;
    bool inString = false;
    qsizetype i = caret;
    while (true) {
        i = UnitSearch::lastQuoteOrBracketCandidate(units, 0, i);
        if (i < 0)
            return std::nullopt;
        const char16_t unit = units[i];
        if (unit == u'"') {
            if (!isEscapedQuote(text, i))
                inString = !inString;
        } else if (!inString) {
            if (unit == close)
                ++depth;
            else if (unit == open && --depth == 0)
                return i;
        }
    }
}

} // namespace

AutoIndentController::AutoIndentController(EditorTextView* textView, std::shared_ptr<CarvexPlatform::Settings> defaults)
    : textView_(textView), adapter_(textView), engine_(IndentationPreferencesStore(std::move(defaults)))
{
}

void AutoIndentController::setLanguageFromURL(const QUrl& url)
{
    language_ = DocumentLanguageDetector().detect(url);
}

void AutoIndentController::detectIndentationStyle()
{
    if (textView_ != nullptr)
        detectedStyle_ = engine_.detectIndentationStyle(textView_->viewText());
}

IndentationStyle AutoIndentController::currentStyle(QStringView text) const
{
    return detectedStyle_ ? *detectedStyle_ : engine_.detectIndentationStyle(text);
}

bool AutoIndentController::textViewShouldChangeText(EditorTextView& textView, TextRange range,
                                                    const std::optional<QString>& replacement)
{
    (void)textView;
    if (!replacement)
        return true;
    if (*replacement == u"\n" || *replacement == u"\r" || *replacement == u"\r\n") {
        if (handleNewline())
            return false;
        forgetTypedBracket();
        return true;
    }
    if (*replacement == u"}" || *replacement == u"]") {
        forgetTypedBracket();
        return !handleClosingBracket(replacement->front());
    }
    if (*replacement == u"{" || *replacement == u"[") {
        lastTypedOpeningBracketLocation_ = range.location;
        ignoreNextCursorMove_ = true;
        return true;
    }
    forgetTypedBracket();
    return true;
}

void AutoIndentController::cursorDidMove()
{
    if (ignoreNextCursorMove_)
        ignoreNextCursorMove_ = false;
    else
        forgetTypedBracket();
}

bool AutoIndentController::handleNewline()
{
    if (language_ == DocumentLanguage::unknown || textView_ == nullptr || !adapter_.canEdit() || isProcessingIndent_)
        return false;
    bool applied = false;
    {
        Processing processing(isProcessingIndent_);
        const QString& text = textView_->viewText();
        const TextRange selection = *adapter_.selectedRange();
        const qsizetype caret = selection.location;
        const bool closeBracket =
            lastTypedOpeningBracketLocation_ && caret == *lastTypedOpeningBracketLocation_ + 1;
        const IndentationStyle style = currentStyle(text);
        // Return over a selection replaces it: plan on the text without it, then replace it. No
        // copy of the text may outlive the planning, or the edit would copy the whole text.
        std::optional<AutoIndentEditPlan> plan;
        if (selection.length > 0) {
            plan = engine_.computeEditPlan(QString(text).remove(selection.location, selection.length), caret,
                                           language_, style, closeBracket);
        } else {
            plan = engine_.computeEditPlan(text, caret, language_, style, closeBracket);
        }
        if (plan) {
            plan->range = TextRange{plan->range.location, plan->range.length + selection.length};
            applied = adapter_.apply(*plan);
        }
    }
    forgetTypedBracket();
    return applied;
}

bool AutoIndentController::handleClosingBracket(QChar bracket)
{
    if (language_ != DocumentLanguage::json || textView_ == nullptr || !adapter_.canEdit() || isProcessingIndent_)
        return false;
    const TextRange selection = *adapter_.selectedRange();
    if (selection.length > 0)
        return false; // typed over a selection: ordinary typing
    Processing processing(isProcessingIndent_);
    const QString& text = textView_->viewText();
    const qsizetype caret = selection.location;
    const qsizetype lineStart = CaretLine::lineStart(text, caret);
    for (qsizetype i = lineStart; i < caret; ++i) {
        if (text[i] != u' ' && text[i] != u'\t')
            return false;
    }
    const std::optional<qsizetype> opener = matchingOpener(text, caret, bracket);
    if (!opener)
        return false;
    const qsizetype openerLine = CaretLine::lineStart(text, *opener);
    const QString target = AutoIndentStrategy::leadingIndent(QStringView(text).sliced(openerLine, *opener - openerLine));
    return adapter_.apply(AutoIndentEditPlan::make(TextRange{lineStart, caret - lineStart}, target + bracket));
}

} // namespace Carvex
