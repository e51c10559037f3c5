#include "Carvex/Completion/OpenAPIVersion.h"

namespace Carvex {

std::string_view rawValue(OpenAPIVersion version)
{
    switch (version) {
    case OpenAPIVersion::openAPI30: return "3.0";
    case OpenAPIVersion::openAPI31: return "3.1";
    }
    return "3.1";
}

} // namespace Carvex

template<>
std::optional<Carvex::OpenAPIVersion> VoziZazIreCore::fromRawValue<Carvex::OpenAPIVersion>(std::string_view text)
{
    using Carvex::OpenAPIVersion;
    for (OpenAPIVersion version : {OpenAPIVersion::openAPI30, OpenAPIVersion::openAPI31}) {
        if (Carvex::rawValue(version) == text)
            return version;
    }
    return std::nullopt;
}
