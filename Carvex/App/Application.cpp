#include "Carvex/App/Application.h"

#include "Carvex/Completion/CompletionController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Documents/NewDocumentModalViewController.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Editor/RefLinkHandler.h"
#include "Carvex/Manual/HelpWindowController.h"
#include "Carvex/Manual/WebViewEnvironment.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/WelcomeViewController.h"
#include "platform/BackgroundTask.h"
#include "platform/FileWriting.h"
#include "platform/MainMenu.h"
#include "platform/MemoryRelease.h"
#include "platform/SingleInstance.h"
#include "platform/Storyboard.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QPointer>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

namespace Carvex {

Application::Application(QString instanceKey, AppDelegate::SharedWindows windows,
                         std::shared_ptr<CarvexPlatform::Settings> settings)
    : windows_(std::move(windows)),
      settings_(std::move(settings)),
      instance_(std::make_unique<CarvexPlatform::SingleInstance>(std::move(instanceKey))) {}

Application::~Application() = default;

void Application::registerScenes() {
    CarvexPlatform::Storyboard& storyboard = CarvexPlatform::Storyboard::main();
    DocumentWindowController::registerScene(storyboard);
    EditorViewController::registerScene(storyboard);
    PropertiesViewController::registerScene(storyboard);
    WelcomeViewController::registerScene(storyboard);
    NewDocumentModalViewController::registerScene(storyboard);
}

bool Application::start(const QStringList& arguments) {
    const QStringList paths = CarvexPlatform::SingleInstance::pathsFromArguments(arguments);
    if (instance_->handOver(paths)) {
        return false;
    }
    registerScenes();
    TemplateCatalog::installFactory();
    SnippetSuggestionController::installFactory();
    CompletionController::installFactory();
    RefLinkHandler::installFactory();
    mainMenu_ = std::make_unique<CarvexPlatform::MainMenu>();
    delegate_ = std::make_unique<AppDelegate>(*mainMenu_, windows_, settings_);
    delegate_->buildMainMenu();
    mainMenu_->attachToWindows();
    AppDelegate* delegate = delegate_.get();
    instance_->listen([delegate](const QStringList& handedOver) { delegate->handleHandOver(handedOver); });
    terminationSignals_ = std::make_unique<CarvexPlatform::TerminationSignals>(
        [guard = QPointer<AppDelegate>(delegate)](int) {
            if (guard) {
                guard->terminateWithoutAsking();
            }
        });
#if QT_CONFIG(sessionmanager)
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, delegate,
                     [delegate](QSessionManager& manager) { delegate->sessionWillEnd(manager.allowsInteraction()); });
#endif

    delegate_->applicationWillFinishLaunching();
    delegate_->applicationDidFinishLaunching();
    delegate_->openFiles(paths);
    return true;
}

int Application::main(int argc, char** argv) {
    // Before anything writes a file: past the file-size limit a write fails and the save says so.
    CarvexPlatform::FileWriting::ignoreFileSizeSignal();
    CarvexPlatform::MemoryRelease::configureAllocator();
    WebViewEnvironment::prepareBeforeApplication();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Carvex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Carvex"));
    QGuiApplication::setDesktopFileName(QStringLiteral("carvex"));
    QApplication::setQuitOnLastWindowClosed(false);

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    Application carvex(CarvexPlatform::SingleInstance::defaultKey());
    if (!carvex.start(arguments)) {
        return 0;
    }
    const int status = QApplication::exec();
    settlePendingWork();
    HelpWindowController::releaseShared();
    return status;
}

void Application::settlePendingWork() {
    // Closing lets windows, tab hosts and documents go on a later turn, and a save still writing
    // hands its result to one. Once the loop has ended no turn comes: left to the application
    // object's own teardown, these would be deleted after their widgets, or never. A few rounds
    // take in what the first ones post in turn.
    for (int round = 0; round < 4; ++round) {
        CarvexPlatform::BackgroundTask::waitForIdle();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

}  // namespace Carvex
