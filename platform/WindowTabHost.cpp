#include "platform/WindowTabHost.h"

#include <QApplication>
#include <QWindow>

#include "platform/MainScheduler.h"
#include "platform/NotificationCenter.h"
#include "platform/WindowController.h"

#include <QCloseEvent>
#include <QEvent>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVariant>
#include <algorithm>

namespace CarvexPlatform {

namespace {

const char* const identifierProperty = "carvexTabbingIdentifier";
const char* const modeProperty = "carvexTabbingMode";

std::vector<QPointer<QWidget>>& registry() {
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

// The title as the window's own title bar shows it: the "[*]" placeholder becomes "*" while the
// window is modified and goes otherwise; a doubled one stands for itself.
QString shownTitle(const QWidget* window) {
    const QString placeholder = QStringLiteral("[*]");
    const QString title = window->windowTitle();
    QString shown;
    qsizetype from = 0;
    for (qsizetype at = title.indexOf(placeholder); at >= 0; at = title.indexOf(placeholder, from)) {
        shown += QStringView(title).mid(from, at - from);
        from = at + placeholder.size();
        if (QStringView(title).mid(from).startsWith(placeholder)) {
            shown += placeholder;
            from += placeholder.size();
        } else if (window->isWindowModified()) {
            shown += QLatin1Char('*');
        }
    }
    shown += QStringView(title).mid(from);
    return shown;
}

}  // namespace

void WindowTabHost::setTabbingMode(QWidget* window, TabbingMode mode) {
    if (window) {
        window->setProperty(modeProperty, static_cast<int>(mode));
    }
}

WindowTabHost::TabbingMode WindowTabHost::tabbingMode(const QWidget* window) {
    const QVariant value = window ? window->property(modeProperty) : QVariant();
    return value.isValid() ? static_cast<TabbingMode>(value.toInt()) : TabbingMode::automatic;
}

void WindowTabHost::setTabbingIdentifier(QWidget* window, const QString& identifier) {
    if (!window) {
        return;
    }
    window->setProperty(identifierProperty, identifier);
    auto& windows = registry();
    std::erase_if(windows, [](const QPointer<QWidget>& entry) { return entry.isNull(); });
    if (std::find(windows.begin(), windows.end(), window) == windows.end()) {
        windows.emplace_back(window);
    }
}

QString WindowTabHost::tabbingIdentifier(const QWidget* window) {
    return window ? window->property(identifierProperty).toString() : QString();
}

std::vector<QWidget*> WindowTabHost::windows() {
    std::vector<QWidget*> result;
    for (const QPointer<QWidget>& window : registry()) {
        if (window) {
            result.push_back(window.data());
        }
    }
    return result;
}

WindowTabHost* WindowTabHost::hostOf(const QWidget* window) {
    for (QWidget* parent = window ? window->parentWidget() : nullptr; parent; parent = parent->parentWidget()) {
        if (auto* host = qobject_cast<WindowTabHost*>(parent)) {
            return host;
        }
    }
    return nullptr;
}

bool WindowTabHost::isWindowVisible(const QWidget* window) {
    if (!window) {
        return false;
    }
    if (const WindowTabHost* host = hostOf(window)) {
        return host->isVisible();
    }
    return window->isVisible();
}

void WindowTabHost::makeKeyAndOrderFront(QWidget* window) {
    if (!window) {
        return;
    }
    if (WindowTabHost* host = hostOf(window)) {
        host->tabs_->setCurrentWidget(window);
        host->show();
        host->raise();
        host->activateWindow();
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

QWidget* WindowTabHost::keyWindow() {
    QWidget* active = QApplication::activeWindow();
    if (!active) {
        // As the shortcuts find their window: the one with the keyboard focus.
        if (const QWindow* focus = QGuiApplication::focusWindow(); focus && focus->isActive()) {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->windowHandle() == focus) {
                    active = window;
                    break;
                }
            }
        }
    }
    if (auto* host = qobject_cast<WindowTabHost*>(active)) {
        return host->currentWindow();
    }
    return active;
}

void WindowTabHost::addTabbedWindow(QWidget* existing, QWidget* window) {
    if (!existing || !window || existing == window || hostOf(window)) {
        return;
    }
    WindowTabHost* host = hostOf(existing);
    if (!host) {
        const bool wasVisible = existing->isVisible();
        const bool wasActive = QApplication::activeWindow() == existing;
        host = new WindowTabHost(existing->geometry());
        // Shown (and laid out) before it takes the window in, so the window gets its place in one
        // step: every change of its width lays out its whole text again.
        if (wasVisible) {
            host->show();
        }
        host->adopt(existing);
        // Taking in the active window hands the keyboard focus to the host at once but leaves the
        // application without an active window, and no later focus change comes to mend it: menu
        // commands and window shortcuts would reach no window. The host is the active window now.
        if (wasActive) {
            host->activateWindow();
            if (QApplication::activeWindow() == nullptr && host->windowHandle() &&
                QGuiApplication::focusWindow() == host->windowHandle()) {
                QApplication::setActiveWindow(host);
            }
        }
    }
    host->adopt(window);
    host->tabs_->setCurrentWidget(window);
}

WindowTabHost::WindowTabHost(const QRect& geometry) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setContextMenuPolicy(Qt::NoContextMenu);
    tabs_ = new QTabWidget(this);
    tabs_->setDocumentMode(true);
    tabs_->setTabsClosable(true);
    tabs_->setMovable(true);
    tabs_->tabBar()->setExpanding(true);
    // A lone tab shows no tab bar: the window looks as it did before any tab joined it.
    tabs_->setTabBarAutoHide(true);
    setCentralWidget(tabs_);
    connect(tabs_, &QTabWidget::tabCloseRequested, this, &WindowTabHost::closeTab);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        borrowToolbars();
        updateTitles();
    });
    if (geometry.isValid()) {
        setGeometry(geometry);
    }
}

