#pragma once

#include "Carvex/Completion/CompletionAnimation.h"
#include "Carvex/Completion/CompletionIconRenderer.h"
#include "Carvex/Completion/CompletionItem.h"
#include "platform/MainScheduler.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <memory>
#include <optional>
#include <vector>

class QFrame;
class QListView;

namespace Carvex {

class CompletionCellView;
class CompletionDetailsView;
class CompletionListModel;
class CompletionPopupDelegate;

// The floating list of proposals under the caret: a frameless tool window that never takes the
// keyboard (the editor keeps it; its controller routes the keys that move, accept or dismiss),
// over a list of rows of one height and the details pane of the selected row. A click selects a
// row, never accepts it. The panel goes away when its editor's window moves, is deactivated,
// minimised, hidden or closed. Where the platform cannot place a tool window (Wayland) the panel
// is a child of the editor's window instead. Main thread only.
class CompletionPopupController : public QObject {
    Q_OBJECT

public:
    using Duration = CarvexPlatform::MainScheduler::Duration;

    static constexpr int rowHeight = 22;
    static constexpr int maxVisibleRows = 7;
    static constexpr int windowWidth = 320;
    static constexpr int initialDetailsPanelHeight = 100;
    static constexpr Duration resizeDuration{150};

    explicit CompletionPopupController(std::shared_ptr<CarvexPlatform::MainScheduler> scheduler =
                                           CarvexPlatform::MainScheduler::shared());
    ~CompletionPopupController() override;

    CompletionPopupDelegate* delegate() const { return delegate_; }
    void setDelegate(CompletionPopupDelegate* delegate) { delegate_ = delegate; }

    // Shows `items` (nothing: hides) below `caretLine`, the caret's line in screen coordinates
    // with the caret's x as its left edge, over `parentWindow`; row `selectedRow` selected (the
    // first when it lies outside the rows) and scrolled into view.
    void show(std::vector<CompletionItem> items, const QRect& caretLine, QWidget* parentWindow, int selectedRow = 0);
    void hide();
    bool isVisible() const;

    // One row down or up, stopping at either end.
    void moveDown();
    void moveUp();
    // Hands the selected item to the delegate and hides; nothing without a selected row.
    void confirmSelection();

    const std::vector<CompletionItem>& items() const;
    // The selected row, or −1 when the list shows no selection.
    int selectedIndex() const { return selectedIndex_; }
    const CompletionItem* selectedItem() const;
    int detailsPanelHeight() const { return detailsPanelHeight_; }
    // The panel's height for `count` rows and the current details height.
    int panelHeight(std::size_t count) const;

    QFrame* window() const { return window_; }
    QListView* tableView() const { return tableView_; }
    CompletionDetailsView* detailsPanel() const { return detailsPanel_; }
    CompletionIconRenderer& iconRenderer() { return iconRenderer_; }
    // Where the panel was last placed for, in screen coordinates.
    const QRect& caretLine() const { return caretLine_; }

signals:
    // The user selected a row with the pointer.
    void rowClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void selectRow(int row, bool scroll);
    void updateDetails();
    void detailsHeightChanged(int height);
    void place(QSize size);
    void setPanelGeometry(const QRect& frame);
    void watchParent(QWidget* parentWindow);
    std::optional<QRect> availableGeometry() const;

    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
    CompletionPopupDelegate* delegate_ = nullptr;
    QPointer<QFrame> window_;
    QListView* tableView_ = nullptr;
    CompletionListModel* model_ = nullptr;
    CompletionCellView* cellView_ = nullptr;
    CompletionDetailsView* detailsPanel_ = nullptr;
    CompletionIconRenderer iconRenderer_;
    int selectedIndex_ = -1;
    int detailsPanelHeight_ = initialDetailsPanelHeight;
    QPointer<QWidget> parentWindow_;
    QRect caretLine_;
    bool embedded_ = false;
    bool updatingSelection_ = false;
    CompletionAnimation resize_;
};

}  // namespace Carvex
