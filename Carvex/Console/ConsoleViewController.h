#pragma once

#include "Carvex/Console/ConsoleNavigationDelegate.h"
#include "Carvex/Console/ConsoleOutlineModel.h"
#include "Carvex/Console/ConsoleOutlineView.h"
#include "Carvex/Console/ConsoleTooltipPanel.h"
#include "Carvex/Console/ConsoleViewModel.h"
#include "Carvex/TextView/EditorTextView.h"
#include "platform/Storyboard.h"
#include "platform/Timer.h"
#include "platform/ViewController.h"

#include <QLabel>
#include <QPointer>
#include <QSet>
#include <QToolButton>
#include <QUuid>

#include <memory>

namespace Carvex {

class Document;
class ConsoleRowDelegate;

// The console tab of the bottom panel: the document's log as an outline, one row per entry, oldest
// first, an entry with an error description expandable into one description row. It follows the log
// (refreshes are gathered into one per turn of the main scheduler), keeps the newest entry in view,
// shows "No log entries" when the log is empty, offers a clear button, shows the whole entry in a
// floating panel after the pointer rests 0.8 s on a row, and asks its navigation delegate to move the
// editor to an entry's location when the entry is selected or double-clicked. Main thread only.
class ConsoleViewController : public CarvexPlatform::ViewController {
    Q_OBJECT

public:
    // The scene of the embed segue in the "Main" storyboard.
    static inline const QString sceneIdentifier = QStringLiteral("EmbedConsoleViewController");
    static inline const QString placeholderText = QStringLiteral("No log entries");
    static constexpr CarvexPlatform::Timer::Duration tooltipDelay = std::chrono::milliseconds(800);
    // Registers the scene on `storyboard`.
    static void registerScene(CarvexPlatform::Storyboard& storyboard = CarvexPlatform::Storyboard::main());

    ConsoleViewController();
    ~ConsoleViewController() override;

    // Outlets (weak), made with the view.
    ConsoleOutlineView* outlineView() const { return outlineView_; }
    QToolButton* clearButton() const { return clearButton_; }
    QWidget* emptyPlaceholderView() const { return emptyPlaceholderView_; }
    QLabel* emptyPlaceholderLabel() const { return emptyPlaceholderLabel_; }

    const std::shared_ptr<ConsoleViewModel>& viewModel() const { return viewModel_; }
    // Runs the refresh sequence when the view is loaded.
    void setViewModel(std::shared_ptr<ConsoleViewModel> viewModel);
    ConsoleNavigationDelegate* navigationDelegate() const { return navigationDelegate_.get(); }
    void setNavigationDelegate(ConsoleNavigationDelegate* delegate) { navigationDelegate_.set(delegate); }

    const QSet<QUuid>& expandedEntryIDs() const { return expandedEntryIDs_; }
    ConsoleOutlineModel& outlineModel() { return model_; }
    // The row whose panel is pending or shown, -1 for none.
    int tooltipTrackingRow() const { return tooltipTrackingRow_; }
    ConsoleTooltipPanel* tooltipPanel() const { return tooltipPanel_.get(); }
    bool isTooltipPending() const { return tooltipTimer_.isActive(); }

    virtual void configureViews();
    // Shows the document's log and takes over its store's change hook.
    virtual void bind(Document& document);
    // The refresh sequence: the outline follows the log, then the empty state, the clear button, and
    // the last row scrolled into view.
    virtual void reloadData();
    virtual void scrollToBottom();
    virtual void updateEmptyState();
    virtual void updateClearButtonState();
    virtual void clearLogs();
    // Navigates to the entry of the row last double-clicked.
    virtual void navigateToClickedEntry();
    // Shows the panel of a row's entry for the pointer at `point` (viewport coordinates).
    virtual void showTooltip(int row, ConsoleOutlineView* outline, const QPoint& point);

    // The pointer's path over the outline's viewport (the tracking area's events).
    void mouseMoved(const QPoint& point);
    void mouseExited();

protected:
    QWidget* loadView() override;
    void viewDidLoad() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void storeDidChange();
    void scheduleRefresh();
    void selectionDidChange();
    void cancelTooltip();
    void closeTooltip();

    QPointer<ConsoleOutlineView> outlineView_;
    QPointer<QToolButton> clearButton_;
    QPointer<QWidget> emptyPlaceholderView_;
    QPointer<QLabel> emptyPlaceholderLabel_;
    std::shared_ptr<ConsoleViewModel> viewModel_;
    WeakDelegate<ConsoleNavigationDelegate> navigationDelegate_;
    QSet<QUuid> expandedEntryIDs_;
    CarvexPlatform::Timer tooltipTimer_;
    std::unique_ptr<ConsoleTooltipPanel> tooltipPanel_;
    int tooltipTrackingRow_ = -1;

    // The widgets watched for the pointer and for hiding, compared as plain objects: their events
    // may arrive while they are being destroyed.
    QPointer<QObject> trackedViewport_;
    QPointer<QObject> trackedOutline_;
    ConsoleOutlineModel model_;
    ConsoleRowDelegate* rowDelegate_ = nullptr;
    int clickedRow_ = -1;
    bool refreshPending_ = false;
};

}  // namespace Carvex
