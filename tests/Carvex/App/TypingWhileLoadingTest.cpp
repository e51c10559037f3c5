// Keys typed into a long description while its window still loads the text, through the real
// start-up code, window, key events and event loop: every key reaches the text at once, undo and
// the saved file, and the file keeps its line endings.

#include "tests/Carvex/App/ApplicationWindows.h"
#include "tests/Carvex/App/ScopedApplicationSetup.h"
#include "tests/Carvex/App/TypeKeys.h"
#include "tests/Carvex/App/WaitUntil.h"
#include "Carvex/App/AppDelegate.h"
#include "Carvex/App/Application.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/EditorSplitViewController.h"
#include "Carvex/Windows/SplitViewController.h"
#include "platform/AlertPresenter.h"
#include "platform/AlertScript.h"
#include "platform/BackgroundTask.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"
#include "platform/WindowTabHost.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMainWindow>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace Carvex {
namespace {

using CarvexTest::editorTextViewOf;
using CarvexTest::noSharedWindows;
using CarvexTest::type;
using CarvexTest::waitUntil;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A description of about `size` bytes: many paths of short lines, as a long YAML file has.
QByteArray longDescription(qsizetype size, const QByteArray& lineEnd) {
    QByteArray text = "openapi: 3.0.3" + lineEnd + "info:" + lineEnd + "  title: Long" + lineEnd +
                      "  version: '1'" + lineEnd + "paths:" + lineEnd;
    text.reserve(size + 256);
    for (int path = 0; text.size() < size; ++path) {
        const QByteArray number = QByteArray::number(path);
        text += "  /items/" + number + ":" + lineEnd + "    get:" + lineEnd + "      summary: Item " + number +
                " — élément" + lineEnd + "      responses:" + lineEnd + "        '200':" + lineEnd +
                "          description: OK" + lineEnd;
    }
    return text;
}

// Equal bytes, or where they first differ (the texts are too long to print).
::testing::AssertionResult sameBytes(const QByteArray& actual, const QByteArray& expected) {
    if (actual == expected) {
        return ::testing::AssertionSuccess();
    }
    qsizetype at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
        ++at;
    }
    const qsizetype from = std::max<qsizetype>(0, at - 20);
    return ::testing::AssertionFailure() << actual.size() << " bytes against " << expected.size()
                                         << ", first difference at " << at << ": \""
                                         << actual.mid(from, 60).toStdString() << "\" against \""
                                         << expected.mid(from, 60).toStdString() << "\"";
}

struct LineEndings {
    const char* name;
    QByteArray lineEnd;
};

// The real application's set-up for a test that starts it, with a folder for its files.
class LoadingFileTest : public ::testing::Test {
protected:
    // First, so that it goes last: after the application and its windows.
    CarvexTest::ScopedApplicationSetup applicationSetup;


protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        CarvexPlatform::AlertPresenter::shared().setScript(alerts);
    }
    void TearDown() override { CarvexPlatform::AlertPresenter::shared().setScript(nullptr); }

    std::shared_ptr<CarvexPlatform::AlertScript> alerts = std::make_shared<CarvexPlatform::AlertScript>();
    QTemporaryDir temporary;
};

class TypingWhileLoadingTest : public LoadingFileTest, public ::testing::WithParamInterface<LineEndings> {};

TEST_P(TypingWhileLoadingTest, keys_typed_during_a_long_load_are_all_saved) {
    // The view was read-only until its last slice: keys typed in the first seconds were dropped
    // and Ctrl+S saved the text unchanged.
    const QByteArray lineEnd = GetParam().lineEnd;
    const QByteArray original = longDescription(10 * 1024 * 1024, lineEnd);
    const QString path = temporary.filePath(QStringLiteral("long.yaml"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(original);
    }

    Application::registerScenes();
    Application carvex(QStringLiteral("carvex-typing-") + QUuid::createUuid().toString(QUuid::Id128),
                       noSharedWindows(), CarvexPlatform::Settings::isolated());
    ASSERT_TRUE(carvex.start({path}));
    DocumentController* documents = carvex.delegate()->documentController();
    ASSERT_NE(documents, nullptr);
    Document* document = nullptr;
    EditorTextView* view = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        document = documents->documents().empty() ? nullptr : dynamic_cast<Document*>(documents->documents().front());
        view = editorTextViewOf(document);
        return view != nullptr && view->isVisible() && view->textLength() > 0;
    }, 60000));
    QWidget* window = view->window();
    CarvexPlatform::WindowTabHost::makeKeyAndOrderFront(window);
    QApplication::setActiveWindow(window);
    view->setFocus();
    ASSERT_TRUE(view->isLoading()) << "the window is there while the text still loads";

    // Click, Ctrl+Home, type; Ctrl+End, type.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    type(view, QStringLiteral("# typed at once\n"));
    // The keys are in the text and on screen while the rest still loads behind them (they waited
    // for the whole load, two seconds on this text).
    EXPECT_TRUE(view->isLoading());
    EXPECT_TRUE(view->document()->firstBlock().text() == QStringLiteral("# typed at once"));
    EXPECT_TRUE(document->content().startsWith(QString::fromUtf8("# typed at once" + lineEnd + "openapi")));
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    type(view, QStringLiteral("# typed at the end"));
    QByteArray expected = "# typed at once" + lineEnd + original + "# typed at the end";
    EXPECT_FALSE(view->isLoading());
    EXPECT_TRUE(sameBytes(view->text().toUtf8(), expected));
    EXPECT_TRUE(sameBytes(document->content().toUtf8(), expected));

    // Undo takes back the typing and nothing of the load; redo brings it back.
    for (int step = 0; step < 100 && view->document()->isUndoAvailable(); ++step) {
        view->undo();
    }
    EXPECT_TRUE(sameBytes(view->text().toUtf8(), original));
    for (int step = 0; step < 100 && view->document()->isRedoAvailable(); ++step) {
        view->redo();
    }
    EXPECT_TRUE(sameBytes(view->text().toUtf8(), expected));

    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return !document->isDocumentEdited() && readFile(path) != original; }, 30000))
        << "the typing was saved";
    EXPECT_TRUE(sameBytes(readFile(path), expected));
    EXPECT_TRUE(alerts->presented().empty());

    for (CarvexPlatform::Document* open : documents->documents()) {
        open->close();
    }
    EXPECT_TRUE(waitUntil([&] { return documents->documents().empty(); }, 60000));
}

