#include "Carvex/Console/ConsoleViewController.h"

#include "Carvex/Console/ConsoleRowDelegate.h"
#include "Carvex/Documents/Document.h"
#include "platform/MainScheduler.h"
#include "platform/SystemColor.h"
#include "platform/SystemSymbol.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace Carvex {

void ConsoleViewController::registerScene(CarvexPlatform::Storyboard& storyboard) {
    storyboard.registerScene(sceneIdentifier, [] { return std::make_unique<ConsoleViewController>(); });
}

ConsoleViewController::ConsoleViewController() { setObjectName(QStringLiteral("ConsoleViewController")); }

ConsoleViewController::~ConsoleViewController() {
    tooltipTimer_.stop();
    tooltipPanel_.reset();
    if (trackedViewport_) trackedViewport_->removeEventFilter(this);
    if (trackedOutline_) trackedOutline_->removeEventFilter(this);
    // The outline goes before the model it shows.
    delete outlineView_.data();
}

QWidget* ConsoleViewController::loadView() {
    auto* root = new QWidget;
    auto* column = new QVBoxLayout(root);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* area = new QWidget(root);
    auto* stack = new QGridLayout(area);
    stack->setContentsMargins(0, 0, 0, 0);
    outlineView_ = new ConsoleOutlineView(area);
    outlineView_->setObjectName(QStringLiteral("outlineView"));
    stack->addWidget(outlineView_, 0, 0);
    emptyPlaceholderView_ = new QWidget(area);
    emptyPlaceholderView_->setObjectName(QStringLiteral("emptyPlaceholderView"));
    auto* centre = new QGridLayout(emptyPlaceholderView_);
    emptyPlaceholderLabel_ = new QLabel(emptyPlaceholderView_);
    emptyPlaceholderLabel_->setObjectName(QStringLiteral("emptyPlaceholderLabel"));
    centre->addWidget(emptyPlaceholderLabel_, 0, 0, Qt::AlignCenter);
    stack->addWidget(emptyPlaceholderView_, 0, 0);
    column->addWidget(area, 1);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    bar->addStretch(1);
    clearButton_ = new QToolButton(root);
    clearButton_->setObjectName(QStringLiteral("clearButton"));
    bar->addWidget(clearButton_);
    column->addLayout(bar);
    return root;
}

void ConsoleViewController::viewDidLoad() {
    CarvexPlatform::ViewController::viewDidLoad();
    configureViews();
    if (viewModel_) reloadData();
}

void ConsoleViewController::configureViews() {
    if (outlineView_) {
        rowDelegate_ = new ConsoleRowDelegate(outlineView_);
        outlineView_->setItemDelegate(rowDelegate_);
        outlineView_->setModel(&model_);
        connect(outlineView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this] { selectionDidChange(); });
        connect(outlineView_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
            clickedRow_ = outlineView_->rowOf(index);
            navigateToClickedEntry();
        });
        connect(outlineView_, &ConsoleOutlineView::expandedChanged, this, [this](const QModelIndex& index, bool expanded) {
            if (const LogEntry* entry = model_.entryAt(index)) {
                if (expanded) {
                    expandedEntryIDs_.insert(entry->id());
                } else {
                    expandedEntryIDs_.remove(entry->id());
                }
            }
        });
        // The tracking area: the pointer's moves over the rows, and its leaving them.
        outlineView_->setMouseTracking(true);
        trackedViewport_ = outlineView_->viewport();
        trackedOutline_ = outlineView_.data();
        trackedViewport_->installEventFilter(this);
        trackedOutline_->installEventFilter(this);
    }
    if (clearButton_) {
        connect(clearButton_, &QToolButton::clicked, this, [this] { clearLogs(); });
        if (const auto image = CarvexPlatform::SystemSymbol::image(QStringLiteral("trash"), 13, QStringLiteral("Clear logs"))) {
            QImage tinted = *image;
            QPainter painter(&tinted);
            painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
            painter.fillRect(tinted.rect(), CarvexPlatform::systemColor(CarvexPlatform::SystemColor::controlText));
            painter.end();
            clearButton_->setIcon(QIcon(QPixmap::fromImage(tinted)));
        }
        clearButton_->setAccessibleName(QStringLiteral("Clear logs"));
        clearButton_->setAccessibleDescription(QStringLiteral("Clear logs"));
        clearButton_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    if (emptyPlaceholderLabel_) {
        emptyPlaceholderLabel_->setText(placeholderText);
        QPalette palette = emptyPlaceholderLabel_->palette();
        palette.setColor(QPalette::WindowText, CarvexPlatform::systemColor(CarvexPlatform::SystemColor::secondaryLabel));
        emptyPlaceholderLabel_->setPalette(palette);
    }
    updateEmptyState();
    updateClearButtonState();
}

void ConsoleViewController::setViewModel(std::shared_ptr<ConsoleViewModel> viewModel) {
    viewModel_ = std::move(viewModel);
    model_.setStore(viewModel_ ? viewModel_->store() : nullptr);
    expandedEntryIDs_.clear();
    cancelTooltip();
    if (isViewLoaded()) reloadData();
}

void ConsoleViewController::bind(Document& document) {
    const std::shared_ptr<InMemoryLogStore> store = document.logStore();
    setViewModel(std::make_shared<ConsoleViewModel>(store));
    // The console takes the store's hook over from its view model: the log refreshes it directly.
    QPointer<ConsoleViewController> self(this);
    store->onEntriesChanged = [self] {
        if (self) self->storeDidChange();
    };
}

