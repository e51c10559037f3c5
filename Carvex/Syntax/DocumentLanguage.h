#pragma once

#include "kit/core/RawValue.h"

#include <optional>
#include <string_view>

namespace Carvex {

// The language the editor treats a document's text as.
enum class DocumentLanguage {
    json,
    yaml,
    unknown,
};

std::string_view rawValue(DocumentLanguage language);

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::DocumentLanguage> fromRawValue<Carvex::DocumentLanguage>(std::string_view text);
} // namespace VoziZazIreCore
