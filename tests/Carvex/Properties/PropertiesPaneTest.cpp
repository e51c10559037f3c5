// The properties pane with its table, placeholders and selection, driven by a coordinator on the fake
// clock.

#include "Carvex/Documents/Document.h"
#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/ModelAdapters/OperationsIndexBuilder.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Properties/OperationRowDelegate.h"
#include "Carvex/Properties/OperationsTableModel.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/NotificationCenter.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <QHeaderView>
#include <QImage>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPainter>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using namespace std::chrono_literals;
using Carvex::HTTPMethod;
using Carvex::OperationID;
using Carvex::OperationRowViewModel;
using Carvex::OperationsTableModel;
using Carvex::PropertiesViewController;

// The plain rows, except that operations under a path holding "noline" have no source line.
class RowsWithoutSomeLines final : public Carvex::OperationsIndexBuilding {
public:
    std::vector<OperationRowViewModel> build(const Carvex::ParsedOpenAPIModel& model) const override {
        std::vector<OperationRowViewModel> rows = Carvex::OperationsIndexBuilder().build(model);
        for (auto& row : rows) {
            if (row.path().contains(QStringLiteral("noline"))) {
                row.sourceLine.reset();
            }
        }
        return rows;
    }
};

class RecordingNavigation : public QObject, public Carvex::PropertiesViewControllerDelegate {
public:
    void propertiesViewControllerDidRequestNavigation(PropertiesViewController&, int line) override {
        lines.push_back(line);
        if (editor) {
            editor->setFocus();  // as the editor does when it moves its caret
        }
    }
    std::vector<int> lines;
    QWidget* editor = nullptr;
};

QString describe(const std::vector<OperationRowViewModel>& rows) {
    QStringList names;
    for (const auto& row : rows) {
        names.append(row.id.description());
    }
    return names.join(QStringLiteral(", "));
}

QString text(const char* paths) {
    return QStringLiteral("openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n") + QString::fromUtf8(paths);
}

const QString kPets = text(
    "  /pets:\n"
    "    get: {summary: List pets, responses: {}}\n"
    "    post: {operationId: createPet, responses: {}}\n"
    "  /pets/{id}:\n"
    "    delete: {deprecated: true, summary: Remove, responses: {}}\n"
    "  /noline:\n"
    "    put: {responses: {}}\n");

class PropertiesPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        pane.setDocument(&document);
        pane.view()->resize(420, 700);
        pane.setCoordinator(std::make_unique<Carvex::PropertiesViewCoordinator>(
            std::make_shared<Carvex::OpenAPIModelParsingService>(), std::make_shared<RowsWithoutSomeLines>(),
            std::make_shared<Carvex::OperationDetailsBuilder>(),
            std::make_shared<Carvex::PropertiesViewPolicyStore>(settings), fake));
        pane.setNavigationDelegate(&navigation);
        pane.view()->show();
    }

    // The text after a pause, parsed and applied.
    void change(const QString& text) {
        pane.documentDidChange(text, Carvex::DocumentFormat::yaml);
        fake->advance(250ms);
        CarvexPlatform::BackgroundTask::waitForIdle();
        fake->runPending();
    }

    QTableView& table() { return *pane.operationsTableView(); }

    // What is shown: the split view, the table and the one placeholder or the details.
    std::string shown() {
        std::string result;
        auto add = [&](const char* name, const QWidget* widget) {
            if (widget && widget->isVisibleTo(pane.view())) {
                result += result.empty() ? name : std::string(" ") + name;
            }
        };
        add("split", pane.propertiesSplitView());
        add("table", pane.operationsTableView());
        add("no-document", pane.noDocumentPlaceholder());
        add("version-gated", pane.versionGatedPlaceholder());
        add("no-operations", pane.noOperationsPlaceholder());
        add("no-selection", pane.noSelectionPlaceholder());
        add("details", pane.detailsContainerView());
        return result;
    }

    int selectedRow() {
        const QModelIndexList rows = table().selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.front().row();
    }

    void click(int row) {
        const QRect cell = table().visualRect(pane.operationsTableModel()->index(row, OperationsTableModel::pathColumn));
        QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, cell.center());
    }

    int rowOf(const QString& path, HTTPMethod method) {
        return pane.operationsTableModel()->rowOf(OperationID{path, method});
    }

    // The application comes before the widgets below.
    struct Application {
        Application() { CarvexPlatform::TestApplication::ensure(); }
    } application;
    std::shared_ptr<CarvexPlatform::Settings> settings = CarvexPlatform::Settings::isolated();
    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    Carvex::EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    Carvex::Document document{&preferences};
    RecordingNavigation navigation;
    PropertiesViewController pane;
    QWidget details;
};

