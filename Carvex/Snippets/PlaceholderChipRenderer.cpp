#include "Carvex/Snippets/PlaceholderChipRenderer.h"

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Snippets/PlaceholderImageGenerator.h"
#include "Carvex/Snippets/PlaceholderManager.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>

namespace Carvex {

namespace {

// Marks the extra selections that carry snippet colours, so that those of others are kept.
constexpr int snippetColorProperty = QTextFormat::UserProperty + 0x5C1;

QTextEdit::ExtraSelection colored(EditorTextView& view, TextRange range, const QColor& color) {
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(view.document());
    const qsizetype length = view.textLength();
    selection.cursor.setPosition(static_cast<int>(std::clamp<qsizetype>(range.location, 0, length)));
    selection.cursor.setPosition(static_cast<int>(std::clamp<qsizetype>(range.end(), 0, length)),
                                 QTextCursor::KeepAnchor);
    selection.format.setForeground(color);
    selection.format.setProperty(snippetColorProperty, true);
    return selection;
}

}  // namespace

std::vector<PlaceholderChipRenderer::Segment> PlaceholderChipRenderer::segmentsOnScreen(const EditorTextView& view,
                                                                                     TextRange range,
                                                                                     const QRect& clip) {
    std::vector<Segment> extents;
    const qsizetype start = range.location;
    const qsizetype end = range.end();
    if (range.length <= 0) {
        return extents;
    }
    for (const EditorTextView::VisibleBlock& visible : view.visibleBlocks()) {
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
    const bool isDark = PlaceholderImageGenerator::isDarkAppearance();
    const QString& text = view.viewText();
    for (const Placeholder& placeholder : session->placeholders()) {
        if (!placeholder.attachment || placeholder.range.length <= 0 || placeholder.range.end() > text.size() ||
            placeholder.range.end() < visible.location || placeholder.range.location > visible.end()) {
            continue;
        }
        const PlaceholderImageGenerator::ChipColors colors =
            PlaceholderImageGenerator::colors(manager_.themeStore(), placeholder.attachment->isActive(), isDark);
        // Each line of a chip shows the part of its text on that line.
        for (const Segment& segment : segmentsOnScreen(view, placeholder.range, rect)) {
            PlaceholderImageGenerator::drawChip(painter, segment.rect,
                                                QStringView(text).mid(segment.range.location, segment.range.length),
                                                colors);
        }
        ++paintedChipCount_;
    }
}

void PlaceholderChipRenderer::updateSnippetColors(EditorTextView& view) const {
    QList<QTextEdit::ExtraSelection> selections;
    for (const QTextEdit::ExtraSelection& selection : view.extraSelections()) {
        if (!selection.format.hasProperty(snippetColorProperty)) {
            selections.push_back(selection);
        }
    }
    const PlaceholderSession* session = manager_.session();
    const std::optional<TextRange> extent = manager_.snippetExtent();
    if (session != nullptr && session->isActive() && extent) {
        selections.push_back(colored(view, *extent, manager_.themeColor(SyntaxThemePreferenceKey::snippetTextColor)));
        const QColor typed = manager_.themeColor(SyntaxThemePreferenceKey::snippetInputTextColor);
        for (const Placeholder& placeholder : session->placeholders()) {
            if (!placeholder.attachment && placeholder.range.length > 0) {
                selections.push_back(colored(view, placeholder.range, typed));
            }
        }
    }
    view.setExtraSelections(selections);
}

}  // namespace Carvex
