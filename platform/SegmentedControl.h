#pragma once
#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

class QToolButton;

namespace CarvexPlatform {

// A row of joined buttons, each an image with its own tool tip and enabled state. In the momentary
// tracking mode a click selects nothing lasting: `selectedSegment` is the segment last clicked,
// for the action to read. Main thread only.
class SegmentedControl : public QWidget {
    Q_OBJECT

public:
    explicit SegmentedControl(int segmentCount, QWidget* parent = nullptr);

    int segmentCount() const { return static_cast<int>(buttons_.size()); }
    void setImage(int segment, const QImage& image);
    void setToolTip(int segment, const QString& toolTip);
    QString toolTip(int segment) const;
    void setEnabled(int segment, bool enabled);
    bool isEnabled(int segment) const;
    // The segment last clicked, -1 before the first click.
    int selectedSegment() const { return selectedSegment_; }
    // Clicks a segment as the user would; a disabled segment does nothing.
    void performClick(int segment);
    QToolButton* button(int segment) const;

    using QWidget::isEnabled;
    using QWidget::setEnabled;
    using QWidget::setToolTip;
    using QWidget::toolTip;

signals:
    // A segment was clicked (`selectedSegment` is set first).
    void activated(int segment);

private:
    std::vector<QToolButton*> buttons_;
    int selectedSegment_ = -1;
};

}  // namespace CarvexPlatform
