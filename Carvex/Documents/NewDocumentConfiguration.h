#pragma once

#include "Carvex/CaretContext/DocumentFormat.h"
#include "Carvex/Documents/NewDocumentOpenAPIVersion.h"
#include "Carvex/ModelAdapters/HTTPMethod.h"

#include <QString>
#include <optional>
#include <set>

namespace Carvex {

// What the new-document sheet asks for: version, format and an optional first path with its methods.
struct NewDocumentConfiguration {
    NewDocumentOpenAPIVersion version = NewDocumentOpenAPIVersion::v3_0;
    DocumentFormat format = DocumentFormat::json;
    bool includeInitialPath = false;
    // The path as typed, already given its leading "/".
    std::optional<QString> initialPath;
    std::set<HTTPMethod> methods;

    // Version 3.0, JSON, no first path, GET.
    static NewDocumentConfiguration default_();

    bool operator==(const NewDocumentConfiguration&) const = default;
};

}  // namespace Carvex
