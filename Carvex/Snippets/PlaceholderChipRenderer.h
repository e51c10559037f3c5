#pragma once

#include "Carvex/TextView/EditorTextOverlay.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/TextFormatLayer.h"
#include "Carvex/Text/TextRange.h"
#include "Carvex/Snippets/PlaceholderImageGenerator.h"

#include <QFont>
#include <QPixmap>
#include <QRectF>
#include <QRgba64>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace Carvex {

class PlaceholderManager;

// The display layers of a placeholder session in its text view: the chips, drawn over the
// default texts of the placeholders that still have one (only those on screen), and the snippet
// colours (the snippet's text, and text typed into its placeholders), laid over the token colours
// as a format layer of the view's colour layer, in the blocks on screen only. Neither touches the
// text, the undo history or the modified flag.
//
// A chip's look is drawn once into a small image and reused while its label, its place within a
// pixel, its size and its colours (read at every paint) stay the same, so a repaint with chips
// standing costs about what one without does.
class PlaceholderChipRenderer : public EditorTextOverlay, public TextFormatLayer {
public:
    explicit PlaceholderChipRenderer(const PlaceholderManager& manager) : manager_(manager) {}

    void paintOverlay(EditorTextView& view, QPainter& painter, const QRect& rect) override;
    // The snippet colours of the running session over a block (none without one).
    void appendFormats(int blockStart, int blockEnd, QList<QTextLayout::FormatRange>& ranges) const override;
    // The snippet colours over `range` changed without an edit there (the session ended): its
    // blocks take their formats again.
    static void recolor(EditorTextView& view, TextRange range);

    // One line's part of a range on screen: its rectangle (viewport coordinates) and its text.
    struct Segment {
        QRectF rect;
        TextRange range;
    };
    // The parts of `range` in the lines on screen, one per line it touches, within `clip`.
    static std::vector<Segment> segmentsOnScreen(const EditorTextView& view, TextRange range, const QRect& clip);
    // The same within blocks on screen already listed.
    static std::vector<Segment> segmentsOnScreen(const std::vector<EditorTextView::VisibleBlock>& blocks,
                                                 TextRange range, const QRect& clip);
    // How many chips the last paint drew.
    int paintedChipCount() const { return paintedChipCount_; }

    // How many chip images the renderer drew (not taken from those it keeps).
    int drawnImageCount() const { return drawnImageCount_; }

    // The room a chip on one line is given beside its text (by the spacing of the unit before it
    // and of its last unit) so that its label keeps the chip's padding: none when the text is wide
    // enough, or for a chip over several lines.
    struct Room {
        qreal before = 0;
        qreal after = 0;
    };
    static Room roomFor(const QFont& textFont, QStringView text, TextRange range);
    // How much wider a chip's image is than its text (negative when the text is wider).
    static qreal roomNeeded(const QFont& textFont, QStringView chip);

private:
    struct ChipImage {
        QString label;
        QRectF local;  // the chip's rectangle within the image (its place within a pixel kept)
        QRgba64 background;
        QRgba64 border;
        QRgba64 text;
        qreal pixelRatio = 1;
        QPixmap pixmap;
    };
    // The image of a chip drawn at `local` (within its pixel) in `colors`.
    const QPixmap& chipImage(QStringView label, const QRectF& local, const PlaceholderImageGenerator::ChipColors& colors,
                             qreal pixelRatio);

    static Room roomFor(const QFont& textFont, QStringView text, TextRange range,
                        const std::function<qreal(QStringView)>& needed);
    // `roomFor`, with the widths of the chips met before remembered (for one text font).
    Room room(const QFont& textFont, QStringView text, TextRange range) const;

    const PlaceholderManager& manager_;
    mutable QFont neededFont_;
    mutable std::vector<std::pair<QString, qreal>> needed_;
    int paintedChipCount_ = 0;
    int drawnImageCount_ = 0;
    std::vector<ChipImage> images_;  // most recently used last
};

}  // namespace Carvex
