#pragma once

#include <QRect>

class QPainter;

namespace Carvex {

class EditorTextView;

// A display layer of an editor text view, drawn over the text after it is painted (validation
// marks and the like). It changes neither the text nor its formats: nothing it draws enters the
// undo stack, the modified flag or the text signals.
class EditorTextOverlay {
public:
    virtual ~EditorTextOverlay() = default;
    // Draws the layer's part of `rect` (viewport coordinates) on the view's viewport.
    virtual void paintOverlay(EditorTextView& view, QPainter& painter, const QRect& rect) = 0;
};

}  // namespace Carvex
