#include "Carvex/Windows/SplitViewController.h"

#include "Carvex/Windows/EditorSplitViewController.h"
#include "Carvex/Windows/WindowPanes.h"

#include <QVBoxLayout>

namespace Carvex {

void SplitViewController::registerScene(CarvexPlatform::Storyboard& storyboard) {
    storyboard.registerScene(sceneIdentifier, [] { return std::make_unique<SplitViewController>(); });
}

SplitViewController::SplitViewController() = default;

SplitViewController::~SplitViewController() = default;

EditorSplitViewController* SplitViewController::editorSplitViewController() const { return editorArea_; }

CarvexPlatform::ViewController* SplitViewController::propertiesViewController() const { return properties_; }

QWidget* SplitViewController::loadView() {
    auto* split = new CarvexPlatform::SplitView(Qt::Horizontal);
    split->setObjectName(QStringLiteral("splitView"));
    splitView_ = split;

    auto editorArea = std::make_unique<EditorSplitViewController>();
    editorArea_ = editorArea.get();
    split->addWidget(editorArea->view());
    addChildViewController(std::move(editorArea));

    std::unique_ptr<QObject> scene = CarvexPlatform::Storyboard::main().instantiateController(propertiesSceneIdentifier);
    std::unique_ptr<CarvexPlatform::ViewController> pane(dynamic_cast<CarvexPlatform::ViewController*>(scene.get()));
    if (pane) {
        scene.release();
    } else {
        pane = std::make_unique<CarvexPlatform::ViewController>();
    }
    properties_ = pane.get();
    QWidget* paneView = pane->view();
    paneView->setObjectName(paneView->objectName().isEmpty() ? QStringLiteral("propertiesPane") : paneView->objectName());
    split->addWidget(paneView);
    addChildViewController(std::move(pane));
    configureSplitView();
    return split;
}

void SplitViewController::configureSplitView() {
    if (!splitView_) {
        return;
    }
    splitView_->setHandleWidth(1);
    splitView_->setDelegate(nullptr);
    if (splitView_->count() == 0) {
        return;
    }
    const int last = splitView_->count() - 1;
    splitView_->widget(last)->setMinimumWidth(propertiesMinimumThickness);
    splitView_->setCollapsible(last, true);
    if (last > 0) {
        splitView_->setCollapsible(0, false);
        splitView_->setStretchFactor(0, 1);
        splitView_->setStretchFactor(last, 0);
    }
}

void SplitViewController::viewDidLoad() { connectPanes(); }

void SplitViewController::viewDidAppear() {
    if (splitView_) {
        splitView_->setPosition(splitView_->length() * editorProportion, 0);
    }
    connectPanesIfNeeded();
}

void SplitViewController::setPaneNavigation() {
    QPointer<SplitViewController> self(this);
    WindowPanes::setNavigationDelegate(properties_, this, [self](int line) {
        if (self) {
            self->propertiesViewControllerDidRequestNavigation(line);
        }
    });
}

void SplitViewController::connectPanes() {
    EditorSplitViewController* editorArea = editorSplitViewController();
    if (editorArea) {
        WindowPanes::setEditorPropertiesPane(editorArea->editorViewController(), properties_);
    }
    setPaneNavigation();
    if (editorArea && editorArea->exampleGeneratorViewController()) {
        WindowPanes::setExampleGenerator(properties_, editorArea->exampleGeneratorViewController());
    }
}

void SplitViewController::connectPanesIfNeeded() {
    if (!WindowPanes::hasNavigationDelegate(properties_)) {
        setPaneNavigation();
    }
    EditorSplitViewController* editorArea = editorSplitViewController();
    if (!WindowPanes::hasExampleGenerator(properties_) && editorArea && editorArea->exampleGeneratorViewController()) {
        WindowPanes::setExampleGenerator(properties_, editorArea->exampleGeneratorViewController());
    }
}

void SplitViewController::propertiesViewControllerDidRequestNavigation(int line) {
    EditorSplitViewController* editorArea = editorSplitViewController();
    if (editorArea && editorArea->editorViewController()) {
        WindowPanes::navigateToLine(editorArea->editorViewController(), line, 1);
    }
}

}  // namespace Carvex
