#include "kit/models/OpenAPI3_0/SchemaType.h"

#include "kit/models/RawValueTable.h"

namespace VoziZazIreModels::OpenAPI3_0 {
namespace {

constexpr detail::RawValueTable<SchemaType, 6> kTexts{{"string", "number", "integer", "boolean", "array", "object"}};

}  // namespace

std::string_view rawValue(SchemaType value) noexcept { return kTexts.rawValue(value); }

}  // namespace VoziZazIreModels::OpenAPI3_0

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::OpenAPI3_0::SchemaType>
fromRawValue<VoziZazIreModels::OpenAPI3_0::SchemaType>(std::string_view text) {
  return VoziZazIreModels::OpenAPI3_0::kTexts.fromRawValue(text);
}

}  // namespace VoziZazIreCore
