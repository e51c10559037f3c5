#pragma once

#include "kit/core/RawValue.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <string_view>

namespace Carvex {

// The kind of component a `$ref` points to, one per section of the components object, plus
// `unknown` for anything else.
enum class ReferenceKind {
    schema,
    response,
    parameter,
    requestBody,
    header,
    securityScheme,
    pathItem,
    example,
    link,
    callback,
    unknown,
};

// Every kind, in declaration order.
inline constexpr std::array<ReferenceKind, 11> allReferenceKinds = {
    ReferenceKind::schema,         ReferenceKind::response, ReferenceKind::parameter, ReferenceKind::requestBody,
    ReferenceKind::header,         ReferenceKind::securityScheme, ReferenceKind::pathItem, ReferenceKind::example,
    ReferenceKind::link,           ReferenceKind::callback, ReferenceKind::unknown,
};

std::string_view rawValue(ReferenceKind kind);

// The kind's section of the components object ("schemas", "requestBodies", ...); empty for unknown.
QStringView componentsSection(ReferenceKind kind);
// "#/components/" followed by the section and "/"; "#/components/" alone for unknown.
QString pointerPrefix(ReferenceKind kind);
// The kind whose section is exactly `section` (case-sensitive); unknown for any other text.
ReferenceKind referenceKindFromComponentsSection(QStringView section);

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::ReferenceKind> fromRawValue<Carvex::ReferenceKind>(std::string_view text);
} // namespace VoziZazIreCore
