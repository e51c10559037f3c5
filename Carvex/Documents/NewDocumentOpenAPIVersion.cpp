#include "Carvex/Documents/NewDocumentOpenAPIVersion.h"

namespace Carvex {

QString versionString(NewDocumentOpenAPIVersion version) {
    return version == NewDocumentOpenAPIVersion::v3_0 ? QStringLiteral("3.0.0") : QStringLiteral("3.1.0");
}

std::optional<NewDocumentOpenAPIVersion> newDocumentOpenAPIVersion(int rawValue) {
    switch (rawValue) {
    case 0:
        return NewDocumentOpenAPIVersion::v3_0;
    case 1:
        return NewDocumentOpenAPIVersion::v3_1;
    default:
        return std::nullopt;
    }
}

}  // namespace Carvex
