#include "platform/ModalWindows.h"

#include "platform/AlertPresenter.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace CarvexPlatform {

void ModalWindows::cancelAll() {
    // The alerts first: they know their cancelling answer, where closing one would pick for it.
    AlertPresenter::shared().cancelAll();
    std::vector<QPointer<QWidget>> modal;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowModality() != Qt::NonModal) {
            modal.emplace_back(window);
        }
    }
    for (const QPointer<QWidget>& window : modal) {
        if (window && window->isVisible()) {
            window->close();
        }
    }
}

}  // namespace CarvexPlatform
