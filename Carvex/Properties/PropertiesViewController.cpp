#include "Carvex/Properties/PropertiesViewController.h"

#include "Carvex/Documents/Document.h"
#include "platform/NotificationCenter.h"

namespace Carvex {

void PropertiesViewController::registerScene(CarvexPlatform::Storyboard& storyboard) {
    storyboard.registerScene(sceneIdentifier, [] { return std::make_unique<PropertiesViewController>(); });
}

PropertiesViewController::PropertiesViewController() = default;

PropertiesViewController::~PropertiesViewController() = default;

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
    coordinator_ = std::move(coordinator);
    if (coordinator_) {
        coordinator_->setDocument(document_.data());
        coordinator_->setExampleGeneratorViewController(exampleGeneratorViewController_.get());
    }
}

void PropertiesViewController::requestNavigation(int line) {
    if (auto* delegate = navigationDelegate()) {
        delegate->propertiesViewControllerDidRequestNavigation(*this, line);
        return;
    }
    CarvexPlatform::NotificationCenter::defaultCenter().post(didRequestNavigationNotification, this,
                                                             QVariantMap{{lineKey, line}});
}

}  // namespace Carvex
