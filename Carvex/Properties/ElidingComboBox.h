#pragma once

#include <QComboBox>

namespace Carvex {

// A pop-up button kept narrower than its longest title: the chosen title is cut with an ellipsis at
// the tail, and the list, when open, is as wide as its titles. Main thread only.
class ElidingComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit ElidingComboBox(QWidget* parent = nullptr);

    // The chosen title as drawn at the button's width.
    QString elidedText() const;
    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace Carvex
