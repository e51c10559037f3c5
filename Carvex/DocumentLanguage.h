#pragma once

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

// The language whose raw value is exactly `text`, or nothing.
std::optional<DocumentLanguage> documentLanguageFromRawValue(std::string_view text);

} // namespace Carvex
