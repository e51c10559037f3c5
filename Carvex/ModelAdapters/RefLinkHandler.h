#pragma once

#include "Carvex/ModelAdapters/RefLink.h"
#include "Carvex/ModelAdapters/RefLinkStyler.h"
#include "Carvex/Syntax/DocumentLanguage.h"

#include <QCursor>
#include <QPoint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Carvex {

class Document;
class EditorTextView;

// The `$ref` links of one editor: found after each change, styled, and followed on a
// Command-click. Holds the text view and the document weakly. Made through `make`, which gives
// nothing until the reference subsystem installs its factory.
class RefLinkHandler {
public:
    using Factory = std::function<std::unique_ptr<RefLinkHandler>(EditorTextView* textView, Document* document)>;

    virtual ~RefLinkHandler() = default;

    static Factory& factory();
    static std::unique_ptr<RefLinkHandler> make(EditorTextView* textView, Document* document);

    // The links of the text last detected.
    virtual const std::vector<RefLink>& cachedLinks() const = 0;
    // Null when there is none.
    virtual RefLinkStyler* styler() const = 0;

    // Detects the links of the current text again and styles them.
    virtual void updateLinks(DocumentLanguage language) = 0;
    // True when a link under the point (viewport coordinates) was followed.
    virtual bool handleCmdClick(QPoint point) = 0;
    // The pointing hand when Command (Control here) is held over a link, else nothing.
    virtual std::optional<QCursor> cursor(QPoint point, Qt::KeyboardModifiers modifiers) = 0;
};

}  // namespace Carvex
