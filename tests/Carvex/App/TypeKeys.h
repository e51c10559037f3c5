#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

namespace CarvexTest {

// Types text as key presses into the widget that has the keyboard, a line break as Return.
inline void type(QWidget* view, const QString& text) {
    for (const QChar character : text) {
        if (character == QLatin1Char('\n')) {
            QTest::keyClick(view, Qt::Key_Return);
        } else {
            QTest::keyClicks(view, QString(character));
        }
    }
}

} // namespace CarvexTest
