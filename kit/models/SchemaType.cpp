#include "kit/models/SchemaType.h"

#include "kit/models/RawValueTable.h"

namespace VoziZazIreModels {
namespace {

constexpr detail::RawValueTable<SchemaType, 7> kTexts{{"string", "number", "integer", "boolean", "array", "object", "null"}};

}  // namespace

std::string_view rawValue(SchemaType value) noexcept { return kTexts.rawValue(value); }

}  // namespace VoziZazIreModels

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::SchemaType>
fromRawValue<VoziZazIreModels::SchemaType>(std::string_view text) {
  return VoziZazIreModels::kTexts.fromRawValue(text);
}

}  // namespace VoziZazIreCore
