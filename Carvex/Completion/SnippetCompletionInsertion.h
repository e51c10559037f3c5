#pragma once

#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/Syntax/DocumentLanguage.h"

namespace Carvex {

class EditorTextView;
class PlaceholderManager;

// Writes a snippet proposal into the view through the placeholder manager: the typed word (or the
// selection) goes and the snippet's text comes in one step of undo, and a placeholder session
// starts when the snippet has fields. False (nothing changes) when the proposal is no snippet with
// metadata or the view's selection lies outside its text.
bool insertSnippetCompletion(EditorTextView& view, PlaceholderManager& manager, DocumentLanguage language,
                             const CompletionItem& item);

}  // namespace Carvex
