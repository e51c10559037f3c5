#include "Carvex/App/AppDelegate.h"

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Manual/HelpWindowController.h"
#include "Carvex/Preferences/PreferencesWindowController.h"
#include "Carvex/Windows/WelcomeWindowController.h"
#include "platform/AlertPresenter.h"
#include "platform/Document.h"
#include "platform/MainMenu.h"
#include "platform/MainScheduler.h"
#include "platform/ModalWindows.h"
#include "platform/NotificationCenter.h"
#include "platform/RecoveryFile.h"
#include "platform/StandardUpdaterController.h"
#include "platform/ViewController.h"
#include "platform/WindowController.h"
#include "platform/WindowTabHost.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMetaMethod>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace Carvex {

namespace {

const QString editMenuTitle = QStringLiteral("Edit");

void centreWindow(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void showAndMakeKey(CarvexPlatform::WindowController& controller) {
    QMainWindow* window = controller.window();
    centreWindow(window);
    controller.showWindow();
    window->raise();
    window->activateWindow();
}

// Which of the kept windows exist: asking must not make one.
struct MadeWindows {
    bool preferences = false;
    bool help = false;
};
MadeWindows& madeWindows() {
    static MadeWindows made;
    return made;
}

}  // namespace

AppDelegate::SharedWindows AppDelegate::standardWindows() {
    SharedWindows windows;
    windows.showWelcome = [] { WelcomeWindowController::shared().showWelcomeWindow(); };
    windows.welcomeWindow = []() -> QWidget* {
        return WelcomeWindowController::isLoaded() ? WelcomeWindowController::shared().window() : nullptr;
    };
    windows.closeWelcome = [] { WelcomeWindowController::closeIfLoaded(); };
    windows.showPreferences = [] {
        madeWindows().preferences = true;
        showAndMakeKey(PreferencesWindowController::shared());
    };
    windows.preferencesWindow = []() -> QWidget* {
        return madeWindows().preferences ? PreferencesWindowController::shared().window() : nullptr;
    };
    windows.showUserManual = [] {
        madeWindows().help = true;
        HelpWindowController& help = HelpWindowController::shared();
        help.loadManualIfNeeded();
        showAndMakeKey(help);
    };
    windows.helpWindow = []() -> QWidget* {
        return madeWindows().help ? HelpWindowController::shared().window() : nullptr;
    };
    return windows;
}

AppDelegate::AppDelegate(CarvexPlatform::MainMenu& mainMenu, SharedWindows windows,
                         std::shared_ptr<CarvexPlatform::Settings> settings)
    : mainMenu_(mainMenu), windows_(std::move(windows)), settings_(std::move(settings)) {
    log_ = [](const QString& line) { std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData()); };
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::addMenuItem(QMenu* menu, const QString& title, const QString& selector,
                              const QKeySequence& shortcut, std::function<void()> handler) {
    CarvexPlatform::MainMenu::addItem(menu, title, selector, shortcut, std::move(handler));
}

void AppDelegate::buildMainMenu() {
    QPointer<AppDelegate> self(this);
    auto send = [self](void (AppDelegate::*method)()) {
        return [self, method] {
            if (self) {
                (self.data()->*method)();
            }
        };
    };
    auto toDocument = [self](std::function<void(CarvexPlatform::WindowController&)> work) {
        return [self, work = std::move(work)] {
            if (self) {
                if (CarvexPlatform::WindowController* controller = self->activeDocumentWindowController()) {
                    work(*controller);
                }
            }
        };
    };
    auto toFocus = [self](const char* method, const QKeySequence& key = {}) {
        return [self, method, key] {
            if (self) {
                self->sendToFocusedWidget(method, key);
            }
        };
    };

    QMenu* application = mainMenu_.addMenu(QStringLiteral("Carvex"));
    addMenuItem(application, QStringLiteral("Preferences..."), QStringLiteral("showPreferences:"),
                QKeySequence(Qt::CTRL | Qt::Key_Comma), send(&AppDelegate::showPreferences));
    CarvexPlatform::MainMenu::insertSeparator(application, -1);
    // Spelled out: the desktop's standard Quit sequence is empty under some platform themes.
    // Ctrl+Q works from a sheet or an alert too: the quit cancels them first.
    mainMenu_.keepInModalWindows(CarvexPlatform::MainMenu::addItem(
        application, QStringLiteral("Quit Carvex"), QStringLiteral("terminate:"), QKeySequence(Qt::CTRL | Qt::Key_Q),
        send(&AppDelegate::terminate)));

    QMenu* file = mainMenu_.addMenu(QStringLiteral("File"));
    addMenuItem(file, QStringLiteral("New..."), QStringLiteral("newDocument:"), QKeySequence::New, [self] {
        if (self && self->documentController_) {
            self->documentController_->newDocument();
        }
    });
    addMenuItem(file, QStringLiteral("Open..."), QStringLiteral("openDocument:"), QKeySequence::Open, [self] {
        if (self && self->documentController_) {
            self->documentController_->openDocument();
        }
    });
    QMenu* recent = mainMenu_.addSubmenu(file, QStringLiteral("Open Recent"));
    connect(recent, &QMenu::aboutToShow, this, [self, recent] {
        if (self) {
            self->fillRecentDocumentsMenu(recent);
        }
    });
    CarvexPlatform::MainMenu::insertSeparator(file, -1);
    addMenuItem(file, QStringLiteral("Close"), QStringLiteral("performClose:"), QKeySequence(Qt::CTRL | Qt::Key_W),
                [] {
                    if (QWidget* window = CarvexPlatform::WindowTabHost::keyWindow()) {
                        window->close();
                    }
                });
    addMenuItem(file, QStringLiteral("Save"), QStringLiteral("saveDocument:"), QKeySequence::Save,
                toDocument([](CarvexPlatform::WindowController& controller) {
                    if (controller.document()) {
                        controller.document()->saveDocument();
                    }
                }));
    addMenuItem(file, QStringLiteral("Save As..."), QStringLiteral("saveDocumentAs:"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                toDocument([](CarvexPlatform::WindowController& controller) {
                    if (controller.document()) {
                        controller.document()->saveDocumentAs();
                    }
                }));

    // Save and Save As serve a document window, Close any window: opened elsewhere (the welcome, help
    // or preferences window, or none at all) the menu shows them unavailable instead of doing nothing.
    // Only while it is open: the keys stay live for the window that is key when they are pressed.
    static const QStringList documentActions = {QStringLiteral("saveDocument:"), QStringLiteral("saveDocumentAs:")};
    static const QString closeAction = QStringLiteral("performClose:");
    connect(file, &QMenu::aboutToShow, this, [self, file] {
        const bool hasDocument = self && self->activeDocumentWindowController();
        const bool hasWindow = CarvexPlatform::WindowTabHost::keyWindow() != nullptr;
        for (QAction* item : file->actions()) {
            const QString action = CarvexPlatform::MainMenu::actionOf(item);
            if (documentActions.contains(action)) {
                item->setEnabled(hasDocument);
            } else if (action == closeAction) {
                item->setEnabled(hasWindow);
            }
        }
    });
    connect(file, &QMenu::aboutToHide, this, [file] {
        for (QAction* item : file->actions()) {
            const QString action = CarvexPlatform::MainMenu::actionOf(item);
            if (documentActions.contains(action) || action == closeAction) {
                item->setEnabled(true);
            }
        }
    });

    QMenu* edit = mainMenu_.addMenu(editMenuTitle);
    // The standard items show their keys, spelled out as every desktop theme has them. A widget that
    // handles such a key itself (a text field) still gets it first.
    addMenuItem(edit, QStringLiteral("Undo"), QStringLiteral("undo:"), QKeySequence(Qt::CTRL | Qt::Key_Z),
                toFocus("undo", QKeySequence(Qt::CTRL | Qt::Key_Z)));
    addMenuItem(edit, QStringLiteral("Redo"), QStringLiteral("redo:"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                toFocus("redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    CarvexPlatform::MainMenu::insertSeparator(edit, -1);
    addMenuItem(edit, QStringLiteral("Cut"), QStringLiteral("cut:"), QKeySequence(Qt::CTRL | Qt::Key_X),
                toFocus("cut", QKeySequence(Qt::CTRL | Qt::Key_X)));
    addMenuItem(edit, QStringLiteral("Copy"), QStringLiteral("copy:"), QKeySequence(Qt::CTRL | Qt::Key_C),
                toFocus("copy", QKeySequence(Qt::CTRL | Qt::Key_C)));
    addMenuItem(edit, QStringLiteral("Paste"), QStringLiteral("paste:"), QKeySequence(Qt::CTRL | Qt::Key_V),
                toFocus("paste", QKeySequence(Qt::CTRL | Qt::Key_V)));
    addMenuItem(edit, QStringLiteral("Select All"), QStringLiteral("selectAll:"), QKeySequence(Qt::CTRL | Qt::Key_A),
                toFocus("selectAll", QKeySequence(Qt::CTRL | Qt::Key_A)));
    CarvexPlatform::MainMenu::insertSeparator(edit, -1);
    QMenu* findMenu = mainMenu_.addSubmenu(edit, QStringLiteral("Find"));
    addMenuItem(findMenu, QStringLiteral("Find..."), QStringLiteral("performFindPanelAction:"),
                QKeySequence(Qt::CTRL | Qt::Key_F),
                [self] {
                    if (self) {
                        self->find(true);
                    }
                });
    addMenuItem(findMenu, QStringLiteral("Find Next"), QStringLiteral("findNext:"), QKeySequence::FindNext, [self] {
        if (self) {
            self->find(false);
        }
    });
    addMenuItem(edit, QStringLiteral("Show Completions"), QStringLiteral("triggerCompletion:"),
                QKeySequence(Qt::CTRL | Qt::Key_Space), toFocus("triggerCompletion"));
    // No key of its own: outside a placeholder session Alt+Return goes to the completion list.
    addMenuItem(edit, QStringLiteral("Show Snippet Suggestion"), QStringLiteral("triggerSnippetSuggestion:"), {},
                toFocus("triggerSnippetSuggestion"));

    QMenu* window = mainMenu_.addMenu(QStringLiteral("Window"));
    addMenuItem(window, QStringLiteral("Minimize"), QStringLiteral("performMiniaturize:"),
                QKeySequence(Qt::CTRL | Qt::Key_M), [] {
                    if (QWidget* active = QApplication::activeWindow()) {
                        active->showMinimized();
                    }
                });
    addMenuItem(window, QStringLiteral("Zoom"), QStringLiteral("performZoom:"), {}, [] {
        if (QWidget* active = QApplication::activeWindow()) {
            active->isMaximized() ? active->showNormal() : active->showMaximized();
        }
    });
    CarvexPlatform::MainMenu::insertSeparator(window, -1);
    addMenuItem(window, QStringLiteral("Bring All to Front"), QStringLiteral("arrangeInFront:"), {},
                send(&AppDelegate::bringDocumentWindowsForward));

    QMenu* help = mainMenu_.addMenu(QStringLiteral("Help"));
    addMenuItem(help, QStringLiteral("Carvex Help"), QStringLiteral("showUserManual:"), QKeySequence::HelpContents,
                send(&AppDelegate::showUserManual));
}

void AppDelegate::fillRecentDocumentsMenu(QMenu* menu) {
    menu->clear();
    QStringList paths;
    if (documentController_) {
        for (const QString& path : documentController_->recentDocumentPaths()) {
            // A file deleted or moved since is not offered.
            if (QFileInfo::exists(path)) {
                paths.append(path);
            }
        }
    }
    QStringList names;
    for (const QString& path : paths) {
        names.append(QFileInfo(path).fileName());
    }
    QPointer<AppDelegate> self(this);
    for (qsizetype index = 0; index < paths.size(); ++index) {
        const QString& path = paths.at(index);
        QString title = names.at(index);
        // Two files of one name tell themselves apart by their folders.
        if (names.count(title) > 1) {
            title += QStringLiteral(" \u2014 ") + QFileInfo(path).absoluteDir().dirName();
        }
        QAction* item = CarvexPlatform::MainMenu::addItem(
            menu, title, QStringLiteral("openRecentDocument:"), {}, [self, path] {
                if (!self || !self->documentController_) {
                    return;
                }
                self->documentController_->openDocumentWithContentsOfFile(
                    path, true,
                    [self](CarvexPlatform::Document* document, bool, const std::optional<CarvexPlatform::Error>&) {
                        // As from the welcome window's list: the document comes in front of it.
                        if (self && document && self->windows_.closeWelcome) {
                            self->windows_.closeWelcome();
                        }
                    });
            });
        item->setToolTip(path);
        item->setStatusTip(path);
    }
    if (!paths.isEmpty()) {
        CarvexPlatform::MainMenu::insertSeparator(menu, -1);
    }
    QAction* clear = CarvexPlatform::MainMenu::addItem(menu, QStringLiteral("Clear Menu"),
                                                       QStringLiteral("clearRecentDocuments:"), {}, [self] {
                                                           if (self && self->documentController_) {
                                                               self->documentController_->clearRecentDocuments();
                                                           }
                                                       });
    clear->setEnabled(!paths.isEmpty());
}

void AppDelegate::applicationWillFinishLaunching() {
    if (!documentController_) {
        documentController_ = std::make_unique<DocumentController>(settings_);
    }
}

void AppDelegate::applicationDidFinishLaunching() {
    auto& center = CarvexPlatform::NotificationCenter::defaultCenter();
    center.addObserver(this, CarvexPlatform::WindowController::windowWillCloseNotification, nullptr,
                       [this](const CarvexPlatform::Notification& notification) { windowWillClose(notification); });
    center.addObserver(this, CarvexPlatform::MainMenu::menuDidAddItemNotification, nullptr,
                       [this](const CarvexPlatform::Notification& notification) { editMenuDidAddItem(notification); });
    cleanEditMenu(mainMenu_);
    insertUpdateItem();
    updaterController();
    QPointer<AppDelegate> self(this);
    CarvexPlatform::MainScheduler::shared()->post([self] {
        if (self) {
            self->runWelcomePolicy();
        }
    });
}

bool AppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows) {
    if (hasVisibleWindows) {
        return true;
    }
    if (documentController_ && !documentController_->documents().empty()) {
        return true;
    }
    if (windows_.showWelcome) {
        windows_.showWelcome();
    }
    return true;
}

void AppDelegate::openFiles(const QStringList& paths) {
    if (!documentController_) {
        return;
    }
    QStringList failedNames;
    QStringList failures;
    for (const QString& path : paths) {
        documentController_->openDocumentWithContentsOfFile(
            path, true,
            [&failedNames, &failures, name = QFileInfo(path).fileName()](
                CarvexPlatform::Document*, bool, const std::optional<CarvexPlatform::Error>& error) {
                if (error) {
                    failedNames.append(name);
                    failures.append(error->localizedDescription);
                }
            },
            false);
    }
    if (!failures.isEmpty()) {
        reportHandOverFailures(failedNames, failures);
    }
}

void AppDelegate::handleHandOver(const QStringList& paths) {
    ++handOversReceived_;
    if (!paths.isEmpty()) {
        handOvers_.push_back(HandOver{paths, 0, {}, {}});
        openNextHandedOverFile();
        return;
    }
    if (applicationShouldHandleReopen(hasVisibleWindows())) {
        bringDocumentWindowsForward();
    }
}

qsizetype AppDelegate::handedOverFilesWaiting() const {
    qsizetype waiting = 0;
    for (const HandOver& handOver : handOvers_) {
        waiting += handOver.paths.size() - handOver.next;
    }
    return waiting;
}

void AppDelegate::openNextHandedOverFile() {
    if (handOverStepPosted_ || handOvers_.empty()) {
        return;
    }
    // One file per turn: a long list keeps the windows painted and the keyboard alive meanwhile.
    handOverStepPosted_ = true;
    QPointer<AppDelegate> self(this);
    CarvexPlatform::MainScheduler::shared()->post([self] {
        if (!self) {
            return;
        }
        self->handOverStepPosted_ = false;
        if (self->handOvers_.empty()) {
            return;
        }
        HandOver& current = self->handOvers_.front();
        if (current.next < current.paths.size() && self->documentController_) {
            const QString path = current.paths.at(current.next++);
            self->documentController_->openDocumentWithContentsOfFile(
                path, true,
                [self, name = QFileInfo(path).fileName()](CarvexPlatform::Document* document, bool,
                                                          const std::optional<CarvexPlatform::Error>& error) {
                    // The document is in front now: the welcome window would stay behind it, as
                    // when a file is opened from the welcome window itself.
                    if (self && document && self->windows_.closeWelcome) {
                        self->windows_.closeWelcome();
                    }
                    if (self && error && !self->handOvers_.empty()) {
                        self->handOvers_.front().failedNames.append(name);
                        self->handOvers_.front().failures.append(error->localizedDescription);
                    }
                },
                false);
        }
        if (!self || self->handOvers_.empty()) {
            return;
        }
        if (self->handOvers_.front().next >= self->handOvers_.front().paths.size() || !self->documentController_) {
            const HandOver done = self->handOvers_.front();
            self->handOvers_.pop_front();
            if (!done.failures.isEmpty()) {
                self->reportHandOverFailures(done.failedNames, done.failures);
            }
        }
        self->openNextHandedOverFile();
    });
}

void AppDelegate::reportHandOverFailures(const QStringList& names, const QStringList& reasons) {
    // A path may be kilobytes long: each line is kept to a readable length.
    auto shortened = [](const QString& line) {
        constexpr qsizetype keep = 120;
        return line.size() <= 2 * keep ? line : line.left(keep) + QStringLiteral("\u2026") + line.right(keep);
    };
    constexpr qsizetype listed = 5;
    CarvexPlatform::Alert alert;
    alert.style = CarvexPlatform::AlertStyle::warning;
    if (reasons.size() == 1) {
        alert.messageText =
            QStringLiteral("The document \u201C%1\u201D could not be opened.").arg(shortened(names.front()));
        alert.informativeText = shortened(reasons.front());
    } else {
        alert.messageText = QStringLiteral("%1 documents could not be opened.").arg(reasons.size());
        QStringList lines;
        for (qsizetype index = 0; index < std::min(listed, reasons.size()); ++index) {
            lines.append(shortened(reasons.at(index)));
        }
        if (reasons.size() > listed) {
            lines.append(QStringLiteral("And %1 more.").arg(reasons.size() - listed));
        }
        alert.informativeText = lines.join(QLatin1Char('\n'));
    }
    CarvexPlatform::AlertPresenter::shared().presentWithoutWaiting(alert);
}

void AppDelegate::editMenuDidAddItem(const CarvexPlatform::Notification& notification) {
    auto* menu = static_cast<const QObject*>(notification.sender);
    if (!menu || menu != mainMenu_.submenuTitled(editMenuTitle)) {
        return;
    }
    cleanEditMenu(mainMenu_);
}

void AppDelegate::windowWillClose(const CarvexPlatform::Notification& notification) {
    const void* window = notification.sender;
    if (!window || !documentController_) {
        return;
    }
    for (const auto& shared : {windows_.welcomeWindow, windows_.helpWindow, windows_.preferencesWindow}) {
        if (shared && shared() == window) {
            return;
        }
    }
    bool isDocumentWindow = false;
    for (CarvexPlatform::Document* document : documentController_->documents()) {
        for (CarvexPlatform::WindowController* controller : document->windowControllers()) {
            if (controller->isWindowLoaded() && controller->window() == window && controller->document()) {
                isDocumentWindow = true;
            }
        }
    }
    if (!isDocumentWindow) {
        return;
    }
    QPointer<AppDelegate> self(this);
    CarvexPlatform::MainScheduler::shared()->schedule(welcomeDelayAfterClose, [self] {
        if (self) {
            self->runWelcomePolicy();
        }
    });
}

void AppDelegate::showPreferences() {
    if (windows_.showPreferences) {
        windows_.showPreferences();
    }
}

void AppDelegate::showUserManual() {
    if (windows_.showUserManual) {
        windows_.showUserManual();
    }
}

void AppDelegate::checkForUpdates(QObject* sender) {
    log_(checkForUpdatesMessage);
    updaterController().checkForUpdates(sender);
}

CarvexPlatform::StandardUpdaterController& AppDelegate::updaterController() {
    if (!updaterController_) {
        log_(creatingUpdaterMessage);
        updaterController_ = std::make_unique<CarvexPlatform::StandardUpdaterController>(true);
    }
    return *updaterController_;
}

void AppDelegate::cleanEditMenu(CarvexPlatform::MainMenu& mainMenu) {
    QMenu* edit = mainMenu.submenuTitled(editMenuTitle);
    if (!edit) {
        return;
    }
    static const QStringList removedActions = {QStringLiteral("orderFrontCharacterPalette:"),
                                               QStringLiteral("startDictation:"), QStringLiteral("showWritingTools:"),
                                               QStringLiteral("performAutoFill:")};
    static const QStringList removedTitles = {QStringLiteral("Writing Tools"), QStringLiteral("AutoFill")};
    auto remove = [edit](QAction* item) {
        edit->removeAction(item);
        if (item->parent() == edit) {
            item->deleteLater();
        }
    };
    for (QAction* item : edit->actions()) {
        const QString action = CarvexPlatform::MainMenu::actionOf(item);
        if (!action.isEmpty() && removedActions.contains(action)) {
            remove(item);
        }
    }
    for (QAction* item : edit->actions()) {
        if (removedTitles.contains(item->text())) {
            remove(item);
        }
    }
    while (!edit->actions().isEmpty() && edit->actions().last()->isSeparator()) {
        remove(edit->actions().last());
    }
}

void AppDelegate::insertUpdateItem() {
    QMenu* application = mainMenu_.applicationMenu();
    if (!application || updateItemInserted_) {
        return;
    }
    updateItemInserted_ = true;
    int index = CarvexPlatform::MainMenu::indexOfItemWithAction(application, QStringLiteral("terminate:"));
    if (index < 0) {
        index = static_cast<int>(application->actions().size());
    }
    CarvexPlatform::MainMenu::insertSeparator(application, index);
    QPointer<AppDelegate> self(this);
    CarvexPlatform::MainMenu::insertItem(application, index, checkForUpdatesTitle, QStringLiteral("checkForUpdates:"),
                                         {}, [self] {
                                             if (self) {
                                                 self->checkForUpdates(nullptr);
                                             }
                                         });
}

void AppDelegate::runWelcomePolicy() {
    if (documentController_ && !documentController_->documents().empty()) {
        return;
    }
    if (windows_.showWelcome) {
        windows_.showWelcome();
    }
}

bool AppDelegate::hasVisibleWindows() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && !widget->isMinimized() &&
            !(widget->windowType() == Qt::Popup || widget->windowType() == Qt::ToolTip)) {
            return true;
        }
    }
    return false;
}

CarvexPlatform::WindowController* AppDelegate::activeDocumentWindowController() const {
    QWidget* active = CarvexPlatform::WindowTabHost::keyWindow();
    if (!active || !documentController_) {
        return nullptr;
    }
    for (CarvexPlatform::Document* document : documentController_->documents()) {
        for (CarvexPlatform::WindowController* controller : document->windowControllers()) {
            if (controller->isWindowLoaded() && controller->window() == active) {
                return controller;
            }
        }
    }
    return nullptr;
}

void AppDelegate::sendToFocusedWidget(const char* method, const QKeySequence& key) {
    QWidget* focus = QApplication::focusWidget();
    static const QByteArrayList changesText = {"undo", "redo", "cut", "paste"};
    if (changesText.contains(method)) {
        // A text that may not be edited (a read-only view, one still loading) stays as it is.
        auto* plain = qobject_cast<QPlainTextEdit*>(focus);
        auto* rich = qobject_cast<QTextEdit*>(focus);
        auto* line = qobject_cast<QLineEdit*>(focus);
        if ((plain && plain->isReadOnly()) || (rich && rich->isReadOnly()) || (line && line->isReadOnly())) {
            return;
        }
    }
    const auto answers = [method](QObject* responder) {
        const QMetaObject* meta = responder->metaObject();
        for (int index = 0; index < meta->methodCount(); ++index) {
            if (meta->method(index).name() == method && meta->method(index).parameterCount() == 0) {
                QMetaObject::invokeMethod(responder, method);
                return true;
            }
        }
        return false;
    };
    // Each widget, then the controller whose view it is, then its parent widget.
    for (QWidget* responder = focus; responder; responder = responder->parentWidget()) {
        if (answers(responder)) {
            return;
        }
        if (CarvexPlatform::ViewController* controller = CarvexPlatform::ViewController::controllerOfView(responder)) {
            if (answers(controller)) {
                return;
            }
        }
    }
    // No such action: the key itself goes to the widget, as it would without the menu (a list copies
    // its rows on Ctrl+C by itself).
    if (focus && !key.isEmpty()) {
        // A key sent by the program meets the shortcuts first: the items with this key wait meanwhile.
        std::vector<QPointer<QAction>> paused;
        for (QMenu* menu : mainMenu_.menus()) {
            for (QAction* item : menu->findChildren<QAction*>()) {
                if (item->isEnabled() && item->shortcut() == key) {
                    item->setEnabled(false);
                    paused.emplace_back(item);
                }
            }
        }
        const QKeyCombination combination = key[0];
        QKeyEvent press(QEvent::KeyPress, combination.key(), combination.keyboardModifiers());
        QKeyEvent release(QEvent::KeyRelease, combination.key(), combination.keyboardModifiers());
        QPointer<QWidget> target(focus);
        QCoreApplication::sendEvent(target, &press);
        if (target) {
            QCoreApplication::sendEvent(target, &release);
        }
        for (const QPointer<QAction>& item : paused) {
            if (item) {
                item->setEnabled(true);
            }
        }
    }
}

void AppDelegate::find(bool askForText) {
    auto* editor = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget());
    if (!editor) {
        return;
    }
    if (askForText || findText_.isEmpty()) {
        bool accepted = false;
        const QString text = QInputDialog::getText(editor->window(), QStringLiteral("Find"), QStringLiteral("Find:"),
                                                   QLineEdit::Normal, findText_, &accepted);
        if (!accepted || text.isEmpty()) {
            return;
        }
        findText_ = text;
    }
    if (auto* view = qobject_cast<EditorTextView*>(editor)) {
        view->finishLoading();  // finds in the whole of a long text still loading
    }
    if (!editor->find(findText_)) {
        // From the top once the end is reached.
        QTextCursor cursor = editor->textCursor();
        cursor.movePosition(QTextCursor::Start);
        editor->setTextCursor(cursor);
        editor->find(findText_);
    }
}

