// The operation details: the tab bar, the collapsible sections, the Description and Body tabs and
// the tab controller that hosts them, offscreen, recording the navigation notifications.

#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "Carvex/Properties/BodyTabViewController.h"
#include "Carvex/Properties/CollapsibleSectionView.h"
#include "Carvex/Properties/DescriptionTabViewController.h"
#include "Carvex/Properties/ElidingLabel.h"
#include "Carvex/Properties/OperationDetailsTabController.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Properties/SelfSizingTextView.h"
#include "Carvex/Properties/TabButtonBar.h"
#include "Carvex/Syntax/SyntaxThemePreferenceKey.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/TestApplication.h"
#include "platform/Workspace.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

using namespace Carvex;
using Tab = OperationDetailsTabController::Tab;

struct Posted {
    const void* sender;
    int line;
};

class OperationDetailsTabsTest : public ::testing::Test {
protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        observation = std::make_unique<CarvexPlatform::NotificationObservation>(
            CarvexPlatform::NotificationCenter::defaultCenter().observe(
                PropertiesViewController::didRequestNavigationNotification, nullptr,
                [this](const CarvexPlatform::Notification& notification) {
                    posts.push_back({notification.sender, notification.userInfo.value(PropertiesViewController::lineKey).toInt()});
                }));
    }
    void TearDown() override { CarvexPlatform::Appearance::shared().setOverride(std::nullopt); }

    std::unique_ptr<CarvexPlatform::NotificationObservation> observation;
    std::vector<Posted> posts;
};

OperationParameterViewModel parameter(const QString& name, ParamLocation location, std::optional<QString> type = {},
                                      std::optional<QString> format = {}, std::optional<int64_t> line = {}) {
    return OperationParameterViewModel(name, location, location == ParamLocation::path, std::nullopt, std::move(type),
                                       std::move(format), std::nullopt, std::nullopt, false, line);
}

OperationDetailsViewModel operation(HTTPMethod method = HTTPMethod::post, const QString& path = QStringLiteral("/pets")) {
    OperationDetailsViewModel details;
    details.id = OperationID{path, method};
    return details;
}

// The texts of the labels under `root`, in creation order.
QStringList labelTexts(const QWidget* root) {
    QStringList texts;
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        texts << label->text();
    }
    return texts;
}

std::vector<QPushButton*> buttonsTitled(const QWidget* root, const QString& title) {
    std::vector<QPushButton*> found;
    for (QPushButton* button : root->findChildren<QPushButton*>()) {
        if (button->text() == title) {
            found.push_back(button);
        }
    }
    return found;
}

// MARK: Tab bar

TEST_F(OperationDetailsTabsTest, tabBarSelectsFromCodeQuietlyAndFromClicksAloud) {
    QFont font;
    font.setPointSizeF(12);
    const QStringList titles = {QStringLiteral("Description"), QStringLiteral("Body"), QStringLiteral("Schema")};
    TabButtonBar bar(titles, font);
    std::vector<int> told;
    bar.onTabSelected = [&](int index) { told.push_back(index); };

    const struct {
        int set;
        int expected;
    } assignments[] = {{2, 2}, {3, 2}, {-1, 2}, {100, 2}, {0, 0}};
    for (const auto& a : assignments) {
        bar.setSelectedIndex(a.set);
        EXPECT_EQ(bar.selectedIndex(), a.expected) << a.set;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(bar.buttons()[static_cast<std::size_t>(i)]->isChecked(), i == a.expected);
        }
    }
    EXPECT_TRUE(told.empty());

    bar.buttons()[1]->click();
    bar.buttons()[1]->click();  // the selected one again
    EXPECT_EQ(told, (std::vector<int>{1, 1}));
    EXPECT_EQ(bar.selectedIndex(), 1);
    EXPECT_TRUE(bar.buttons()[1]->isChecked());

    // Each button is 16 wider than its title, neighbours 2 apart.
    bar.adjustSize();
    bar.layout()->activate();
    for (QToolButton* button : bar.buttons()) {
        EXPECT_EQ(button->width(), static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(button->text()))) + 16);
    }
    EXPECT_EQ(bar.buttons()[1]->x() - (bar.buttons()[0]->x() + bar.buttons()[0]->width()), 2);

    // In a narrow place the buttons give up the room beside their titles, the same from each, and
    // stay within the bar; given room again, they take it back.
    QWidget host;
    auto* narrow = new TabButtonBar(titles, font, &host);
    host.show();
    const int full = narrow->sizeHint().width();
    for (int width : {full - 12, narrow->minimumSizeHint().width(), full}) {
        narrow->setGeometry(0, 0, width, narrow->sizeHint().height());
        narrow->layout()->activate();
        const QToolButton* last = narrow->buttons().back();
        EXPECT_LE(last->x() + last->width(), width) << width;
        const auto paddingOf = [&](const QToolButton* button) {
            return button->width() - static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(button->text())));
        };
        for (QToolButton* button : narrow->buttons()) {
            EXPECT_EQ(paddingOf(button), width == full ? 16 : width == full - 12 ? 12 : 4) << width;
        }
    }

    TabButtonBar empty({}, font);
    empty.setSelectedIndex(0);
    EXPECT_EQ(empty.selectedIndex(), 0);
    EXPECT_TRUE(empty.buttons().empty());
}

