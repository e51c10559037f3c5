#pragma once

#include "kit/core/RawValue.h"

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

namespace Carvex {

// A mark shown beside a schema tree node's name.
enum class SchemaNodeBadge : uint8_t {
    required,
    deprecated,
    nullable,
    readOnly,
    writeOnly,
};

inline constexpr std::array<SchemaNodeBadge, 5> allSchemaNodeBadges = {
    SchemaNodeBadge::required, SchemaNodeBadge::deprecated, SchemaNodeBadge::nullable,
    SchemaNodeBadge::readOnly, SchemaNodeBadge::writeOnly,
};

// "required", "deprecated", "nullable", "readOnly", "writeOnly".
std::string_view rawValue(SchemaNodeBadge badge);

// An unordered set of badges, one bit per badge.
class SchemaNodeBadges {
public:
    SchemaNodeBadges() = default;
    SchemaNodeBadges(std::initializer_list<SchemaNodeBadge> badges)
    {
        for (SchemaNodeBadge badge : badges)
            insert(badge);
    }

    void insert(SchemaNodeBadge badge) noexcept { bits_ |= bit(badge); }
    bool contains(SchemaNodeBadge badge) const noexcept { return (bits_ & bit(badge)) != 0; }
    bool empty() const noexcept { return bits_ == 0; }
    std::size_t size() const noexcept;
    // The badges in the order of `allSchemaNodeBadges`.
    std::vector<SchemaNodeBadge> values() const;

    friend bool operator==(SchemaNodeBadges, SchemaNodeBadges) = default;

private:
    static constexpr uint8_t bit(SchemaNodeBadge badge) noexcept { return uint8_t(1u << static_cast<unsigned>(badge)); }
    uint8_t bits_ = 0;
};

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::SchemaNodeBadge> fromRawValue<Carvex::SchemaNodeBadge>(std::string_view text);
} // namespace VoziZazIreCore

template<>
struct std::hash<Carvex::SchemaNodeBadge> {
    std::size_t operator()(Carvex::SchemaNodeBadge badge) const noexcept
    {
        return std::hash<std::string_view>{}(Carvex::rawValue(badge));
    }
};
