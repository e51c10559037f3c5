#pragma once
#include "Carvex/App/AppDelegate.h"
#include "platform/Settings.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace CarvexPlatform {
class MainMenu;
class SingleInstance;
class TerminationSignals;
}  // namespace CarvexPlatform

namespace Carvex {

// What the process runs once the application object exists: a launch while Carvex runs hands its
// files to the running instance and ends; otherwise this becomes the running instance with the
// main menu, the delegate and the files given. SIGTERM, SIGHUP and SIGINT then end it as Quit
// does, without asking (`AppDelegate::terminateWithoutAsking`), and so does a logout whose session
// manager lets nothing be asked. Main thread only.
class Application {
public:
    explicit Application(QString instanceKey,
                         AppDelegate::SharedWindows windows = AppDelegate::standardWindows(),
                         std::shared_ptr<CarvexPlatform::Settings> settings = CarvexPlatform::Settings::standard());
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Registers (again) the scenes every window of the application is made from.
    static void registerScenes();

    // `arguments` are the files given (no program name). False when a running instance took them.
    bool start(const QStringList& arguments);

    AppDelegate* delegate() const { return delegate_.get(); }
    CarvexPlatform::MainMenu& mainMenu() const { return *mainMenu_; }
    CarvexPlatform::SingleInstance& instance() const { return *instance_; }

    // The process entry, from before the application object to the end of its event loop.
    static int main(int argc, char** argv);
    // Runs the work the application handed to a later turn before the loop ended (windows and
    // documents let go on closing, results of background jobs), so that it is done while the
    // application object still stands.
    static void settlePendingWork();

private:
    // Declared first: the signals stay caught until everything else has gone.
    std::unique_ptr<CarvexPlatform::TerminationSignals> terminationSignals_;
    AppDelegate::SharedWindows windows_;
    std::shared_ptr<CarvexPlatform::Settings> settings_;
    std::unique_ptr<CarvexPlatform::SingleInstance> instance_;
    std::unique_ptr<CarvexPlatform::MainMenu> mainMenu_;
    std::unique_ptr<AppDelegate> delegate_;
};

}  // namespace Carvex
