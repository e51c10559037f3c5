#pragma once

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

// Types "x" into `view` and repaints its viewport at once; answers the seconds that took on the
// main thread (from the key press until the screen shows it).
inline double typeOneKeyAndRepaint(QAbstractScrollArea& view) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QElapsedTimer timer;
    timer.start();
    QApplication::sendEvent(&view, &press);
    view.viewport()->repaint();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}
