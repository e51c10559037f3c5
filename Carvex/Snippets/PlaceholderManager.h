#pragma once

#include "Carvex/Text/TextRange.h"
#include "Carvex/Snippets/PlaceholderSession.h"

#include <functional>
#include <optional>

namespace Carvex {

// Keeps the placeholder session of a snippet inserted into an editor: the chips, which one is
// active, and their places as the text changes.
class PlaceholderManager {
public:
    virtual ~PlaceholderManager() = default;

    // The session, or null when no snippet is being filled in.
    virtual PlaceholderSession* session() const = 0;
    // True while the manager changes the text or selection itself.
    virtual bool isPerformingInternalUpdate() const = 0;

    // With an active session, an empty selection and the caret at the start or end of a chip:
    // selects the chip, makes its placeholder the active one and returns the chip's range.
    virtual std::optional<TextRange> activePlaceholderRange() = 0;
    // `range` (in the text before the change) was replaced by `newLength` units: moves the
    // placeholders and styles the new text.
    virtual void didReplaceText(TextRange range, qsizetype newLength) = 0;

    // Called by the manager when placeholder mode ends.
    std::function<void()> onPlaceholderModeExit;
};

}  // namespace Carvex
