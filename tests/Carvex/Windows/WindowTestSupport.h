#pragma once

#include "Carvex/Console/ConsoleViewController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Validation/ValidationResultsViewController.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/EditorSplitViewController.h"
#include "Carvex/Windows/SplitViewController.h"
#include "platform/AlertPresenter.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/Storyboard.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace CarvexWindowTests {

// A small valid description.
inline const QByteArray validYAML = "openapi: 3.0.3\n"
                                    "info:\n"
                                    "  title: Small\n"
                                    "  version: 1.0.0\n"
                                    "paths: {}\n";

// Faults the rules find: an array without items, a path parameter that is not required.
inline const QByteArray faultyYAML = "openapi: 3.0.3\n"
                                     "info:\n"
                                     "  title: Faulty\n"
                                     "  version: 1.0.0\n"
                                     "paths:\n"
                                     "  /pets/{id}:\n"
                                     "    get:\n"
                                     "      parameters:\n"
                                     "        - name: id\n"
                                     "          in: path\n"
                                     "          schema:\n"
                                     "            type: array\n"
                                     "      responses:\n"
                                     "        '200':\n"
                                     "          description: ok\n";

// Documents opened through the document controller into real document windows, offscreen, on the
// fake clock.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        CarvexPlatform::AlertPresenter::shared().setScript(alerts);
        controller.setEditorPreferencesStore(&preferences);
    }
    void TearDown() override {
        for (CarvexPlatform::Document* document : controller.documents()) {
            document->close();
        }
        settle();
        CarvexPlatform::AlertPresenter::shared().setScript(nullptr);
    }

    void settle() {
        for (int turn = 0; turn < 6; ++turn) {
            CarvexPlatform::BackgroundTask::waitForIdle();
            fake->runPending();
        }
    }

    Carvex::Document* openFile(const QString& path) {
        CarvexPlatform::Document* opened = nullptr;
        controller.openDocumentWithContentsOfFile(path, true,
                                                  [&](CarvexPlatform::Document* document, bool, auto) { opened = document; });
        return dynamic_cast<Carvex::Document*>(opened);
    }
    // A document read from `name` in the temporary folder, holding `text`.
    Carvex::Document* openText(const QString& name, const QByteArray& text) {
        QFile out(folder.filePath(name));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return nullptr;
        }
        out.write(text);
        out.close();
        return openFile(folder.filePath(name));
    }
    // A copy of a corpus file (null when the corpus is not here).
    Carvex::Document* openCopy(const QString& corpusName) {
        const QString source = QStringLiteral(CARVEX_SHARED_DIR "/corpus/oai/") + corpusName;
        const QString copy = folder.filePath(QFileInfo(source).fileName());
        QFile::remove(copy);
        if (!QFile::exists(source) || !QFile::copy(source, copy)) {
            return nullptr;
        }
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        return openFile(copy);
    }

    static Carvex::DocumentWindowController* windowOf(const Carvex::Document* document) {
        return document && !document->windowControllers().empty()
                   ? dynamic_cast<Carvex::DocumentWindowController*>(document->windowControllers().front())
                   : nullptr;
    }
    static Carvex::SplitViewController* splitOf(const Carvex::Document* document) {
        auto* window = windowOf(document);
        return window ? dynamic_cast<Carvex::SplitViewController*>(window->contentViewController()) : nullptr;
    }
    static std::vector<QString> logLines(const Carvex::Document& document) {
        std::vector<QString> lines;
        for (const auto& entry : document.logStore()->entries()) {
            lines.push_back(entry.message);
        }
        return lines;
    }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scope{fake};
    std::shared_ptr<CarvexPlatform::AlertScript> alerts = std::make_shared<CarvexPlatform::AlertScript>();
    Carvex::EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    QTemporaryDir temporary;
    QDir folder{temporary.path()};
    CarvexPlatform::Storyboard& storyboard = CarvexPlatform::Storyboard::main();
    CarvexPlatform::ScopedScene windowScene{storyboard, Carvex::DocumentWindowController::sceneIdentifier,
                                            [] { return std::make_unique<Carvex::DocumentWindowController>(); }};
    CarvexPlatform::ScopedScene splitScene{storyboard, Carvex::SplitViewController::sceneIdentifier,
                                           [] { return std::make_unique<Carvex::SplitViewController>(); }};
    CarvexPlatform::ScopedScene consoleScene{storyboard, Carvex::EditorSplitViewController::embedConsoleSegue,
                                             [] { return std::make_unique<Carvex::ConsoleViewController>(); }};
    CarvexPlatform::ScopedScene resultsScene{
        storyboard, Carvex::EditorSplitViewController::embedValidationResultsSegue,
        [] { return std::make_unique<Carvex::ValidationResultsViewController>(); }};
    CarvexPlatform::ScopedScene editorScene{storyboard, Carvex::EditorSplitViewController::embedEditorSegue,
                                            [] { return std::make_unique<Carvex::EditorViewController>(); }};
    CarvexPlatform::ScopedScene propertiesScene{storyboard, Carvex::SplitViewController::propertiesSceneIdentifier,
                                                [] { return std::make_unique<Carvex::PropertiesViewController>(); }};
    Carvex::DocumentController controller{CarvexPlatform::Settings::isolated()};
};

}  // namespace CarvexWindowTests
