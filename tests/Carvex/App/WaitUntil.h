#pragma once

#include "platform/BackgroundTask.h"
#include "platform/MainScheduler.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>
#include <memory>

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

// Runs the event loop until the work posted to the main scheduler before this call has run (work
// posted from the main thread runs in the order posted), for at most `milliseconds`.
inline bool waitForWorkPostedEarlier(int milliseconds = 30000) {
    auto reached = std::make_shared<bool>(false);
    CarvexPlatform::MainScheduler::shared()->post([reached] { *reached = true; });
    return waitUntil([reached] { return *reached; }, milliseconds);
}

}  // namespace CarvexTest
