#pragma once

#include "Carvex/TextView/EditorTextOverlay.h"
#include "Carvex/Text/TextRange.h"

#include <QRectF>

#include <vector>

namespace Carvex {

class PlaceholderManager;

// The display layers of a placeholder session in its text view: the chips, drawn over the
// default texts of the placeholders that still have one (only those on screen), and the snippet
// colours (the snippet's text, and text typed into its placeholders), kept as extra selections of
// the view beside any others. Neither touches the text, the undo history or the modified flag.
class PlaceholderChipRenderer : public EditorTextOverlay {
public:
    explicit PlaceholderChipRenderer(const PlaceholderManager& manager) : manager_(manager) {}

    void paintOverlay(EditorTextView& view, QPainter& painter, const QRect& rect) override;
    // Sets the snippet colours for the session as it now stands (none without one).
    void updateSnippetColors(EditorTextView& view) const;

    // One line's part of a range on screen: its rectangle (viewport coordinates) and its text.
    struct Segment {
        QRectF rect;
        TextRange range;
    };
    // The parts of `range` in the lines on screen, one per line it touches, within `clip`.
    static std::vector<Segment> segmentsOnScreen(const EditorTextView& view, TextRange range, const QRect& clip);
    // How many chips the last paint drew.
    int paintedChipCount() const { return paintedChipCount_; }

private:
    const PlaceholderManager& manager_;
    int paintedChipCount_ = 0;
};

}  // namespace Carvex
