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
    static const QFont font = [] {
        QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        fixed.setPointSizeF(11);
        fixed.setWeight(QFont::Normal);
        return fixed;
    }();
    return font;
}

QFont ConsoleRowDelegate::messageFont() {
    static const QFont font = systemFont(12);
    return font;
}

QFont ConsoleRowDelegate::metadataFont() {
    static const QFont font = systemFont(10);
    return font;
}

QFont ConsoleRowDelegate::descriptionFont() {
    static const QFont font = systemFont(11);
    return font;
}

namespace {

// Metrics of the four fonts, made once: rows are laid out on every paint.
struct Metrics {
    QFontMetrics timestamp{ConsoleRowDelegate::timestampFont()};
    QFontMetrics message{ConsoleRowDelegate::messageFont()};
    QFontMetrics metadata{ConsoleRowDelegate::metadataFont()};
    int timestampWidth = timestamp.horizontalAdvance(QStringLiteral("[00:00:00]"));
};

const Metrics& metrics() {
    static const Metrics shared;
    return shared;
}

}  // namespace

ConsoleRowDelegate::Layout ConsoleRowDelegate::layout(const QRect& cell, ConsoleOutlineModel::RowKind kind,
                                                      const QString& timestamp) {
    Layout parts;
    if (kind == ConsoleOutlineModel::RowKind::description) {
        parts.description = QRect(cell.left() + kDescriptionLeading, cell.top() + 4,
                                  std::max(0, cell.width() - kDescriptionLeading - kDescriptionTrailing),
                                  std::max(0, cell.height() - 8));
        return parts;
    }
    const QFontMetrics& stampMetrics = metrics().timestamp;
    const QFontMetrics& messageMetrics = metrics().message;
    const QFontMetrics& metadataMetrics = metrics().metadata;
    const int lineHeight = std::max({kIconSize, stampMetrics.height(), messageMetrics.height()});
    const bool twoLines = kind == ConsoleOutlineModel::RowKind::entryTwoLines;
    const int group = twoLines ? lineHeight + 1 + metadataMetrics.height() : lineHeight;
    const int top = cell.top() + (cell.height() - group) / 2;
    const int left = cell.left() + kInset;
    const int right = cell.right() - kInset;
    parts.icon = QRect(left, top + (lineHeight - kIconSize) / 2, kIconSize, kIconSize);
    const int stampLeft = parts.icon.right() + 1 + kSpacing;
    // Timestamps are monospaced and of one length: measured once.
    const int stampWidth = timestamp.size() == 10 ? metrics().timestampWidth : stampMetrics.horizontalAdvance(timestamp);
    parts.timestamp = QRect(stampLeft, top, stampWidth, lineHeight);
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
        // Scaled to the icon's place once, so painting a row draws it without scaling.
        QImage image = makeIcon(level, kIconSize).value_or(QImage());
        if (!image.isNull() && image.size() != QSize(kIconSize, kIconSize)) {
            image = image.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        }
        it = icons_.emplace(std::make_pair(level, dark), std::move(image)).first;
    }
    return it->second;
}

const QString& ConsoleRowDelegate::timestamp(const LogEntry& entry) const {
    auto it = timestamps_.find(entry.id());
    if (it == timestamps_.end()) {
        // Enough for a few screens of rows; dropped whole when it grows past that.
        if (timestamps_.size() >= 2048) timestamps_.clear();
        it = timestamps_.insert(entry.id(), entry.formattedTimestamp());
    }
    return it.value();
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
    const QString& stamp = timestamp(*entry);
    const Layout parts = layout(option.rect, kind, stamp);
    const QImage& image = icon(entry->level);
    if (!image.isNull()) {
        painter->drawImage(parts.icon.topLeft() + QPoint((kIconSize - image.width()) / 2, (kIconSize - image.height()) / 2),
                           image);
    }
    painter->setFont(timestampFont());
    painter->setPen(colour(CarvexPlatform::SystemColor::secondaryLabel));
    painter->drawText(parts.timestamp, Qt::AlignLeft | Qt::AlignVCenter, stamp);
    const QFontMetrics& messageMetrics = metrics().message;
    painter->setFont(messageFont());
    painter->setPen(colour(CarvexPlatform::SystemColor::label));
    // One line: a message with line breaks shows its first line.
    const QString message = entry->message.section(u'\n', 0, 0);
    painter->drawText(parts.message, Qt::AlignLeft | Qt::AlignVCenter,
                      messageMetrics.elidedText(message, Qt::ElideRight, parts.message.width()));
    if (!parts.metadata.isEmpty()) {
        const QFontMetrics& metadataMetrics = metrics().metadata;
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
