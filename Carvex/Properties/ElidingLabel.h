#pragma once

#include <QLabel>

namespace Carvex {

// A one-line label that cuts its text with an ellipsis (at the tail, or in the middle) when it is
// narrower than the text; `text()` stays the whole text, and a cut text shows whole as the label's
// tooltip unless a tooltip of its own was set. Main thread only.
class ElidingLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidingLabel(const QString& text = {}, Qt::TextElideMode mode = Qt::ElideRight, QWidget* parent = nullptr);

    Qt::TextElideMode elideMode() const { return mode_; }
    // The text as drawn at the label's width.
    QString elidedText() const;
    // What hovering shows: the tooltip set on the label, else the whole text when it is cut, else nothing.
    QString effectiveToolTip() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    Qt::TextElideMode mode_;
};

}  // namespace Carvex