void AppDelegate::terminate() {
    // A sheet, panel or alert on screen ends as cancelled (a new-document sheet makes nothing); the
    // questions of the quit itself come after.
    CarvexPlatform::ModalWindows::cancelAll();
    if (!documentController_) {
        QApplication::quit();
        return;
    }
    documentController_->closeAllDocuments([](bool allClosed) {
        if (allClosed) {
            QApplication::quit();
        }
    });
}

void AppDelegate::terminateWithoutAsking() {
    if (terminatingWithoutAsking_) {
        return;
    }
    terminatingWithoutAsking_ = true;
    // No one answers from now on: a question a save would ask (a file changed on disk) ends as
    // withdrawn, and nothing is written over the other program's file.
    CarvexPlatform::AlertPresenter::shared().setUnattended(true);
    CarvexPlatform::ModalWindows::cancelAll();
    if (!documentController_) {
        QApplication::quit();
        return;
    }
    // Counts the saves under way, and the loop below; the last to end closes the documents, whose
    // edits are then in their files or in recovery files.
    auto pending = std::make_shared<int>(1);
    QPointer<AppDelegate> self(this);
    auto oneDone = [self, pending] {
        if (--*pending != 0) {
            return;
        }
        if (self && self->documentController_) {
            std::vector<QPointer<CarvexPlatform::Document>> documents;
            for (CarvexPlatform::Document* document : self->documentController_->documents()) {
                documents.emplace_back(document);
            }
            for (const QPointer<CarvexPlatform::Document>& document : documents) {
                if (document) {
                    document->close();
                }
            }
        }
        if (!self) {
            QApplication::quit();
            return;
        }
        // The recent list names the recovery files at the next start.
        self->settings_->sync();
        QApplication::exit(self->editsLost_ ? editsLostExitStatus : 0);
    };
    for (CarvexPlatform::Document* document : documentController_->documents()) {
        if (!document->isDocumentEdited()) {
            continue;
        }
        if (!document->hasFile()) {
            keepInRecoveryFile(*document);
            continue;
        }
        ++*pending;
        // Queued behind a save under way; the write goes through a temporary file renamed over
        // the old one, so the file is never seen half written.
        document->saveToFile(document->filePath(), document->fileType(), CarvexPlatform::SaveOperation::autosaveInPlace,
                             [self, oneDone, document = QPointer<CarvexPlatform::Document>(document)](
                                 const std::optional<CarvexPlatform::Error>& error) {
                                 if (self && document && error) {
                                     if (!error->isUserCancelled()) {
                                         self->log_(QStringLiteral("[Carvex] %1 could not be saved: %2")
                                                        .arg(document->displayName(), error->localizedDescription));
                                     }
                                     // Refused (the file changed on disk) or failed: the text goes
                                     // elsewhere, and the file stays as it is.
                                     self->keepInRecoveryFile(*document);
                                 }
                                 oneDone();
                             });
    }
    oneDone();
}

