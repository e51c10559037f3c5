#pragma once
#include <QUrl>

#include <functional>

namespace CarvexPlatform {

// The desktop's handlers for addresses: a web address opens in the user's browser, a mail address
// in the user's mail program, through the desktop's URL handler (xdg-open and its kin). Callers
// decide which addresses may leave the application; this only hands them on. Tests replace the
// opener to see what would have opened. Main thread only.
class Workspace {
public:
    using Opener = std::function<void(const QUrl&)>;

    static void openURL(const QUrl& url);
    // From now on `openURL` hands addresses to `opener` (an empty one opens nothing); answers the
    // opener it replaced, for the caller to put back.
    static Opener setOpener(Opener opener);
};

}  // namespace CarvexPlatform
