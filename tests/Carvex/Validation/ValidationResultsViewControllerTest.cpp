#include "Carvex/Validation/ValidationResultsViewController.h"

#include "platform/SystemColor.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QVBoxLayout>

using namespace Carvex;

namespace {

TEST(ValidationResultsViewControllerTest, ShowsACentredPlaceholder) {
    CarvexPlatform::TestApplication::ensure();
    const QColor secondary = CarvexPlatform::systemColor(CarvexPlatform::SystemColor::secondaryLabel);

    // Without an outlet the controller makes its own label, centred in its view.
    ValidationResultsViewController made;
    EXPECT_EQ(made.placeholderLabel(), nullptr);
    QWidget* view = made.view();
    view->resize(400, 150);
    view->show();
    QLabel* label = made.placeholderLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Validation results will appear here"));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), secondary);
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 13.0);
    EXPECT_NEAR(label->geometry().center().x(), view->rect().center().x(), 2);
    EXPECT_NEAR(label->geometry().center().y(), view->rect().center().y(), 2);

    // An outlet set before the view loads is kept and only given its text and colour.
    ValidationResultsViewController wired;
    auto* own = new QWidget;
    auto* outlet = new QLabel(QStringLiteral("placeholder"), own);
    wired.setView(own);
    wired.setPlaceholderLabel(outlet);
    (void)wired.view();
    wired.setupPlaceholder();  // running it again changes nothing
    EXPECT_EQ(wired.placeholderLabel(), outlet);
    EXPECT_EQ(outlet->text(), QStringLiteral("Validation results will appear here"));
    EXPECT_EQ(outlet->palette().color(QPalette::WindowText), secondary);
    EXPECT_EQ(own->findChildren<QLabel*>().size(), 1);
}

}  // namespace
