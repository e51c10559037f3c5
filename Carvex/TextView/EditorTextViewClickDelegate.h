#pragma once

#include <QCursor>
#include <QPoint>
#include <optional>

namespace Carvex {

class EditorTextView;

// Handles Command-clicks (Control on Linux and Windows) and chooses the pointer shape over the
// text. Points are in the view's viewport coordinates.
class EditorTextViewClickDelegate {
public:
    virtual ~EditorTextViewClickDelegate() = default;
    // True when the click was consumed.
    virtual bool editorTextViewHandleCmdClickAt(EditorTextView& view, QPoint point) = 0;
    // The cursor to show at the point for the given modifiers, or nothing to leave it unchanged.
    virtual std::optional<QCursor> editorTextViewCursorAt(EditorTextView& view, QPoint point,
                                                          Qt::KeyboardModifiers modifiers) = 0;
};

}  // namespace Carvex
