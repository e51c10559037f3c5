// The document just shown takes the keys, however it was opened: through the real start-up code,
// the local socket of a second launch, the document controller, the windows and their tabs, and
// key events sent where the application sends them.

#include "tests/Carvex/App/ApplicationWindows.h"
#include "tests/Carvex/App/ScopedApplicationSetup.h"
#include "tests/Carvex/App/TypeKeys.h"
#include "tests/Carvex/App/WaitUntil.h"
#include "Carvex/App/AppDelegate.h"
#include "Carvex/App/Application.h"
#include "Carvex/Windows/DocumentController.h"
#include "platform/AlertPresenter.h"
#include "platform/AlertScript.h"
#include "platform/Document.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace Carvex {
namespace {

using CarvexTest::editorTextViewOf;
using CarvexTest::noSharedWindows;
using CarvexTest::waitUntil;

const QByteArray description = "openapi: 3.0.3\ninfo:\n  title: T\n  version: '1'\npaths: {}\n";

// What a row works with: the running application, a second launch, and two files.
struct Launch {
    QString key;
    QString first;
    QString second;
    std::unique_ptr<Application> application;

    DocumentController& documents() const { return *application->delegate()->documentController(); }
    void start(const QStringList& paths) {
        application = std::make_unique<Application>(key, noSharedWindows(), CarvexPlatform::Settings::isolated());
        EXPECT_TRUE(application->start(paths));
    }
    // What a second launch with these files does.
    void handOver(const QStringList& paths) const {
        Application later(key, noSharedWindows(), CarvexPlatform::Settings::isolated());
        EXPECT_FALSE(later.start(paths)) << "the running instance takes the files";
    }
    // The document of `path` once its text is on screen (its tab the current one), or null.
    CarvexPlatform::Document* shown(const QString& path) const {
        CarvexPlatform::Document* found = nullptr;
        waitUntil([&] {
            found = documents().documentForFile(path);
            return editorTextViewOf(found) != nullptr && editorTextViewOf(found)->isVisible();
        });
        return found;
    }
};

// One way of opening: it gives the document it showed last, which should take the keys.
struct Opening {
    const char* name;
    std::function<CarvexPlatform::Document*(Launch&)> open;
};
void PrintTo(const Opening& opening, std::ostream* out) { *out << opening.name; }

const Opening openings[] = {
    {"one_file_on_the_command_line", [](Launch& launch) { launch.start({launch.first}); return launch.shown(launch.first); }},
    {"two_files_on_the_command_line",
     [](Launch& launch) {
         launch.start({launch.first, launch.second});
         return launch.shown(launch.second);
     }},
    {"handed_over_by_a_second_launch",
     [](Launch& launch) {
         launch.start({launch.first});
         launch.handOver({launch.second});
         return launch.shown(launch.second);
     }},
    {"an_open_file_handed_over_again",
     [](Launch& launch) {
         launch.start({launch.first});
         launch.handOver({launch.second});
         launch.shown(launch.second);
         launch.handOver({launch.first});
         return launch.shown(launch.first);
     }},
    // As File > Open, Open Recent and the welcome window's list open a file.
    {"opened_from_a_menu",
     [](Launch& launch) {
         launch.start({launch.first});
         launch.documents().openDocumentWithContentsOfFile(launch.second, true);
         return launch.shown(launch.second);
     }},
    {"a_new_document",
     [](Launch& launch) {
         launch.start({launch.first});
         CarvexPlatform::Document* made =
             launch.documents().openGeneratedDocument(QString::fromUtf8(description), DocumentFormat::yaml);
         waitUntil([&] { return editorTextViewOf(made) != nullptr && editorTextViewOf(made)->isVisible(); });
         return made;
     }},
};

class KeyboardFocusTest : public ::testing::TestWithParam<Opening> {
protected:
    // First, so that it goes last: after the application and its windows.
    CarvexTest::ScopedApplicationSetup applicationSetup;

    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        CarvexPlatform::AlertPresenter::shared().setScript(alerts);
        Application::registerScenes();
        launch.key = QStringLiteral("carvex-focus-") + QUuid::createUuid().toString(QUuid::Id128);
        launch.first = write(QStringLiteral("first.yaml"));
        launch.second = write(QStringLiteral("second.yaml"));
    }
    void TearDown() override {
        if (launch.application && launch.application->delegate()) {
            const std::vector<CarvexPlatform::Document*> open = launch.documents().documents();
            for (CarvexPlatform::Document* document : open) {
                document->close();
            }
            waitUntil([&] { return launch.documents().documents().empty(); });
        }
        launch.application.reset();
        CarvexPlatform::AlertPresenter::shared().setScript(nullptr);
    }
    QString write(const QString& name) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(description);
        return path;
    }

    std::shared_ptr<CarvexPlatform::AlertScript> alerts = std::make_shared<CarvexPlatform::AlertScript>();
    QTemporaryDir folder;
    Launch launch;
};

TEST_P(KeyboardFocusTest, TheDocumentJustShownTakesTheKeys) {
    // A tab that joined a window took that window's focus into its page while the page was still
    // empty: the keys went nowhere until a click in the text.
    CarvexPlatform::Document* shown = GetParam().open(launch);
    ASSERT_NE(shown, nullptr);
    EditorTextView* view = editorTextViewOf(shown);
    ASSERT_TRUE(view != nullptr && view->isVisible());
    QWidget* window = view->window();
    EXPECT_EQ(window->focusWidget(), view) << "the window gives its text the keys when it becomes active";

    // The window becomes active, as the window manager makes it; the keys go where the
    // application sends them.
    window->activateWindow();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(waitUntil([] { return QApplication::focusWidget() != nullptr; }, 5000));
    EXPECT_EQ(QApplication::focusWidget(), view);
    CarvexTest::type(QApplication::focusWidget(), QStringLiteral("# typed\n"));
    EXPECT_EQ(view->text().toStdString(), "# typed\n" + description.toStdString());
    for (CarvexPlatform::Document* other : launch.documents().documents()) {
        if (other != shown) {
            EXPECT_EQ(editorTextViewOf(other)->text().toStdString(), description.toStdString())
                << "the other text as it was";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Openings, KeyboardFocusTest, ::testing::ValuesIn(openings),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace Carvex
