// Loads the manual in a real web view, offscreen. Each test starts the web engine in its own
// process (the test runner runs them one by one), so the waits below are for the engine's
// answers, with generous limits. After the last test the application object ends, and the web
// engine with it, as when the application quits: no page may be left to a profile by then.
#include "Carvex/Manual/HelpWindowController.h"
#include "Carvex/Manual/WebViewEnvironment.h"
#include "platform/TestApplication.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QLibraryInfo>
#include <QMutex>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

using namespace Carvex;

namespace {

constexpr int waitLimitMs = 60'000;

// Why the web view cannot run here, or nothing when it can.
std::optional<std::string> reasonToSkip() {
#ifdef CARVEX_SANITIZED
    return "the web engine's own code trips the address sanitizer (new-delete-type-mismatch inside "
           "libQt6WebEngineCore), so the web view runs only in the plain build";
#else
    const QString process = qEnvironmentVariableIsSet("QTWEBENGINEPROCESS_PATH")
                                ? qEnvironmentVariable("QTWEBENGINEPROCESS_PATH")
                                : QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) +
                                      QStringLiteral("/QtWebEngineProcess");
    if (!QFileInfo(process).isExecutable()) {
        return "Qt WebEngine is not installed (no " + process.toStdString() + ")";
    }
    return std::nullopt;
#endif
}

bool waitUntil(const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > waitLimitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

bool waitForLoad(QWebEngineView* view) {
    QSignalSpy finished(view, &QWebEngineView::loadFinished);
    return finished.wait(waitLimitMs);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The run's messages, from any thread, passed on as well.
struct Messages {
    QMutex mutex;
    QStringList kept;
    QtMessageHandler next = nullptr;
};

Messages& messages() {
    static Messages* const all = new Messages();
    return *all;
}

void keepMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    Messages& all = messages();
    {
        QMutexLocker lock(&all.mutex);
        all.kept.append(message);
    }
    if (all.next) {
        all.next(type, context, message);
    }
}

// Ends the application object after the last test: the web engine releases the profiles still
// standing, and says so for a page it has to take from under one.
class WebEngineEnd : public ::testing::Environment {
public:
    void SetUp() override { messages().next = qInstallMessageHandler(&keepMessage); }
    void TearDown() override {
        delete QCoreApplication::instance();
        qInstallMessageHandler(messages().next);
        QMutexLocker lock(&messages().mutex);
        for (const QString& message : messages().kept) {
            EXPECT_FALSE(message.contains(QLatin1String("Release of profile"))) << message.toStdString();
        }
    }
};

[[maybe_unused]] ::testing::Environment* const webEngineEnd = ::testing::AddGlobalTestEnvironment(new WebEngineEnd);

class HelpWindowWebViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto reason = reasonToSkip()) {
            GTEST_SKIP() << "Skipped: " << *reason;
        }
        WebViewEnvironment::prepareBeforeApplication();
        CarvexPlatform::TestApplication::ensure();
    }

    ManualResourceLocator diskBundle(const QByteArray& indexHtml) {
        writeFile(bundle.filePath("Manual/index.html"), indexHtml);
        return {.bundle = bundle.path(), .subdirectory = "Manual", .entryFile = "index"};
    }

    QTemporaryDir bundle;
};

}  // namespace

TEST_F(HelpWindowWebViewTest, OpensTheManualOnceAndKeepsThePageTheUserWentTo) {
    HelpWindowController controller;
    std::vector<QUrl> opened;
    controller.setURLOpener([&](const QUrl& url) { opened.push_back(url); });
    QMainWindow* window = controller.window();
    EXPECT_EQ(window->windowTitle(), "Carvex Help");
    EXPECT_EQ(window->size(), QSize(1000, 750));
    EXPECT_EQ(window->minimumSize(), QSize(600, 400));
    controller.showWindow();

    QWebEngineView* view = controller.webView();
    controller.loadManualIfNeeded();
    ASSERT_TRUE(waitForLoad(view));
    EXPECT_EQ(view->url(), HelpWindowController::entryURL());
    EXPECT_EQ(view->title(), "Carvex User Guide");
    EXPECT_FALSE(controller.isShowingError());

    // Styles came through the scheme: the sidebar is laid out as a flex row.
    QString display;
    view->page()->runJavaScript("getComputedStyle(document.body).display",
                                [&](const QVariant& value) { display = value.toString(); });
    ASSERT_TRUE(waitUntil([&] { return !display.isEmpty(); }));
    EXPECT_EQ(display, "flex");

    view->page()->runJavaScript("location.href = 'documents.html'");
    ASSERT_TRUE(waitForLoad(view));
    EXPECT_EQ(view->url(), QUrl("manual://host/documents.html"));

    // A web address leaves for the browser; the window stays on its page.
    view->page()->runJavaScript("location.href = 'https://spec.openapis.org/'");
    ASSERT_TRUE(waitUntil([&] { return !opened.empty(); }));
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl("https://spec.openapis.org/")});
    EXPECT_EQ(view->url(), QUrl("manual://host/documents.html"));

    controller.close();
    controller.showWindow();
    controller.loadManualIfNeeded();
    EXPECT_EQ(view->url(), QUrl("manual://host/documents.html"));
    EXPECT_FALSE(controller.isShowingError());
}

