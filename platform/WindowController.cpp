#include "platform/WindowController.h"

#include "platform/Document.h"
#include "platform/MainScheduler.h"
#include "platform/NotificationCenter.h"
#include "platform/ViewController.h"
#include "platform/WindowTabHost.h"

#include <QCloseEvent>
#include <memory>
#include <optional>
#include <QMainWindow>

namespace CarvexPlatform {

namespace {

constexpr const char* controllerProperty = "CarvexPlatform.windowController";

}  // namespace

WindowController::WindowController() = default;

WindowController* WindowController::controllerOfWindow(const QWidget* window) {
    if (!window) {
        return nullptr;
    }
    return qobject_cast<WindowController*>(window->property(controllerProperty).value<QObject*>());
}

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
        window_->setProperty(controllerProperty, QVariant::fromValue(static_cast<QObject*>(this)));
        if (content_) {
            window_->setCentralWidget(content_->view());
        }
        synchronizeWindowTitleWithDocumentName();
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
    // A window that is a tab is brought forward in its host.
    WindowTabHost::makeKeyAndOrderFront(window());
    makeFirstResponder(initialFirstResponder());
}

void WindowController::makeFirstResponder(QWidget* widget) {
    if (focusOnShow_) {
        focusOnShow_->removeEventFilter(this);
        focusOnShow_ = nullptr;
    }
    if (!widget) {
        return;
    }
    // In a window that is not active this only notes the widget as the one its window gives the
    // keys to on activation, and only as far up as the widget's ancestors are shown alike.
    widget->setFocus(Qt::OtherFocusReason);
    if (widget->isVisible()) {
        return;
    }
    // Content just put in a window on screen is shown on a later turn (its layout queues the show).
    // The window may be activated first: finding its focus widget hidden, Qt gives the keys to the
    // first widget in the tab chain (a tab host's tab bar), and none come back when the content
    // shows. The widget takes the focus once it is shown.
    focusOnShow_ = widget;
    widget->installEventFilter(this);
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

void WindowController::synchronizeWindowTitleWithDocumentName() {
    if (!window_ || !document_) {
        return;
    }
    // A "[*]" of the name itself is written doubled, which the window shows as it is.
    QString title = document_->displayName().replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    const bool edited = document_->isDocumentEdited();
    if (edited) {
        title += QStringLiteral("[*]");
    }
    // A window marked modified without a placeholder in its title draws a warning, and a tab host
    // follows each change on its own: the mark goes before the placeholder, and comes after it.
    if (!edited) {
        window_->setWindowModified(false);
    }
    window_->setWindowTitle(title);
    window_->setWindowModified(edited);
}

bool WindowController::eventFilter(QObject* watched, QEvent* event) {
    if (focusOnShow_ && watched == focusOnShow_ && event->type() == QEvent::Show) {
        QWidget* widget = focusOnShow_.data();
        widget->removeEventFilter(this);
        focusOnShow_ = nullptr;
        widget->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (watched != window_ || event->type() != QEvent::Close) {
        return QObject::eventFilter(watched, event);
    }
    if (document_ && !closeApproved_) {
        // The document decides first: saving, or asking the user, may keep the window open.
        if (askingToClose_) {
            event->ignore();
            return true;
        }
        askingToClose_ = true;
        // An answer given at once decides this very close: a second close from inside this one
        // would be swallowed by the window, which is closing already.
        struct Answer {
            bool inside = true;
            std::optional<bool> closable;
        };
        auto answer = std::make_shared<Answer>();
        QPointer<WindowController> guard(this);
        document_->shouldCloseWindowController(this, [guard, answer](bool closable) {
            if (answer->inside) {
                answer->closable = closable;
                return;
            }
            if (!guard) {
                return;
            }
            guard->askingToClose_ = false;
            if (closable) {
                guard->closeWithoutAsking();
            }
        });
        answer->inside = false;
        if (!answer->closable || !*answer->closable) {
            if (answer->closable) {
                askingToClose_ = false;
            }
            event->ignore();
            return true;
        }
        askingToClose_ = false;
    }
    closeApproved_ = false;
    NotificationCenter::defaultCenter().post(windowWillCloseNotification, window_.data());
    if (document_) {
        // The document lets this controller go on a later turn.
        document_->windowControllerDidClose(this);
    }
    return false;
}

}  // namespace CarvexPlatform
