#include "Carvex/App/AppDelegate.h"

#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Manual/HelpWindowController.h"
#include "Carvex/Preferences/PreferencesWindowController.h"
#include "Carvex/Windows/WelcomeWindowController.h"
#include "platform/Document.h"
#include "platform/MainMenu.h"
#include "platform/MainScheduler.h"
#include "platform/NotificationCenter.h"
#include "platform/StandardUpdaterController.h"
#include "platform/WindowController.h"
#include "platform/WindowTabHost.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QMainWindow>
#include <QMetaMethod>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTextDocument>
#include <QWidget>
#include <cstdio>

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
    auto toFocus = [self](const char* method) {
        return [self, method] {
            if (self) {
                self->sendToFocusedWidget(method);
            }
        };
    };

    QMenu* application = mainMenu_.addMenu(QStringLiteral("Carvex"));
    addMenuItem(application, QStringLiteral("Preferences..."), QStringLiteral("showPreferences:"),
                QKeySequence(Qt::CTRL | Qt::Key_Comma), send(&AppDelegate::showPreferences));
    CarvexPlatform::MainMenu::insertSeparator(application, -1);
    // Spelled out: the desktop's standard Quit sequence is empty under some platform themes.
    addMenuItem(application, QStringLiteral("Quit Carvex"), QStringLiteral("terminate:"),
                QKeySequence(Qt::CTRL | Qt::Key_Q),
                send(&AppDelegate::terminate));

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

    QMenu* edit = mainMenu_.addMenu(editMenuTitle);
    addMenuItem(edit, QStringLiteral("Undo"), QStringLiteral("undo:"), {}, toFocus("undo"));
    addMenuItem(edit, QStringLiteral("Redo"), QStringLiteral("redo:"), {}, toFocus("redo"));
    CarvexPlatform::MainMenu::insertSeparator(edit, -1);
    addMenuItem(edit, QStringLiteral("Cut"), QStringLiteral("cut:"), {}, toFocus("cut"));
    addMenuItem(edit, QStringLiteral("Copy"), QStringLiteral("copy:"), {}, toFocus("copy"));
    addMenuItem(edit, QStringLiteral("Paste"), QStringLiteral("paste:"), {}, toFocus("paste"));
    addMenuItem(edit, QStringLiteral("Select All"), QStringLiteral("selectAll:"), {}, toFocus("selectAll"));
    CarvexPlatform::MainMenu::insertSeparator(edit, -1);
    QMenu* findMenu = mainMenu_.addSubmenu(edit, QStringLiteral("Find"));
    addMenuItem(findMenu, QStringLiteral("Find..."), QStringLiteral("performFindPanelAction:"), QKeySequence::Find,
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
    for (const QString& path : paths) {
        documentController_->openDocumentWithContentsOfFile(path, true);
    }
}

void AppDelegate::handleHandOver(const QStringList& paths) {
    if (!paths.isEmpty()) {
        openFiles(paths);
        return;
    }
    if (applicationShouldHandleReopen(hasVisibleWindows())) {
        bringDocumentWindowsForward();
    }
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

void AppDelegate::sendToFocusedWidget(const char* method) {
    for (QObject* responder = QApplication::focusWidget(); responder; responder = responder->parent()) {
        const QMetaObject* meta = responder->metaObject();
        for (int index = 0; index < meta->methodCount(); ++index) {
            if (meta->method(index).name() == method && meta->method(index).parameterCount() == 0) {
                QMetaObject::invokeMethod(responder, method);
                return;
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
    if (!editor->find(findText_)) {
        // From the top once the end is reached.
        QTextCursor cursor = editor->textCursor();
        cursor.movePosition(QTextCursor::Start);
        editor->setTextCursor(cursor);
        editor->find(findText_);
    }
}

void AppDelegate::terminate() {
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
