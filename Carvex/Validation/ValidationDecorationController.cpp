#include "Carvex/Validation/ValidationDecorationController.h"

#include "Carvex/TextView/EditorTextView.h"

namespace Carvex {

namespace {

// The range a change replaced, in the text before it.
TextRange replacedRange(const TextChange& change) {
    return TextRange{change.editedRange.location,
                     std::max<qsizetype>(change.editedRange.length - change.changeInLength, 0)};
}

}  // namespace

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
        if (auto decoration = place(error, rangeConverter_, text)) {
            decorations_.push_back(std::move(*decoration));
        }
    }
    if (text.data() != textView_->viewText().constData()) {
        rangeConverter_.invalidateCache();  // built for a text this controller does not keep
    }
    if (renderer_) {
        renderer_->setDecorations(decorations_);
    }
}

std::optional<ValidationDecoration> ValidationDecorationController::place(const CarvexValidationError& error,
                                                                        ValidationRangeConverter& converter,
                                                                        QStringView text) {
    if (!error.sourceLocation) {
        return std::nullopt;
    }
    const auto range = converter.convertToNSRange(*error.sourceLocation, error.endLocation, text);
    if (!range) {
        return std::nullopt;
    }
    return ValidationDecoration{error.id, error, *range};
}

void ValidationDecorationController::setDecorations(std::vector<ValidationDecoration> decorations,
                                                    const std::vector<TextChange>& editsSince) {
    if (!textView_) {
        return;
    }
    clear();
    if (!editsSince.empty()) {
        // The text's length after each edit, counted back from its length now.
        std::vector<qsizetype> lengthAfter(editsSince.size());
        qsizetype length = textView_->textLength();
        for (std::size_t index = editsSince.size(); index-- > 0;) {
            lengthAfter[index] = length;
            length -= editsSince[index].changeInLength;
        }
        std::erase_if(decorations, [&](ValidationDecoration& decoration) {
            for (std::size_t index = 0; index < editsSince.size(); ++index) {
                const TextChange& change = editsSince[index];
                const auto moved = follow(decoration.range, replacedRange(change), change.changeInLength,
                                          lengthAfter[index]);
                if (!moved) {
                    return true;
                }
                decoration.range = *moved;
            }
            return false;
        });
    }
    decorations_ = std::move(decorations);
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
        if (const auto moved = follow(decoration.range, editedRange, delta, length)) {
            decoration.range = *moved;
            kept.push_back(std::move(decoration));
        }
    }
    decorations_ = std::move(kept);
    rangeConverter_.invalidateCache();
    if (renderer_) {
        renderer_->setDecorations(decorations_);
    }
}

std::optional<TextRange> ValidationDecorationController::follow(TextRange range, TextRange editedRange,
                                                               qsizetype delta, qsizetype lengthAfter) {
    if (range.intersectionLength(editedRange) > 0) {
        return std::nullopt;  // the edit changed the marked text
    }
    if (range.location > editedRange.location) {
        const qsizetype moved = range.location + delta;
        if (moved < 0 || moved + range.length > lengthAfter) {
            return std::nullopt;
        }
        range.location = moved;
        return range;
    }
    if (editedRange.location <= range.location + range.length) {
        return std::nullopt;  // typed inside or directly at its end
    }
    return range;
}

void ValidationDecorationController::updateForEdit(const TextChange& change) {
    updateForEdit(replacedRange(change), change.changeInLength);
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
