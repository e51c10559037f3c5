#pragma once
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

class QTabWidget;
class QToolBar;

namespace CarvexPlatform {

// Window tabbing: windows that share a tabbing identifier can be gathered as tabs of one host
// window. Each tab is the window itself, embedded; its title as shown (a modified window's with its
// mark) is the tab's text, and the current tab's title and modified mark are the host's. Closing a tab closes that window as its own close button would (the
// window's controller may ask first or keep it open); a window that closes or goes leaves its tab,
// and the host goes with its last tab. Closing the host closes its windows one by one.
//
// The host reads top to bottom as a window of its own: the menu bar, the toolbars of the current
// tab's window, the tab bar, then that window's content. A main window in a tab lends the host its
// top toolbars while its tab is current (they go back when another tab is chosen or the window
// leaves) and keeps its own menu bar hidden: the host's shows the same menus. Main thread only.
class WindowTabHost : public QMainWindow {
    Q_OBJECT

public:
    // Whether a window joins others as a tab (`preferred`) or stays on its own.
    enum class TabbingMode { automatic, preferred, disallowed };

    static void setTabbingMode(QWidget* window, TabbingMode mode);
    static TabbingMode tabbingMode(const QWidget* window);
    // Gives the window its tabbing identifier and enters it in the list of windows (in the order
    // they were entered).
    static void setTabbingIdentifier(QWidget* window, const QString& identifier);
    static QString tabbingIdentifier(const QWidget* window);
    // The windows with a tabbing identifier, in the order they got one (gone ones left out).
    static std::vector<QWidget*> windows();

    // Adds `window` as a tab beside `existing`, ordered above (the new tab follows and becomes
    // current); `existing` moves into a new host first when it is on its own.
    static void addTabbedWindow(QWidget* existing, QWidget* window);
    // The host of a window that is a tab, or null.
    static WindowTabHost* hostOf(const QWidget* window);
    // Whether the user sees the window: its host's visibility for a tab, else its own.
    static bool isWindowVisible(const QWidget* window);
    // Brings the window forward: its tab becomes current and its host (or itself) is shown and raised.
    static void makeKeyAndOrderFront(QWidget* window);
    // The window the user works in: the current tab when the active window is a host, else the
    // active window itself (null when the application is not active).
    static QWidget* keyWindow();

    ~WindowTabHost() override;

    int tabCount() const;
    QWidget* tabWindow(int index) const;
    QWidget* currentWindow() const;
    // Closes the tab's window as its close button would.
    void closeTab(int index);
    QTabWidget* tabWidget() const { return tabs_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    explicit WindowTabHost(const QRect& geometry);
    void adopt(QWidget* window);
    void release(QWidget* window);
    void updateTitles();
    // The current tab's window lends its top toolbars to the host; the last one's go back.
    void borrowToolbars();
    void returnToolbars();
    // Deletes the host on a later turn when it has no tab left then.
    void goWhenEmpty();

    QTabWidget* tabs_ = nullptr;
    bool closingAll_ = false;
    QPointer<QMainWindow> lender_;
    std::vector<QPointer<QToolBar>> borrowed_;
};

}  // namespace CarvexPlatform
