#include "Carvex/Snippets/PlaceholderChipRenderer.h"

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/Snippets/PlaceholderImageGenerator.h"
#include "Carvex/Snippets/PlaceholderManager.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace Carvex {

namespace {

// Chip images kept for reuse, and the largest chip kept (a longer one is drawn each time).
constexpr std::size_t keptImages = 64;
constexpr qreal largestKeptWidth = 2048;
constexpr qreal largestKeptHeight = 256;

// Chips longer than this are wide enough for their label anyway (the label's font is smaller).
constexpr qsizetype longestRoomyChip = 16;

bool isLineBreak(QChar c) {
    const char16_t unit = c.unicode();
    return unit == u'\n' || unit == u'\r' || unit == 0x0085 || unit == 0x2028 || unit == 0x2029;
}

QTextCharFormat spacedAfter(qreal spacing) {
    QTextCharFormat format;
    format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
    format.setFontLetterSpacing(spacing);
    return format;
}

}  // namespace

PlaceholderChipRenderer::Room PlaceholderChipRenderer::roomFor(const QFont& textFont, QStringView text,
                                                               TextRange range) {
    return roomFor(textFont, text, range, [&](QStringView chip) { return roomNeeded(textFont, chip); });
}

qreal PlaceholderChipRenderer::roomNeeded(const QFont& textFont, QStringView chip) {
    return PlaceholderImageGenerator::imageSize(chip).width() -
           QFontMetricsF(textFont).horizontalAdvance(chip.toString());
}

PlaceholderChipRenderer::Room PlaceholderChipRenderer::roomFor(const QFont& textFont, QStringView text,
                                                               TextRange range,
                                                               const std::function<qreal(QStringView)>& needed) {
    (void)textFont;
    if (range.length <= 0 || range.length > longestRoomyChip || range.location < 0 || range.end() > text.size()) {
        return {};
    }
    const QStringView chip = text.mid(range.location, range.length);
    if (std::any_of(chip.begin(), chip.end(), isLineBreak)) {
        return {};
    }
    const qreal need = needed(chip);
    if (need <= 0) {
        return {};
    }
    // Room before the chip is the spacing of the unit before it, on the same line only.
    const bool unitBefore = range.location > 0 && !isLineBreak(text[range.location - 1]);
    const qreal before = unitBefore ? std::ceil(need / 2) : 0;
    return Room{before, std::ceil(need - before)};
}

std::vector<PlaceholderChipRenderer::Segment> PlaceholderChipRenderer::segmentsOnScreen(const EditorTextView& view,
                                                                                     TextRange range,
                                                                                     const QRect& clip) {
    return segmentsOnScreen(view.visibleBlocks(), range, clip);
}

std::vector<PlaceholderChipRenderer::Segment> PlaceholderChipRenderer::segmentsOnScreen(
    const std::vector<EditorTextView::VisibleBlock>& blocks, TextRange range, const QRect& clip) {
    std::vector<Segment> extents;
    const qsizetype start = range.location;
    const qsizetype end = range.end();
    if (range.length <= 0) {
        return extents;
    }
    // The first block that ends after the range starts.
    auto first = std::partition_point(blocks.begin(), blocks.end(), [start](const EditorTextView::VisibleBlock& visible) {
        return visible.block.position() + visible.block.length() <= start;
    });
    for (auto it = first; it != blocks.end(); ++it) {
        const EditorTextView::VisibleBlock& visible = *it;
        const qsizetype blockStart = visible.block.position();
        if (blockStart >= end) {
            break;
        }
        if (blockStart + visible.block.length() <= start || !visible.geometry.intersects(clip)) {
            continue;
        }
        const QTextLayout* layout = visible.block.layout();
        if (layout == nullptr) {
            continue;
        }
        const QPointF origin = visible.geometry.topLeft() + layout->position();
        const int from = static_cast<int>(std::max(start, blockStart) - blockStart);
        const int to = static_cast<int>(std::min(end, blockStart + visible.block.length() - 1) - blockStart);
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int lineStart = line.textStart();
            const int lineEnd = lineStart + line.textLength();
            const int segmentStart = std::max(from, lineStart);
            const int segmentEnd = std::min(to, lineEnd);
            if (segmentStart >= segmentEnd) {
                continue;
            }
            const qreal top = origin.y() + line.y();
            if (top > clip.bottom() + 1 || top + line.height() < clip.top()) {
                continue;
            }
            const qreal x1 = origin.x() + line.cursorToX(segmentStart);
            const qreal x2 = origin.x() + line.cursorToX(segmentEnd);
            extents.push_back(Segment{QRectF(std::min(x1, x2), top, std::abs(x2 - x1), line.height()),
                                      TextRange{blockStart + segmentStart, segmentEnd - segmentStart}});
        }
    }
    return extents;
}

