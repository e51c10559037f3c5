#include "Carvex/Properties/PropertiesViewController.h"

#include "Carvex/Documents/Document.h"
#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "Carvex/Properties/OperationDetailsTabController.h"
#include "Carvex/Properties/OperationRowDelegate.h"
#include "Carvex/Properties/OperationsTableModel.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/SystemColor.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLayout>
#include <QScrollArea>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace Carvex {

namespace {

QLabel* makePlaceholder(const QString& name, const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setMargin(12);
    QFont font = QApplication::font();
    font.setPointSizeF(13);
    label->setFont(font);
    label->hide();
    return label;
}

QWidget* stackedPane(const QString& name, std::initializer_list<QWidget*> children) {
    auto* pane = new QWidget();
    pane->setObjectName(name);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QWidget* child : children) {
        layout->addWidget(child);
    }
    return pane;
}

}  // namespace

void PropertiesViewController::registerScene(CarvexPlatform::Storyboard& storyboard) {
    storyboard.registerScene(sceneIdentifier, [] { return std::make_unique<PropertiesViewController>(); });
}

PropertiesViewController::PropertiesViewController() = default;

PropertiesViewController::~PropertiesViewController() {
    // The views go after this part of the controller: they must no longer reach it.
    if (propertiesSplitView_) {
        propertiesSplitView_->setDelegate(nullptr);
    }
    if (operationsTableView_ && operationsTableView_->selectionModel()) {
        operationsTableView_->selectionModel()->disconnect(this);
    }
    if (coordinator_) {
        coordinator_->setDelegate(nullptr);
    }
}

// MARK: Views

QWidget* PropertiesViewController::loadView() {
    auto* model = new OperationsTableModel(this);
    operationsTableModel_ = model;
    auto* table = new QTableView();
    table->setObjectName(QStringLiteral("operationsTableView"));
    table->setModel(model);
    table->installEventFilter(this);
    table->viewport()->installEventFilter(this);
    operationsTableView_ = table;

    noDocumentPlaceholder_ = makePlaceholder(QStringLiteral("noDocumentPlaceholder"), tr("No Document"));
    versionGatedPlaceholder_ = makePlaceholder(QStringLiteral("versionGatedPlaceholder"),
                                               tr("Only OpenAPI 3.0 and 3.1 descriptions are shown here."));
    noOperationsPlaceholder_ = makePlaceholder(QStringLiteral("noOperationsPlaceholder"), tr("No Operations"));
    noSelectionPlaceholder_ = makePlaceholder(QStringLiteral("noSelectionPlaceholder"),
                                              tr("Select an operation to see its details."));
    applyPlaceholderColours();

    auto* details = new QScrollArea();
    details->setObjectName(QStringLiteral("operationDetailsScrollView"));
    details->setFrameShape(QFrame::NoFrame);
    details->setWidgetResizable(true);
    details->hide();
    operationDetailsScrollView_ = details;

    auto* split = new CarvexPlatform::SplitView(Qt::Vertical);
    split->setObjectName(QStringLiteral("propertiesSplitView"));
    split->addWidget(stackedPane(QStringLiteral("operationsArea"), {table, noOperationsPlaceholder_}));
    split->addWidget(stackedPane(QStringLiteral("detailsArea"), {noSelectionPlaceholder_, details}));
    split->setChildrenCollapsible(false);
    // The table keeps its height when the pane grows or shrinks; the details take the difference.
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    propertiesSplitView_ = split;

    auto* root = new QWidget();
    root->setObjectName(QStringLiteral("propertiesPane"));
    auto* layout = new QVBoxLayout(root);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(noDocumentPlaceholder_);
    layout->addWidget(versionGatedPlaceholder_);
    layout->addWidget(split);
    return root;
}

void PropertiesViewController::viewDidLoad() {
    configureViews();
    setUpCoordinator();
    installDetailsTabController();
}

