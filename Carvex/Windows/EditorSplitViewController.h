#pragma once

#include "Carvex/Console/ConsoleNavigationDelegate.h"
#include "Carvex/Console/ConsoleViewController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Examples/ExampleGeneratorViewController.h"
#include "Carvex/Validation/ValidationResultsViewController.h"
#include "platform/Notification.h"
#include "platform/SplitView.h"
#include "platform/ViewController.h"

#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QString>

namespace Carvex {

// The editor area of a document window: the editor above a bottom panel whose tabs (console,
// validation results, examples) are chosen by three toggle buttons. The editor, console and
// results come from the "Main" storyboard through embed segues; the examples panel is made here.
// It forwards the console's and the properties pane's requests for a line to the editor. The
// bottom panel opens 150 high, neither pane can be dragged below 80, and a double click on the
// divider collapses the panel (another brings it back). Main thread only.
class EditorSplitViewController : public CarvexPlatform::ViewController,
                                  public CarvexPlatform::SplitViewDelegate,
                                  public ConsoleNavigationDelegate {
    Q_OBJECT

public:
    static inline const QString embedEditorSegue = QStringLiteral("EmbedEditorViewController");
    static inline const QString embedConsoleSegue = QStringLiteral("EmbedConsoleViewController");
    static inline const QString embedValidationResultsSegue = QStringLiteral("EmbedValidationResultsViewController");
    static inline const QString exampleGeneratorTabIdentifier = QStringLiteral("ExampleGenerator");
    static inline const QString navigationNotification = QStringLiteral("PropertiesViewControllerDidRequestNavigation");
    static constexpr double defaultConsoleHeight = 150;
    static constexpr double minimumConsoleHeight = 80;
    static constexpr int exampleGeneratorButtonWidth = 82;

    EditorSplitViewController();
    ~EditorSplitViewController() override;

    // Outlets, made with the view.
    CarvexPlatform::SplitView* editorSplitView() const { return editorSplitView_; }
    QTabWidget* tabView() const { return tabView_; }
    QPushButton* consoleButton() const { return consoleButton_; }
    QPushButton* validationResultsButton() const { return validationResultsButton_; }
    QPushButton* exampleGeneratorButton() const { return exampleGeneratorButton_; }

    // The embedded panes (weak).
    CarvexPlatform::ViewController* editorViewController() const { return editorViewController_; }
    ConsoleViewController* consoleViewController() const { return consoleViewController_; }
    // Binds the console to the bound document (when both exist) and becomes its navigation delegate.
    void setConsoleViewController(ConsoleViewController* console);
    ValidationResultsViewController* validationResultsViewController() const { return validationResultsViewController_; }
    ExampleGeneratorViewController* exampleGeneratorViewController() const { return exampleGeneratorViewController_; }

    Document* boundDocument() const { return boundDocument_; }
    void setBoundDocument(Document* document);

    bool isConsoleCollapsed() const { return isConsoleCollapsed_; }

    // An embed segue: the destination is kept when it is of the segue's class. True when kept.
    bool prepareForSegue(const QString& identifier, QObject* destination);

    // The properties pane's notification: the editor goes to its "line" (column 1) when that is an integer.
    virtual void handleNavigationRequest(const CarvexPlatform::Notification& notification);
    virtual void setupExampleGeneratorTab();
    virtual void setupTabButtons();
    virtual void updateTabButtonAppearance();

    void consoleButtonClicked();
    void validationResultsButtonClicked();
    void exampleGeneratorButtonClicked();

    // The divider between the editor and the bottom panel.
    bool splitViewCanCollapseSubview(CarvexPlatform::SplitView& view, QWidget* subview) override;
    bool splitViewShouldCollapseSubviewForDoubleClick(CarvexPlatform::SplitView& view, QWidget* subview,
                                                      int dividerIndex) override;
    double splitViewConstrainMinCoordinate(CarvexPlatform::SplitView& view, double proposed, int dividerIndex) override;
    double splitViewConstrainMaxCoordinate(CarvexPlatform::SplitView& view, double proposed, int dividerIndex) override;
    void splitViewDidResizeSubviews(CarvexPlatform::SplitView& view) override;

    void consoleViewControllerDidRequestNavigation(ConsoleViewController& console,
                                                   const SourceLocation& location) override;

protected:
    QWidget* loadView() override;
    void viewDidLoad() override;
    void viewDidAppear() override;

private:
    // Makes the segue's scene, lets `prepareForSegue` keep it, and embeds its view (an empty view
    // when the storyboard has no such scene).
    QWidget* performEmbedSegue(const QString& identifier);
    void selectTab(int index);

    QPointer<CarvexPlatform::SplitView> editorSplitView_;
    QPointer<QTabWidget> tabView_;
    QPointer<QPushButton> consoleButton_;
    QPointer<QPushButton> validationResultsButton_;
    QPointer<CarvexPlatform::ViewController> editorViewController_;
    QPointer<ConsoleViewController> consoleViewController_;
    QPointer<ValidationResultsViewController> validationResultsViewController_;
    QPointer<ExampleGeneratorViewController> exampleGeneratorViewController_;
    QPointer<QPushButton> exampleGeneratorButton_;
    QPointer<Document> boundDocument_;
    bool isConsoleCollapsed_ = false;
};

}  // namespace Carvex
