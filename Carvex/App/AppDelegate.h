#pragma once
#include "platform/Notification.h"
#include "platform/Settings.h"

#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>

class QMenu;
class QWidget;

namespace CarvexPlatform {
class Document;
class MainMenu;
class StandardUpdaterController;
class WindowController;
}  // namespace CarvexPlatform

namespace Carvex {

class DocumentController;

// The top of the application: makes the document controller, builds and trims the main menu,
// owns the updater, opens the preferences and manual windows, opens the files the desktop hands
// over, and shows the welcome window whenever no document is open. The application never opens an
// untitled document by itself and keeps running when its last window closes. Main thread only.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    // The windows kept for the whole run (welcome, help, preferences). `…Window` answers the window
    // when its controller exists already and makes none; `show…` makes and shows it.
    struct SharedWindows {
        std::function<void()> showWelcome;  // reloads the recent list, centres, shows, makes key
        std::function<QWidget*()> welcomeWindow;
        std::function<void()> closeWelcome;  // closes the welcome window when it is made (may be empty)
        std::function<void()> showPreferences;
        std::function<QWidget*()> preferencesWindow;
        std::function<void()> showUserManual;
        std::function<QWidget*()> helpWindow;
    };
    using Log = std::function<void(const QString& line)>;

    static inline const QString creatingUpdaterMessage =
        QStringLiteral("[Carvex] Creating SPUStandardUpdaterController");
    static inline const QString checkForUpdatesMessage = QStringLiteral("[Carvex] checkForUpdates called manually");
    static inline const QString checkForUpdatesTitle = QStringLiteral("Check for Updates...");
    static constexpr std::chrono::milliseconds welcomeDelayAfterClose{100};
    // The status of an end on a signal that lost edits.
    static constexpr int editsLostExitStatus = 1;

    // The application's shared windows.
    static SharedWindows standardWindows();

    explicit AppDelegate(CarvexPlatform::MainMenu& mainMenu, SharedWindows windows = standardWindows(),
                         std::shared_ptr<CarvexPlatform::Settings> settings = CarvexPlatform::Settings::standard());
    ~AppDelegate() override;

    // Fills an empty main menu with the application's menus: Carvex, File, Edit, Window, Help.
    void buildMainMenu();

    // Makes the document controller (the shared one from then on).
    void applicationWillFinishLaunching();
    // Observes closing windows and additions to menus, trims the Edit menu, adds the update item,
    // starts the updater and, on a later turn, shows the welcome window unless a document is open.
    void applicationDidFinishLaunching();
    void applicationWillTerminate() {}
    bool applicationSupportsSecureRestorableState() const { return true; }
    bool applicationShouldOpenUntitledFile() const { return false; }
    // The application is asked to show itself (a launch without files while it runs).
    bool applicationShouldHandleReopen(bool hasVisibleWindows);
    // Files the desktop asks the application to open. Those that fail are told in one alert on a
    // later turn, which never waits in an event loop of its own: at launch that would run before
    // the application's own loop, where a quit from the alert would end only the alert.
    void openFiles(const QStringList& paths);
    // What a later launch handed over: its files, or none to bring the application forward. The
    // files open one per turn of the event loop, after those of earlier hand-overs; the ones that
    // fail are told in one alert per hand-over that never waits in an event loop of its own.
    void handleHandOver(const QStringList& paths);
    // Handed-over files not yet opened.
    qsizetype handedOverFilesWaiting() const;
    // The hand-overs taken so far, each counted as it arrives (those without files too).
    qsizetype handOversReceived() const { return handOversReceived_; }

    void editMenuDidAddItem(const CarvexPlatform::Notification& notification);
    void windowWillClose(const CarvexPlatform::Notification& notification);

    // The end asked for by a signal (SIGTERM, SIGHUP, SIGINT): the modal windows end as cancelled
    // and no question is asked. Every document with a file writes its pending edits in place, as
    // autosave would. Edits that cannot go there (a file changed on disk by another program, which
    // is left as it is; a failed write; an untitled document) go to a recovery file
    // (`CarvexPlatform::RecoveryFile`; the temporary folder when the data folder cannot be written),
    // noted as a recent document and named on standard error. Once the saves are done the documents
    // close and the application ends: with status 0, or `editsLostExitStatus` when some edits could
    // be kept nowhere (standard error says which). Asked again while the saves run, it does nothing
    // more.
    void terminateWithoutAsking();
    // The session ends (a logout): the Quit when the session manager lets the application ask, else
    // as for a signal.
    void sessionWillEnd(bool mayAsk);

    void showPreferences();
    void showUserManual();
    void checkForUpdates(QObject* sender);

    // Created (and started) on first read.
    CarvexPlatform::StandardUpdaterController& updaterController();
    bool hasUpdaterController() const { return updaterController_ != nullptr; }

    // Removes the items this system cannot serve from the main menu's Edit menu, then any trailing
    // separators.
    static void cleanEditMenu(CarvexPlatform::MainMenu& mainMenu);
    // Puts "Check for Updates..." and a separator above Quit (at the end when there is no Quit).
    void insertUpdateItem();
    // Shows the welcome window when no document is open.
    void runWelcomePolicy();

    // Where the system-log lines go (standard error unless replaced).
    void setLog(Log log) { log_ = std::move(log); }
    // Whether a window of the application is on screen.
    static bool hasVisibleWindows();

    DocumentController* documentController() const { return documentController_.get(); }

private:
    void addMenuItem(QMenu* menu, const QString& title, const QString& selector, const QKeySequence& shortcut,
                     std::function<void()> handler);
    // The controller of the active window, when it shows a document.
    CarvexPlatform::WindowController* activeDocumentWindowController() const;
    // Fills File > Open Recent with the recent files that still exist, newest first.
    void fillRecentDocumentsMenu(QMenu* menu);
    // Calls the focused widget's (or an owner's) action of that name; the key goes to the widget when
    // none has it.
    void sendToFocusedWidget(const char* method, const QKeySequence& key = {});
    void terminate();
    // Writes the document's text to a new recovery file and says where, or why it could not (the
    // edits are then lost).
    void keepInRecoveryFile(CarvexPlatform::Document& document);
    void find(bool askForText);
    void bringDocumentWindowsForward();
    void openNextHandedOverFile();
    void reportHandOverFailures(const QStringList& names, const QStringList& reasons);

    CarvexPlatform::MainMenu& mainMenu_;
    SharedWindows windows_;
    std::shared_ptr<CarvexPlatform::Settings> settings_;
    std::unique_ptr<DocumentController> documentController_;
    std::unique_ptr<CarvexPlatform::StandardUpdaterController> updaterController_;
    Log log_;
    QString findText_;
    bool updateItemInserted_ = false;
    struct HandOver {
        QStringList paths;
        qsizetype next = 0;
        QStringList failedNames;
        QStringList failures;  // the reasons, in the order of the names
    };
    std::deque<HandOver> handOvers_;
    bool handOverStepPosted_ = false;
    qsizetype handOversReceived_ = 0;
    bool terminatingWithoutAsking_ = false;
    bool editsLost_ = false;
};

}  // namespace Carvex
