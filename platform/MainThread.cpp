#include "platform/MainThread.h"

#include <QCoreApplication>
#include <QThread>
#include <thread>

namespace CarvexPlatform {

namespace {
// Static initialisation runs on the thread that starts the process.
const std::thread::id startingThread = std::this_thread::get_id();
}  // namespace

bool MainThread::isCurrent() {
    if (auto* app = QCoreApplication::instance()) {
        return QThread::currentThread() == app->thread();
    }
    return std::this_thread::get_id() == startingThread;
}

}  // namespace CarvexPlatform