// A minified description of about `size` bytes: one line.
QByteArray minifiedDescription(qsizetype size) {
    QByteArray text = R"({"openapi":"3.0.3","info":{"title":"Long","version":"1"},"paths":{)";
    text.reserve(size + 256);
    for (int path = 0; text.size() < size; ++path) {
        const QByteArray number = QByteArray::number(path);
        text += (path == 0 ? "" : ",") + QByteArray(R"("/items/)") + number + R"(":{"get":{"summary":"Item )" +
                number + R"(","responses":{"200":{"description":"OK"}}}})";
    }
    return text + "}}";
}

struct OpenedFile {
    const char* name;
    bool oneLine;
    bool typedWhileLoading;
    bool scrolledWhileLoading;
};
void PrintTo(const OpenedFile& file, std::ostream* out) { *out << file.name; }

class CaretAfterLoadTest : public LoadingFileTest, public ::testing::WithParamInterface<OpenedFile> {};

TEST_P(CaretAfterLoadTest, TheCaretStartsAtTheStartAndKeysGoInWhereItIs) {
    // A one-line text loads its line in one slice after the window is up. The slice went in at the
    // caret, which it carried to its end: the first key went to the end of megabytes, and the view
    // jumped there.
    const OpenedFile& file = GetParam();
    // A scrolled view's line is shorter than the layout lays out in slices: the toolkit scrolls to a
    // caret only in a laid-out line.
    const qsizetype size = file.scrolledWhileLoading ? 256 * 1024 : 1024 * 1024;
    const QByteArray text = file.oneLine ? minifiedDescription(size) : longDescription(size, "\n");
    const QString path = temporary.filePath(file.oneLine ? QStringLiteral("minified.json") : QStringLiteral("long.yaml"));
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
    }
    Application::registerScenes();
    Application carvex(QStringLiteral("carvex-caret-") + QUuid::createUuid().toString(QUuid::Id128),
                       noSharedWindows(), CarvexPlatform::Settings::isolated());
    ASSERT_TRUE(carvex.start({path}));
    DocumentController* documents = carvex.delegate()->documentController();
    ASSERT_EQ(documents->documents().size(), 1u);
    auto* document = dynamic_cast<Document*>(documents->documents().front());
    EditorTextView* view = editorTextViewOf(document);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->isLoading()) << "loaded in slices";

    QString typed;
    if (file.typedWhileLoading) {
        type(view, QStringLiteral("a"));
        typed += QStringLiteral("a");
        EXPECT_TRUE(view->isLoading());
    }
    if (file.scrolledWhileLoading) {
        // More lines typed before the text comes than the view shows, and the view scrolled back to
        // their start: the caret stays at the end of what is loaded, out of sight.
        while (view->verticalScrollBar()->maximum() == 0 && typed.size() < 1000) {
            type(view, QStringLiteral("\n"));
            typed += u'\n';
        }
        const qsizetype screenful = typed.size();
        type(view, QString(screenful, u'\n'));
        typed += QString(screenful, u'\n');
        ASSERT_GT(view->verticalScrollBar()->maximum(), 0);
        view->verticalScrollBar()->setValue(0);
        ASSERT_TRUE(view->isLoading());
    }
    ASSERT_TRUE(waitUntil([&] { return !view->isLoading(); }, 60000));
    EXPECT_EQ(view->verticalScrollBar()->value(), 0) << "the text went in behind the caret, the view stayed";
    EXPECT_EQ(view->textCursor().anchor(), typed.size());
    EXPECT_EQ(view->textCursor().position(), typed.size());
    type(view, QStringLiteral("b"));
    typed += QStringLiteral("b");
    EXPECT_EQ(view->textCursor().position(), typed.size());
    EXPECT_TRUE(view->viewText().startsWith(typed + QString::fromUtf8(text.left(40))))
        << view->viewText().left(40).toStdString();
    EXPECT_TRUE(sameBytes(document->content().toUtf8(), typed.toUtf8() + text));
    if (!file.scrolledWhileLoading) {
        EXPECT_EQ(view->verticalScrollBar()->value(), 0) << "the view stays at the start";
    }

    document->close();
    EXPECT_TRUE(waitUntil([&] { return documents->documents().empty(); }, 60000));
}

INSTANTIATE_TEST_SUITE_P(
    Files, CaretAfterLoadTest,
    ::testing::Values(
        OpenedFile{"one_line", true, false, false}, OpenedFile{"one_line_typed_while_loading", true, true, false},
        OpenedFile{"one_line_scrolled_while_loading", true, false, true},
        OpenedFile{"many_lines", false, false, false},
        OpenedFile{"many_lines_typed_while_loading", false, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(LineEndings, TypingWhileLoadingTest,
                         ::testing::Values(LineEndings{"LF", "\n"}, LineEndings{"CRLF", "\r\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace Carvex
