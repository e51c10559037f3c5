#include "platform/AlertPresenter.h"

#include "platform/MainScheduler.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

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
    return buttons;
}

int indexOf(const QList<QAbstractButton*>& buttons, QAbstractButton* clicked) {
    const auto index = buttons.indexOf(clicked);
    return index >= 0 ? static_cast<int>(index) : static_cast<int>(buttons.size()) - 1;
}

}  // namespace

AlertPresenter& AlertPresenter::shared() {
    static AlertPresenter* const presenter = new AlertPresenter();
    return *presenter;
}

void AlertPresenter::present(const Alert& alert, QWidget* window, Completion completion) {
    const bool asSheet = window != nullptr;
    if (script_) {
        const int response = script_->answer(alert, asSheet);
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
                completion(indexOf(buttons, guard->clickedButton()));
            }
        });
        box->open();
        return;
    }
    QMessageBox box;
    const auto buttons = configure(box, alert);
    box.exec();
    if (completion) {
        completion(indexOf(buttons, box.clickedButton()));
    }
}

}  // namespace CarvexPlatform
