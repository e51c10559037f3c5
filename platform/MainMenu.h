#pragma once
#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace CarvexPlatform {

// The application's main menu: one set of menus shown in the menu bar of every main window, so
// the items and their shortcuts work from any window. An item's action is named by its selector
// (e.g. "copy:", kept as the action's object name). Adding an item to one of these menus (or their
// submenus) posts `menuDidAddItemNotification` with the menu as sender. Main thread only.
class MainMenu : public QObject {
    Q_OBJECT

public:
    static inline const QString menuDidAddItemNotification = QStringLiteral("NSMenuDidAddItemNotification");

    MainMenu();
    ~MainMenu() override;
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    // The top-level menus, in order; the first is the application menu.
    std::vector<QMenu*> menus() const;
    QMenu* addMenu(const QString& title);
    // The top-level menu titled exactly `title`, or null.
    QMenu* submenuTitled(const QString& title) const;
    QMenu* applicationMenu() const;
    // A submenu of `parent`, watched like the top-level menus.
    QMenu* addSubmenu(QMenu* parent, const QString& title);

    // Appends (or, with `index`, inserts) an item whose action is `selector`.
    static QAction* addItem(QMenu* menu, const QString& title, const QString& selector,
                            const QKeySequence& shortcut = {}, std::function<void()> handler = {});
    static QAction* insertItem(QMenu* menu, int index, const QString& title, const QString& selector,
                               const QKeySequence& shortcut = {}, std::function<void()> handler = {});
    static QAction* insertSeparator(QMenu* menu, int index);
    // The selector of an item (empty for separators and items without an action).
    static QString actionOf(const QAction* item);
    // The index of the first item with that action, or -1.
    static int indexOfItemWithAction(const QMenu* menu, const QString& selector);

    // Keeps the item's shortcut working while a modal window (a sheet, an alert, a panel) has the
    // keyboard: such a window shadows the menu bars of the windows it blocks, and their shortcuts with
    // them. Takes effect for the modal windows shown from now on.
    void keepInModalWindows(QAction* item);

    // Shows the menus in the window's menu bar.
    void installInto(QMainWindow* window);
    // From now on every main window gets the menus when it is first shown.
    void attachToWindows();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class WindowWatcher;
    void watch(QMenu* menu);
    void lendToModalWindow(QWidget* window);

    std::vector<std::unique_ptr<QMenu>> menus_;
    std::unique_ptr<WindowWatcher> watcher_;
    std::vector<QPointer<QAction>> modalItems_;
};

}  // namespace CarvexPlatform
