#pragma once

#include "platform/WindowController.h"

namespace Carvex {

class WelcomeViewController;

// The welcome window: one for the whole process, made on first use; closing it only hides it.
class WelcomeWindowController : public CarvexPlatform::WindowController {
    Q_OBJECT

public:
    static inline const QString windowTitle = QStringLiteral("Welcome to Carvex");

    static WelcomeWindowController& shared();
    // Whether the shared controller exists yet.
    static bool isLoaded();
    // Closes the shared window when there is one; makes none.
    static void closeIfLoaded();

    // The content controller (null when its scene is missing).
    WelcomeViewController* welcomeViewController() const { return welcomeViewController_; }

    // Reloads the recent list, centres the window, shows it and makes it key.
    void showWelcomeWindow();

protected:
    QMainWindow* loadWindow() override;

private:
    WelcomeWindowController();

    WelcomeViewController* welcomeViewController_ = nullptr;  // owned as the content controller
};

}  // namespace Carvex
