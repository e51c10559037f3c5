#include "Carvex/Syntax/DocumentLanguage.h"

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

} // namespace Carvex

template<>
std::optional<Carvex::DocumentLanguage> VoziZazIreCore::fromRawValue<Carvex::DocumentLanguage>(std::string_view text)
{
    using Carvex::DocumentLanguage;
    for (DocumentLanguage language : {DocumentLanguage::json, DocumentLanguage::yaml, DocumentLanguage::unknown}) {
        if (Carvex::rawValue(language) == text)
            return language;
    }
    return std::nullopt;
}