TEST_F(OperationDetailsTabsTest, tabBarCutsTheLongestTitlesRatherThanOverlapTheButtons) {
    QFont font;
    font.setPointSizeF(12);
    const QStringList titles = {QStringLiteral("Description"), QStringLiteral("Body"), QStringLiteral("Schema"),
                                QStringLiteral("Example")};
    QWidget host;
    auto* bar = new TabButtonBar(titles, font, &host);
    host.show();
    const QFontMetricsF metrics(font);
    const int fitting = bar->sizeHint().width() - 4 * (16 - 4);  // every title whole, the least room around
    const struct {
        int width;
        bool cut;  // whether any title is cut
    } cases[] = {{fitting, false}, {fitting - 30, true}, {fitting - 90, true}, {bar->minimumSizeHint().width(), true},
                 {bar->sizeHint().width(), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        bar->setGeometry(0, 0, c.width, bar->sizeHint().height());
        bar->layout()->activate();
        qreal longestWhole = 0;
        qreal shortestCut = 1e9;
        for (std::size_t i = 0; i < bar->buttons().size(); ++i) {
            const QToolButton* button = bar->buttons()[i];
            const QString title = titles[static_cast<int>(i)];
            EXPECT_EQ(button->accessibleName(), title);
            if (button->text() != title) {
                shortestCut = std::min(shortestCut, metrics.horizontalAdvance(title));
                EXPECT_TRUE(button->text().endsWith(QChar(0x2026))) << button->text().toStdString();
                EXPECT_EQ(button->toolTip(), title);
            } else {
                longestWhole = std::max(longestWhole, metrics.horizontalAdvance(title));
                EXPECT_TRUE(button->toolTip().isEmpty());
            }
            EXPECT_LE(std::ceil(metrics.horizontalAdvance(button->text())), button->width()) << i;
            if (i > 0) {
                const QToolButton* before = bar->buttons()[i - 1];
                EXPECT_LE(before->x() + before->width(), button->x()) << "buttons " << i - 1 << " and " << i << " overlap";
            }
        }
        const QToolButton* last = bar->buttons().back();
        EXPECT_LE(last->x() + last->width(), c.width);
        EXPECT_EQ(shortestCut < 1e9, c.cut);
        EXPECT_LE(longestWhole, shortestCut) << "the longest titles are cut first";
    }
}

TEST_F(OperationDetailsTabsTest, tabBarColoursFollowTheThemeAndAppearance) {
    using Key = SyntaxThemePreferenceKey;
    auto& theme = SyntaxThemePreferencesStore::shared();
    QFont font;
    TabButtonBar bar({QStringLiteral("A"), QStringLiteral("B")}, font);
    for (bool isDark : {false, true}) {
        CarvexPlatform::Appearance::shared().setOverride(isDark);
        const QToolButton* selected = bar.buttons()[0];
        const QToolButton* other = bar.buttons()[1];
        EXPECT_EQ(selected->palette().color(QPalette::Button), theme.color(Key::tabButtonActiveBackground, isDark));
        EXPECT_EQ(selected->palette().color(QPalette::ButtonText), theme.color(Key::tabButtonActiveText, isDark));
        EXPECT_EQ(other->palette().color(QPalette::ButtonText), theme.color(Key::tabButtonInactiveText, isDark));
        EXPECT_EQ(other->palette().color(QPalette::Button).alpha(), 0);
    }
    // A theme change shows at the next change of selection, not before.
    CarvexPlatform::Appearance::shared().setOverride(false);
    const QColor chosen(1, 2, 3);
    theme.setColor(chosen, Key::tabButtonActiveText, false);
    EXPECT_NE(bar.buttons()[0]->palette().color(QPalette::ButtonText), chosen);
    bar.setSelectedIndex(1);
    EXPECT_EQ(bar.buttons()[1]->palette().color(QPalette::ButtonText), chosen);
    theme.resetColor(Key::tabButtonActiveText, false);
}

// MARK: Collapsible section

TEST_F(OperationDetailsTabsTest, sectionFoldsAtOnceAndBuildsItsRowsWhenFirstUnfolded) {
    CollapsibleSectionView section(QStringLiteral("Path Parameters (2)"), true);
    int builds = 0;
    section.setContentBuilder([&](QVBoxLayout& content) {
        ++builds;
        content.addWidget(new QLabel(QStringLiteral("row")));
    });
    EXPECT_TRUE(section.isCollapsed());
    EXPECT_TRUE(section.contentView()->isHidden());
    EXPECT_FALSE(section.disclosureButton()->isChecked());
    EXPECT_EQ(builds, 0);

    section.disclosureButton()->click();
    EXPECT_FALSE(section.isCollapsed());
    EXPECT_FALSE(section.contentView()->isHidden());
    EXPECT_EQ(section.disclosureButton()->arrowType(), Qt::DownArrow);
    EXPECT_EQ(builds, 1);

    section.setCollapsed(true);
    EXPECT_TRUE(section.contentView()->isHidden());
    EXPECT_FALSE(section.disclosureButton()->isChecked());
    EXPECT_EQ(section.disclosureButton()->arrowType(), Qt::RightArrow);
    section.setCollapsed(false);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(section.contentStack()->count(), 1);

    CollapsibleSectionView empty(QStringLiteral("Empty"), false);
    EXPECT_EQ(empty.titleLabel()->text(), QStringLiteral("Empty"));
    EXPECT_FALSE(empty.contentView()->isHidden());
}

// MARK: Description tab

TEST_F(OperationDetailsTabsTest, descriptionTabShowsItsRowsInOrder) {
    const auto make = [](std::optional<QString> id, std::optional<QString> summary, std::optional<QString> description,
                         QStringList tags, bool deprecated, std::optional<QString> docs) {
        OperationDetailsViewModel details = operation();
        details.operationId = std::move(id);
        details.summary = std::move(summary);
        details.description = std::move(description);
        details.tags = std::move(tags);
        details.deprecated = deprecated;
        details.externalDocsURL = std::move(docs);
        return details;
    };
    const struct {
        const char* name;
        OperationDetailsViewModel details;
        bool empty;
        QStringList rows;  // the kinds of the stack's rows
    } cases[] = {
        {"tags only", make({}, {}, {}, {QStringLiteral("pets")}, false, {}), true, {}},
        {"empty texts", make(QString(), QString(), QString(), {}, false, {}), true, {}},
        {"id and tags", make(QStringLiteral("listPets"), {}, {}, {QStringLiteral("pets")}, false, {}), false,
         {QStringLiteral("Operation ID:"), QStringLiteral("Tags:")}},
        {"all", make(QStringLiteral("x"), QStringLiteral("Sum"), QStringLiteral("Text"), {QStringLiteral("a"), QStringLiteral("b")}, true,
                     QStringLiteral("https://example.com")),
         false,
         {QStringLiteral("Operation ID:"), QStringLiteral("summary"), QStringLiteral("description"),
          QStringLiteral("separator"), QStringLiteral("Tags:"), QStringLiteral("Status:"), QStringLiteral("External Docs:")}},
        {"empty summary still separates", make(QStringLiteral("x"), QString(), {}, {}, true, {}), false,
         {QStringLiteral("Operation ID:"), QStringLiteral("separator"), QStringLiteral("Status:")}},
    };
    DescriptionTabViewController tab;
    for (const auto& c : cases) {
        for (int pass = 0; pass < 2; ++pass) {  // twice: each row once
            tab.configure(c.details);
            EXPECT_EQ(tab.emptyLabel()->isHidden(), !c.empty) << c.name;
            EXPECT_EQ(tab.scrollView()->isHidden(), c.empty) << c.name;
            QStringList rows;
            for (int i = 0; i < tab.stackView()->count(); ++i) {
                QWidget* row = tab.stackView()->itemAt(i)->widget();
                if (qobject_cast<SelfSizingTextView*>(row)) {
                    rows << QStringLiteral("description");
                } else if (row->objectName() == QLatin1String("separator")) {
                    rows << QStringLiteral("separator");
                } else if (row->objectName() == QLatin1String("summaryLabel")) {
                    rows << QStringLiteral("summary");
                } else {
                    rows << row->findChildren<QLabel*>().front()->text();
                }
            }
            EXPECT_EQ(rows, c.rows) << c.name;
        }
    }
    // The facts' values.
    tab.configure(std::data(cases)[3].details);
    const QStringList texts = labelTexts(tab.view());
    EXPECT_TRUE(texts.contains(QStringLiteral("a, b")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Deprecated")));
    EXPECT_EQ(tab.emptyLabel()->text(), QStringLiteral("No description"));
}

TEST_F(OperationDetailsTabsTest, descriptionTabCutsLongFactsAndWrapsTheSummary) {
    OperationDetailsViewModel details = operation();
    details.summary = QStringLiteral("A summary long enough to need more than one line in a narrow pane");
    details.tags = {QStringLiteral("pets"), QStringLiteral("store"), QStringLiteral("inventory"), QStringLiteral("orders")};
    details.externalDocsURL = QStringLiteral("https://example.com/a/very/long/path/to/the/external/documentation");
    DescriptionTabViewController tab;
    tab.view()->resize(220, 400);
    tab.view()->show();
    tab.configure(details);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);

    const auto* summary = tab.view()->findChild<QLabel*>(QStringLiteral("summaryLabel"));
    ASSERT_NE(summary, nullptr);
    EXPECT_TRUE(summary->wordWrap());
    EXPECT_GT(summary->height(), summary->fontMetrics().height() * 3 / 2);
    int cut = 0;
    for (const ElidingLabel* value : tab.view()->findChildren<ElidingLabel*>()) {
        EXPECT_EQ(value->elideMode(), Qt::ElideRight);
        if (value->text() == details.externalDocsURL || value->text().startsWith(QStringLiteral("pets, "))) {
            EXPECT_TRUE(value->elidedText().endsWith(QChar(0x2026))) << value->text().toStdString();
            EXPECT_EQ(value->effectiveToolTip(), value->text()) << "a cut text shows whole when hovered";
            ++cut;
        } else if (value->elidedText() == value->text()) {
            EXPECT_TRUE(value->effectiveToolTip().isEmpty()) << value->text().toStdString();
        }
    }
    EXPECT_EQ(cut, 2);
}

TEST_F(OperationDetailsTabsTest, elidingLabelTooltipIsTheWholeTextOnlyWhenCut) {
    const struct {
        int width;
        const char* ownTip;
        bool wholeText;  // else no tooltip, or the label's own
    } cases[] = {{400, "", false}, {40, "", true}, {40, "Set by the owner", false}, {400, "Set by the owner", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " " + c.ownTip);
        ElidingLabel label(QStringLiteral("/2.0/repositories/{username}/{slug}"));
        label.setToolTip(QString::fromUtf8(c.ownTip));
        label.resize(c.width, 20);
        const QString expected = c.wholeText ? label.text() : QString::fromUtf8(c.ownTip);
        EXPECT_EQ(label.effectiveToolTip().toStdString(), expected.toStdString());
    }
}

// MARK: Body tab

OperationDetailsViewModel fullOperation() {
    OperationDetailsViewModel details = operation();
    details.parameters = {parameter(QStringLiteral("limit"), ParamLocation::query, QStringLiteral("integer"), QStringLiteral("int32"), 12),
                          parameter(QStringLiteral("id"), ParamLocation::path, QStringLiteral("string"), {}, 9),
                          parameter(QStringLiteral("trace"), ParamLocation::header, {}, QStringLiteral("uuid")),
                          parameter(QStringLiteral("petId"), ParamLocation::path, QString(), QStringLiteral("int64"))};
    OperationRequestBodyViewModel body;
    body.required = true;
    body.contentTypes = {QStringLiteral("application/json"), QStringLiteral("application/xml")};
    body.schemaDescription = QStringLiteral("#/components/schemas/Pet");
    body.schemaName = QStringLiteral("Pet");
    body.sourceLine = 49;
    details.requestBody = body;
    details.responses = {OperationResponseViewModel(QStringLiteral("201"), QStringLiteral("Created"), {QStringLiteral("application/json")},
                                                    QStringLiteral("Pet"), 80, 60),
                         OperationResponseViewModel(QStringLiteral("default"), QString(), {}, std::nullopt, std::nullopt, std::nullopt)};
    return details;
}

TEST_F(OperationDetailsTabsTest, bodyTabListsSectionsInLocationOrder) {
    BodyTabViewController tab;
    tab.configure(operation());
    EXPECT_FALSE(tab.emptyLabel()->isHidden());
    EXPECT_TRUE(tab.toolbarBar()->isHidden());
    EXPECT_EQ(tab.emptyLabel()->text(), QStringLiteral("No request data"));

    tab.configure(fullOperation());
    EXPECT_TRUE(tab.emptyLabel()->isHidden());
    EXPECT_FALSE(tab.toolbarBar()->isHidden());
    QStringList titles;
    for (const auto& section : tab.collapsibleSections()) {
        titles << section->titleLabel()->text();
        EXPECT_TRUE(section->isCollapsed());
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Path Parameters (2)"), QStringLiteral("Query Parameters (1)"),
                                   QStringLiteral("Header Parameters (1)"), QStringLiteral("201 \u2014 Created"),
                                   QStringLiteral("default \u2014 ")}));
    // The list: four... sections, separator, request body, separator, "Responses", two sections.
    QStringList kinds;
    for (int i = 0; i < tab.stackView()->count(); ++i) {
        QWidget* item = tab.stackView()->itemAt(i)->widget();
        kinds << (qobject_cast<CollapsibleSectionView*>(item) ? QStringLiteral("section") : item->objectName());
    }
    EXPECT_EQ(kinds, (QStringList{QStringLiteral("section"), QStringLiteral("section"), QStringLiteral("section"),
                                  QStringLiteral("separator"), QStringLiteral("requestBody"), QStringLiteral("separator"),
                                  QString(), QStringLiteral("section"), QStringLiteral("section")}));

    tab.expandAllSections();
    const QStringList texts = labelTexts(tab.view());
    for (const char* expected : {"integer \u00B7 int32", "string", "uuid", "int64", "Required", "Request Body", "Schema: Pet",
                                 "Content: application/json", "Schema: Pet"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_EQ(tab.view()->findChildren<QLabel*>(QStringLiteral("contentTypeChip")).size(), 2);
    // The request body always has its schema button; the response without a schema has none.
    EXPECT_EQ(tab.view()->findChildren<QPushButton*>(QStringLiteral("requestBody")).size(), 1);
    EXPECT_EQ(tab.view()->findChildren<QPushButton*>(QStringLiteral("response:201")).size(), 1);
    EXPECT_EQ(tab.view()->findChildren<QPushButton*>(QStringLiteral("response:default")).size(), 0);

    // Expanding again changes nothing; a rebuild folds everything again.
    tab.expandAllSections();
    for (const auto& section : tab.collapsibleSections()) {
        EXPECT_FALSE(section->isCollapsed());
    }
    tab.configure(fullOperation());
    EXPECT_EQ(tab.collapsibleSections().size(), 5u);
    for (const auto& section : tab.collapsibleSections()) {
        EXPECT_TRUE(section->isCollapsed());
    }
    tab.expandAllSections();
    tab.collapseAllSections();
    for (const auto& section : tab.collapsibleSections()) {
        EXPECT_TRUE(section->isCollapsed());
    }
}

// Everything the Body tab shows for an operation with long names, in a pane `width` wide: laid out
// and shown as on screen.
struct LaidOutBodyTab {
    explicit LaidOutBodyTab(int width) {
        OperationDetailsViewModel details = operation();
        details.parameters = {OperationParameterViewModel(
            QStringLiteral("X-Request-Correlation-Identifier"), ParamLocation::header, true,
            QStringLiteral("Ties the request to the caller's trace."), QStringLiteral("string"), QStringLiteral("uuid"),
            QStringLiteral("\"00000000-0000-0000-0000-000000000000\""), std::nullopt, true, 12)};
        OperationRequestBodyViewModel body;
        body.contentTypes = {QStringLiteral("application/vnd.example.pet+json"), QStringLiteral("application/xml")};
        body.schemaDescription = QStringLiteral("#/components/schemas/PetWithAVeryLongComponentName");
        body.schemaName = QStringLiteral("PetWithAVeryLongComponentName");
        body.sourceLine = 49;
        details.requestBody = body;
        details.responses = {OperationResponseViewModel(
            QStringLiteral("200"), QStringLiteral("A paged array of the pets the caller may see, sorted by name"),
            {QStringLiteral("application/json"), QStringLiteral("application/xml")},
            QStringLiteral("PetWithAVeryLongComponentName"), 80, 60)};
        tab.configure(details);
        tab.view()->resize(width, 900);
        tab.view()->show();
        tab.expandAllSections();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }

    // Where `widget` lies in the list's visible area.
    QRect inViewport(const QWidget* widget) const {
        QWidget* viewport = tab.view()->findChild<QScrollArea*>()->viewport();
        return QRect(widget->mapTo(viewport, QPoint(0, 0)), widget->size());
    }
    int viewportWidth() const { return tab.view()->findChild<QScrollArea*>()->viewport()->width(); }

    mutable BodyTabViewController tab;
};

TEST_F(OperationDetailsTabsTest, bodyTabRowsFitANarrowPaneAndWrapTheirButtons) {
    for (const int width : {200, 260, 320, 700}) {
        const LaidOutBodyTab laidOut(width);
        const QWidget* root = laidOut.tab.view();
        std::vector<QWidget*> shown;
        for (QWidget* widget : root->findChildren<QWidget*>()) {
            if (widget->isVisible() && (qobject_cast<QPushButton*>(widget) || qobject_cast<QLabel*>(widget) ||
                                        qobject_cast<SelfSizingTextView*>(widget))) {
                shown.push_back(widget);
            }
        }
        ASSERT_EQ(buttonsTitled(root, QStringLiteral("Reveal in Editor")).size(), 3u) << width;
        for (const QWidget* widget : shown) {
            const QRect area = laidOut.inViewport(widget);
            const bool button = qobject_cast<const QPushButton*>(widget) != nullptr;
            // Buttons are whole; every other row is as wide as the pane at most.
            EXPECT_GE(area.left(), 0) << width;
            EXPECT_LE(area.right(), laidOut.viewportWidth() - 1)
                << width << " " << (button ? static_cast<const QPushButton*>(widget)->text().toStdString() : "");
            if (button) {
                EXPECT_GE(widget->width(), widget->sizeHint().width()) << width;
            }
            // Descriptions are as tall as their text at their width.
            if (const auto* text = qobject_cast<const SelfSizingTextView*>(widget)) {
                EXPECT_EQ(text->height(), text->heightForWidth(text->width())) << width;
                EXPECT_GT(text->height(), 0) << width;
            }
        }
        // Nothing stands on anything else.
        for (std::size_t i = 0; i < shown.size(); ++i) {
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                if (shown[i]->isAncestorOf(shown[j]) || shown[j]->isAncestorOf(shown[i])) {
                    continue;
                }
                EXPECT_FALSE(laidOut.inViewport(shown[i]).intersects(laidOut.inViewport(shown[j])))
                    << width << ": " << shown[i]->metaObject()->className() << " and "
                    << shown[j]->metaObject()->className();
            }
        }
    }
    // With room, a parameter's button stands on its name's line.
    const LaidOutBodyTab wide(900);
    const QWidget* header = wide.tab.view()->findChild<QWidget*>(QStringLiteral("parameterHeader"));
    ASSERT_NE(header, nullptr);
    const QList<QPushButton*> buttons = header->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_LT(buttons.front()->geometry().top(), header->findChild<QLabel*>()->geometry().bottom());
}

TEST_F(OperationDetailsTabsTest, bodyTabSeparatorsAndSingleContentType) {
    OperationDetailsViewModel bodyOnly = operation();
    OperationRequestBodyViewModel body;
    body.contentTypes = {QStringLiteral("text/plain")};
    bodyOnly.requestBody = body;
    bodyOnly.responses = {OperationResponseViewModel(QStringLiteral("200"), QStringLiteral("OK"), {}, std::nullopt, std::nullopt, std::nullopt)};
    BodyTabViewController tab;
    tab.configure(bodyOnly);
    EXPECT_EQ(tab.stackView()->itemAt(0)->widget()->objectName(), QStringLiteral("requestBody"));
    EXPECT_EQ(tab.stackView()->itemAt(1)->widget()->objectName(), QStringLiteral("separator"));
    EXPECT_TRUE(labelTexts(tab.view()).contains(QStringLiteral("text/plain")));
    EXPECT_TRUE(labelTexts(tab.view()).contains(QStringLiteral("Optional")));
    EXPECT_TRUE(tab.view()->findChildren<QLabel*>(QStringLiteral("contentTypeChip")).empty());

    OperationDetailsViewModel responsesOnly = operation();
    responsesOnly.responses = bodyOnly.responses;
    tab.configure(responsesOnly);
    EXPECT_NE(tab.stackView()->itemAt(0)->widget()->objectName(), QStringLiteral("separator"));
}

TEST_F(OperationDetailsTabsTest, bodyTabParameterRowsShowDefaultEnumAndDeprecation) {
    OperationDetailsViewModel details = operation();
    details.parameters = {OperationParameterViewModel(QStringLiteral("sort"), ParamLocation::query, false, std::nullopt,
                                                      QStringLiteral("string"), std::nullopt, QStringLiteral("\"name\""),
                                                      QStringList{QStringLiteral("\"name\""), QStringLiteral("\"age\"")},
                                                      true, std::nullopt)};
    BodyTabViewController tab;
    tab.configure(details);
    tab.expandAllSections();
    const QStringList texts = labelTexts(tab.view());
    for (const char* expected : {"sort", "string", "Deprecated", "Default: \"name\"", "Enum: \"name\", \"age\""}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected;
    }
    // Not required, and without a source line no button.
    EXPECT_FALSE(texts.contains(QStringLiteral("Required")));
    EXPECT_TRUE(buttonsTitled(tab.view(), QStringLiteral("Reveal in Editor")).empty());
}

TEST_F(OperationDetailsTabsTest, bodyTabHandsOverAndRevealsTwiceWithTheHost) {
    BodyTabViewController tab;
    std::vector<std::optional<QString>> handedOver;
    const int pane = 0;  // stands for the pane: compared by identity only
    tab.setNavigationSender(&pane);
    tab.configure(fullOperation());
    tab.expandAllSections();

    tab.switchToSchemaTabFromIdentifier(QStringLiteral("requestBody"));  // no host yet: nothing
    tab.onSwitchToSchemaTab = [&](std::optional<QString> code) { handedOver.push_back(code); };
    for (const char* identifier : {"requestBody", "", "response:201", "response:", "other"}) {
        tab.switchToSchemaTabFromIdentifier(QString::fromUtf8(identifier));
    }
    EXPECT_EQ(handedOver, (std::vector<std::optional<QString>>{std::nullopt, std::nullopt, QStringLiteral("201"), QString()}));

    // Without a host one post; with one, the host's and the tab's.
    std::vector<QPushButton*> reveals = buttonsTitled(tab.view(), QStringLiteral("Reveal in Editor"));
    ASSERT_FALSE(reveals.empty());
    QPushButton* bodyReveal = tab.view()->findChild<QWidget*>(QStringLiteral("requestBody"))
                                  ->findChild<QPushButton*>(QStringLiteral("revealInEditor"));
    ASSERT_NE(bodyReveal, nullptr);
    bodyReveal->click();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].line, 49);
    EXPECT_EQ(posts[0].sender, &pane);

    std::vector<int> hosted;
    tab.onRevealInEditor = [&](int line) { hosted.push_back(line); };
    posts.clear();
    tab.requestReveal(9);
    EXPECT_EQ(hosted, std::vector<int>{9});
    EXPECT_EQ(posts.size(), 1u);
}

