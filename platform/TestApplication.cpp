#include "platform/TestApplication.h"

#include <QApplication>
#include <QStandardPaths>

namespace CarvexPlatform {

void TestApplication::ensure() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    QStandardPaths::setTestModeEnabled(true);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "carvex-tests";
    static char* argv[] = {name, nullptr};
    // Kept for the process: objects made during tests may refer to it until exit.
    static QApplication* const app = new QApplication(argc, argv);
    (void)app;
}

void TestApplication::processEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

}  // namespace CarvexPlatform
