#include "Carvex/CaretContext/ReferenceKind.h"

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

QStringView componentsSection(ReferenceKind kind)
{
    switch (kind) {
    case ReferenceKind::schema: return u"schemas";
    case ReferenceKind::response: return u"responses";
    case ReferenceKind::parameter: return u"parameters";
    case ReferenceKind::requestBody: return u"requestBodies";
    case ReferenceKind::header: return u"headers";
    case ReferenceKind::securityScheme: return u"securitySchemes";
    case ReferenceKind::pathItem: return u"pathItems";
    case ReferenceKind::example: return u"examples";
    case ReferenceKind::link: return u"links";
    case ReferenceKind::callback: return u"callbacks";
    case ReferenceKind::unknown: return {};
    }
    return {};
}

QString pointerPrefix(ReferenceKind kind)
{
    if (kind == ReferenceKind::unknown)
        return QStringLiteral("#/components/");
    QString prefix = QStringLiteral("#/components/");
    prefix.append(componentsSection(kind));
    prefix.append(u'/');
    return prefix;
}

ReferenceKind referenceKindFromComponentsSection(QStringView section)
{
    for (ReferenceKind kind : allReferenceKinds) {
        if (kind != ReferenceKind::unknown && componentsSection(kind) == section)
            return kind;
    }
    return ReferenceKind::unknown;
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
