#pragma once

#include "Carvex/Text/TextChange.h"
#include "Carvex/Text/TextRange.h"
#include "Carvex/ModelAdapters/RefLink.h"
#include "Carvex/ModelAdapters/RefLinkRedetector.h"
#include "Carvex/TextView/TextFormatLayer.h"

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QTextCharFormat>

#include <optional>
#include <vector>

namespace Carvex {

class EditorTextView;

// Shows the local `$ref` links of one editor's text: each link's value, without its quotes, in the
// link colour with a single underline. A display layer of the view's colour layer: the links are
// kept here, each range with its path (its "CarvexRefLinkPath"), and laid over the token colours
// only in the blocks on screen, so styling never enters the document (no undo entry, no modified
// flag) and clearing removes exactly these links: other underlines (validation marks) stay.
// External references (not beginning with "#") are never styled, so they cannot be clicked.
//
// Between detections the links move with the text as attributes would: a link the edit touches is
// dropped, those after it move by the change in length; a new text drops them all. Main thread only.
class RefLinkStyler : public TextFormatLayer {
public:
    // One styled link: its value's range and its path.
    struct StyledLink {
        TextRange range;
        QString path;
        bool operator==(const StyledLink&) const = default;
    };

    // The name of the attribute that carries a link's path.
    static const QString& refLinkPathKey();

    // Holds the view weakly and lays its links over the view's colours.
    explicit RefLinkStyler(EditorTextView* textView);
    ~RefLinkStyler() override;
    RefLinkStyler(const RefLinkStyler&) = delete;
    RefLinkStyler& operator=(const RefLinkStyler&) = delete;

    EditorTextView* textView() const { return textView_.data(); }

    // Styles the local links of `links` (each value range clipped to the text), in place of those
    // styled before.
    virtual void applyLinkStyling(const std::vector<RefLink>& links);
    // Removes the link styling from the whole text.
    void clearLinkStyling();
    // Removes the links that meet `range` (clipped to the text).
    void clearLinkStyling(TextRange range);
    // The path of the styled link over the character at `index`, or nothing.
    std::optional<QString> refPath(qsizetype index) const;
    // The styled link over the character at `index`, or nothing.
    std::optional<StyledLink> linkAt(qsizetype index) const;

    // After `RefLinkRedetector::update` spliced `links`: the links between the neighbours of the
    // spliced ones are replaced by the spliced local ones.
    void applySplice(const std::vector<RefLink>& links, const RefLinkRedetector::Splice& splice);

    // In order of location.
    const std::vector<StyledLink>& styledLinks() const { return links_; }
    // The colour and underline of a link.
    const QTextCharFormat& linkFormat() const { return format_; }

    void appendFormats(int blockStart, int blockEnd, QList<QTextLayout::FormatRange>& ranges) const override;

protected:
    // A styler without a view (for stand-ins).
    RefLinkStyler() = default;

private:
    void textDidChange(const TextChange& change);
    void textDidLoad();
    // The local links of `links[first, first + count)`, clipped to a text `length` long.
    static std::vector<StyledLink> styledLinksOf(const std::vector<RefLink>& links, std::size_t first,
                                                 std::size_t count, qsizetype length);
    void redraw(TextRange range);
    void redrawAll();

    QPointer<EditorTextView> textView_;
    std::vector<StyledLink> links_;
    QTextCharFormat format_;
    QMetaObject::Connection changeConnection_;
    QMetaObject::Connection loadConnection_;
    // The text revision the links fit.
    quint64 revision_ = 0;
};

}  // namespace Carvex
