#include "platform/Storyboard.h"

namespace CarvexPlatform {

Storyboard& Storyboard::named(const QString& name) {
    static auto* const storyboards = new std::map<QString, std::unique_ptr<Storyboard>>();
    auto& slot = (*storyboards)[name];
    if (!slot) {
        slot = std::make_unique<Storyboard>(name);
    }
    return *slot;
}

Storyboard& Storyboard::main() { return named(QStringLiteral("Main")); }

void Storyboard::registerScene(const QString& identifier, SceneFactory factory) {
    if (factory) {
        scenes_[identifier] = std::move(factory);
    } else {
        scenes_.erase(identifier);
    }
}

void Storyboard::removeScene(const QString& identifier) { scenes_.erase(identifier); }

bool Storyboard::hasScene(const QString& identifier) const { return scenes_.count(identifier) != 0; }

Storyboard::SceneFactory Storyboard::sceneFactory(const QString& identifier) const {
    const auto it = scenes_.find(identifier);
    return it == scenes_.end() ? SceneFactory() : it->second;
}

std::unique_ptr<QObject> Storyboard::instantiateController(const QString& identifier) const {
    const auto it = scenes_.find(identifier);
    if (it == scenes_.end()) {
        return nullptr;
    }
    return it->second();
}

ScopedScene::ScopedScene(Storyboard& storyboard, QString identifier, Storyboard::SceneFactory factory)
    : storyboard_(storyboard), identifier_(std::move(identifier)) {
    if (storyboard_.hasScene(identifier_)) {
        previous_ = storyboard_.sceneFactory(identifier_);
    }
    storyboard_.registerScene(identifier_, std::move(factory));
}

ScopedScene::~ScopedScene() {
    if (previous_) {
        storyboard_.registerScene(identifier_, *previous_);
    } else {
        storyboard_.removeScene(identifier_);
    }
}

}  // namespace CarvexPlatform
