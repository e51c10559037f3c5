#include "platform/MainMenu.h"

#include "platform/WindowTabHost.h"

#include "platform/NotificationCenter.h"

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace CarvexPlatform {

namespace {
const char* const installedProperty = "carvexMainMenuInstalled";
}

// Watches the whole application for main windows being shown.
class MainMenu::WindowWatcher : public QObject {
public:
    explicit WindowWatcher(MainMenu& menu) : menu_(menu) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* shown = qobject_cast<QWidget*>(watched);
                shown && shown->isWindow() && shown->windowModality() != Qt::NonModal) {
                menu_.lendToModalWindow(shown);
            }
            // A window shown as a tab of another gets the menus too: the shortcuts of a hidden
            // tab's menu bar do not fire.
            auto* window = qobject_cast<QMainWindow*>(watched);
            if (window && (window->isWindow() || WindowTabHost::hostOf(window))) {
                menu_.installInto(window);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    MainMenu& menu_;
};

MainMenu::MainMenu() = default;

MainMenu::~MainMenu() {
    if (watcher_ && qApp) {
        qApp->removeEventFilter(watcher_.get());
    }
    for (auto& menu : menus_) {
        menu->removeEventFilter(this);
    }
}

std::vector<QMenu*> MainMenu::menus() const {
    std::vector<QMenu*> result;
    for (const auto& menu : menus_) {
        result.push_back(menu.get());
    }
    return result;
}

QMenu* MainMenu::addMenu(const QString& title) {
    menus_.push_back(std::make_unique<QMenu>(title));
    QMenu* menu = menus_.back().get();
    watch(menu);
    return menu;
}

QMenu* MainMenu::submenuTitled(const QString& title) const {
    for (const auto& menu : menus_) {
        if (menu->title() == title) {
            return menu.get();
        }
    }
    return nullptr;
}

QMenu* MainMenu::applicationMenu() const { return menus_.empty() ? nullptr : menus_.front().get(); }

QMenu* MainMenu::addSubmenu(QMenu* parent, const QString& title) {
    QMenu* submenu = parent->addMenu(title);
    watch(submenu);
    return submenu;
}

QAction* MainMenu::addItem(QMenu* menu, const QString& title, const QString& selector,
                           const QKeySequence& shortcut, std::function<void()> handler) {
    return insertItem(menu, static_cast<int>(menu->actions().size()), title, selector, shortcut,
                      std::move(handler));
}

QAction* MainMenu::insertItem(QMenu* menu, int index, const QString& title, const QString& selector,
                              const QKeySequence& shortcut, std::function<void()> handler) {
    auto* item = new QAction(title, menu);
    item->setObjectName(selector);
    item->setShortcut(shortcut);
    if (handler) {
        QObject::connect(item, &QAction::triggered, item, [handler = std::move(handler)] { handler(); });
    }
    const QList<QAction*> items = menu->actions();
    menu->insertAction(index >= 0 && index < items.size() ? items.at(index) : nullptr, item);
    return item;
}

QAction* MainMenu::insertSeparator(QMenu* menu, int index) {
    auto* separator = new QAction(menu);
    separator->setSeparator(true);
    const QList<QAction*> items = menu->actions();
    menu->insertAction(index >= 0 && index < items.size() ? items.at(index) : nullptr, separator);
    return separator;
}

QString MainMenu::actionOf(const QAction* item) {
    if (!item || item->isSeparator() || item->menu()) {
        return {};
    }
    return item->objectName();
}

int MainMenu::indexOfItemWithAction(const QMenu* menu, const QString& selector) {
    const QList<QAction*> items = menu->actions();
    for (int index = 0; index < items.size(); ++index) {
        if (actionOf(items.at(index)) == selector) {
            return index;
        }
    }
    return -1;
}

void MainMenu::installInto(QMainWindow* window) {
    if (!window || window->property(installedProperty).toBool()) {
        return;
    }
    window->setProperty(installedProperty, true);
    QMenuBar* bar = window->menuBar();
    for (const auto& menu : menus_) {
        bar->addMenu(menu.get());
    }
}

void MainMenu::keepInModalWindows(QAction* item) {
    if (item) {
        modalItems_.emplace_back(item);
    }
}

void MainMenu::lendToModalWindow(QWidget* window) {
    // The window's own actions: their shortcuts match while it is the active window.
    for (const QPointer<QAction>& item : modalItems_) {
        if (item && !window->actions().contains(item.data())) {
            window->addAction(item);
        }
    }
}

void MainMenu::attachToWindows() {
    if (watcher_ || !qApp) {
        return;
    }
    watcher_ = std::make_unique<WindowWatcher>(*this);
    qApp->installEventFilter(watcher_.get());
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<QMainWindow*>(widget)) {
            installInto(window);
        }
    }
}

void MainMenu::watch(QMenu* menu) { menu->installEventFilter(this); }

bool MainMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ActionAdded) {
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            NotificationCenter::defaultCenter().post(menuDidAddItemNotification, menu);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace CarvexPlatform
