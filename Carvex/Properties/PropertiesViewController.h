#pragma once

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/ModelAdapters/ExampleGeneratorPanel.h"
#include "Carvex/Properties/OperationsTableModel.h"
#include "Carvex/Properties/PropertiesViewCoordinator.h"
#include "Carvex/Properties/PropertiesViewCoordinatorDelegate.h"
#include "Carvex/Properties/PropertiesViewControllerDelegate.h"
#include "platform/SplitView.h"
#include "platform/Storyboard.h"
#include "platform/ViewController.h"

#include <QPointer>
#include <QScrollArea>
#include <QTableView>
#include <memory>
#include <vector>

namespace Carvex {

class Document;
class OperationDetailsTabController;

// The properties pane of a document window, the last item of its split view: a table of the
// document's operations above the details of the selected one, or one of four placeholders (no
// document, unsupported version, no operations, nothing selected). It makes the properties
// coordinator when its view loads and shows the states the coordinator asks for. Choosing a row
// selects that operation and sends the editor to its source line; after each reload the table
// selects the coordinator's operation again by its identity, without moving the editor. Document,
// example panel and navigation delegate are held weakly. Main thread only.
class PropertiesViewController : public CarvexPlatform::ViewController,
                                 public PropertiesViewCoordinatorDelegate,
                                 public CarvexPlatform::SplitViewDelegate {
    Q_OBJECT

public:
    static inline const QString sceneIdentifier = QStringLiteral("PropertiesViewController");
    // Posted on the default centre when the pane has no navigation delegate; the user info's
    // `lineKey` holds the line (from 1) as an integer.
    static inline const QString didRequestNavigationNotification =
        QStringLiteral("PropertiesViewControllerDidRequestNavigation");
    static inline const QString lineKey = QStringLiteral("line");
    static constexpr int minimumTableHeight = 120;
    static constexpr int defaultTableHeight = 250;
    static constexpr int minimumDetailsHeight = 100;

    static void registerScene(CarvexPlatform::Storyboard& storyboard = CarvexPlatform::Storyboard::main());

    PropertiesViewController();
    ~PropertiesViewController() override;

    Document* document() const;
    // Stores the document and hands it to the coordinator, when there is one.
    void setDocument(Document* document);

    PropertiesViewControllerDelegate* navigationDelegate() const { return navigationDelegate_.get(); }
    void setNavigationDelegate(PropertiesViewControllerDelegate* delegate) { navigationDelegate_.set(delegate); }

    ExampleGeneratorPanel* exampleGeneratorViewController() const { return exampleGeneratorViewController_.get(); }
    // Stores the example panel and hands it to the coordinator, when there is one.
    void setExampleGeneratorViewController(ExampleGeneratorPanel* panel);

    // Made when the view loads; null before.
    PropertiesViewCoordinator* coordinator() const { return coordinator_.get(); }
    // Installs another coordinator (tests): the pane becomes its delegate and hands it the document
    // and the example panel.
    void setCoordinator(std::unique_ptr<PropertiesViewCoordinator> coordinator);

    // Forwarded to the coordinator, when there is one.
    void documentDidChange(const QString& text, DocumentFormat format);
    void documentDidClose();

    // Asks to show `line` (from 1): the navigation delegate when there is one, else the notification.
    void requestNavigation(int line);

    // The table's rows.
    const std::vector<OperationRowViewModel>& operations() const;

    // The views, once loaded (null before).
    CarvexPlatform::SplitView* propertiesSplitView() const { return propertiesSplitView_; }
    QTableView* operationsTableView() const { return operationsTableView_; }
    OperationsTableModel* operationsTableModel() const { return operationsTableModel_; }
    QScrollArea* operationDetailsScrollView() const { return operationDetailsScrollView_; }
    QWidget* noDocumentPlaceholder() const { return noDocumentPlaceholder_; }
    QWidget* versionGatedPlaceholder() const { return versionGatedPlaceholder_; }
    QWidget* noOperationsPlaceholder() const { return noOperationsPlaceholder_; }
    QWidget* noSelectionPlaceholder() const { return noSelectionPlaceholder_; }
    // The view showing the selected operation's details, once one is installed in place of the
    // details scroll view (null until then).
    QWidget* detailsContainerView() const { return detailsContainerView_; }
    void setDetailsContainerView(QWidget* view) { detailsContainerView_ = view; }
    // The selected operation's header and tabs, made when the view loads (null before).
    OperationDetailsTabController* tabController() const { return tabController_.get(); }
    bool hasSetInitialDividerPosition() const { return hasSetInitialDividerPosition_; }

    // Shows one placeholder (or none) in place of the content.
    void showPlaceholder(QWidget* placeholder);
    // Shows the table with the no-selection placeholder below it.
    void showOperationsContent();

    // Coordinator states.
    void coordinatorDidUpdateOperations(PropertiesViewCoordinator& coordinator,
                                        const std::vector<OperationRowViewModel>& operations) override;
    void coordinatorDidUpdateDetails(PropertiesViewCoordinator& coordinator,
                                     const OperationDetailsViewModel& details) override;
    void coordinatorDidRequestNoOperationsState(PropertiesViewCoordinator& coordinator) override;
    void coordinatorDidRequestVersionGatedState(PropertiesViewCoordinator& coordinator) override;
    void coordinatorDidRequestParseErrorState(PropertiesViewCoordinator& coordinator) override;
    void coordinatorDidRequestNoDocumentState(PropertiesViewCoordinator& coordinator) override;
    void coordinatorDidClearSelection(PropertiesViewCoordinator& coordinator) override;

    // Divider limits: the table at least `minimumTableHeight`, the details at least
    // `minimumDetailsHeight`; neither collapses.
    double splitViewConstrainMinCoordinate(CarvexPlatform::SplitView& splitView, double proposed, int divider) override;
    double splitViewConstrainMaxCoordinate(CarvexPlatform::SplitView& splitView, double proposed, int divider) override;
    bool splitViewCanCollapseSubview(CarvexPlatform::SplitView& splitView, QWidget* subview) override;

    // What a change of the table's selection does: the user chose a row, or none.
    void tableViewSelectionDidChange();

protected:
    QWidget* loadView() override;
    void viewDidLoad() override;
    void viewDidAppear() override;

    virtual void configureViews();
    virtual void setUpCoordinator();
    // Makes the tab controller and puts its view in place of the details scroll view.
    virtual void installDetailsTabController();
    // Notes whether the operations table last heard a key or a click.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeDividerOnce();
    // Selects the coordinator's operation in the table without acting on it (none when it is gone).
    void restoreSelection();
    void selectRowQuietly(int row);
    void applyPlaceholderColours();

    QPointer<Document> document_;
    WeakDelegate<PropertiesViewControllerDelegate> navigationDelegate_;
    WeakDelegate<ExampleGeneratorPanel> exampleGeneratorViewController_;
    std::unique_ptr<PropertiesViewCoordinator> coordinator_;
    std::unique_ptr<OperationDetailsTabController> tabController_;

    QPointer<CarvexPlatform::SplitView> propertiesSplitView_;
    QPointer<QTableView> operationsTableView_;
    QPointer<OperationsTableModel> operationsTableModel_;
    QPointer<QScrollArea> operationDetailsScrollView_;
    QPointer<QWidget> noDocumentPlaceholder_;
    QPointer<QWidget> versionGatedPlaceholder_;
    QPointer<QWidget> noOperationsPlaceholder_;
    QPointer<QWidget> noSelectionPlaceholder_;
    QPointer<QWidget> detailsContainerView_;
    bool hasSetInitialDividerPosition_ = false;
    // True while the pane itself changes the table's selection: that is no choice of the user's.
    bool selectingQuietly_ = false;
    // Whether the operations table's last input was a key rather than a click.
    bool tableLastHeardAKey_ = false;
};

}  // namespace Carvex
