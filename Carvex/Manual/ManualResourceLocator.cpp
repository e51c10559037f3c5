#include "Carvex/Manual/ManualResourceLocator.h"

#include <QFileInfo>

// The pages are compiled into the application's static library; nothing refers to their
// registration object, so it is pulled in here by name.
static void initManualResources() { Q_INIT_RESOURCE(Manual); }

namespace Carvex {

ManualResourceLocator ManualResourceLocator::main() {
    static const bool registered = (initManualResources(), true);
    (void)registered;
    return ManualResourceLocator{.bundle = QStringLiteral(":"),
                                 .subdirectory = QStringLiteral("Manual"),
                                 .entryFile = QStringLiteral("index")};
}

std::optional<QString> ManualResourceLocator::entryPagePath() const {
    const QString path = bundle + u'/' + subdirectory + u'/' + entryFile + QStringLiteral(".html");
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    return path;
}

std::optional<QString> ManualResourceLocator::rootFolder() const {
    const std::optional<QString> entry = entryPagePath();
    if (!entry) {
        return std::nullopt;
    }
    return QFileInfo(*entry).absolutePath();
}

}  // namespace Carvex
