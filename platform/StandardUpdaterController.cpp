#include "platform/StandardUpdaterController.h"

#include "platform/AlertPresenter.h"

#include <QApplication>
#include <QWidget>

namespace CarvexPlatform {

StandardUpdaterController::StandardUpdaterController(bool startingUpdater) : started_(startingUpdater) {}

void StandardUpdaterController::checkForUpdates(QObject* /*sender*/) {
    Alert alert;
    alert.style = AlertStyle::informational;
    alert.messageText = messageText;
    alert.informativeText = informativeText;
    alert.buttons = {QStringLiteral("OK")};
    AlertPresenter::shared().present(alert, nullptr, [](int) {});
}

}  // namespace CarvexPlatform
