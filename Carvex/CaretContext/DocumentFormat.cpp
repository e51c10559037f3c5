#include "Carvex/CaretContext/DocumentFormat.h"

namespace Carvex {

std::string_view rawValue(DocumentFormat format)
{
    switch (format) {
    case DocumentFormat::yaml: return "yaml";
    case DocumentFormat::json: return "json";
    case DocumentFormat::unknown: return "unknown";
    }
    return "unknown";
}

} // namespace Carvex

template<>
std::optional<Carvex::DocumentFormat> VoziZazIreCore::fromRawValue<Carvex::DocumentFormat>(std::string_view text)
{
    for (Carvex::DocumentFormat format : Carvex::allDocumentFormats) {
        if (Carvex::rawValue(format) == text)
            return format;
    }
    return std::nullopt;
}
