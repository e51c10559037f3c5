#pragma once

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Text/TextChange.h"
#include "Carvex/ModelAdapters/RefLink.h"
#include "Carvex/Editor/RefLinkClickDelegate.h"
#include "Carvex/ModelAdapters/RefLinkDetector.h"
#include "Carvex/Editor/RefLinkStyler.h"
#include "Carvex/ModelAdapters/RefLocationResolver.h"
#include "Carvex/Syntax/DocumentLanguage.h"

#include <QCursor>
#include <QMetaObject>
#include <QPoint>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Carvex {

class Document;

// The `$ref` links of one editor: found again after each change of the text, styled, and followed
// on a Command-click (Control here), which moves the caret to the start of the referenced
// component. Holds the text view and the document weakly; every operation does nothing (or
// answers false or nothing) once one it needs is gone.
//
// Detection is gated on the view's text revision: a text already detected is neither scanned nor
// styled again. Each change the view announces is spliced into the links (`RefLinkRedetector`), so
// a keystroke scans only near the edit; a new text, a language change or a handler that did not
// follow the text from its load detects in full.
//
// A target is placed by its line and column in the parsed model, which fit only the text the model
// was parsed from: while the view's text differs from it (a parse pending, a text that does not
// parse) a click moves nothing and logs a warning.
//
// Made through `make`, which gives nothing until `installFactory` has run. Main thread only.
class RefLinkHandler {
public:
    using Factory = std::function<std::unique_ptr<RefLinkHandler>(EditorTextView* textView, Document* document)>;

    RefLinkHandler(EditorTextView* textView, Document* document);
    virtual ~RefLinkHandler();
    RefLinkHandler(const RefLinkHandler&) = delete;
    RefLinkHandler& operator=(const RefLinkHandler&) = delete;

    static Factory& factory();
    static std::unique_ptr<RefLinkHandler> make(EditorTextView* textView, Document* document);
    // Installs the factory of this class.
    static void installFactory();

    EditorTextView* textView() const { return textView_.data(); }
    Document* document() const { return document_.data(); }
    const RefLinkDetector& detector() const { return detector_; }
    const RefLocationResolver& locationResolver() const { return locationResolver_; }
    // Told after each navigation; none unless set.
    RefLinkClickDelegate* clickDelegate() const { return clickDelegate_.get(); }
    void setClickDelegate(RefLinkClickDelegate* delegate) { clickDelegate_.set(delegate); }
    // The text revision the links were last detected for; nothing before the first detection.
    std::optional<quint64> contentHash() const { return contentHash_; }

    // The links of the text last detected.
    virtual const std::vector<RefLink>& cachedLinks() const { return cachedLinks_; }
    // Null when there is none.
    virtual RefLinkStyler* styler() const { return styler_.get(); }

    // Detects the links of the current text and styles them, unless this text was detected
    // already (the language alone does not count).
    virtual void updateLinks(DocumentLanguage language);
    // Styles the links last detected again, without detecting.
    void applyStylesOnly();
    // Clears the styling and forgets the links, so the next `updateLinks` detects again.
    void removeAllStyles();
    // True when the styled local link under the point (viewport coordinates) was followed; false
    // lets the click act as a plain click.
    virtual bool handleCmdClick(QPoint point);
    // The same for the link over the character at `characterIndex`.
    bool handleCmdClick(qsizetype characterIndex);
    // The pointing hand while Command (Control here) is held over a styled local link, else nothing.
    virtual std::optional<QCursor> cursor(QPoint point, Qt::KeyboardModifiers modifiers);

    // The pointer a link's value stands for: `path` as written, or in a quoted value (the unit before
    // `valueStart` a quote) with the escapes of its quoting read: a JSON string's, a YAML double- or
    // single-quoted scalar's.
    static QString targetPointer(QStringView text, qsizetype valueStart, const QString& path,
                                 DocumentLanguage language);

    // The warning of a link whose target cannot be found.
    static QString targetNotFoundMessage() { return QStringLiteral("Cannot navigate: target not found"); }

protected:
    // A handler without a view or document (for stand-ins).
    RefLinkHandler() = default;

private:
    enum class ClickSource { point, characterIndex };

    void textDidChange(const TextChange& change);
    void textDidLoad();
    void detectAll(DocumentLanguage language, quint64 revision);
    void spliceChanges(quint64 revision);
    bool followLink(qsizetype characterIndex, ClickSource source);
    // Whether the model was parsed from the view's current text (or recorded no text).
    bool modelFitsText(const ParsedOpenAPIModel& model);
    void logTargetNotFound(const QString& path, ClickSource source) const;
    void navigate(const VoziZazIreCore::SourceLocation& target);

    QPointer<EditorTextView> textView_;
    QPointer<Document> document_;
    RefLinkDetector detector_;
    RefLocationResolver locationResolver_;
    std::unique_ptr<RefLinkStyler> styler_;
    WeakDelegate<RefLinkClickDelegate> clickDelegate_;
    std::vector<RefLink> cachedLinks_;
    // The gate: the revision of the text last detected. Empty at first, so any text is detected.
    std::optional<quint64> contentHash_;

    // The links follow the text: they are those of revision `contentHash_`, and `pendingChange_`
    // spans every change announced since, in the language `linksLanguage_`.
    bool inStep_ = false;
    DocumentLanguage linksLanguage_ = DocumentLanguage::unknown;
    std::optional<TextChange> pendingChange_;
    // The revision after the last announced change.
    quint64 announcedRevision_ = 0;
    // An update was asked for while a change was being announced: it runs with the announcement.
    bool updateRequested_ = false;
    QMetaObject::Connection changeConnection_;
    QMetaObject::Connection loadConnection_;

    // The hash of the view's text at `hashedRevision_`.
    std::optional<quint64> hashedRevision_;
    std::size_t textHash_ = 0;
};

}  // namespace Carvex
