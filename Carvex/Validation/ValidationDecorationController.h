#pragma once

#include "Carvex/Text/TextChange.h"
#include "Carvex/Validation/CarvexValidationError.h"
#include "Carvex/Validation/ValidationDecoration.h"
#include "Carvex/Validation/ValidationRangeConverter.h"
#include "Carvex/Validation/ValidationDecorationRenderer.h"

#include <QPoint>
#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

namespace Carvex {

class EditorTextView;

// Keeps the validation findings marked in one editor's text: the list of decorations (in the
// order of the findings) beside the text, drawn by its renderer, found under the pointer or at a
// character index for the tooltip, and moved or dropped by edits without a new run. Holds the text
// view weakly. Main thread only.
class ValidationDecorationController {
public:
    explicit ValidationDecorationController(EditorTextView* textView);
    ~ValidationDecorationController();
    ValidationDecorationController(const ValidationDecorationController&) = delete;
    ValidationDecorationController& operator=(const ValidationDecorationController&) = delete;

    // Replaces every decoration by those of `errors` that can be placed in the view's text
    // (findings without a location, or whose start lies outside the text, are skipped).
    void apply(const std::vector<CarvexValidationError>& errors);
    // The same, placed in `text`: the text that was validated, when the view's text has been edited
    // since (follow with `updateForEdit` for each of those edits, in order).
    void apply(const std::vector<CarvexValidationError>& errors, QStringView text);
    // Replaces every decoration by `decorations`, in their order: placed (`place`) in the text as it
    // was before `editsSince`, then moved or dropped by each of those edits as `updateForEdit` does.
    void setDecorations(std::vector<ValidationDecoration> decorations,
                        const std::vector<TextChange>& editsSince = {});
    // Removes every decoration and its mark.
    void clear();
    // After a change of the text: `editedRange` is the range that was replaced, in the text before
    // the change, and `delta` the change in length. A decoration the edit touches (inside, over,
    // or typing at its end) is dropped; one after the edit moves by `delta`; one before stays.
    void updateForEdit(TextRange editedRange, qsizetype delta);
    // The same from a change as the text view announces it (its range in the text after it).
    void updateForEdit(const TextChange& change);

    // The decoration of `error` in `text`, by `converter` (which builds its cache for `text` when it
    // has none); nothing for a finding without a location or whose start lies outside the text.
    static std::optional<ValidationDecoration> place(const CarvexValidationError& error,
                                                     ValidationRangeConverter& converter, QStringView text);
    // Where a decoration's `range` lies after an edit of `editedRange` (in the text before it) by
    // `delta` units, the text then being `lengthAfter` long; nothing when the edit drops it.
    static std::optional<TextRange> follow(TextRange range, TextRange editedRange, qsizetype delta,
                                           qsizetype lengthAfter);

    // The first decoration (in list order) whose range holds the character at `index`, or null.
    const ValidationDecoration* decoration(qsizetype characterIndex) const;
    // The decoration under a point in viewport coordinates, or null.
    const ValidationDecoration* decoration(QPoint point) const;

    bool hasDecorations() const { return !decorations_.empty(); }
    int decorationCount() const { return static_cast<int>(decorations_.size()); }
    const std::vector<ValidationDecoration>& decorations() const { return decorations_; }

    EditorTextView* textView() const { return textView_; }
    ValidationRangeConverter& rangeConverter() { return rangeConverter_; }
    // Null when the controller was made without a text view.
    ValidationDecorationRenderer* renderer() const { return renderer_.get(); }

private:
    QPointer<EditorTextView> textView_;
    std::vector<ValidationDecoration> decorations_;
    ValidationRangeConverter rangeConverter_;
    std::unique_ptr<ValidationDecorationRenderer> renderer_;
};

}  // namespace Carvex
