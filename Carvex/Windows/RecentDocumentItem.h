#pragma once

#include <QString>

namespace Carvex {

// One row of the welcome window's recent list: a file's path.
struct RecentDocumentItem {
    QString url;

    bool operator==(const RecentDocumentItem&) const = default;
};

}  // namespace Carvex
