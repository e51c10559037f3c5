#include "Carvex/ModelAdapters/CompositionType.h"

namespace Carvex {

std::string_view rawValue(CompositionType type)
{
    switch (type) {
    case CompositionType::allOf: return "allOf";
    case CompositionType::anyOf: return "anyOf";
    case CompositionType::oneOf: return "oneOf";
    }
    return "allOf";
}

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::CompositionType> fromRawValue<Carvex::CompositionType>(std::string_view text)
{
    for (Carvex::CompositionType type : Carvex::allCompositionTypes) {
        if (Carvex::rawValue(type) == text)
            return type;
    }
    return std::nullopt;
}
} // namespace VoziZazIreCore
