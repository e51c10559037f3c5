#include "Carvex/Completion/CompletionPopupController.h"

#include "Carvex/Completion/CompletionCellView.h"
#include "Carvex/Completion/CompletionDetailsView.h"
#include "Carvex/Completion/CompletionListModel.h"
#include "Carvex/Completion/CompletionPopupDelegate.h"
#include "Carvex/Completion/CompletionPopupPlacement.h"
#include "platform/Appearance.h"
#include "platform/SystemColor.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QListView>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <cmath>

namespace Carvex {

using CarvexPlatform::SystemColor;

namespace {

// A colour as a style sheet reads it, alpha included.
QString colorText(const QColor& color) { return color.name(QColor::HexArgb); }

// Wayland lets no client place a window of its own at a screen position.
bool toolWindowsArePlaced() { return !QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

QRect interpolated(const QRect& from, const QRect& to, double progress) {
    const auto mix = [progress](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * progress)); };
    return QRect(mix(from.x(), to.x()), mix(from.y(), to.y()), mix(from.width(), to.width()),
                 mix(from.height(), to.height()));
}

}  // namespace

CompletionPopupController::CompletionPopupController(std::shared_ptr<CarvexPlatform::MainScheduler> scheduler)
    : scheduler_(scheduler), resize_(std::move(scheduler)) {
    build();
}

CompletionPopupController::~CompletionPopupController() {
    resize_.stop();
    if (parentWindow_) {
        parentWindow_->removeEventFilter(this);
    }
    delete window_.data();
}

void CompletionPopupController::build() {
    embedded_ = !toolWindowsArePlaced();
    auto* panel = new QFrame(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
    panel->setObjectName(QStringLiteral("completionPopup"));
    panel->setAttribute(Qt::WA_ShowWithoutActivating);
    panel->setFocusPolicy(Qt::NoFocus);
    panel->resize(windowWidth, panelHeight(0));
    window_ = panel;

    model_ = new CompletionListModel(this);
    cellView_ = new CompletionCellView(*model_, iconRenderer_, this);
    tableView_ = new QListView(panel);
    tableView_->setFocusPolicy(Qt::NoFocus);
    // The list is exactly as tall as the rows it shows.
    tableView_->setMinimumHeight(1);
    tableView_->viewport()->setFocusPolicy(Qt::NoFocus);
    tableView_->setFrameShape(QFrame::NoFrame);
    tableView_->setUniformItemSizes(true);
    tableView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableView_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tableView_->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    tableView_->setTextElideMode(Qt::ElideRight);
    tableView_->setModel(model_);
    tableView_->setItemDelegate(cellView_);
    tableView_->viewport()->setAutoFillBackground(false);
    tableView_->setStyleSheet(QStringLiteral("QListView { background: transparent; }"));
    connect(tableView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (updatingSelection_) {
                    return;
                }
                // A click selects the row (and shows its details); accepting takes a key.
                selectedIndex_ = current.isValid() ? current.row() : -1;
                updateDetails();
                if (current.isValid()) {
                    emit rowClicked();
                }
            });
    connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!updatingSelection_ && !tableView_->selectionModel()->hasSelection()) {
            selectedIndex_ = -1;
            updateDetails();
        }
    });

    detailsPanel_ = new CompletionDetailsView(panel, scheduler_);
    detailsPanel_->setFixedHeight(detailsPanelHeight_);
    QPointer<CompletionPopupController> self(this);
    detailsPanel_->onHeightChanged = [self](int height) {
        if (self) {
            self->detailsHeightChanged(height);
        }
    };

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setSpacing(0);
    layout->addWidget(tableView_, 1);
    layout->addWidget(detailsPanel_, 0);

    const auto applyColors = [panel] {
        panel->setStyleSheet(QStringLiteral("QFrame#completionPopup { background-color: %1; border: none; }")
                                 .arg(colorText(CarvexPlatform::systemColor(SystemColor::windowBackground))));
    };
    applyColors();
    connect(&CarvexPlatform::Appearance::shared(), &CarvexPlatform::Appearance::changed, panel, applyColors);
}

int CompletionPopupController::panelHeight(std::size_t count) const {
    return detailsPanelHeight_ + static_cast<int>(std::min<std::size_t>(count, maxVisibleRows)) * rowHeight;
}

const std::vector<CompletionItem>& CompletionPopupController::items() const { return model_->items(); }

const CompletionItem* CompletionPopupController::selectedItem() const { return model_->itemAt(selectedIndex_); }

bool CompletionPopupController::isVisible() const { return window_ && window_->isVisible(); }

