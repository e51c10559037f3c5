#pragma once

#include "Carvex/Text/TextRange.h"

#include <QString>

#include <optional>

namespace Carvex {

// One edit that auto-indentation makes: replace `range` by `replacement`, then put the caret
// `caretOffset` units after the range's start.
struct AutoIndentEditPlan {
    TextRange range;
    QString replacement;
    qsizetype caretOffset = 0;

    // Without a caret offset the caret goes after the replacement.
    static AutoIndentEditPlan make(TextRange range, QString replacement, std::optional<qsizetype> caretOffset = {})
    {
        const qsizetype offset = caretOffset.value_or(replacement.size());
        return AutoIndentEditPlan{range, std::move(replacement), offset};
    }
    // A line break and `indent` inserted at `location`, the caret after them.
    static AutoIndentEditPlan newlineWithIndent(qsizetype location, const QString& indent)
    {
        return make(TextRange{location, 0}, u'\n' + indent);
    }
    // `range` replaced by a line break and `indent`, the caret after them.
    static AutoIndentEditPlan replaceNewline(TextRange range, const QString& indent)
    {
        return make(range, u'\n' + indent);
    }

    bool operator==(const AutoIndentEditPlan&) const = default;
};

} // namespace Carvex
