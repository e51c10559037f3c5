#pragma once

#include <QRect>
#include <QSize>

#include <optional>

namespace Carvex {

// Where the completion popup goes, in screen coordinates, for the caret's line (its rectangle, with
// the caret's x as left edge) and the panel's size. Below the line, its left edge at the caret,
// pulled in to stay within the screen's available area; where it does not fit below, flipped
// above the line with its bottom edge on the line's top, so the line being typed stays in sight.
// Where it fits on neither side, the side with more room, kept on the screen; a panel taller than
// the screen shows its top. Without a screen, below the caret unchanged.
namespace CompletionPopupPlacement {

QRect frame(const QRect& caretLine, QSize panel, const std::optional<QRect>& available);

}  // namespace CompletionPopupPlacement

}  // namespace Carvex
