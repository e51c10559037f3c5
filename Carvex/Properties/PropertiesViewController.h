#pragma once

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/ModelAdapters/ExampleGeneratorPanel.h"
#include "Carvex/Properties/PropertiesViewCoordinator.h"
#include "Carvex/Properties/PropertiesViewControllerDelegate.h"
#include "platform/Storyboard.h"
#include "platform/ViewController.h"

#include <QPointer>
#include <memory>

namespace Carvex {

class Document;

// The properties pane of a document window, the last item of its split view. It holds the
// document, the example panel and its navigation delegate weakly, and owns the properties
// coordinator once the properties browser gives it one; until then the pane is empty. Main thread
// only.
class PropertiesViewController : public CarvexPlatform::ViewController {
    Q_OBJECT

public:
    static inline const QString sceneIdentifier = QStringLiteral("PropertiesViewController");
    // Posted on the default centre when the pane has no navigation delegate; the user info's
    // `lineKey` holds the line (from 1) as an integer.
    static inline const QString didRequestNavigationNotification =
        QStringLiteral("PropertiesViewControllerDidRequestNavigation");
    static inline const QString lineKey = QStringLiteral("line");

    static void registerScene(CarvexPlatform::Storyboard& storyboard = CarvexPlatform::Storyboard::main());

    PropertiesViewController();
    ~PropertiesViewController() override;

    Document* document() const { return document_.data(); }
    // Stores the document and hands it to the coordinator, when there is one.
    void setDocument(Document* document);

    PropertiesViewControllerDelegate* navigationDelegate() const { return navigationDelegate_.get(); }
    void setNavigationDelegate(PropertiesViewControllerDelegate* delegate) { navigationDelegate_.set(delegate); }

    ExampleGeneratorPanel* exampleGeneratorViewController() const { return exampleGeneratorViewController_.get(); }
    // Stores the example panel and hands it to the coordinator, when there is one.
    void setExampleGeneratorViewController(ExampleGeneratorPanel* panel);

    // Null until the properties browser installs one.
    PropertiesViewCoordinator* coordinator() const { return coordinator_.get(); }
    // Installs the coordinator and hands it the document.
    void setCoordinator(std::unique_ptr<PropertiesViewCoordinator> coordinator);

    // Asks to show `line` (from 1): the navigation delegate when there is one, else the notification.
    void requestNavigation(int line);

private:
    QPointer<Document> document_;
    WeakDelegate<PropertiesViewControllerDelegate> navigationDelegate_;
    WeakDelegate<ExampleGeneratorPanel> exampleGeneratorViewController_;
    std::unique_ptr<PropertiesViewCoordinator> coordinator_;
};

}  // namespace Carvex
