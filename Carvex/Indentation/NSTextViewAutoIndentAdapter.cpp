#include "Carvex/Indentation/NSTextViewAutoIndentAdapter.h"

#include "Carvex/TextView/EditorTextView.h"

namespace Carvex {

std::optional<QString> NSTextViewAutoIndentAdapter::text() const
{
    if (textView_ == nullptr)
        return std::nullopt;
    return textView_->viewText();
}

bool NSTextViewAutoIndentAdapter::canEdit() const
{
    return textView_ != nullptr && !textView_->isReadOnly();
}

std::optional<qsizetype> NSTextViewAutoIndentAdapter::caretLocation() const
{
    if (textView_ == nullptr)
        return std::nullopt;
    return textView_->selectedRange().location;
}

std::optional<TextRange> NSTextViewAutoIndentAdapter::selectedRange() const
{
    if (textView_ == nullptr)
        return std::nullopt;
    return textView_->selectedRange();
}

bool NSTextViewAutoIndentAdapter::apply(const AutoIndentEditPlan& plan)
{
    if (textView_ == nullptr)
        return false;
    const qsizetype length = textView_->textLength();
    TextRange range = plan.range;
    if (range.location < 0 || range.length < 0)
        return false;
    if (!(range.length == 0 && range.location <= length)) {
        const qsizetype overlap = range.intersectionLength(TextRange{0, length});
        if (overlap == 0 && range.location != length)
            return false;
        range = range.location == length ? TextRange{length, 0} : TextRange{range.location, overlap};
    }
    // One replacement is one step of undo: the view's edit path makes it as one edit block.
    if (textView_->replaceCharacters(range, plan.replacement, true)) {
        const qsizetype caret = std::min(textView_->textLength(), range.location + plan.caretOffset);
        textView_->setSelectedRange(TextRange{caret, 0});
    }
    return true;
}

} // namespace Carvex
