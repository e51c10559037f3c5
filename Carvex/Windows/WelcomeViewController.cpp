#include "Carvex/Windows/WelcomeViewController.h"

#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Windows/RecentDocumentCellView.h"
#include "Carvex/Windows/WelcomeWindowController.h"
#include "platform/Appearance.h"
#include "platform/DynamicColor.h"
#include "platform/SystemSymbol.h"
#include "platform/Workspace.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

// The icon is compiled into the application's static library; nothing refers to its registration
// object, so it is pulled in here by name.
static void initAppIconResources() { Q_INIT_RESOURCE(AppIcon); }

namespace Carvex {

namespace {

CarvexPlatform::DocumentController& documentController() {
    if (DocumentController* ours = DocumentController::instance()) {
        return *ours;
    }
    return CarvexPlatform::DocumentController::shared();
}

// A symbol tinted for the current appearance.
QIcon symbolIcon(const QString& name, const QString& description) {
    const auto image = CarvexPlatform::SystemSymbol::image(name, 16, description);
    if (!image) {
        return {};
    }
    QImage tinted = *image;
    QPainter painter(&tinted);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(tinted.rect(), CarvexPlatform::DynamicColor(CarvexPlatform::SystemColor::label).resolved());
    painter.end();
    return QIcon(QPixmap::fromImage(tinted));
}

QString colorName(const QColor& color) { return color.name(QColor::HexArgb); }

}  // namespace

QIcon WelcomeViewController::applicationIcon() {
    static const bool registered = (initAppIconResources(), true);
    (void)registered;
    return QIcon(QStringLiteral(":/Carvex/AppIcon.png"));
}

void WelcomeViewController::registerScene(CarvexPlatform::Storyboard& storyboard) {
    storyboard.registerScene(sceneIdentifier, [] { return std::make_unique<WelcomeViewController>(); });
}

WelcomeViewController::Gradient WelcomeViewController::gradientColors(bool isDark) {
    if (isDark) {
        return {QColor::fromRgbF(0.12f, 0.12f, 0.13f, 1), QColor::fromRgbF(0.32f, 0.32f, 0.34f, 1)};
    }
    return {QColor::fromRgbF(0.7f, 0.84f, 0.95f, 1), QColor::fromRgbF(0.92f, 0.96f, 1.0f, 1)};
}

WelcomeViewController::WelcomeViewController()
    : openURL(&CarvexPlatform::Workspace::openURL) {}

WelcomeViewController::~WelcomeViewController() = default;

QWidget* WelcomeViewController::loadView() {
    auto* view = new QWidget();
    auto* layout = new QHBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    leftPanelView = new QWidget(view);
    leftPanelView->setObjectName(QStringLiteral("welcomeLeftPanel"));
    leftPanelView->setAttribute(Qt::WA_StyledBackground);
    leftPanelView->setFixedWidth(360);
    auto* left = new QVBoxLayout(leftPanelView);
    left->setContentsMargins(32, 40, 32, 24);
    left->setSpacing(10);
    left->addStretch(1);
    appIconImageView = new QLabel(leftPanelView);
    appIconImageView->setAlignment(Qt::AlignCenter);
    left->addWidget(appIconImageView);
    titleLabel = new QLabel(QStringLiteral("Carvex"), leftPanelView);
    QFont titleFont = titleLabel->font();
    titleFont.setPointSizeF(28);
    titleFont.setBold(true);
    titleLabel->setFont(titleFont);
    titleLabel->setAlignment(Qt::AlignCenter);
    left->addWidget(titleLabel);
    auto* subtitle = new QLabel(QStringLiteral("OpenAPI Editor"), leftPanelView);
    subtitle->setAlignment(Qt::AlignCenter);
    left->addWidget(subtitle);
    left->addSpacing(18);
    newDocumentButton = new QPushButton(QStringLiteral("New Document..."), leftPanelView);
    openDocumentButton = new QPushButton(QStringLiteral("Open Document..."), leftPanelView);
    for (QPushButton* button : {newDocumentButton.data(), openDocumentButton.data()}) {
        button->setMinimumHeight(32);
        button->setIconSize(QSize(16, 16));
        left->addWidget(button);
    }
    left->addStretch(1);
    learnOpenAPIButton = new QPushButton(QStringLiteral("Learn about the OpenAPI Specification"), leftPanelView);
    learnOpenAPIButton->setCursor(Qt::PointingHandCursor);
    left->addWidget(learnOpenAPIButton, 0, Qt::AlignHCenter);
    layout->addWidget(leftPanelView);

    auto* right = new QVBoxLayout();
    right->setContentsMargins(16, 20, 16, 16);
    right->setSpacing(8);
    recentDocumentsLabel = new QLabel(QStringLiteral("Recent Documents"), view);
    QFont recentFont = recentDocumentsLabel->font();
    recentFont.setBold(true);
    recentDocumentsLabel->setFont(recentFont);
    right->addWidget(recentDocumentsLabel);
    recentDocumentsTableView = new QTableWidget(view);
    right->addWidget(recentDocumentsTableView, 1);
    noRecentDocumentsLabel = new QLabel(QStringLiteral("No Recent Documents"), view);
    noRecentDocumentsLabel->setAlignment(Qt::AlignCenter);
    noRecentDocumentsLabel->setEnabled(false);
    right->addWidget(noRecentDocumentsLabel, 1);
    layout->addLayout(right, 1);

    connect(newDocumentButton, &QPushButton::clicked, this, [this] { newDocumentClicked(); });
    connect(openDocumentButton, &QPushButton::clicked, this, [this] { openDocumentClicked(); });
    connect(learnOpenAPIButton, &QPushButton::clicked, this, [this] { learnOpenAPIClicked(); });
    view->installEventFilter(this);
    return view;
}

void WelcomeViewController::viewDidLoad() {
    setUpAppearance();
    setUpTable();
    reloadRecentDocuments();
}

void WelcomeViewController::viewDidAppear() { reloadRecentDocuments(); }

void WelcomeViewController::setUpAppearance() {
    gradientLayer_ = gradientColors(CarvexPlatform::Appearance::shared().isDark());
    viewDidLayout();
    connect(&CarvexPlatform::Appearance::shared(), &CarvexPlatform::Appearance::changed, this, [this] {
        if (QWidget* panel = leftPanelView) {
            panel->updateGeometry();
            if (isViewLoaded()) {
                QApplication::postEvent(view(), new QEvent(QEvent::LayoutRequest));
            }
        }
    });

    appIconImageView->setPixmap(applicationIcon().pixmap(128, 128));
    newDocumentButton->setIcon(symbolIcon(QStringLiteral("doc.badge.plus"), QStringLiteral("New Document")));
    newDocumentButton->setAccessibleDescription(QStringLiteral("New Document"));
    openDocumentButton->setIcon(symbolIcon(QStringLiteral("folder"), QStringLiteral("Open Document")));
    openDocumentButton->setAccessibleDescription(QStringLiteral("Open Document"));

    learnOpenAPIButton->setFlat(true);
    QFont linkFont = learnOpenAPIButton->font();
    linkFont.setUnderline(true);
    learnOpenAPIButton->setFont(linkFont);
    learnOpenAPIButton->setStyleSheet(
        QStringLiteral("QPushButton { border: none; background: transparent; color: %1; }")
            .arg(CarvexPlatform::DynamicColor(CarvexPlatform::SystemColor::link).resolved().name()));
}

void WelcomeViewController::viewDidLayout() {
    if (!leftPanelView) {
        return;
    }
    const Gradient colors = gradientColors(CarvexPlatform::Appearance::shared().isDark());
    if (gradientLayer_ == colors && !leftPanelView->styleSheet().isEmpty()) {
        return;
    }
    gradientLayer_ = colors;
    // The panel's texts follow the same appearance as its gradient.
    const QColor ink = CarvexPlatform::DynamicColor(CarvexPlatform::SystemColor::label)
                           .resolved(CarvexPlatform::Appearance::shared().isDark());
    // Qt's gradient runs from y1 (the top) to y2 (the bottom).
    leftPanelView->setStyleSheet(
        QStringLiteral("#welcomeLeftPanel { background: qlineargradient(x1:0.5, y1:0, x2:0.5, y2:1, "
                       "stop:0 %1, stop:1 %2); } #welcomeLeftPanel QLabel { color: %3; }")
            .arg(colorName(colors.top), colorName(colors.bottom), colorName(ink)));
}

bool WelcomeViewController::eventFilter(QObject* watched, QEvent* event) {
    if (isViewLoaded() && watched == view() &&
        (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize)) {
        viewDidLayout();
    }
    return CarvexPlatform::ViewController::eventFilter(watched, event);
}

void WelcomeViewController::setUpTable() {
    QTableWidget* table = recentDocumentsTableView;
    table->setColumnCount(1);
    table->horizontalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(32);
    table->setShowGrid(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setFrameShape(QFrame::NoFrame);
    table->setFocusPolicy(Qt::NoFocus);
    table->setStyleSheet(QStringLiteral("QTableWidget { background: transparent; }"));
    table->viewport()->setAutoFillBackground(false);
    connect(table, &QTableWidget::cellDoubleClicked, this, [this] { tableViewDoubleClicked(); });
}

void WelcomeViewController::reloadRecentDocuments() {
    std::vector<RecentDocumentItem> items;
    for (const QString& path : documentController().recentDocumentPaths()) {
        if (QFileInfo::exists(path)) {
            items.push_back(RecentDocumentItem{path});
        }
    }
    recentDocuments_ = std::move(items);
    if (!recentDocumentsTableView) {
        return;
    }
    QTableWidget* table = recentDocumentsTableView;
    table->clearContents();
    table->setRowCount(static_cast<int>(recentDocuments_.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        table->setItem(row, 0, new QTableWidgetItem());
        viewForRow(row);
    }
    table->clearSelection();
    table->setHidden(recentDocuments_.empty());
    noRecentDocumentsLabel->setHidden(!recentDocuments_.empty());
}

RecentDocumentCellView* WelcomeViewController::viewForRow(int row) {
    QTableWidget* table = recentDocumentsTableView;
    if (!table || row < 0 || row >= static_cast<int>(recentDocuments_.size()) || row >= table->rowCount()) {
        return nullptr;
    }
    auto* cell = qobject_cast<RecentDocumentCellView*>(table->cellWidget(row, 0));
    if (!cell || cell->objectName() != RecentDocumentCellView::reuseIdentifier) {
        cell = new RecentDocumentCellView();
        table->setCellWidget(row, 0, cell);
    }
    cell->configure(recentDocuments_[static_cast<std::size_t>(row)]);
    return cell;
}

void WelcomeViewController::newDocumentClicked() {
    if (DocumentController* controller = DocumentController::instance()) {
        controller->newDocument();
    }
}

void WelcomeViewController::openDocumentClicked() {
    WelcomeWindowController::closeIfLoaded();
    documentController().openDocument();
}

void WelcomeViewController::learnOpenAPIClicked() {
    if (openURL) {
        openURL(learnOpenAPIURL);
    }
}

void WelcomeViewController::tableViewDoubleClicked() {
    if (!recentDocumentsTableView) {
        return;
    }
    const QList<QTableWidgetItem*> selected = recentDocumentsTableView->selectedItems();
    const int row = selected.isEmpty() ? -1 : selected.front()->row();
    if (row < 0 || row >= static_cast<int>(recentDocuments_.size())) {
        return;
    }
    const QString path = recentDocuments_[static_cast<std::size_t>(row)].url;
    WelcomeWindowController::closeIfLoaded();
    // The controller shows the failure itself; then the welcome window comes back when nothing is open.
    documentController().openDocumentWithContentsOfFile(
        path, true, [](CarvexPlatform::Document*, bool, std::optional<CarvexPlatform::Error> error) {
            if (error && documentController().documents().empty()) {
                WelcomeWindowController::shared().showWelcomeWindow();
            }
        });
}

}  // namespace Carvex
