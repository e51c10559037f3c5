#pragma once

#include "Carvex/CaretContext/ReferenceKind.h"

#include <QString>

#include <optional>

namespace Carvex {

// Lexical facts about the caret. The caret scanners fill the first four fields; the completion
// engine alone sets the two about `$ref` values.
struct CompletionHints {
    bool isInComment = false;
    bool isInString = false;
    int indentationDepth = 0;
    QString currentIndentation;
    bool isRefValueContext = false;
    std::optional<ReferenceKind> expectedReferenceKind;

    // No comment, no string, depth 0, no indentation, no reference.
    static CompletionHints default_() { return CompletionHints{}; }

    bool operator==(const CompletionHints&) const = default;
};

} // namespace Carvex
