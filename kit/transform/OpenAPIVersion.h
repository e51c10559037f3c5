#pragma once
#include <optional>
#include <string_view>

#include "kit/core/GenericNode.h"
#include "kit/core/RawValue.h"

namespace VoziZazIreTransform {

enum class OpenAPIVersion { v2_0, v3_0, v3_1 };

// "2.0", "3.0", "3.1"
std::string_view rawValue(OpenAPIVersion version) noexcept;

namespace OpenAPIVersions {
// Reads the declared version from the root: "openapi" beginning "3.1" or "3.0", else "swagger" equal
// to "2.0". Throws TransformError for anything else.
OpenAPIVersion detect(const VoziZazIreCore::GenericNode& root);
}  // namespace OpenAPIVersions

}  // namespace VoziZazIreTransform

template <>
std::optional<VoziZazIreTransform::OpenAPIVersion> VoziZazIreCore::fromRawValue<VoziZazIreTransform::OpenAPIVersion>(
    std::string_view text);