void AppDelegate::keepInRecoveryFile(CarvexPlatform::Document& document) {
    const QString name = document.displayName();
    // The file's own extension ("yml" stays), else the one its type is saved with.
    QString extension = document.hasFile() ? QFileInfo(document.filePath()).suffix() : QString();
    if (extension.isEmpty()) {
        extension = document.fileNameExtension(document.fileType(), CarvexPlatform::SaveOperation::saveAs);
    }
    const auto lost = [this, &name](const QString& reason) {
        editsLost_ = true;
        log_(QStringLiteral("[Carvex] The edits to %1 are lost: %2").arg(name, reason));
    };
    const auto data = document.dataOfType(document.fileType());
    if (const auto* error = std::get_if<CarvexPlatform::Error>(&data)) {
        lost(error->localizedDescription);
        return;
    }
    auto written = CarvexPlatform::RecoveryFile::write(name, extension, std::get<QByteArray>(data));
    if (const auto* error = std::get_if<CarvexPlatform::Error>(&written)) {
        // The data folder cannot be written (full, or not the user's): the temporary folder is the
        // last place the text can go.
        const QString reason = error->localizedDescription;
        written = CarvexPlatform::RecoveryFile::writeInTemporaryFolder(name, extension, std::get<QByteArray>(data));
        if (const auto* last = std::get_if<CarvexPlatform::Error>(&written)) {
            lost(reason + QStringLiteral("; ") + last->localizedDescription);
            return;
        }
    }
    const QString& path = std::get<QString>(written);
    if (documentController_) {
        documentController_->noteNewRecentDocumentPath(path);
    }
    log_(QStringLiteral("[Carvex] The edits to %1 could not go to its file; they are kept in %2").arg(name, path));
}

void AppDelegate::sessionWillEnd(bool mayAsk) {
    if (mayAsk) {
        terminate();
    } else {
        terminateWithoutAsking();
    }
}

void AppDelegate::bringDocumentWindowsForward() {
    if (!documentController_) {
        return;
    }
    for (CarvexPlatform::Document* document : documentController_->documents()) {
        for (CarvexPlatform::WindowController* controller : document->windowControllers()) {
            if (controller->isWindowLoaded()) {
                QMainWindow* window = controller->window();
                if (window->isMinimized()) {
                    window->showNormal();
                }
                window->raise();
            }
        }
    }
    if (QWidget* active = QApplication::activeWindow()) {
        active->activateWindow();
    }
}

}  // namespace Carvex
