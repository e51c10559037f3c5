#include "platform/ViewController.h"

#include "platform/MainScheduler.h"

#include <QDialog>
#include <QEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>

namespace CarvexPlatform {

namespace {

// What an ended sheet leaves behind: deleted together on a later turn, or with the scheduler's
// queue when that turn never comes.
struct EndedSheet {
    std::unique_ptr<ViewController> controller;
    QPointer<QDialog> dialog;
    ~EndedSheet() { delete dialog.data(); }
};

}  // namespace

ViewController::ViewController() = default;

ViewController::~ViewController() {
    if (sheet_) {
        sheet_->disconnect(this);
    }
    presented_.reset();
    delete sheet_.data();
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        delete *it;
    }
    children_.clear();
    delete view_.data();
}

QWidget* ViewController::view() {
    if (!view_) {
        adopt(loadView());
        viewDidLoad();
    }
    return view_;
}

void ViewController::setView(QWidget* view) {
    if (view_ == view) {
        return;
    }
    if (view_) {
        view_->removeEventFilter(this);
    }
    adopt(view);
}

namespace {
const char* const controllerProperty = "carvexViewController";
}  // namespace

ViewController* ViewController::controllerOfView(const QWidget* view) {
    if (!view) {
        return nullptr;
    }
    return qobject_cast<ViewController*>(view->property(controllerProperty).value<QObject*>());
}

void ViewController::adopt(QWidget* view) {
    view_ = view ? view : new QWidget();
    view_->setProperty(controllerProperty, QVariant::fromValue(static_cast<QObject*>(this)));
    view_->installEventFilter(this);
    appeared_ = view_->isVisible();
}

QWidget* ViewController::loadView() { return new QWidget(); }

bool ViewController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_) {
        if (event->type() == QEvent::Show && !appeared_) {
            appeared_ = true;
            viewWillAppear();
            viewDidAppear();
        } else if (event->type() == QEvent::Hide && appeared_) {
            appeared_ = false;
            viewWillDisappear();
            viewDidDisappear();
        }
    }
    return QObject::eventFilter(watched, event);
}

void ViewController::addChildViewController(std::unique_ptr<ViewController> child) {
    if (!child) {
        return;
    }
    if (child->parent_) {
        child->parent_->removeChildViewController(child.get()).release();
    }
    child->parent_ = this;
    children_.push_back(child.release());
}

std::unique_ptr<ViewController> ViewController::removeChildViewController(ViewController* child) {
    const auto it = std::find(children_.begin(), children_.end(), child);
    if (it == children_.end()) {
        return nullptr;
    }
    children_.erase(it);
    child->parent_ = nullptr;
    return std::unique_ptr<ViewController>(child);
}

void ViewController::presentAsSheet(std::unique_ptr<ViewController> controller) {
    if (!controller) {
        return;
    }
    if (presented_) {
        endSheet();
    }
    QWidget* host = isViewLoaded() ? view_->window() : nullptr;
    auto* dialog = new QDialog(host);
    dialog->setWindowModality(host ? Qt::WindowModal : Qt::ApplicationModal);
    dialog->setWindowTitle(controller->title());
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(controller->view());
    // A button made the default before the dialog held it is not the dialog's default yet: Return
    // would press whichever button the dialog picks (the first that takes focus, often Cancel).
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->isDefault()) {
            button->setDefault(false);
            button->setDefault(true);
            break;
        }
    }
    controller->presenting_ = this;
    presented_ = std::move(controller);
    sheet_ = dialog;
    connect(dialog, &QDialog::finished, this, [this] { endSheet(); });
    dialog->open();
}

QDialog* ViewController::sheetDialog() const { return sheet_.data(); }

void ViewController::dismiss() {
    if (presented_) {
        endSheet();
    } else if (presenting_) {
        presenting_->endSheet();
    }
}

void ViewController::endSheet() {
    if (!presented_) {
        return;
    }
    auto ended = std::make_shared<EndedSheet>();
    ended->controller = std::move(presented_);
    ended->controller->presenting_ = nullptr;
    ended->dialog = sheet_;
    sheet_ = nullptr;
    if (ended->dialog) {
        ended->dialog->disconnect(this);
        ended->dialog->hide();
    }
    // The sheet's own code may be running (a button that dismisses it): delete it later.
    MainScheduler::shared()->post([ended] {});
}

}  // namespace CarvexPlatform
