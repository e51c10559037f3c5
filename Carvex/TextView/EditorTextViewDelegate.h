#pragma once

#include "Carvex/Text/TextChange.h"
#include "Carvex/Text/TextRange.h"

#include <QString>

namespace Carvex {

class EditorTextView;

// The text delegate of an editor text view: asked before each change the user makes and told
// after every change of the text (user edits, undo and redo; never programmatic loads).
class EditorTextViewDelegate {
public:
    virtual ~EditorTextViewDelegate() = default;
    // False refuses the change; the delegate may then make a change of its own.
    virtual bool editorTextViewShouldChangeText(EditorTextView& view, TextRange range,
                                                const QString& replacement) {
        (void)view;
        (void)range;
        (void)replacement;
        return true;
    }
    // The text is about to change in place; `editorTextViewDidChangeText` follows.
    virtual void editorTextViewWillChangeText(EditorTextView& view) { (void)view; }
    virtual void editorTextViewDidChangeText(EditorTextView& view, const TextChange& change) {
        (void)view;
        (void)change;
    }
    virtual void editorTextViewDidChangeSelection(EditorTextView& view) { (void)view; }
    // The view is going away (its text is still there).
    virtual void editorTextViewWillGo(EditorTextView& view) { (void)view; }
};

}  // namespace Carvex
