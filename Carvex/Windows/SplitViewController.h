#pragma once

#include "platform/SplitView.h"
#include "platform/Storyboard.h"
#include "platform/ViewController.h"

#include <QPointer>
#include <QString>

namespace Carvex {

class EditorSplitViewController;

// A document window's content: the editor area beside the properties pane. The editor area takes
// 70 % of the width when first shown; the properties pane is at least 200 wide and may collapse.
// It connects the panes: the editor knows the properties pane, the pane's navigation requests reach
// the editor (column 1), and the examples panel of the editor area is handed to the pane. The
// properties pane is the storyboard's "PropertiesViewController" scene (an empty pane without one).
// Main thread only.
class SplitViewController : public CarvexPlatform::ViewController {
    Q_OBJECT

public:
    static inline const QString sceneIdentifier = QStringLiteral("Split View Controller");
    static inline const QString propertiesSceneIdentifier = QStringLiteral("PropertiesViewController");
    static constexpr double editorProportion = 0.7;
    static constexpr int propertiesMinimumThickness = 200;

    static void registerScene(CarvexPlatform::Storyboard& storyboard = CarvexPlatform::Storyboard::main());

    SplitViewController();
    ~SplitViewController() override;

    CarvexPlatform::SplitView* splitView() const { return splitView_; }
    // The first pane when it is the editor area, else null.
    EditorSplitViewController* editorSplitViewController() const;
    // The last pane (the properties pane), or null when there is only one.
    CarvexPlatform::ViewController* propertiesViewController() const;

    virtual void connectPanesIfNeeded();
    virtual void configureSplitView();
    virtual void connectPanes();

    // The properties pane asks for a line (from 1): the editor goes there, column 1.
    void propertiesViewControllerDidRequestNavigation(int line);

protected:
    QWidget* loadView() override;
    void viewDidLoad() override;
    void viewDidAppear() override;

private:
    void setPaneNavigation();

    QPointer<CarvexPlatform::SplitView> splitView_;
    QPointer<EditorSplitViewController> editorArea_;
    QPointer<CarvexPlatform::ViewController> properties_;
};

}  // namespace Carvex
