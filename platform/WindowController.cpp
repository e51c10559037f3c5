#include "platform/WindowController.h"

#include "platform/MainScheduler.h"
#include "platform/NotificationCenter.h"
#include "platform/ViewController.h"

#include <QCloseEvent>
#include <QMainWindow>

namespace CarvexPlatform {

WindowController::WindowController() = default;

WindowController::~WindowController() {
    if (window_) {
        window_->removeEventFilter(this);
        if (content_ && content_->isViewLoaded()) {
            // The content controller deletes its own view.
            content_->view()->setParent(nullptr);
        }
    }
    content_.reset();
    delete window_.data();
}

QMainWindow* WindowController::window() {
    if (!window_) {
        QMainWindow* window = loadWindow();
        window_ = window ? window : new QMainWindow();
        window_->installEventFilter(this);
        if (content_) {
            window_->setCentralWidget(content_->view());
        }
        windowDidLoad();
    }
    return window_;
}

QMainWindow* WindowController::loadWindow() { return new QMainWindow(); }

void WindowController::setContentViewController(std::unique_ptr<ViewController> controller) {
    if (window_ && content_ && content_->isViewLoaded()) {
        window_->takeCentralWidget();
    }
    content_ = std::move(controller);
    if (window_ && content_) {
        window_->setCentralWidget(content_->view());
    }
}

void WindowController::setDocument(Document* document) { document_ = document; }

void WindowController::showWindow() {
    QMainWindow* shown = window();
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void WindowController::close() {
    if (window_) {
        window_->close();
    }
}

void WindowController::closeWithoutAsking() {
    closeApproved_ = true;
    close();
}

void WindowController::synchronizeWindowTitleWithDocumentName() {}

bool WindowController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Close) {
        NotificationCenter::defaultCenter().post(windowWillCloseNotification, window_.data());
        windowClosed();
    }
    return QObject::eventFilter(watched, event);
}

void WindowController::windowClosed() { closeApproved_ = false; }

}  // namespace CarvexPlatform
