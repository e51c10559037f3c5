#pragma once

#include "Carvex/Completion/CompletionResult.h"
#include "Carvex/CaretContext/DocumentFormat.h"

#include <QString>

namespace Carvex {

// Answers one completion request: the ranked proposals for a caret in a document's text.
class CompletionEngine {
public:
    virtual ~CompletionEngine() = default;

    // The proposals for the caret (a UTF-16 offset, passed through as given) without snippet templates.
    // Never fails: any text and caret give a complete result.
    virtual CompletionResult complete(const QString& text, qsizetype caretLocation, DocumentFormat format) const = 0;
};

} // namespace Carvex
