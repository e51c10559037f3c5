#pragma once

#include "platform/BackgroundTask.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>

namespace CarvexTest {

// Runs the event loop and the background tasks until `done` holds, for at most `milliseconds`.
inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 30000) {
    const QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        CarvexPlatform::BackgroundTask::waitForIdle();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace CarvexTest
