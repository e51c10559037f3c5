#pragma once

#include <QString>
#include <optional>

namespace Carvex {

// Where the user manual lives: the folder `subdirectory` of the bundle, entry page `entryFile`
// plus ".html". The application's bundle is its compiled-in resources (":"); a locator over a
// folder on disk serves the same layout from there.
struct ManualResourceLocator {
    QString bundle;
    QString subdirectory;
    QString entryFile;

    // The application's manual: the resources, "Manual", "index".
    static ManualResourceLocator main();

    // The path of the entry page, or nothing when it is not a file.
    std::optional<QString> entryPagePath() const;
    // The folder of the entry page (the manual's root), or nothing when the entry page is missing.
    std::optional<QString> rootFolder() const;
};

}  // namespace Carvex
