#include "Carvex/ModelAdapters/ModelOpenAPIVersion.h"

namespace Carvex {

std::string_view rawValue(ModelOpenAPIVersion version)
{
    switch (version) {
    case ModelOpenAPIVersion::openAPI30: return "3.0";
    case ModelOpenAPIVersion::openAPI31: return "3.1";
    case ModelOpenAPIVersion::unknown: return "unknown";
    }
    return "unknown";
}

} // namespace Carvex

template<>
std::optional<Carvex::ModelOpenAPIVersion>
VoziZazIreCore::fromRawValue<Carvex::ModelOpenAPIVersion>(std::string_view text)
{
    using Carvex::ModelOpenAPIVersion;
    for (ModelOpenAPIVersion version :
         {ModelOpenAPIVersion::openAPI30, ModelOpenAPIVersion::openAPI31, ModelOpenAPIVersion::unknown}) {
        if (Carvex::rawValue(version) == text)
            return version;
    }
    return std::nullopt;
}
