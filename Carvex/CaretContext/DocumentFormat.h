#pragma once

#include "kit/core/RawValue.h"

#include <array>
#include <optional>
#include <string_view>

namespace Carvex {

// The format of a document's text as completion, reference indexing and the caret scanners read
// it. Each case matches the `DocumentLanguage` case of the same name.
enum class DocumentFormat {
    yaml,
    json,
    unknown,
};

inline constexpr std::array<DocumentFormat, 3> allDocumentFormats = {
    DocumentFormat::yaml,
    DocumentFormat::json,
    DocumentFormat::unknown,
};

std::string_view rawValue(DocumentFormat format);

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::DocumentFormat> fromRawValue<Carvex::DocumentFormat>(std::string_view text);
} // namespace VoziZazIreCore