WindowTabHost::~WindowTabHost() {
    NotificationCenter::defaultCenter().removeObserver(this);
    returnToolbars();
    for (int index = tabs_->count() - 1; index >= 0; --index) {
        if (QWidget* window = tabs_->widget(index)) {
            window->removeEventFilter(this);
        }
    }
}

void WindowTabHost::adopt(QWidget* window) {
    const QSize size = window->size();
    tabs_->addTab(window, window->windowTitle());
    window->installEventFilter(this);
    if (auto* page = qobject_cast<QMainWindow*>(window); page && page->menuWidget()) {
        page->menuWidget()->hide();
    }
    if (tabs_->count() == 1 && size.isValid()) {
        resize(size);
    }
    // The window's controller posts this once its close is approved: the tab goes at once.
    QPointer<QWidget> guarded(window);
    NotificationCenter::defaultCenter().addObserver(this, WindowController::windowWillCloseNotification, window,
                                                    [this, guarded](const Notification&) {
                                                        if (guarded) {
                                                            release(guarded.data());
                                                        }
                                                    });
    // The tab widget drops a deleted page itself; the host goes with its last tab.
    connect(window, &QObject::destroyed, this, [this] { goWhenEmpty(); });
    updateTitles();
}

void WindowTabHost::release(QWidget* window) {
    const int index = tabs_->indexOf(window);
    if (index < 0) {
        return;
    }
    NotificationCenter::defaultCenter().removeObserver(this, WindowController::windowWillCloseNotification, window);
    window->removeEventFilter(this);
    disconnect(window, &QObject::destroyed, this, nullptr);
    if (window == lender_) {
        returnToolbars();
    }
    tabs_->removeTab(index);
    window->hide();
    window->setParent(nullptr);
    if (auto* page = qobject_cast<QMainWindow*>(window); page && page->menuWidget()) {
        page->menuWidget()->show();
    }
    goWhenEmpty();
}

void WindowTabHost::goWhenEmpty() {
    QPointer<WindowTabHost> self(this);
    MainScheduler::shared()->post([self] {
        if (!self) {
            return;
        }
        if (self->tabs_->count() == 0) {
            delete self.data();
        } else {
            self->updateTitles();
        }
    });
}

int WindowTabHost::tabCount() const { return tabs_->count(); }

QWidget* WindowTabHost::tabWindow(int index) const { return tabs_->widget(index); }

QWidget* WindowTabHost::currentWindow() const { return tabs_->currentWidget(); }

void WindowTabHost::closeTab(int index) {
    if (QWidget* window = tabs_->widget(index)) {
        window->close();
    }
}

void WindowTabHost::updateTitles() {
    for (int index = 0; index < tabs_->count(); ++index) {
        // A tab's text takes "&" for a mnemonic; a name's own is doubled to show as it is.
        tabs_->setTabText(index, shownTitle(tabs_->widget(index)).replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
    if (QWidget* current = tabs_->currentWidget()) {
        setWindowTitle(current->windowTitle());
        setWindowModified(current->isWindowModified());
    }
}

void WindowTabHost::borrowToolbars() {
    auto* page = qobject_cast<QMainWindow*>(tabs_->currentWidget());
    if (page == lender_) {
        return;
    }
    returnToolbars();
    if (page == nullptr) {
        return;
    }
    lender_ = page;
    for (QToolBar* toolbar : page->findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (toolbar->isHidden() || page->toolBarArea(toolbar) != Qt::TopToolBarArea) {
            continue;
        }
        page->removeToolBar(toolbar);
        addToolBar(Qt::TopToolBarArea, toolbar);
        toolbar->show();
        borrowed_.emplace_back(toolbar);
    }
}

void WindowTabHost::returnToolbars() {
    QMainWindow* page = lender_.data();
    for (const QPointer<QToolBar>& toolbar : borrowed_) {
        if (!toolbar) {
            continue;
        }
        removeToolBar(toolbar);
        if (page) {
            page->addToolBar(Qt::TopToolBarArea, toolbar);
            toolbar->show();
        } else {
            // Its window is gone: so is the toolbar.
            delete toolbar.data();
        }
    }
    borrowed_.clear();
    lender_ = nullptr;
}

bool WindowTabHost::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && tabs_->indexOf(qobject_cast<QWidget*>(watched)) >= 0) {
        // The menus come to a main window when it is first shown; a tab's stay hidden.
        if (auto* page = qobject_cast<QMainWindow*>(watched); page && page->menuWidget()) {
            page->menuWidget()->hide();
        }
    }
    if ((event->type() == QEvent::WindowTitleChange || event->type() == QEvent::ModifiedChange) &&
        tabs_->indexOf(qobject_cast<QWidget*>(watched)) >= 0) {
        updateTitles();
    }
    return QWidget::eventFilter(watched, event);
}

void WindowTabHost::closeEvent(QCloseEvent* event) {
    if (closingAll_) {
        event->ignore();
        return;
    }
    closingAll_ = true;
    std::vector<QPointer<QWidget>> open;
    for (int index = 0; index < tabs_->count(); ++index) {
        open.emplace_back(tabs_->widget(index));
    }
    for (const QPointer<QWidget>& window : open) {
        if (window) {
            window->close();
        }
    }
    closingAll_ = false;
    if (tabs_->count() == 0) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace CarvexPlatform