// MARK: Tab controller

TEST_F(OperationDetailsTabsTest, tabControllerShowsSwitchesAndClears) {
    PropertiesViewController pane;
    OperationDetailsTabController controller(&pane);
    EXPECT_EQ(controller.tabBar()->selectedIndex(), 0);
    EXPECT_EQ(controller.currentChildView(), nullptr);

    // A click before any operation shows the tab unconfigured.
    controller.tabBar()->buttons()[1]->click();
    EXPECT_EQ(controller.currentTab(), Tab::body);
    ASSERT_NE(controller.bodyTab(), nullptr);
    EXPECT_EQ(controller.currentChildView(), controller.bodyTab()->view());
    EXPECT_EQ(controller.bodyTab()->stackView()->count(), 0);

    // Showing lands on Description from any tab, also on a refresh of the same operation.
    controller.tabBar()->buttons()[3]->click();
    EXPECT_EQ(controller.currentTab(), Tab::example);
    OperationDetailsViewModel details = fullOperation();
    details.operationId = QStringLiteral("createPets");
    controller.show(details, std::nullopt);
    EXPECT_EQ(controller.currentTab(), Tab::description);
    EXPECT_EQ(controller.tabBar()->selectedIndex(), 0);
    EXPECT_TRUE(controller.tabBar()->buttons()[0]->isChecked());
    EXPECT_EQ(controller.methodLabel()->text(), QStringLiteral("POST"));
    EXPECT_EQ(controller.methodLabel()->palette().color(QPalette::WindowText), badgeColor(HTTPMethod::post));
    EXPECT_EQ(controller.pathLabel()->text(), QStringLiteral("/pets"));
    EXPECT_EQ(controller.pathLabel()->elideMode(), Qt::ElideMiddle);
    EXPECT_EQ(controller.currentChildView(), controller.descriptionTab()->view());
    EXPECT_EQ(controller.currentChildView()->parentWidget(), controller.contentArea());

    // The hand-over for the body, a response and an unknown code all land on Schema.
    for (const std::optional<QString>& code : {std::optional<QString>(), std::optional<QString>(QStringLiteral("201")),
                                               std::optional<QString>(QStringLiteral("599"))}) {
        controller.switchToTab(Tab::body);
        controller.bodyTab()->onSwitchToSchemaTab(code);
        EXPECT_EQ(controller.currentTab(), Tab::schema);
        EXPECT_EQ(controller.tabBar()->selectedIndex(), 2);
        EXPECT_EQ(controller.currentChildView()->objectName(), QStringLiteral("schemaTab"));
    }

    // The Body tab's reveal posts twice, both with the pane as object.
    controller.switchToTab(Tab::body);
    posts.clear();
    controller.bodyTab()->requestReveal(49);
    ASSERT_EQ(posts.size(), 2u);
    for (const Posted& post : posts) {
        EXPECT_EQ(post.line, 49);
        EXPECT_EQ(post.sender, static_cast<const void*>(&pane));
    }

    controller.clear();
    EXPECT_TRUE(controller.methodLabel()->text().isEmpty());
    EXPECT_TRUE(controller.pathLabel()->text().isEmpty());
    EXPECT_EQ(controller.currentChildView(), nullptr);
    ASSERT_TRUE(controller.currentDetails());
    controller.switchToTab(Tab::description);
    EXPECT_TRUE(labelTexts(controller.currentChildView()).contains(QStringLiteral("createPets")));

    EXPECT_FALSE(OperationDetailsTabController::tabFromRawValue(4));
    EXPECT_FALSE(OperationDetailsTabController::tabFromRawValue(-1));
    EXPECT_EQ(OperationDetailsTabController::title(Tab::example), QStringLiteral("Example"));
}

