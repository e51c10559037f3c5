#include "platform/AlertPresenter.h"

#include "platform/MainScheduler.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpacerItem>
#include <QWidget>

#include <algorithm>

namespace CarvexPlatform {

namespace {

QStringList buttonTitles(const Alert& alert) {
    return alert.buttons.isEmpty() ? QStringList{QStringLiteral("OK")} : alert.buttons;
}

QMessageBox::Icon iconFor(AlertStyle style) {
    switch (style) {
        case AlertStyle::informational: return QMessageBox::Information;
        case AlertStyle::warning: return QMessageBox::Warning;
        case AlertStyle::critical: return QMessageBox::Critical;
    }
    return QMessageBox::Warning;
}

// Builds the box; returns the buttons in the alert's order.
QList<QAbstractButton*> configure(QMessageBox& box, const Alert& alert) {
    box.setIcon(iconFor(alert.style));
    box.setText(alert.messageText);
    box.setInformativeText(alert.informativeText);
    QList<QAbstractButton*> buttons;
    const QStringList titles = buttonTitles(alert);
    for (qsizetype i = 0; i < titles.size(); ++i) {
        const bool cancel = titles[i] == QLatin1String("Cancel");
        QPushButton* button =
            box.addButton(titles[i], cancel ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
        if (i == 0) {
            box.setDefaultButton(button);
        }
        if (cancel) {
            box.setEscapeButton(button);
        }
        buttons.push_back(button);
    }
    // The box takes the width its layout needs at least; the floor spans every column.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(AlertPresenter::minimumWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
    }
    return buttons;
}

const char* const unansweredProperty = "carvexAlertUnanswered";

int indexOf(const QList<QAbstractButton*>& buttons, QAbstractButton* clicked) {
    const auto index = buttons.indexOf(clicked);
    return index >= 0 ? static_cast<int>(index) : static_cast<int>(buttons.size()) - 1;
}

// The answer the box was closed with.
int answerOf(const QMessageBox& box, const QList<QAbstractButton*>& buttons) {
    return box.property(unansweredProperty).toBool() ? AlertPresenter::unanswered
                                                     : indexOf(buttons, box.clickedButton());
}

}  // namespace

AlertPresenter& AlertPresenter::shared() {
    static AlertPresenter* const presenter = new AlertPresenter();
    return *presenter;
}

void AlertPresenter::present(const Alert& alert, QWidget* window, Completion completion) {
    const bool asSheet = window != nullptr;
    if (script_ || unattended_) {
        const int response = answerWithoutShowing(alert, asSheet);
        if (!completion) {
            return;
        }
        if (asSheet) {
            // A sheet ends on a later turn of the event loop.
            MainScheduler::shared()->post([completion, response] { completion(response); });
        } else {
            completion(response);
        }
        return;
    }
    if (asSheet) {
        auto* box = new QMessageBox(window->window());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::WindowModal);
        const auto buttons = configure(*box, alert);
        QPointer<QMessageBox> guard(box);
        QObject::connect(box, &QMessageBox::finished, box, [guard, buttons, completion](int) {
            if (guard && completion) {
                completion(answerOf(*guard, buttons));
            }
        });
        remember(box);
        box->open();
        return;
    }
    QMessageBox box;
    const auto buttons = configure(box, alert);
    remember(&box);
    box.exec();
    if (completion) {
        completion(answerOf(box, buttons));
    }
}

int AlertPresenter::answerWithoutShowing(const Alert& alert, bool asSheet) {
    if (!unattended_) {
        return script_->answer(alert, asSheet);
    }
    // As `cancelAll` answers: the Cancel button, or the only one; a choice is left to no one.
    const QStringList titles = buttonTitles(alert);
    const auto cancel = titles.indexOf(QLatin1String("Cancel"));
    if (cancel >= 0) {
        return static_cast<int>(cancel);
    }
    return titles.size() == 1 ? 0 : unanswered;
}

void AlertPresenter::remember(QMessageBox* box) {
    std::erase_if(shown_, [](const QPointer<QMessageBox>& each) { return !each; });
    shown_.emplace_back(box);
}

void AlertPresenter::cancelAll() {
    // The last shown first: it may have come up over another.
    const std::vector<QPointer<QMessageBox>> shown(shown_.rbegin(), shown_.rend());
    for (const QPointer<QMessageBox>& box : shown) {
        if (!box || !box->isVisible()) {
            continue;
        }
        QAbstractButton* cancel = box->escapeButton();
        if (cancel == nullptr && box->buttons().size() == 1) {
            cancel = box->buttons().front();
        }
        if (cancel != nullptr) {
            cancel->click();
        } else {
            box->setProperty(unansweredProperty, true);
            box->done(QDialog::Rejected);
        }
    }
}

void AlertPresenter::presentWithoutWaiting(const Alert& alert, Completion completion) {
    waiting_.push_back(Waiting{alert, std::move(completion)});
    // Never from inside the caller's handler: the alert comes up on a later turn.
    MainScheduler::shared()->post([] { AlertPresenter::shared().showNextWaiting(); });
}

QWidget* AlertPresenter::alertOnScreen() const { return onScreen_; }

void AlertPresenter::showNextWaiting() {
    if (showing_ || waiting_.empty()) {
        return;
    }
    Waiting next = std::move(waiting_.front());
    waiting_.pop_front();
    showing_ = true;
    if (script_ || unattended_) {
        const int response = answerWithoutShowing(next.alert, false);
        MainScheduler::shared()->post(
            [completion = std::move(next.completion), response] {
                AlertPresenter::shared().finishShowing(completion, response);
            });
        return;
    }
    auto* box = new QMessageBox();
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    const auto buttons = configure(*box, next.alert);
    onScreen_ = box;
    auto answered = std::make_shared<bool>(false);
    QObject::connect(box, &QMessageBox::finished, box,
                     [box, buttons, answered, completion = std::move(next.completion)](int) {
                         if (*answered) {
                             return;
                         }
                         *answered = true;
                         AlertPresenter::shared().finishShowing(completion, answerOf(*box, buttons));
                     });
    // Gone without an answer (the application ends): the alerts after it still get their turn.
    QObject::connect(box, &QObject::destroyed, [answered, last = static_cast<int>(buttons.size()) - 1] {
        if (!*answered) {
            *answered = true;
            AlertPresenter::shared().finishShowing({}, last);
        }
    });
    remember(box);
    box->show();
    box->raise();
    box->activateWindow();
}

void AlertPresenter::finishShowing(const Completion& completion, int response) {
    showing_ = false;
    onScreen_ = nullptr;
    if (completion) {
        completion(response);
    }
    MainScheduler::shared()->post([] { AlertPresenter::shared().showNextWaiting(); });
}

}  // namespace CarvexPlatform
