#include "Carvex/Windows/WelcomeWindowController.h"

#include "Carvex/Windows/WelcomeViewController.h"
#include "platform/Storyboard.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

namespace Carvex {

namespace {

WelcomeWindowController*& sharedInstance() {
    static WelcomeWindowController* controller = nullptr;
    return controller;
}

void centre(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

}  // namespace

WelcomeWindowController& WelcomeWindowController::shared() {
    if (!sharedInstance()) {
        // Kept for the life of the process.
        sharedInstance() = new WelcomeWindowController();
    }
    return *sharedInstance();
}

bool WelcomeWindowController::isLoaded() { return sharedInstance() != nullptr; }

void WelcomeWindowController::closeIfLoaded() {
    if (sharedInstance() && sharedInstance()->isWindowLoaded()) {
        sharedInstance()->closeWithoutAsking();
    }
}

WelcomeWindowController::WelcomeWindowController() {
    auto content = CarvexPlatform::Storyboard::main().instantiateController<WelcomeViewController>(
        WelcomeViewController::sceneIdentifier);
    if (content) {
        welcomeViewController_ = content.get();
        setContentViewController(std::move(content));
    }
    window();
}

QMainWindow* WelcomeWindowController::loadWindow() {
    auto* window = new QMainWindow();
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    window->setMinimumSize(600, 400);
    // Not resizable: the minimum only matters should the fixed size ever be lifted.
    window->setFixedSize(700, 500);
    window->setWindowTitle(windowTitle);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    centre(window);
    return window;
}

void WelcomeWindowController::showWelcomeWindow() {
    if (welcomeViewController_) {
        welcomeViewController_->reloadRecentDocuments();
    }
    QMainWindow* shown = window();
    centre(shown);
    showWindow();
}

}  // namespace Carvex
