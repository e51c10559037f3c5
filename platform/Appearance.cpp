#include "platform/Appearance.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

namespace CarvexPlatform {

Appearance& Appearance::shared() {
    // Lives for the process: observers may outlive any scope that would own it.
    static Appearance* const instance = new Appearance();
    return *instance;
}

Appearance::Appearance() {
    // Made on whichever thread asked first; it belongs to the main thread.
    if (auto* app = QCoreApplication::instance()) {
        moveToThread(app->thread());
    }
    installHook();
    lastKnown_ = isDark();
}

void Appearance::installHook() const {
    if (hookInstalled_) {
        return;
    }
    if (auto* app = QCoreApplication::instance()) {
        app->installEventFilter(const_cast<Appearance*>(this));
        hookInstalled_ = true;
    }
}

bool Appearance::paletteIsDark() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightness() < 128;
}

bool Appearance::isDark() const {
    installHook();
    const bool dark = forced_ ? *forced_ : paletteIsDark();
    if (!lastKnown_) {
        lastKnown_ = dark;
    }
    return dark;
}

void Appearance::setOverride(std::optional<bool> isDark) {
    const bool before = lastKnown_ ? *lastKnown_ : this->isDark();
    forced_ = isDark;
    const bool after = this->isDark();
    lastKnown_ = after;
    if (before != after) {
        emit changed(after);
    }
}

void Appearance::refresh() {
    const bool before = lastKnown_ ? *lastKnown_ : paletteIsDark();
    const bool after = isDark();
    lastKnown_ = after;
    if (before != after) {
        emit changed(after);
    }
}

bool Appearance::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange) {
        refresh();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace CarvexPlatform