void PropertiesViewController::installDetailsTabController() {
    tabController_ = std::make_unique<OperationDetailsTabController>(this);
    QScrollArea* scroll = operationDetailsScrollView_;
    QWidget* area = scroll ? scroll->parentWidget() : nullptr;
    if (!area || !area->layout()) {
        return;
    }
    QWidget* container = tabController_->containerView();
    // The layout hands back the item that held the scroll view; it is ours to delete.
    delete area->layout()->replaceWidget(scroll, container);
    scroll->hide();
    scroll->setParent(nullptr);
    scroll->deleteLater();
    container->hide();
    detailsContainerView_ = container;
}

void PropertiesViewController::configureViews() {
    propertiesSplitView_->setDelegate(this);

    QTableView& table = *operationsTableView_;
    table.setItemDelegate(new OperationRowDelegate(&table));
    table.setAlternatingRowColors(true);
    table.setSelectionMode(QAbstractItemView::SingleSelection);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setShowGrid(false);
    table.setWordWrap(false);
    table.setTextElideMode(Qt::ElideRight);
    table.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    const QSizeF badge = badgeImage(HTTPMethod::get, 1.0).deviceIndependentSize();
    const int textHeight = std::max(QFontMetrics(OperationsTableModel::pathFont()).height(),
                                    QFontMetrics(OperationsTableModel::summaryFont()).height());
    const int rowHeight = std::max({20, static_cast<int>(badge.height()) + 6, textHeight + 6});
    QHeaderView* rows = table.verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultSectionSize(rowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    // The path and summary columns resize alike; the method column is as wide as a badge.
    QHeaderView* columns = table.horizontalHeader();
    columns->setHighlightSections(false);
    columns->setSectionsClickable(false);
    columns->setSectionResizeMode(QHeaderView::Stretch);
    columns->setSectionResizeMode(OperationsTableModel::methodColumn, QHeaderView::Fixed);
    columns->resizeSection(OperationsTableModel::methodColumn, static_cast<int>(badge.width()) + 16);

    connect(table.selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!selectingQuietly_) {
            tableViewSelectionDidChange();
        }
    });
    connect(&CarvexPlatform::Appearance::shared(), &CarvexPlatform::Appearance::changed, this, [this] {
        applyPlaceholderColours();
        if (operationsTableView_) {
            operationsTableView_->viewport()->update();
        }
    });

    // The operation details view is installed in place of the details scroll view by the details
    // tabs.
    showPlaceholder(noDocumentPlaceholder_);
}

void PropertiesViewController::applyPlaceholderColours() {
    const QColor colour = CarvexPlatform::systemColor(CarvexPlatform::SystemColor::tertiaryLabel);
    for (QWidget* placeholder :
         {noDocumentPlaceholder_.data(), versionGatedPlaceholder_.data(), noOperationsPlaceholder_.data(),
          noSelectionPlaceholder_.data()}) {
        if (placeholder) {
            QPalette palette = placeholder->palette();
            palette.setColor(QPalette::WindowText, colour);
            placeholder->setPalette(palette);
        }
    }
}

void PropertiesViewController::setUpCoordinator() { setCoordinator(std::make_unique<PropertiesViewCoordinator>()); }

void PropertiesViewController::viewDidAppear() {
    placeDividerOnce();
    if (!navigationDelegate()) {
        for (ViewController* parent = parentViewController(); parent; parent = parent->parentViewController()) {
            if (auto* delegate = dynamic_cast<PropertiesViewControllerDelegate*>(parent)) {
                setNavigationDelegate(delegate);
                break;
            }
        }
    }
}

void PropertiesViewController::placeDividerOnce() {
    if (hasSetInitialDividerPosition_ || !propertiesSplitView_ || !propertiesSplitView_->isVisible()) {
        return;
    }
    // The split view may just have been shown: give it its size before placing the divider.
    if (QLayout* layout = view()->layout()) {
        layout->activate();
    }
    propertiesSplitView_->setPosition(defaultTableHeight, 0);
    hasSetInitialDividerPosition_ = true;
}

