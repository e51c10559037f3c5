#include "Carvex/DocumentLanguage.h"

namespace Carvex {

std::string_view rawValue(DocumentLanguage language)
{
    switch (language) {
    case DocumentLanguage::json: return "json";
    case DocumentLanguage::yaml: return "yaml";
    case DocumentLanguage::unknown: return "unknown";
    }
    return "unknown";
}

std::optional<DocumentLanguage> documentLanguageFromRawValue(std::string_view text)
{
    for (DocumentLanguage language : {DocumentLanguage::json, DocumentLanguage::yaml, DocumentLanguage::unknown}) {
        if (rawValue(language) == text)
            return language;
    }
    return std::nullopt;
}

} // namespace Carvex