TEST_F(PropertiesPaneTest, EveryStateShowsItsViews) {
    pane.setDetailsContainerView(&details);
    EXPECT_EQ(shown(), "no-document") << "after load";
    const struct {
        const char* name;
        std::function<void()> step;
        std::string shown;
        std::size_t rows;
    } steps[] = {
        {"operations listed", [&] { change(kPets); }, "split table no-selection", 4},
        {"operation selected", [&] { click(0); }, "split table details", 4},
        {"syntax error kept by default", [&] { change(QStringLiteral("openapi: 3.0.3\npaths: [\n")); },
         "split table details", 4},
        {"Swagger 2.0", [&] { change(QStringLiteral("swagger: '2.0'\ninfo: {title: t, version: '1'}\npaths: {}\n")); },
         "version-gated", 4},
        {"listed again, still selected", [&] { change(kPets); }, "split table details", 4},
        {"syntax error, keep off",
         [&] {
             settings->setBool(Carvex::PropertiesViewPolicyStore::keepStateKey, false);
             change(QStringLiteral("openapi: 3.0.3\npaths: [\n"));
         },
         "split no-operations", 4},
        {"the next parse shows the table again", [&] { change(kPets); }, "split table details", 4},
        {"paths without operations", [&] { change(text("  /a: {parameters: []}\n")); }, "split no-operations", 0},
        {"listed, the selection gone", [&] { change(kPets); }, "split table no-selection", 4},
        {"closed", [&] { pane.documentDidClose(); }, "no-document", 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.step();
        EXPECT_EQ(shown(), step.shown);
        EXPECT_EQ(pane.operations().size(), step.rows);
        EXPECT_EQ(table().model()->rowCount(), static_cast<int>(step.rows));
    }
    pane.setDetailsContainerView(nullptr);
}

TEST_F(PropertiesPaneTest, RowsShowBadgePathAndSummary) {
    change(kPets);
    ASSERT_EQ(describe(pane.operations()).toStdString(), "PUT /noline, GET /pets, POST /pets, DELETE /pets/{id}");
    const OperationsTableModel& model = *pane.operationsTableModel();
    const struct {
        QString path;
        HTTPMethod method;
        QString summary;
        bool struck;
    } rows[] = {
        {QStringLiteral("/pets"), HTTPMethod::get, QStringLiteral("List pets"), false},
        {QStringLiteral("/pets"), HTTPMethod::post, QStringLiteral("createPet"), false},
        {QStringLiteral("/pets/{id}"), HTTPMethod::delete_, QStringLiteral("Remove"), true},
        {QStringLiteral("/noline"), HTTPMethod::put, QStringLiteral("/noline"), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.toStdString() + " " + std::string(Carvex::rawValue(row.method)));
        const int at = rowOf(row.path, row.method);
        ASSERT_GE(at, 0);
        EXPECT_EQ(model.index(at, OperationsTableModel::pathColumn).data().toString(), row.path);
        EXPECT_EQ(model.index(at, OperationsTableModel::summaryColumn).data().toString(), row.summary);
        EXPECT_EQ(model.index(at, OperationsTableModel::methodColumn).data(Qt::AccessibleTextRole).toString(),
                  QString::fromLatin1(Carvex::rawValue(row.method).data()));
        const QFont path = model.index(at, OperationsTableModel::pathColumn).data(Qt::FontRole).value<QFont>();
        const QFont summary = model.index(at, OperationsTableModel::summaryColumn).data(Qt::FontRole).value<QFont>();
        EXPECT_EQ(path.strikeOut(), row.struck);
        EXPECT_EQ(summary.strikeOut(), row.struck);
        EXPECT_EQ(path.pointSizeF(), 11);
        EXPECT_EQ(summary.pointSizeF(), 11);
        EXPECT_TRUE(path.fixedPitch() || path.styleHint() == QFont::Monospace || path.family() != summary.family());
        EXPECT_NE(model.index(at, OperationsTableModel::summaryColumn).data(Qt::ForegroundRole).value<QColor>(),
                  model.index(at, OperationsTableModel::pathColumn).data(Qt::ForegroundRole).value<QColor>());
    }
    EXPECT_FALSE(model.index(model.rowCount(), OperationsTableModel::pathColumn).data().isValid()) << "past the end";

    const QStringList identifiers = {QStringLiteral("MethodColumn"), QStringLiteral("PathColumn"),
                                     QStringLiteral("SummaryColumn")};
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(model.headerData(column, Qt::Horizontal, OperationsTableModel::identifierRole).toString(),
                  identifiers[column]);
    }
    const QHeaderView& header = *table().verticalHeader();
    EXPECT_EQ(header.sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(table().selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_TRUE(table().alternatingRowColors());

    // The badge of a deprecated row is drawn as any other of its method: compare the method cells of
    // DELETE rows, deprecated and not.
    auto methodCell = [&](int row) {
        const QRect cell = table().visualRect(model.index(row, OperationsTableModel::methodColumn));
        QImage image(cell.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.initFrom(table().viewport());
        option.rect = QRect(QPoint(0, 0), cell.size());
        option.state &= ~QStyle::State_Selected;
        table().itemDelegate()->paint(&painter, option, model.index(row, OperationsTableModel::methodColumn));
        return image;
    };
    change(text("  /a:\n    delete: {responses: {}}\n  /b:\n    delete: {deprecated: true, responses: {}}\n"));
    const QImage plain = methodCell(rowOf(QStringLiteral("/a"), HTTPMethod::delete_));
    const QImage deprecated = methodCell(rowOf(QStringLiteral("/b"), HTTPMethod::delete_));
    EXPECT_EQ(plain, deprecated);
    EXPECT_NE(plain.pixelColor(plain.width() / 2, plain.height() / 2), QColor(Qt::white)) << "a badge is drawn";
}

TEST_F(PropertiesPaneTest, ACellCutShortShowsItsWholeTextAsTooltip) {
    change(kPets);
    auto* delegate = qobject_cast<Carvex::OperationRowDelegate*>(table().itemDelegate());
    ASSERT_NE(delegate, nullptr);
    const OperationsTableModel& model = *pane.operationsTableModel();
    const int row = rowOf(QStringLiteral("/pets/{id}"), HTTPMethod::delete_);
    ASSERT_GE(row, 0);
    const struct {
        int column;
        int width;
        QString tooltip;
    } cases[] = {
        {OperationsTableModel::pathColumn, 30, QStringLiteral("/pets/{id}")},
        {OperationsTableModel::pathColumn, 600, QString()},
        {OperationsTableModel::summaryColumn, 20, QStringLiteral("Remove")},
        {OperationsTableModel::summaryColumn, 600, QString()},
        {OperationsTableModel::methodColumn, 10, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.column) + " at " + std::to_string(c.width));
        QStyleOptionViewItem option;
        option.initFrom(table().viewport());
        option.widget = &table();
        option.rect = QRect(0, 0, c.width, 24);
        EXPECT_EQ(delegate->toolTipText(option, model.index(row, c.column)).toStdString(), c.tooltip.toStdString());
    }
}

TEST_F(PropertiesPaneTest, ChoosingARowSelectsAndNavigates) {
    change(kPets);
    const int post = rowOf(QStringLiteral("/pets"), HTTPMethod::post);
    const int noLine = rowOf(QStringLiteral("/noline"), HTTPMethod::put);
    ASSERT_GE(post, 0);
    ASSERT_GE(noLine, 0);

    testing::internal::CaptureStdout();
    click(post);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "[PropertiesVC] tableViewSelectionDidChange - selectedRow: " + std::to_string(post) + "\n");
    EXPECT_EQ(pane.coordinator()->currentSelection(), (OperationID{QStringLiteral("/pets"), HTTPMethod::post}));
    EXPECT_EQ(navigation.lines, std::vector<int>{6});
    EXPECT_EQ(shown(), "split table details");

    // A row without a line: selected, details asked for, the editor stays.
    click(noLine);
    EXPECT_EQ(pane.coordinator()->currentSelection(), (OperationID{QStringLiteral("/noline"), HTTPMethod::put}));
    EXPECT_EQ(navigation.lines, std::vector<int>{6});

    // A click below the rows ends the selection.
    testing::internal::CaptureStdout();
    QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, QPoint(10, table().viewport()->height() - 5));
    printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "[PropertiesVC] tableViewSelectionDidChange - selectedRow: -1\n");
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_FALSE(pane.coordinator()->currentSelection().has_value());
    EXPECT_EQ(shown(), "split table no-selection");
    EXPECT_EQ(navigation.lines, std::vector<int>{6});
}