void PlaceholderChipRenderer::paintOverlay(EditorTextView& view, QPainter& painter, const QRect& rect) {
    paintedChipCount_ = 0;
    const PlaceholderSession* session = manager_.session();
    if (session == nullptr || !session->isActive()) {
        return;
    }
    const TextRange visible = view.visibleCharacterRange();
    const std::vector<EditorTextView::VisibleBlock> blocks = view.visibleBlocks();
    // Images are reused only where they land pixel for pixel as drawing would.
    const bool reusable = painter.transform().type() <= QTransform::TxTranslate &&
                          painter.transform().dx() == std::floor(painter.transform().dx()) &&
                          painter.transform().dy() == std::floor(painter.transform().dy());
    const qreal pixelRatio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
    const bool isDark = PlaceholderImageGenerator::isDarkAppearance();
    const QString& text = view.viewText();
    for (const Placeholder& placeholder : session->placeholders()) {
        if (!placeholder.attachment || placeholder.range.length <= 0 || placeholder.range.end() > text.size() ||
            placeholder.range.end() < visible.location || placeholder.range.location > visible.end()) {
            continue;
        }
        const PlaceholderImageGenerator::ChipColors colors =
            PlaceholderImageGenerator::colors(manager_.themeStore(), placeholder.attachment->isActive(), isDark);
        const Room room = this->room(view.document()->defaultFont(), text, placeholder.range);
        // Each line of a chip shows the part of its text on that line.
        for (Segment segment : segmentsOnScreen(blocks, placeholder.range, rect)) {
            segment.rect.setLeft(segment.rect.left() - room.before);
            const QStringView label = QStringView(text).mid(segment.range.location, segment.range.length);
            if (!reusable || segment.rect.width() > largestKeptWidth || segment.rect.height() > largestKeptHeight) {
                PlaceholderImageGenerator::drawChip(painter, segment.rect, label, colors);
                continue;
            }
            const QPointF pixel(std::floor(segment.rect.left()), std::floor(segment.rect.top()));
            painter.drawPixmap(pixel, chipImage(label, segment.rect.translated(-pixel), colors, pixelRatio));
        }
        ++paintedChipCount_;
    }
}

PlaceholderChipRenderer::Room PlaceholderChipRenderer::room(const QFont& textFont, QStringView text,
                                                            TextRange range) const {
    if (textFont != neededFont_) {
        needed_.clear();
        neededFont_ = textFont;
    }
    return roomFor(textFont, text, range, [&](QStringView chip) {
        for (const auto& [label, need] : needed_) {
            if (label == chip) {
                return need;
            }
        }
        if (needed_.size() >= keptImages) {
            needed_.erase(needed_.begin());
        }
        const qreal need = roomNeeded(textFont, chip);
        needed_.emplace_back(chip.toString(), need);
        return need;
    });
}

const QPixmap& PlaceholderChipRenderer::chipImage(QStringView label, const QRectF& local,
                                                  const PlaceholderImageGenerator::ChipColors& colors,
                                                  qreal pixelRatio) {
    const QRgba64 background = colors.background.rgba64();
    const QRgba64 border = colors.border.rgba64();
    const QRgba64 textColor = colors.text.rgba64();
    for (auto it = images_.rbegin(); it != images_.rend(); ++it) {
        if (it->local == local && it->pixelRatio == pixelRatio && it->background == background &&
            it->border == border && it->text == textColor && it->label == label) {
            if (it != images_.rbegin()) {
                std::rotate(std::prev(it.base()), it.base(), images_.end());
            }
            return images_.back().pixmap;
        }
    }
    if (images_.size() >= keptImages) {
        images_.erase(images_.begin());
    }
    QPixmap pixmap(QSize(static_cast<int>(std::ceil(local.right() * pixelRatio)),
                         static_cast<int>(std::ceil(local.bottom() * pixelRatio))));
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        PlaceholderImageGenerator::drawChip(painter, local, label, colors);
    }
    ++drawnImageCount_;
    images_.push_back(ChipImage{label.toString(), local, background, border, textColor, pixelRatio, std::move(pixmap)});
    return images_.back().pixmap;
}

void PlaceholderChipRenderer::appendFormats(int blockStart, int blockEnd,
                                            QList<QTextLayout::FormatRange>& ranges) const {
    const PlaceholderSession* session = manager_.session();
    const std::optional<TextRange> extent = manager_.snippetExtent();
    if (session == nullptr || !session->isActive() || !extent) {
        return;
    }
    const auto meets = [&](TextRange range) { return range.location < blockEnd && range.end() > blockStart; };
    const auto append = [&](TextRange range, const QColor& color) {
        const qsizetype from = std::max<qsizetype>(range.location, blockStart);
        const qsizetype to = std::min<qsizetype>(range.end(), blockEnd);
        QTextCharFormat format;
        format.setForeground(color);
        ranges.append(QTextLayout::FormatRange{static_cast<int>(from - blockStart), static_cast<int>(to - from), format});
    };
    if (meets(*extent)) {
        append(*extent, manager_.themeColor(SyntaxThemePreferenceKey::snippetTextColor));
    }
    std::optional<QColor> typed;
    for (const Placeholder& placeholder : session->placeholders()) {
        if (!placeholder.attachment && placeholder.range.length > 0 && meets(placeholder.range)) {
            if (!typed) {
                typed = manager_.themeColor(SyntaxThemePreferenceKey::snippetInputTextColor);
            }
            append(placeholder.range, *typed);
        }
    }
    // Room beside short chips, made by the layout, so that nothing is drawn over the text around.
    const EditorTextView* view = manager_.textView();
    if (view == nullptr) {
        return;
    }
    for (const Placeholder& placeholder : session->placeholders()) {
        const TextRange range = placeholder.range;
        if (!placeholder.attachment || range.location < blockStart || range.end() >= blockEnd) {
            continue;
        }
        const Room room = this->room(view->document()->defaultFont(), view->viewText(), range);
        if (room.before > 0) {
            ranges.append(QTextLayout::FormatRange{static_cast<int>(range.location - 1 - blockStart), 1,
                                                   spacedAfter(room.before)});
        }
        if (room.after > 0) {
            ranges.append(QTextLayout::FormatRange{static_cast<int>(range.end() - 1 - blockStart), 1,
                                                   spacedAfter(room.after)});
        }
    }
}

void PlaceholderChipRenderer::recolor(EditorTextView& view, TextRange range) {
    view.colorLayer().invalidate(range);
}

}  // namespace Carvex