void PropertiesViewController::showPlaceholder(QWidget* placeholder) {
    if (!isViewLoaded()) {
        return;
    }
    for (QWidget* view : {noDocumentPlaceholder_.data(), versionGatedPlaceholder_.data(), noOperationsPlaceholder_.data(),
                          noSelectionPlaceholder_.data(), static_cast<QWidget*>(operationsTableView_.data()),
                          detailsContainerView_.data()}) {
        if (view) {
            view->hide();
        }
    }
    if (propertiesSplitView_) {
        const bool hidesSplit = placeholder && (placeholder == noDocumentPlaceholder_ || placeholder == versionGatedPlaceholder_);
        propertiesSplitView_->setVisible(!hidesSplit);
    }
    if (placeholder) {
        placeholder->show();
    }
}

void PropertiesViewController::showOperationsContent() {
    if (!isViewLoaded()) {
        return;
    }
    for (QWidget* placeholder :
         {noDocumentPlaceholder_.data(), versionGatedPlaceholder_.data(), noOperationsPlaceholder_.data()}) {
        if (placeholder) {
            placeholder->hide();
        }
    }
    if (propertiesSplitView_) {
        propertiesSplitView_->show();
    }
    if (operationsTableView_) {
        operationsTableView_->show();
    }
    if (noSelectionPlaceholder_) {
        noSelectionPlaceholder_->show();
    }
    if (detailsContainerView_) {
        detailsContainerView_->hide();
    }
    placeDividerOnce();
}

// MARK: Document and coordinator

Document* PropertiesViewController::document() const { return document_.data(); }

void PropertiesViewController::setDocument(Document* document) {
    document_ = document;
    if (coordinator_) {
        coordinator_->setDocument(document);
    }
}

void PropertiesViewController::setExampleGeneratorViewController(ExampleGeneratorPanel* panel) {
    exampleGeneratorViewController_.set(panel);
    if (coordinator_) {
        coordinator_->setExampleGeneratorViewController(panel);
    }
}

void PropertiesViewController::setCoordinator(std::unique_ptr<PropertiesViewCoordinator> coordinator) {
    if (coordinator_) {
        coordinator_->setDelegate(nullptr);
    }
    coordinator_ = std::move(coordinator);
    if (coordinator_) {
        coordinator_->setDelegate(this);
        coordinator_->setDocument(document_.data());
        coordinator_->setExampleGeneratorViewController(exampleGeneratorViewController_.get());
    }
}

void PropertiesViewController::documentDidChange(const QString& text, DocumentFormat format) {
    if (coordinator_) {
        coordinator_->documentDidChange(text, format);
    }
}

void PropertiesViewController::documentDidClose() {
    if (coordinator_) {
        coordinator_->documentDidClose();
    }
}

const std::vector<OperationRowViewModel>& PropertiesViewController::operations() const {
    static const std::vector<OperationRowViewModel> none;
    return operationsTableModel_ ? operationsTableModel_->operations() : none;
}

void PropertiesViewController::coordinatorDidUpdateOperations(PropertiesViewCoordinator&,
                                                              const std::vector<OperationRowViewModel>& operations) {
    if (!operationsTableModel_) {
        return;
    }
    operationsTableModel_->setOperations(operations);
    restoreSelection();
    showOperationsContent();
}

void PropertiesViewController::coordinatorDidUpdateDetails(PropertiesViewCoordinator&,
                                                           const OperationDetailsViewModel& details) {
    if (tabController_) {
        tabController_->show(details, document_ ? document_->parsedModel : std::nullopt);
    }
    if (noSelectionPlaceholder_) {
        noSelectionPlaceholder_->hide();
    }
    if (detailsContainerView_) {
        detailsContainerView_->show();
    }
}

void PropertiesViewController::coordinatorDidRequestNoOperationsState(PropertiesViewCoordinator&) {
    if (operationsTableModel_) {
        operationsTableModel_->setOperations({});
    }
    showPlaceholder(noOperationsPlaceholder_);
}

void PropertiesViewController::coordinatorDidRequestVersionGatedState(PropertiesViewCoordinator&) {
    showPlaceholder(versionGatedPlaceholder_);
}

void PropertiesViewController::coordinatorDidRequestParseErrorState(PropertiesViewCoordinator&) {
    showPlaceholder(noOperationsPlaceholder_);
}

