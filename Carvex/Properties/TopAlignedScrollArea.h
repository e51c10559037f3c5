#pragma once

#include <QFrame>
#include <QScrollArea>
#include <QVBoxLayout>

namespace Carvex {

// A frameless scroll area, scrolling only up and down, that holds `content` at the top of its room
// above a stretch. (A layout aligned to the top would take its height from the rows' one-line hints
// and squeeze rows that wrap.) The content goes into a column widget: the scroll area's `widget()`.
inline QScrollArea* makeTopAlignedScrollArea(QWidget* content) {
    auto* scrollArea = new QScrollArea();
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setWidgetResizable(true);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* column = new QWidget();
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    columnLayout->setSpacing(0);
    columnLayout->addWidget(content);
    columnLayout->addStretch(1);
    scrollArea->setWidget(column);
    return scrollArea;
}

}  // namespace Carvex
