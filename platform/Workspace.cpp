#include "platform/Workspace.h"

#include <QDesktopServices>

namespace CarvexPlatform {

namespace {

Workspace::Opener& opener() {
    static Workspace::Opener current = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    return current;
}

}  // namespace

void Workspace::openURL(const QUrl& url) {
    if (opener()) {
        opener()(url);
    }
}

Workspace::Opener Workspace::setOpener(Opener replacement) {
    Opener previous = std::move(opener());
    opener() = std::move(replacement);
    return previous;
}

}  // namespace CarvexPlatform