TEST_F(HelpWindowWebViewTest, PageWithAMissingImageStillLoads) {
    HelpWindowController controller(
        diskBundle("<!DOCTYPE html><html><head><title>Broken image</title></head>"
                   "<body><img id=i src='images/missing.png'><p>text</p></body></html>"));
    controller.showWindow();
    controller.loadManual();
    ASSERT_TRUE(waitForLoad(controller.webView()));
    EXPECT_EQ(controller.webView()->title(), "Broken image");
    EXPECT_FALSE(controller.isShowingError());
}

TEST_F(HelpWindowWebViewTest, FailedLoadShowsTheMessageAndRetryRestoresTheManual) {
    HelpWindowController controller(diskBundle("<title>Entry</title>"));
    controller.showWindow();
    QWebEngineView* view = controller.webView();
    view->load(QUrl("manual://host/gone.html"));
    ASSERT_TRUE(waitUntil([&] { return controller.isShowingError(); }));
    EXPECT_TRUE(controller.errorLabel()->text().startsWith("Failed to load the user manual.\n"))
        << controller.errorLabel()->text().toStdString();
    EXPECT_TRUE(view->isHidden());

    controller.retryButton()->click();
    EXPECT_FALSE(controller.isShowingError());
    EXPECT_FALSE(view->isHidden());
    ASSERT_TRUE(waitUntil([&] { return view->title() == "Entry"; }));
}

TEST_F(HelpWindowWebViewTest, MissingManualShowsTheNotFoundMessageAgainOnRetry) {
    HelpWindowController controller(
        ManualResourceLocator{.bundle = bundle.path(), .subdirectory = "Manual", .entryFile = "index"});
    controller.showWindow();
    controller.loadManualIfNeeded();
    ASSERT_TRUE(controller.isShowingError());
    EXPECT_EQ(controller.errorLabel()->text(), HelpWindowController::notFoundMessage);
    EXPECT_TRUE(controller.webView()->isHidden());
    EXPECT_TRUE(controller.webView()->url().isEmpty());

    controller.errorLabel()->setText("changed");
    controller.retryButton()->click();
    EXPECT_TRUE(controller.isShowingError());
    EXPECT_EQ(controller.errorLabel()->text(), HelpWindowController::notFoundMessage);
}

TEST_F(HelpWindowWebViewTest, TheSharedWindowIsReleasedWithItsPageAndMadeAnewAfter) {
    HelpWindowController& help = HelpWindowController::shared();
    help.showWindow();
    help.loadManualIfNeeded();
    ASSERT_TRUE(waitForLoad(help.webView()));
    const QPointer<QWebEngineView> view = help.webView();
    const QPointer<QWebEnginePage> page = view->page();
    const QPointer<QMainWindow> window = help.window();

    HelpWindowController::releaseShared();
    EXPECT_TRUE(page.isNull());
    EXPECT_TRUE(view.isNull());
    EXPECT_TRUE(window.isNull());

    // A new one serves a later request, and goes the same way.
    HelpWindowController& again = HelpWindowController::shared();
    ASSERT_FALSE(again.isWindowLoaded());
    again.loadManualIfNeeded();
    ASSERT_TRUE(waitForLoad(again.webView()));
    HelpWindowController::releaseShared();
    HelpWindowController::releaseShared();
}
