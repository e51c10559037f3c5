#pragma once

#include <QLabel>

namespace Carvex {

// A one-line label that cuts its text with an ellipsis (at the tail, or in the middle) when it is
// narrower than the text; `text()` stays the whole text. Main thread only.
class ElidingLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidingLabel(const QString& text = {}, Qt::TextElideMode mode = Qt::ElideRight, QWidget* parent = nullptr);

    Qt::TextElideMode elideMode() const { return mode_; }
    // The text as drawn at the label's width.
    QString elidedText() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::TextElideMode mode_;
};

}  // namespace Carvex