TEST_F(PropertiesPaneTest, ArrowKeysWalkTheRowsWhileAClickHandsTheFocusToTheEditor) {
    change(kPets);  // rows: GET and POST /pets, DELETE /pets/{id}, PUT /noline
    QLineEdit editor(pane.view());
    editor.show();
    navigation.editor = &editor;
    pane.view()->activateWindow();
    QApplication::setActiveWindow(pane.view());

    const int get = rowOf(QStringLiteral("/pets"), HTTPMethod::get);
    ASSERT_GE(get, 0);
    click(get);
    EXPECT_TRUE(editor.hasFocus()) << "a click shows the operation in the editor, ready to type";

    table().setFocus();
    testing::internal::CaptureStdout();
    QTest::keyClick(&table(), Qt::Key_Down);
    QTest::keyClick(&table(), Qt::Key_Down);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(selectedRow(), get + 2) << "each arrow key moves one row on";
    EXPECT_TRUE(table().hasFocus());

    click(get);
    EXPECT_TRUE(editor.hasFocus()) << "a click after the keys";
}

TEST_F(PropertiesPaneTest, WithoutADelegateTheRequestIsPostedOrGoesToAParent) {
    pane.setNavigationDelegate(nullptr);
    change(kPets);
    std::vector<QVariant> posted;
    const void* sender = nullptr;
    auto observation = CarvexPlatform::NotificationCenter::defaultCenter().observe(
        PropertiesViewController::didRequestNavigationNotification, nullptr,
        [&](const CarvexPlatform::Notification& note) {
            posted.push_back(note.userInfo.value(PropertiesViewController::lineKey));
            sender = note.sender;
        });
    click(rowOf(QStringLiteral("/pets"), HTTPMethod::get));
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].toInt(), 5);
    EXPECT_EQ(sender, &pane);

    // Shown inside a controller that is a navigation delegate, the pane takes it.
    class Parent : public CarvexPlatform::ViewController, public Carvex::PropertiesViewControllerDelegate {
    public:
        void propertiesViewControllerDidRequestNavigation(PropertiesViewController&, int line) override {
            lines.push_back(line);
        }
        std::vector<int> lines;
    };
    Parent parent;
    auto child = std::make_unique<PropertiesViewController>();
    PropertiesViewController* nested = child.get();
    parent.addChildViewController(std::move(child));
    auto* layout = new QVBoxLayout(parent.view());
    layout->addWidget(nested->view());
    EXPECT_EQ(nested->navigationDelegate(), nullptr);
    parent.view()->show();
    EXPECT_EQ(nested->navigationDelegate(), &parent);
    nested->requestNavigation(9);
    EXPECT_EQ(parent.lines, std::vector<int>{9});
    EXPECT_NE(nested->coordinator(), nullptr) << "the pane makes its coordinator when its view loads";
}

