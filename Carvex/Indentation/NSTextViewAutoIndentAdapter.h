#pragma once

#include "Carvex/Text/TextRange.h"
#include "Carvex/Indentation/AutoIndentEditPlan.h"

#include <QPointer>
#include <QString>

#include <optional>

namespace Carvex {

class EditorTextView;

// Applies auto-indent plans to an editor text view through its one edit path, so that the
// editor's flow sees them like any other change. Holds the view weakly. Main thread only.
class NSTextViewAutoIndentAdapter {
public:
    explicit NSTextViewAutoIndentAdapter(EditorTextView* textView) : textView_(textView) {}

    EditorTextView* textView() const { return textView_; }
    std::optional<QString> text() const;
    bool canEdit() const;
    std::optional<qsizetype> caretLocation() const;
    std::optional<TextRange> selectedRange() const;

    // Replaces the plan's range (clipped to the text) as one step of undo and places the caret.
    // False without a view or when the range lies wholly outside the text; true otherwise, also
    // when the view's delegate refused the change.
    bool apply(const AutoIndentEditPlan& plan);

private:
    QPointer<EditorTextView> textView_;
};

} // namespace Carvex
