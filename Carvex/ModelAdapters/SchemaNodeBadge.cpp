#include "Carvex/ModelAdapters/SchemaNodeBadge.h"

#include <bit>

namespace Carvex {

std::string_view rawValue(SchemaNodeBadge badge)
{
    switch (badge) {
    case SchemaNodeBadge::required: return "required";
    case SchemaNodeBadge::deprecated: return "deprecated";
    case SchemaNodeBadge::nullable: return "nullable";
    case SchemaNodeBadge::readOnly: return "readOnly";
    case SchemaNodeBadge::writeOnly: return "writeOnly";
    }
    return "required";
}

std::size_t SchemaNodeBadges::size() const noexcept
{
    return static_cast<std::size_t>(std::popcount(bits_));
}

std::vector<SchemaNodeBadge> SchemaNodeBadges::values() const
{
    std::vector<SchemaNodeBadge> result;
    for (SchemaNodeBadge badge : allSchemaNodeBadges) {
        if (contains(badge))
            result.push_back(badge);
    }
    return result;
}

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::SchemaNodeBadge> fromRawValue<Carvex::SchemaNodeBadge>(std::string_view text)
{
    for (Carvex::SchemaNodeBadge badge : Carvex::allSchemaNodeBadges) {
        if (Carvex::rawValue(badge) == text)
            return badge;
    }
    return std::nullopt;
}
} // namespace VoziZazIreCore
