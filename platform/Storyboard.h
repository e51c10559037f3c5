#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace CarvexPlatform {

// A storyboard built in code: scenes registered by identifier, each made afresh on request. The
// application's scenes live in the storyboard "Main"; whoever provides a scene registers it there
// before it is asked for. Asking for a scene nobody registered gives nothing. Main thread only.
class Storyboard {
public:
    using SceneFactory = std::function<std::unique_ptr<QObject>()>;

    // The storyboard of that name, created empty on first use.
    static Storyboard& named(const QString& name);
    // The application's storyboard, "Main".
    static Storyboard& main();

    const QString& name() const { return name_; }

    // Registers (or replaces) the scene `identifier`.
    void registerScene(const QString& identifier, SceneFactory factory);
    // Forgets the scene; asking for it gives nothing again.
    void removeScene(const QString& identifier);
    bool hasScene(const QString& identifier) const;
    // The factory of the scene, or an empty one.
    SceneFactory sceneFactory(const QString& identifier) const;

    // Every scene registered now, and putting back such a set (tests restore what they found).
    const std::map<QString, SceneFactory>& scenes() const { return scenes_; }
    void restoreScenes(std::map<QString, SceneFactory> scenes) { scenes_ = std::move(scenes); }

    // A new controller of the scene, or null when no such scene is registered.
    std::unique_ptr<QObject> instantiateController(const QString& identifier) const;
    // A new controller of the scene when it is a `T`; null when the scene is unknown or of another
    // class (the object made is then deleted).
    template <class T>
    std::unique_ptr<T> instantiateController(const QString& identifier) const {
        std::unique_ptr<QObject> object = instantiateController(identifier);
        if (auto* typed = dynamic_cast<T*>(object.get())) {
            object.release();
            return std::unique_ptr<T>(typed);
        }
        return nullptr;
    }

    explicit Storyboard(QString name) : name_(std::move(name)) {}

private:
    QString name_;
    std::map<QString, SceneFactory> scenes_;
};

// Registers a scene for as long as it lives and restores what was there before (tests).
class ScopedScene {
public:
    ScopedScene(Storyboard& storyboard, QString identifier, Storyboard::SceneFactory factory);
    ~ScopedScene();
    ScopedScene(const ScopedScene&) = delete;
    ScopedScene& operator=(const ScopedScene&) = delete;

private:
    Storyboard& storyboard_;
    QString identifier_;
    std::optional<Storyboard::SceneFactory> previous_;
};

}  // namespace CarvexPlatform
