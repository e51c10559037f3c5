#include "Carvex/Console/ConsoleRowDelegate.h"

#include "platform/Appearance.h"
#include "platform/SystemColor.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace Carvex {

namespace {

QFont systemFont(double points) {
    QFont font = QApplication::font();
    font.setPointSizeF(points);
    return font;
}

constexpr int kInset = 4;
constexpr int kSpacing = 8;
constexpr int kIconSize = 16;
constexpr int kMetadataIndent = 24;
constexpr int kDescriptionLeading = 32;
constexpr int kDescriptionTrailing = 8;

}  // namespace

QFont ConsoleRowDelegate::timestampFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(11);
    font.setWeight(QFont::Normal);
    return font;
}

QFont ConsoleRowDelegate::messageFont() { return systemFont(12); }
QFont ConsoleRowDelegate::metadataFont() { return systemFont(10); }
QFont ConsoleRowDelegate::descriptionFont() { return systemFont(11); }

ConsoleRowDelegate::Layout ConsoleRowDelegate::layout(const QRect& cell, ConsoleOutlineModel::RowKind kind,
                                                      const QString& timestamp) {
    Layout parts;
    if (kind == ConsoleOutlineModel::RowKind::description) {
        parts.description = QRect(cell.left() + kDescriptionLeading, cell.top() + 4,
                                  std::max(0, cell.width() - kDescriptionLeading - kDescriptionTrailing),
                                  std::max(0, cell.height() - 8));
        return parts;
    }
    const QFontMetrics stampMetrics(timestampFont());
    const QFontMetrics messageMetrics(messageFont());
    const QFontMetrics metadataMetrics(metadataFont());
    const int lineHeight = std::max({kIconSize, stampMetrics.height(), messageMetrics.height()});
    const bool twoLines = kind == ConsoleOutlineModel::RowKind::entryTwoLines;
    const int group = twoLines ? lineHeight + 1 + metadataMetrics.height() : lineHeight;
    const int top = cell.top() + (cell.height() - group) / 2;
    const int left = cell.left() + kInset;
    const int right = cell.right() - kInset;
    parts.icon = QRect(left, top + (lineHeight - kIconSize) / 2, kIconSize, kIconSize);
    const int stampLeft = parts.icon.right() + 1 + kSpacing;
    parts.timestamp = QRect(stampLeft, top, stampMetrics.horizontalAdvance(timestamp), lineHeight);
    const int messageLeft = parts.timestamp.right() + 1 + kSpacing;
    parts.message = QRect(messageLeft, top, std::max(0, right - messageLeft + 1), lineHeight);
    if (twoLines) {
        parts.metadata = QRect(left + kMetadataIndent, top + lineHeight + 1,
                               std::max(0, right - left - kMetadataIndent + 1), metadataMetrics.height());
    }
    return parts;
}

const QImage& ConsoleRowDelegate::icon(LogLevel level) const {
    const bool dark = CarvexPlatform::Appearance::shared().isDark();
    auto it = icons_.find({level, dark});
    if (it == icons_.end()) {
        it = icons_.emplace(std::make_pair(level, dark), makeIcon(level, kIconSize).value_or(QImage())).first;
    }
    return it->second;
}

void ConsoleRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const auto* model = qobject_cast<const ConsoleOutlineModel*>(index.model());
    const LogEntry* entry = model ? model->entryAt(index) : nullptr;
    if (!entry) return;
    const ConsoleOutlineModel::RowKind kind = model->kindAt(index);
    const bool emphasised = (option.state & QStyle::State_Selected) && (option.state & QStyle::State_Active);
    auto colour = [&](CarvexPlatform::SystemColor normal) {
        return emphasised ? QColor(Qt::white) : CarvexPlatform::systemColor(normal);
    };
    painter->save();
    painter->setClipRect(option.rect);
    if (kind == ConsoleOutlineModel::RowKind::description) {
        const Layout parts = layout(option.rect, kind, {});
        painter->setFont(descriptionFont());
        painter->setPen(colour(CarvexPlatform::SystemColor::secondaryLabel));
        painter->drawText(parts.description, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                          entry->errorDescription.value_or(QString()));
        painter->restore();
        return;
    }
    const QString timestamp = entry->formattedTimestamp();
    const Layout parts = layout(option.rect, kind, timestamp);
    const QImage& image = icon(entry->level);
    if (!image.isNull()) {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(QRectF(parts.icon), image);
    }
    painter->setFont(timestampFont());
    painter->setPen(colour(CarvexPlatform::SystemColor::secondaryLabel));
    painter->drawText(parts.timestamp, Qt::AlignLeft | Qt::AlignVCenter, timestamp);
    const QFontMetrics messageMetrics(messageFont());
    painter->setFont(messageFont());
    painter->setPen(colour(CarvexPlatform::SystemColor::label));
    // One line: a message with line breaks shows its first line.
    const QString message = entry->message.section(u'\n', 0, 0);
    painter->drawText(parts.message, Qt::AlignLeft | Qt::AlignVCenter,
                      messageMetrics.elidedText(message, Qt::ElideRight, parts.message.width()));
    if (!parts.metadata.isEmpty()) {
        const QFontMetrics metadataMetrics(metadataFont());
        painter->setFont(metadataFont());
        painter->setPen(colour(CarvexPlatform::SystemColor::tertiaryLabel));
        painter->drawText(parts.metadata, Qt::AlignLeft | Qt::AlignVCenter,
                          metadataMetrics.elidedText(entry->formattedLocationMetadata().value_or(QString()),
                                                     Qt::ElideRight, parts.metadata.width()));
    }
    painter->restore();
}

QSize ConsoleRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const {
    const auto* model = qobject_cast<const ConsoleOutlineModel*>(index.model());
    if (!model) return QSize(0, 24);
    return QSize(0, ConsoleOutlineModel::height(model->kindAt(index)));
}

}  // namespace Carvex
