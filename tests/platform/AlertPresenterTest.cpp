#include "platform/AlertPresenter.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/SystemSymbol.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

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
    void TearDown() override { AlertPresenter::shared().setScript(nullptr); }
    std::shared_ptr<AlertScript> script = std::make_shared<AlertScript>();
    std::shared_ptr<FakeMainScheduler> fake = std::make_shared<FakeMainScheduler>();
    ScopedMainScheduler scope{fake};
};

Alert reloadQuestion() {
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
    std::optional<int> pressed;
    AlertPresenter::shared().present(reloadQuestion(), nullptr, [&](int b) { pressed = b; });
    EXPECT_EQ(pressed, 0);
    EXPECT_FALSE(script->presented()[0].asSheet);
}

TEST_F(AlertPresenterTest, ScriptedResponseOutsideTheButtonsIsClamped) {
    script->respond(7);
    std::optional<int> pressed;
    AlertPresenter::shared().present(reloadQuestion(), nullptr, [&](int b) { pressed = b; });
    EXPECT_EQ(pressed, 1);
}

TEST(SystemSymbolTest, KnownSymbolsDrawAndUnknownOnesDoNot) {
    TestApplication::ensure();
    for (const QString& name : {QStringLiteral("info.circle.fill"),
                                QStringLiteral("checkmark.circle.fill"),
                                QStringLiteral("exclamationmark.triangle.fill"),
                                QStringLiteral("xmark.octagon.fill")}) {
        auto image = SystemSymbol::image(name, 13, "info");
        ASSERT_TRUE(image.has_value()) << name.toStdString();
        EXPECT_GE(image->width(), 13);
        EXPECT_EQ(image->text("Description"), "info");
        EXPECT_GT(qAlpha(image->pixel(image->width() / 2, image->height() - 3)) +
                      qAlpha(image->pixel(3, image->height() / 2)),
                  0)
            << name.toStdString();
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
    QAbstractButton* ignore = nullptr;
    for (QAbstractButton* b : box->buttons()) {
        if (b->text() == "Ignore") {
            ignore = b;
        }
    }
    ASSERT_NE(ignore, nullptr);
    ignore->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, 1);
}
