#pragma once

#include "Carvex/Logging/LogEntry.h"

#include <QLabel>
#include <QWidget>

namespace Carvex {

// The floating panel that shows a whole log entry while the pointer rests on its row: the message,
// the error description and the location metadata, wrapping at 400 points, on a rounded dark
// background. It never takes the focus or mouse events and never activates its window.
class ConsoleTooltipPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTextWidth = 400;
    static constexpr int kMaximumWidth = 416;

    explicit ConsoleTooltipPanel(const LogEntry& entry);

    QLabel* label() const { return label_; }
    // The panel's text: the message (12 points, label colour), then on their own lines the error
    // description (11 points) and the location metadata (10 points), both in the secondary colour.
    static QString richText(const LogEntry& entry);
    // The size the text takes when it wraps at 400 points.
    static QSize fittingSize(const QString& richText);
    // Places the panel 4 points right of and 8 points below a point in screen coordinates.
    void placeAt(const QPoint& globalPoint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* label_;
};

}  // namespace Carvex
