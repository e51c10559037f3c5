#pragma once

namespace Carvex {

// What the web engine needs of the process before any web view exists.
class WebViewEnvironment {
public:
    // Before the application object: registers the manual's URL scheme, lets web views share the
    // GL context, and turns the sandbox off when running as root.
    static void prepareBeforeApplication();

    // The engine refuses to start sandboxed as root (the whole process ends), so as root the
    // sandbox is turned off; for every other user it stays on. Must run before the first web view.
    static void disableSandboxWhenRoot();
    // Whether the process runs with root's user id.
    static bool runsAsRoot();
};

}  // namespace Carvex
