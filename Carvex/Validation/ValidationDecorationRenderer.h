#pragma once

#include "Carvex/TextView/EditorTextOverlay.h"
#include "Carvex/Text/TextRange.h"
#include "Carvex/Validation/CarvexValidationSeverity.h"

#include <QPointer>
#include <QString>
#include <QUuid>
#include <vector>

namespace Carvex {

struct ValidationDecoration;

// Draws the validation marks of one editor text view: a thick dotted underline per mark, red for
// errors and orange for warnings, as a display layer of the view. Marks are kept here, each keyed
// by its "vantel.validationId" (the decoration's id) and drawn from this list alone: the text and
// its formats never change, so marking leaves no undo entry and no modified flag, and removing a
// mark removes exactly its underline. Painting visits only the marks on screen. Main thread only.
class ValidationDecorationRenderer : public EditorTextOverlay {
public:
    struct Mark {
        QUuid id;  // its "vantel.validationId"
        TextRange range;
        CarvexValidationSeverity severity = CarvexValidationSeverity::error;
        bool operator==(const Mark&) const = default;
    };

    // The key that identifies a mark: "vantel.validationId".
    static const QString& validationIdKey();

    // Installs itself as a display layer of `view` (when there is one).
    explicit ValidationDecorationRenderer(EditorTextView* view);
    ~ValidationDecorationRenderer() override;
    ValidationDecorationRenderer(const ValidationDecorationRenderer&) = delete;
    ValidationDecorationRenderer& operator=(const ValidationDecorationRenderer&) = delete;

    // Changes between these two are drawn once, at the end.
    void beginEditing();
    void endEditing();

    // Marks `range` for `decoration`; nothing when the range lies outside the view's text.
    void applyDecoration(const ValidationDecoration& decoration, TextRange range);
    // Removes every mark.
    void clearAllDecorations();
    // Removes the mark of the decoration with this id.
    void removeDecoration(const QUuid& validationId);
    // Replaces every mark by those of `decorations` (one redraw).
    void setDecorations(const std::vector<ValidationDecoration>& decorations);

    // The marks in order of location.
    const std::vector<Mark>& marks() const;
    // The marks over `index` (location ≤ index < end), in order of location.
    std::vector<Mark> marksAt(qsizetype index) const;
    // How many marks the last paint drew.
    int paintedMarkCount() const { return paintedMarkCount_; }

    void paintOverlay(EditorTextView& view, QPainter& painter, const QRect& rect) override;

private:
    void changed();
    void sortIfNeeded() const;
    bool isInText(TextRange range) const;

    QPointer<EditorTextView> view_;
    mutable std::vector<Mark> marks_;
    mutable bool unsorted_ = false;
    qsizetype maxLength_ = 0;
    int editing_ = 0;
    bool changedWhileEditing_ = false;
    int paintedMarkCount_ = 0;
};

}  // namespace Carvex
