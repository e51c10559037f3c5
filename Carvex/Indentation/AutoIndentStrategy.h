#pragma once

#include "Carvex/Indentation/AutoIndentContext.h"
#include "Carvex/Indentation/AutoIndentEditPlan.h"

#include <optional>

namespace Carvex {

// Decides what Return inserts at the caret; plans always insert at the caret.
class AutoIndentStrategy {
public:
    virtual ~AutoIndentStrategy() = default;
    virtual std::optional<AutoIndentEditPlan> computeIndent(const AutoIndentContext& context) const = 0;

    // `indent` one level shallower: the unit removed from its end when it ends with it, else one
    // tab, else up to four trailing spaces; unchanged otherwise.
    static QString removeIndentLevel(const QString& indent, const IndentationStyle& style);
    // The leading run of spaces and tabs.
    static QString leadingIndent(QStringView line);
};

} // namespace Carvex
