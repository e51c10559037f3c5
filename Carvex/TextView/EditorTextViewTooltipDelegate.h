#pragma once

#include <QString>
#include <optional>

namespace Carvex {

class EditorTextView;

// Supplies the hover tooltip for a character of an editor text view.
class EditorTextViewTooltipDelegate {
public:
    virtual ~EditorTextViewTooltipDelegate() = default;
    // The tooltip for the character at `characterIndex` (UTF-16 units), or nothing.
    virtual std::optional<QString> editorTextViewTooltipAt(EditorTextView& view,
                                                           qsizetype characterIndex) = 0;
};

}  // namespace Carvex
