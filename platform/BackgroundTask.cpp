#include "platform/BackgroundTask.h"

#include <QThreadPool>

namespace CarvexPlatform {

void BackgroundTask::start(std::function<void()> job) {
    QThreadPool::globalInstance()->start(std::move(job));
}

void BackgroundTask::waitForIdle() { QThreadPool::globalInstance()->waitForDone(); }

}  // namespace CarvexPlatform
