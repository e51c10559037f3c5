#include "Carvex/Completion/ReferenceKind.h"

namespace Carvex {

std::string_view rawValue(ReferenceKind kind)
{
    switch (kind) {
    case ReferenceKind::schema: return "schema";
    case ReferenceKind::response: return "response";
    case ReferenceKind::parameter: return "parameter";
    case ReferenceKind::requestBody: return "requestBody";
    case ReferenceKind::header: return "header";
    case ReferenceKind::securityScheme: return "securityScheme";
    case ReferenceKind::pathItem: return "pathItem";
    case ReferenceKind::example: return "example";
    case ReferenceKind::link: return "link";
    case ReferenceKind::callback: return "callback";
    case ReferenceKind::unknown: return "unknown";
    }
    return "unknown";
}

} // namespace Carvex

template<>
std::optional<Carvex::ReferenceKind> VoziZazIreCore::fromRawValue<Carvex::ReferenceKind>(std::string_view text)
{
    for (Carvex::ReferenceKind kind : Carvex::allReferenceKinds) {
        if (Carvex::rawValue(kind) == text)
            return kind;
    }
    return std::nullopt;
}
