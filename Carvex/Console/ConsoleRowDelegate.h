#pragma once

#include "Carvex/Console/ConsoleOutlineModel.h"

#include <QFont>
#include <QHash>
#include <QUuid>
#include <QImage>
#include <QRect>
#include <QStyledItemDelegate>

#include <map>
#include <utility>

namespace Carvex {

// Paints the console's rows. An entry row: the level's icon (16 by 16, tinted with the level's
// colour), "[HH:mm:ss]" (monospaced, 11 points, secondary), the message (12 points, cut at the end
// first when space runs short) and, for an entry with location metadata, a second line with the
// metadata (10 points, tertiary) 24 points in. A description row: the error description, wrapped,
// 11 points, secondary, 32 points in. Texts turn white on a selected row of the active window.
class ConsoleRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    // Where the parts of a row go, in viewport coordinates.
    struct Layout {
        QRect icon;
        QRect timestamp;
        QRect message;
        QRect metadata;     // empty on one-line rows
        QRect description;  // description rows only
    };

    explicit ConsoleRowDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}

    static QFont timestampFont();
    static QFont messageFont();
    static QFont metadataFont();
    static QFont descriptionFont();

    // The parts of a row of `kind` in the cell `cell`, for an entry with `timestamp` text.
    static Layout layout(const QRect& cell, ConsoleOutlineModel::RowKind kind, const QString& timestamp);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const QImage& icon(LogLevel level) const;
    // "[HH:mm:ss]" of an entry: turning a time into local time reads the zone each time, so the rows
    // painted recently keep theirs.
    const QString& timestamp(const LogEntry& entry) const;

    mutable std::map<std::pair<LogLevel, bool>, QImage> icons_;
    mutable QHash<QUuid, QString> timestamps_;
};

}  // namespace Carvex
