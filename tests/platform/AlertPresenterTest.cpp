#include "platform/AlertPresenter.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/SystemSymbol.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QWidget>

using namespace CarvexPlatform;

class AlertPresenterTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication::ensure();
        AlertPresenter::shared().setScript(script);
    }
    void TearDown() override {
        AlertPresenter::shared().setScript(nullptr);
        AlertPresenter::shared().setUnattended(false);
    }
    std::shared_ptr<AlertScript> script = std::make_shared<AlertScript>();
    std::shared_ptr<FakeMainScheduler> fake = std::make_shared<FakeMainScheduler>();
    ScopedMainScheduler scope{fake};
};

static Alert reloadQuestion() {
    return Alert{AlertStyle::informational, "File Modified Externally", "The file…",
                 {"Reload", "Ignore"}};
}

TEST_F(AlertPresenterTest, SheetOnAWindowCompletesOnALaterTurn) {
    QWidget window;
    script->respond(1);
    std::optional<int> pressed;
    AlertPresenter::shared().present(reloadQuestion(), &window, [&](int b) { pressed = b; });
    EXPECT_FALSE(pressed.has_value());
    fake->runPending();
    EXPECT_EQ(pressed, 1);
    ASSERT_EQ(script->presented().size(), 1u);
    EXPECT_TRUE(script->presented()[0].asSheet);
    EXPECT_EQ(script->presented()[0].alert.messageText, "File Modified Externally");
}

TEST_F(AlertPresenterTest, WithoutAWindowTheAlertIsModalAndCompletesAtOnce) {
    std::vector<int> pressed;
    AlertPresenter::shared().present(reloadQuestion(), nullptr, [&](int b) { pressed.push_back(b); });
    script->respond(7);  // outside the buttons: clamped to the last one
    AlertPresenter::shared().present(reloadQuestion(), nullptr, [&](int b) { pressed.push_back(b); });
    EXPECT_EQ(pressed, (std::vector<int>{0, 1}));
    EXPECT_FALSE(script->presented()[0].asSheet);
}

TEST(SystemSymbolTest, KnownSymbolsDrawAndUnknownOnesDoNot) {
    TestApplication::ensure();
    for (const char* name :
         {"info.circle.fill", "checkmark.circle.fill", "exclamationmark.triangle.fill", "xmark.octagon.fill"}) {
        auto image = SystemSymbol::image(name, 13, "info");
        ASSERT_TRUE(image.has_value()) << name;
        EXPECT_GE(image->width(), 13);
        EXPECT_EQ(image->text("Description"), "info");
        EXPECT_GT(qAlpha(image->pixel(image->width() / 2, image->height() - 3)) +
                      qAlpha(image->pixel(3, image->height() / 2)),
                  0)
            << name;
    }
    EXPECT_FALSE(SystemSymbol::image("no.such.symbol", 13).has_value());
    EXPECT_FALSE(SystemSymbol::image("info.circle.fill", 0).has_value());
    EXPECT_FALSE(SystemSymbol::image("info.circle.fill", -4).has_value());
}

TEST(AlertPresenterQtTest, SheetOnAWindowReportsThePressedButton) {
    TestApplication::ensure();
    AlertPresenter::shared().setScript(nullptr);
    QWidget window;
    window.show();
    std::optional<int> pressed;
    AlertPresenter::shared().present(reloadQuestion(), &window, [&](int b) { pressed = b; });
    QMessageBox* box = window.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->text(), "File Modified Externally");
    ASSERT_EQ(box->buttons().size(), 2);
    EXPECT_FALSE(pressed.has_value());
    const QList<QAbstractButton*> buttons = box->buttons();
    const auto ignore = std::find_if(buttons.begin(), buttons.end(), [](auto* b) { return b->text() == "Ignore"; });
    ASSERT_NE(ignore, buttons.end());
    (*ignore)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, 1);
}

