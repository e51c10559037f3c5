#pragma once

class QKeyEvent;

namespace Carvex {

class EditorTextView;

// Sees every key press of an editor text view first.
class EditorTextViewKeyDelegate {
public:
    virtual ~EditorTextViewKeyDelegate() = default;
    // True when the key was consumed; the view then does nothing more with it.
    virtual bool editorTextViewHandleKeyDown(EditorTextView& view, QKeyEvent& event) = 0;
};

}  // namespace Carvex
