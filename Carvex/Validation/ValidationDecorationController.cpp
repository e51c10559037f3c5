#include "Carvex/Validation/ValidationDecorationController.h"

#include "Carvex/Editor/EditorTextView.h"

namespace Carvex {

ValidationDecorationController::ValidationDecorationController(EditorTextView* textView)
    : textView_(textView) {
    if (textView != nullptr) {
        renderer_ = std::make_unique<ValidationDecorationRenderer>(textView);
    }
}

ValidationDecorationController::~ValidationDecorationController() = default;

void ValidationDecorationController::apply(const std::vector<CarvexValidationError>& errors) {
    if (!textView_) {
        return;
    }
    apply(errors, textView_->viewText());
}

void ValidationDecorationController::apply(const std::vector<CarvexValidationError>& errors, QStringView text) {
    if (!textView_) {
        return;
    }
    clear();
    if (errors.empty()) {
        return;
    }
    rangeConverter_.buildCache(text);
    decorations_.reserve(errors.size());
    for (const CarvexValidationError& error : errors) {
        if (!error.sourceLocation) {
            continue;
        }
        const auto range = rangeConverter_.convertToNSRange(*error.sourceLocation, error.endLocation, text);
        if (!range) {
            continue;
        }
        decorations_.push_back(ValidationDecoration{error.id, error, *range});
    }
    if (text.data() != textView_->viewText().constData()) {
        rangeConverter_.invalidateCache();  // built for a text this controller does not keep
    }
    if (renderer_) {
        renderer_->setDecorations(decorations_);
    }
}

void ValidationDecorationController::clear() {
    if (renderer_) {
        renderer_->clearAllDecorations();
    }
    decorations_.clear();
    rangeConverter_.invalidateCache();
}

void ValidationDecorationController::updateForEdit(TextRange editedRange, qsizetype delta) {
    if (!textView_ || decorations_.empty()) {
        return;
    }
    const qsizetype length = textView_->textLength();
    std::vector<ValidationDecoration> kept;
    kept.reserve(decorations_.size());
    for (ValidationDecoration& decoration : decorations_) {
        const TextRange range = decoration.range;
        if (range.intersectionLength(editedRange) > 0) {
            continue;  // the edit changed the marked text
        }
        if (range.location > editedRange.location) {
            const qsizetype moved = range.location + delta;
            if (moved < 0 || moved + range.length > length) {
                continue;
            }
            decoration.range.location = moved;
        } else if (editedRange.location <= range.location + range.length) {
            continue;  // typed inside or directly at its end
        }
        kept.push_back(std::move(decoration));
    }
    decorations_ = std::move(kept);
    rangeConverter_.invalidateCache();
    if (renderer_) {
        renderer_->setDecorations(decorations_);
    }
}

void ValidationDecorationController::updateForEdit(const TextChange& change) {
    updateForEdit(TextRange{change.editedRange.location,
                            std::max<qsizetype>(change.editedRange.length - change.changeInLength, 0)},
                  change.changeInLength);
}

const ValidationDecoration* ValidationDecorationController::decoration(qsizetype characterIndex) const {
    for (const ValidationDecoration& decoration : decorations_) {
        if (decoration.range.location <= characterIndex && characterIndex < decoration.range.end()) {
            return &decoration;
        }
    }
    return nullptr;
}

const ValidationDecoration* ValidationDecorationController::decoration(QPoint point) const {
    if (!textView_) {
        return nullptr;
    }
    const auto index = textView_->characterIndexAt(point);
    return index ? decoration(*index) : nullptr;
}

}  // namespace Carvex