// After a reload the table selects the coordinator's operation again by its identity, without
// acting on it: no line printed, no call, no navigation.
TEST_F(PropertiesPaneTest, AReloadKeepsTheSelectedOperationQuietly) {
    const struct {
        const char* name;
        QString text;
        std::optional<OperationID> selected;
    } rows[] = {
        {"rows inserted above", text("  /aaa:\n    get: {responses: {}}\n    put: {responses: {}}\n"
                                     "  /pets:\n    get: {responses: {}}\n    post: {responses: {}}\n"),
         OperationID{QStringLiteral("/pets"), HTTPMethod::post}},
        {"rows inserted below", text("  /pets:\n    get: {responses: {}}\n    post: {responses: {}}\n"
                                     "  /zzz:\n    get: {responses: {}}\n"),
         OperationID{QStringLiteral("/pets"), HTTPMethod::post}},
        {"its path edited away", text("  /pet:\n    get: {responses: {}}\n    post: {responses: {}}\n"), std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        change(text("  /pets:\n    get: {responses: {}}\n    post: {responses: {}}\n"));
        click(rowOf(QStringLiteral("/pets"), HTTPMethod::post));
        ASSERT_EQ(navigation.lines.size(), 1u);
        navigation.lines.clear();

        testing::internal::CaptureStdout();
        change(row.text);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_TRUE(navigation.lines.empty());
        EXPECT_EQ(pane.coordinator()->currentSelection(), row.selected);
        if (row.selected) {
            EXPECT_EQ(selectedRow(), rowOf(row.selected->path, row.selected->method));
            EXPECT_EQ(table().currentIndex().row(), selectedRow()) << "the keyboard goes on from the selection";
            EXPECT_EQ(shown(), "split table details");
        } else {
            EXPECT_EQ(selectedRow(), -1);
            EXPECT_EQ(shown(), "split table no-selection");
        }
        pane.coordinator()->clearSelection();
    }
}

TEST_F(PropertiesPaneTest, TheDividerIsPlacedOnceAndKeptWithinItsLimits) {
    CarvexPlatform::SplitView& split = *pane.propertiesSplitView();
    EXPECT_FALSE(pane.hasSetInitialDividerPosition()) << "the split view is hidden without a document";
    change(kPets);
    EXPECT_TRUE(pane.hasSetInitialDividerPosition());
    EXPECT_EQ(split.positionOfDivider(0), PropertiesViewController::defaultTableHeight);
    split.setPosition(300, 0);
    change(text("  /a: {parameters: []}\n"));
    change(kPets);
    EXPECT_EQ(split.positionOfDivider(0), 300) << "the user's position stands";

    const int length = split.height();
    const struct {
        const char* name;
        double proposed;
        double expected;
    } drags[] = {
        {"near the top", 40, PropertiesViewController::minimumTableHeight},
        {"at the top", 0, PropertiesViewController::minimumTableHeight},
        {"in between", 200, 200},
        {"near the bottom", length - 30.0, length - double(PropertiesViewController::minimumDetailsHeight)},
    };
    for (const auto& drag : drags) {
        SCOPED_TRACE(drag.name);
        EXPECT_EQ(split.constrainedPosition(drag.proposed, 0), drag.expected);
    }
    for (QWidget* subview : split.subviews()) {
        EXPECT_FALSE(pane.splitViewCanCollapseSubview(split, subview));
    }
    split.doubleClickDivider(0);
    EXPECT_FALSE(split.isSubviewCollapsed(split.subviews().front()));
    EXPECT_FALSE(split.isSubviewCollapsed(split.subviews().back()));
}

TEST(OperationsTableModelTest, HugeAndMultiLineTextsShowAsOneShortLine) {
    CarvexPlatform::TestApplication::ensure();
    const QString huge(1 << 20, QLatin1Char('p'));
    QString emojiAtTheCut(OperationsTableModel::maximumDisplayLength - 1, QLatin1Char('a'));
    emojiAtTheCut += QString::fromUtf8("\xF0\x9F\x98\x80 tail");
    const struct {
        const char* name;
        QString text;
        QString shown;
    } rows[] = {
        {"line breaks", QStringLiteral("one\ntwo\r\nthree\u2028four\u2029five\u0085six\tseven"),
         QStringLiteral("one two  three four five six seven")},
        {"bidirectional controls kept", QStringLiteral("abc\u202Edef\u2066g"), QStringLiteral("abc\u202Edef\u2066g")},
        {"a megabyte", huge, huge.left(OperationsTableModel::maximumDisplayLength)},
        {"no half surrogate pair", emojiAtTheCut, emojiAtTheCut.left(OperationsTableModel::maximumDisplayLength - 1)},
        {"empty", QString(), QString()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(OperationsTableModel::displayLine(row.text), row.shown);
    }

    // A hundred thousand rows with a megabyte path and a multi-line summary among them are drawn.
    std::vector<OperationRowViewModel> many;
    many.reserve(100000);
    for (int index = 0; index < 100000; ++index) {
        many.push_back({OperationID{QStringLiteral("/items/%1").arg(index), Carvex::allHTTPMethods[index % 8]},
                        QStringLiteral("summary\nwith a break \u202Eand a control"), std::nullopt, index % 3 == 0,
                        index + 1});
    }
    many[1].id.path = huge;
    PropertiesViewController pane;
    pane.view()->resize(400, 600);
    pane.view()->show();
    pane.coordinatorDidUpdateOperations(*pane.coordinator(), many);
    EXPECT_EQ(pane.operationsTableView()->model()->rowCount(), 100000);
    QImage image(pane.view()->size(), QImage::Format_ARGB32_Premultiplied);
    pane.view()->render(&image);
    const QRect second = pane.operationsTableView()->visualRect(pane.operationsTableModel()->index(1, 1));
    EXPECT_EQ(second.height(), pane.operationsTableView()->visualRect(pane.operationsTableModel()->index(0, 1)).height());
    pane.documentDidClose();
}

}  // namespace