// A short message with a long explanation still makes an alert wide enough to read the explanation
// in a few lines.
TEST(AlertPresenterQtTest, AShortMessageStillMakesAReadableAlert) {
    TestApplication::ensure();
    AlertPresenter::shared().setScript(nullptr);
    QWidget window;
    window.resize(900, 700);
    window.show();
    const Alert reset{AlertStyle::warning, "Reset Syntax Colors",
                      "This will reset all syntax colors to their default values for both dark and light appearances.",
                      {"Reset", "Cancel"}};
    AlertPresenter::shared().present(reset, &window, {});
    QMessageBox* box = window.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    QCoreApplication::processEvents();
    EXPECT_GE(box->width(), AlertPresenter::minimumWidth);
    box->reject();
    QCoreApplication::processEvents();
}

// Cancelling every alert at once (the application quits): each answers its Cancel wherever it stands,
// or its only button; an alert whose every button is a choice is answered by none.
TEST(AlertPresenterQtTest, CancelAllAnswersCancelOrNothing) {
    TestApplication::ensure();
    AlertPresenter::shared().setScript(nullptr);
    const struct {
        QStringList buttons;
        int answer;
    } cases[] = {
        {{"Save", "Don\u2019t Save", "Cancel"}, 2},
        {{"Cancel", "Replace"}, 0},
        {{"Cancel", "Don\u2019t Save"}, 0},
        {{}, 0},
        {{"Reload", "Ignore"}, AlertPresenter::unanswered},
    };
    QWidget window;
    window.show();
    std::vector<std::optional<int>> answers(std::size(cases));
    for (std::size_t index = 0; index < std::size(cases); ++index) {
        const Alert alert{AlertStyle::warning, "Question", "", cases[index].buttons};
        AlertPresenter::shared().present(alert, &window, [&answers, index](int button) { answers[index] = button; });
    }
    AlertPresenter::shared().cancelAll();
    for (std::size_t index = 0; index < std::size(cases); ++index) {
        SCOPED_TRACE(cases[index].buttons.join(", ").toStdString());
        EXPECT_EQ(answers[index], cases[index].answer);
    }
    for (QMessageBox* box : window.findChildren<QMessageBox*>()) {
        EXPECT_FALSE(box->isVisible());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// With no one there to answer (the application ends on a signal), each alert takes the answer that
// loses nothing, shown or not, and a test's script has no say: the overwrite question keeps the
// other program's file, the question about a file changed on disk neither reloads over the edits
// nor lets them be written over it (its asker decides nothing), and a lone OK is pressed.
TEST_F(AlertPresenterTest, UnattendedAlertsTakeTheAnswerThatLosesNothing) {
    const struct {
        const char* kind;
        QStringList buttons;
        int answer;
    } cases[] = {
        {"overwrite a file changed on disk", {"Save Anyway", "Cancel"}, 1},
        {"file changed on disk", {"Reload", "Ignore"}, AlertPresenter::unanswered},
        {"failure", {}, 0},
        {"lone OK", {"OK"}, 0},
        {"close an untitled document", {"Save", "Don\u2019t Save", "Cancel"}, 2},
        {"replace an existing file", {"Cancel", "Replace"}, 0},
        {"close after a failed save", {"Cancel", "Don\u2019t Save"}, 0},
    };
    AlertPresenter::shared().setUnattended(true);
    script->setDefaultResponse(0);
    QWidget window;
    for (const auto& each : cases) {
        SCOPED_TRACE(each.kind);
        const Alert alert{AlertStyle::warning, "Question", "", each.buttons};
        std::optional<int> modal;
        std::optional<int> sheet;
        std::optional<int> withoutWaiting;
        AlertPresenter::shared().present(alert, nullptr, [&](int button) { modal = button; });
        AlertPresenter::shared().present(alert, &window, [&](int button) { sheet = button; });
        AlertPresenter::shared().presentWithoutWaiting(alert, [&](int button) { withoutWaiting = button; });
        while (fake->runPending() > 0) {
        }
        EXPECT_EQ(modal, each.answer);
        EXPECT_EQ(sheet, each.answer);
        EXPECT_EQ(withoutWaiting, each.answer);
    }
    EXPECT_TRUE(script->presented().empty());
    EXPECT_EQ(AlertPresenter::shared().alertsWaiting(), 0u);
}