TEST_F(OperationDetailsTabsTest, paneInstallsTheTabsInPlaceOfTheScrollView) {
    PropertiesViewController pane;
    QWidget* root = pane.view();
    ASSERT_NE(pane.tabController(), nullptr);
    ASSERT_NE(pane.detailsContainerView(), nullptr);
    EXPECT_EQ(pane.detailsContainerView(), pane.tabController()->containerView());
    EXPECT_TRUE(root->isAncestorOf(pane.detailsContainerView()));
    EXPECT_EQ(root->findChild<QScrollArea*>(QStringLiteral("operationDetailsScrollView")), nullptr);
}

// A click on a link in a description reaches the desktop's URL handler once, with the link's
// address, for web and mail addresses only.
TEST_F(OperationDetailsTabsTest, descriptionLinksOpenOncePerClickForWebAndMailOnly) {
    std::vector<QUrl> opened;
    auto previous = CarvexPlatform::Workspace::setOpener([&](const QUrl& url) { opened.push_back(url); });
    const struct {
        const char* href;
        bool opens;
    } cases[] = {
        {"https://example.com/docs", true},
        {"http://example.com", true},
        {"mailto:team@example.com", true},
        {"file:///etc/passwd", false},
        {"guide/pets.html", false},
    };
    for (const auto& c : cases) {
        OperationDetailsViewModel details = operation();
        details.description = QStringLiteral("Read <a href=\"%1\">the pet guide</a> first.").arg(QLatin1String(c.href));
        DescriptionTabViewController tab;
        tab.view()->resize(400, 300);
        tab.view()->show();
        tab.configure(details);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        auto* text = tab.view()->findChild<SelfSizingTextView*>();
        ASSERT_NE(text, nullptr) << c.href;
        // As in a window the user works in, where the click gives the text the focus: the text
        // then marks the clicked link as focused by selecting it.
        QApplication::setActiveWindow(tab.view());
        text->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(text->hasFocus());
        QTextCursor link = text->document()->find(QStringLiteral("pet guide"));
        ASSERT_FALSE(link.isNull()) << c.href;
        link.setPosition(link.selectionStart() + 2);
        const QPoint at = text->cursorRect(link).center();
        ASSERT_EQ(text->anchorAt(at), QString::fromUtf8(c.href));

        opened.clear();
        for (int click = 1; click <= 2; ++click) {
            QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, at);
            ASSERT_EQ(opened.size(), c.opens ? static_cast<size_t>(click) : 0u) << c.href << ", click " << click;
            if (c.opens) {
                EXPECT_EQ(opened.back(), QUrl(QString::fromUtf8(c.href))) << c.href;
            }
        }
    }
    CarvexPlatform::Workspace::setOpener(std::move(previous));
}

}  // namespace
