#pragma once

#include "Carvex/Text/FileFormat.h"

#include <QString>

namespace Carvex {

class Document;

// What a document asks of the window that shows it. The window's class sits above the documents:
// the storyboard scene `Document::windowControllerScene` makes it, and a scene whose controller is
// no `DocumentWindow` leaves the document windowless. Main thread only.
class DocumentWindow {
public:
    virtual ~DocumentWindow() = default;

    // The window was just added to `document`'s window controllers: it joins a tab of a visible
    // document window, takes its size, makes its panes and binds them to the document.
    virtual void windowDidJoinDocument(Document& document) = 0;
    // Conversion replaced the document's text: the editor, when there is one, shows `text` in
    // `format`, and the title follows the document's name.
    virtual void showConvertedContent(const QString& text, FileFormat format) = 0;
    // The document's format changed: the Convert control follows it.
    virtual void refreshConversionState() = 0;
    // The document's text was read again from disk: the editor shows it.
    virtual void reloadEditorContent() = 0;

protected:
    DocumentWindow() = default;
    DocumentWindow(const DocumentWindow&) = default;
    DocumentWindow& operator=(const DocumentWindow&) = default;
};

}  // namespace Carvex
