#include "Carvex/Manual/WebViewEnvironment.h"

#include "Carvex/Manual/ManualSchemeHandler.h"

#include <QCoreApplication>
#include <unistd.h>

namespace Carvex {

void WebViewEnvironment::prepareBeforeApplication() {
    ManualSchemeHandler::registerScheme();
    if (QCoreApplication::instance() == nullptr) {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    }
    disableSandboxWhenRoot();
}

void WebViewEnvironment::disableSandboxWhenRoot() {
    if (runsAsRoot()) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
}

bool WebViewEnvironment::runsAsRoot() { return ::geteuid() == 0; }

}  // namespace Carvex
