#pragma once

#include <QLayout>
#include <QList>

namespace Carvex {

// Lays its items out left to right, each at its preferred width, and goes on in a new line when
// the next one does not fit, so a row of labels and buttons stays whole in a narrow pane. The items
// of a line stand on one text baseline. An item wider than a whole line gets the line's width
// (eliding labels cut their text). Main thread only.
class FlowLayout : public QLayout {
public:
    FlowLayout(QWidget* parent, int horizontalSpacing, int verticalSpacing);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;
    void invalidate() override;

private:
    // Places the items in `rect` (only measures when `apply` is false); answers the height used.
    int arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> items_;
    int horizontalSpacing_;
    int verticalSpacing_;
    // The last height asked for, by width: a box layout asks again and again while it settles.
    mutable int measuredWidth_ = -1;
    mutable int measuredHeight_ = 0;
};

}  // namespace Carvex