void ConsoleViewController::storeDidChange() {
    // A log that only grew is shown at the end of this turn, once however many entries came; a
    // cleared or replaced log at once, so no row stands for an entry that is gone.
    if (model_.storeOnlyGrew()) {
        scheduleRefresh();
    } else {
        reloadData();
    }
}

void ConsoleViewController::scheduleRefresh() {
    if (refreshPending_) return;
    refreshPending_ = true;
    QPointer<ConsoleViewController> self(this);
    CarvexPlatform::MainScheduler::shared()->post([self] {
        if (!self || !self->refreshPending_) return;
        self->reloadData();
    });
}

void ConsoleViewController::reloadData() {
    refreshPending_ = false;
    if (!isViewLoaded()) return;
    if (model_.sync()) {
        // The entries shown are gone: so is their panel, pending or shown.
        expandedEntryIDs_.clear();
        cancelTooltip();
    }
    updateEmptyState();
    updateClearButtonState();
    scrollToBottom();
}

void ConsoleViewController::scrollToBottom() {
    if (!outlineView_ || !viewModel_ || viewModel_->isEmpty()) return;
    const int rows = outlineView_->rowCount();
    if (rows >= 1) outlineView_->scrollRowToVisible(rows - 1);
}

void ConsoleViewController::updateEmptyState() {
    const bool empty = !viewModel_ || viewModel_->isEmpty();
    if (emptyPlaceholderView_) emptyPlaceholderView_->setVisible(empty);
    if (outlineView_) outlineView_->setVisible(!empty);
}

void ConsoleViewController::updateClearButtonState() {
    if (clearButton_) clearButton_->setEnabled(viewModel_ && !viewModel_->isEmpty());
}

void ConsoleViewController::clearLogs() {
    if (viewModel_) viewModel_->clear();
    expandedEntryIDs_.clear();
    cancelTooltip();
    reloadData();
}

void ConsoleViewController::navigateToClickedEntry() {
    if (!outlineView_ || clickedRow_ < 0) return;
    const QModelIndex index = outlineView_->indexOfRow(clickedRow_);
    const LogEntry* entry = model_.isDescription(index) ? nullptr : model_.entryAt(index);
    ConsoleNavigationDelegate* delegate = navigationDelegate_.get();
    if (entry && entry->sourceLocation && delegate) {
        delegate->consoleViewControllerDidRequestNavigation(*this, *entry->sourceLocation);
    }
}

void ConsoleViewController::selectionDidChange() {
    if (!outlineView_) return;
    const QModelIndexList selected = outlineView_->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) return;
    const QModelIndex index = selected.first();
    if (model_.isDescription(index)) return;
    const LogEntry* entry = model_.entryAt(index);
    if (!entry) return;
    ConsoleNavigationDelegate* delegate = navigationDelegate_.get();
    if (entry->sourceLocation && delegate) {
        const SourceLocation location = *entry->sourceLocation;
        delegate->consoleViewControllerDidRequestNavigation(*this, location);
    }
    // Neither the console nor the editor keeps the keyboard focus.
    if (!outlineView_) return;
    if (QWidget* focused = outlineView_->window()->focusWidget()) focused->clearFocus();
}

void ConsoleViewController::mouseMoved(const QPoint& point) {
    if (!outlineView_) return;
    const int row = outlineView_->rowAt(point);
    if (row < 0) {
        if (tooltipPanel_ && tooltipPanel_->isVisible()) return;
        cancelTooltip();
        return;
    }
    if (row == tooltipTrackingRow_) return;
    closeTooltip();
    tooltipTrackingRow_ = -1;
    tooltipTimer_.stop();
    QPointer<ConsoleViewController> self(this);
    QPointer<ConsoleOutlineView> outline(outlineView_);
    tooltipTimer_.start(tooltipDelay, false, [self, outline, row, point] {
        if (self && outline) self->showTooltip(row, outline, point);
    });
}

void ConsoleViewController::mouseExited() {
    if (tooltipPanel_ && tooltipPanel_->isVisible()) return;
    cancelTooltip();
}

void ConsoleViewController::showTooltip(int row, ConsoleOutlineView* outline, const QPoint& point) {
    if (!outline) return;
    const QModelIndex index = outline->indexOfRow(row);
    const LogEntry* entry = model_.isDescription(index) ? nullptr : model_.entryAt(index);
    if (!entry) return;
    if (row == tooltipTrackingRow_ && tooltipPanel_ && tooltipPanel_->isVisible()) return;
    closeTooltip();
    tooltipTrackingRow_ = row;
    auto panel = std::make_unique<ConsoleTooltipPanel>(*entry);
    if (!outline->isVisible()) return;
    panel->placeAt(outline->viewport()->mapToGlobal(point));
    panel->show();
    tooltipPanel_ = std::move(panel);
}

void ConsoleViewController::closeTooltip() {
    if (tooltipPanel_) {
        tooltipPanel_->hide();
        tooltipPanel_.reset();
    }
}

void ConsoleViewController::cancelTooltip() {
    tooltipTimer_.stop();
    closeTooltip();
    tooltipTrackingRow_ = -1;
}

bool ConsoleViewController::eventFilter(QObject* watched, QEvent* event) {
    if (watched != nullptr && watched == trackedViewport_.data()) {
        if (event->type() == QEvent::MouseMove) {
            mouseMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (event->type() == QEvent::Leave) {
            mouseExited();
        }
    } else if (watched != nullptr && watched == trackedOutline_.data() && event->type() == QEvent::Hide) {
        // The outline went out of sight (its window closed or hid, or the log emptied): a panel
        // must not float on without it.
        cancelTooltip();
    }
    return CarvexPlatform::ViewController::eventFilter(watched, event);
}

}  // namespace Carvex
