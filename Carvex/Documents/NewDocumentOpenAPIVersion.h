#pragma once

#include <QString>
#include <array>
#include <optional>

namespace Carvex {

// The OpenAPI version a new document starts with.
enum class NewDocumentOpenAPIVersion {
    v3_0 = 0,
    v3_1 = 1,
};

inline constexpr std::array<NewDocumentOpenAPIVersion, 2> allNewDocumentOpenAPIVersions = {
    NewDocumentOpenAPIVersion::v3_0,
    NewDocumentOpenAPIVersion::v3_1,
};

// "3.0.0" or "3.1.0".
QString versionString(NewDocumentOpenAPIVersion version);

// The version of raw value 0 or 1; nothing for any other number.
std::optional<NewDocumentOpenAPIVersion> newDocumentOpenAPIVersion(int rawValue);

}  // namespace Carvex