void PropertiesViewController::coordinatorDidRequestNoDocumentState(PropertiesViewCoordinator&) {
    if (operationsTableModel_) {
        operationsTableModel_->setOperations({});
    }
    showPlaceholder(noDocumentPlaceholder_);
}

void PropertiesViewController::coordinatorDidClearSelection(PropertiesViewCoordinator&) {
    selectRowQuietly(-1);
    // Below a placeholder standing in for the table ("no operations") there is nothing to select.
    if (noSelectionPlaceholder_ && operationsTableView_ && !operationsTableView_->isHidden()) {
        noSelectionPlaceholder_->show();
    }
    if (detailsContainerView_) {
        detailsContainerView_->hide();
    }
    if (tabController_) {
        tabController_->clear();
    }
}

// MARK: Selection

void PropertiesViewController::restoreSelection() {
    const std::optional<OperationID> selection = coordinator_ ? coordinator_->currentSelection() : std::nullopt;
    selectRowQuietly(selection && operationsTableModel_ ? operationsTableModel_->rowOf(*selection) : -1);
}

void PropertiesViewController::selectRowQuietly(int row) {
    if (!operationsTableView_ || !operationsTableModel_) {
        return;
    }
    QItemSelectionModel* selection = operationsTableView_->selectionModel();
    if (!selection) {
        return;
    }
    selectingQuietly_ = true;
    if (row >= 0 && row < operationsTableModel_->rowCount()) {
        const QModelIndex index = operationsTableModel_->index(row, OperationsTableModel::pathColumn);
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else if (selection->hasSelection()) {
        selection->clearSelection();
    }
    selectingQuietly_ = false;
}

void PropertiesViewController::tableViewSelectionDidChange() {
    if (!operationsTableView_ || !operationsTableView_->selectionModel()) {
        return;
    }
    const QModelIndexList rows = operationsTableView_->selectionModel()->selectedRows();
    const int selectedRow = rows.isEmpty() ? -1 : rows.front().row();
    std::printf("[PropertiesVC] tableViewSelectionDidChange - selectedRow: %d\n", selectedRow);
    std::fflush(stdout);

    const std::vector<OperationRowViewModel>& rowsShown = operations();
    if (selectedRow < 0 || static_cast<std::size_t>(selectedRow) >= rowsShown.size()) {
        if (coordinator_) {
            coordinator_->clearSelection();
        }
        return;
    }
    const OperationRowViewModel row = rowsShown[static_cast<std::size_t>(selectedRow)];
    if (coordinator_) {
        coordinator_->selectOperation(row.id);
    }
    if (row.sourceLine) {
        // Navigation focuses the editor. When the user walks the rows with the keyboard, the
        // focus goes back to the table, so the next arrow key moves to the next row.
        const QPointer<QTableView> table = operationsTableView_;
        const bool walkingWithKeys = table->hasFocus() && tableLastHeardAKey_;
        requestNavigation(static_cast<int>(std::clamp<int64_t>(*row.sourceLine, 1, std::numeric_limits<int>::max())));
        if (walkingWithKeys && table && !table->hasFocus()) {
            table->setFocus(Qt::OtherFocusReason);
        }
    }
}

bool PropertiesViewController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        tableLastHeardAKey_ = true;
    } else if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        tableLastHeardAKey_ = false;
    }
    return ViewController::eventFilter(watched, event);
}

void PropertiesViewController::requestNavigation(int line) {
    if (auto* delegate = navigationDelegate()) {
        delegate->propertiesViewControllerDidRequestNavigation(*this, line);
        return;
    }
    CarvexPlatform::NotificationCenter::defaultCenter().post(didRequestNavigationNotification, this,
                                                             QVariantMap{{lineKey, line}});
}

// MARK: Split view limits

double PropertiesViewController::splitViewConstrainMinCoordinate(CarvexPlatform::SplitView&, double, int) {
    return minimumTableHeight;
}

double PropertiesViewController::splitViewConstrainMaxCoordinate(CarvexPlatform::SplitView& splitView, double, int) {
    return splitView.length() - minimumDetailsHeight;
}

bool PropertiesViewController::splitViewCanCollapseSubview(CarvexPlatform::SplitView&, QWidget*) { return false; }

}  // namespace Carvex