void CompletionPopupController::show(std::vector<CompletionItem> items, const QRect& caretLine, QWidget* parentWindow,
                                     int selectedRow) {
    if (!window_) {
        return;
    }
    resize_.stop();
    selectedIndex_ = 0;
    updatingSelection_ = true;
    model_->setItems(std::move(items));
    updatingSelection_ = false;
    if (model_->items().empty()) {
        hide();
        return;
    }
    caretLine_ = caretLine;
    watchParent(parentWindow);
    place(QSize(windowWidth, panelHeight(model_->items().size())));
    const int row = selectedRow > 0 && selectedRow < model_->rowCount() ? selectedRow : 0;
    selectRow(row, true);
    updateDetails();
    if (!window_->isVisible()) {
        window_->show();
    }
    window_->raise();
}

void CompletionPopupController::hide() {
    resize_.stop();
    if (parentWindow_) {
        parentWindow_->removeEventFilter(this);
        parentWindow_ = nullptr;
    }
    if (window_) {
        window_->hide();
    }
    updatingSelection_ = true;
    model_->setItems({});
    updatingSelection_ = false;
    selectedIndex_ = -1;
    detailsPanel_->update(std::nullopt, false);
    if (delegate_) {
        delegate_->completionPopupDidDismiss(*this);
    }
}

void CompletionPopupController::moveDown() {
    const int count = model_->rowCount();
    if (count == 0) {
        return;
    }
    selectRow(std::min(selectedIndex_ + 1, count - 1), true);
    updateDetails();
}

void CompletionPopupController::moveUp() {
    const int count = model_->rowCount();
    if (count == 0) {
        return;
    }
    selectRow(std::clamp(selectedIndex_ - 1, 0, count - 1), true);
    updateDetails();
}

void CompletionPopupController::confirmSelection() {
    const CompletionItem* selected = selectedItem();
    if (selected == nullptr) {
        return;
    }
    const CompletionItem item = *selected;
    if (delegate_) {
        delegate_->completionPopupDidSelectItem(*this, item);
    }
    hide();
}

void CompletionPopupController::selectRow(int row, bool scroll) {
    selectedIndex_ = row;
    const QModelIndex index = model_->index(row, 0);
    updatingSelection_ = true;
    tableView_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    updatingSelection_ = false;
    if (scroll) {
        tableView_->scrollTo(index);
    }
}

void CompletionPopupController::updateDetails() {
    if (const CompletionItem* item = selectedItem()) {
        detailsPanel_->update(*item, true);
    } else {
        detailsPanel_->update(std::nullopt, false);
    }
}

void CompletionPopupController::detailsHeightChanged(int height) {
    if (!isVisible() || std::abs(height - detailsPanelHeight_) <= 1) {
        return;
    }
    detailsPanelHeight_ = height;
    detailsPanel_->setFixedHeight(height);
    const QSize size(windowWidth, panelHeight(model_->items().size()));
    // Placed anew: a taller panel above the caret grows upwards, so it never covers the caret's line.
    const QRect target = CompletionPopupPlacement::frame(caretLine_, size, availableGeometry());
    const QRect from = embedded_ && parentWindow_
                           ? QRect(parentWindow_->mapToGlobal(window_->geometry().topLeft()), window_->size())
                           : window_->geometry();
    resize_.start(resizeDuration, [this, from, target](double progress) {
        setPanelGeometry(interpolated(from, target, progress));
    });
}

void CompletionPopupController::place(QSize size) {
    setPanelGeometry(CompletionPopupPlacement::frame(caretLine_, size, availableGeometry()));
}

void CompletionPopupController::setPanelGeometry(const QRect& frame) {
    if (!window_) {
        return;
    }
    if (embedded_ && parentWindow_) {
        window_->setGeometry(QRect(parentWindow_->mapFromGlobal(frame.topLeft()), frame.size()));
    } else {
        window_->setGeometry(frame);
    }
}

std::optional<QRect> CompletionPopupController::availableGeometry() const {
    QScreen* screen = parentWindow_ ? parentWindow_->screen() : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return std::nullopt;
    }
    return screen->availableGeometry();
}

void CompletionPopupController::watchParent(QWidget* parentWindow) {
    QWidget* top = parentWindow ? parentWindow->window() : nullptr;
    if (top != parentWindow_) {
        if (parentWindow_) {
            parentWindow_->removeEventFilter(this);
        }
        parentWindow_ = top;
        if (top) {
            top->installEventFilter(this);
        }
    }
    if (embedded_ && top && window_->parentWidget() != top) {
        window_->setParent(top);
        window_->setAttribute(Qt::WA_ShowWithoutActivating);
    }
}

bool CompletionPopupController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWindow_ && isVisible()) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::WindowDeactivate:
            case QEvent::Hide:
            case QEvent::Close:
                hide();
                break;
            case QEvent::WindowStateChange:
                if (parentWindow_->isMinimized()) {
                    hide();
                }
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace Carvex
