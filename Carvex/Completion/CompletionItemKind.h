#pragma once

#include "kit/core/RawValue.h"

#include <optional>
#include <string_view>

namespace Carvex {

// What a proposal stands for; the popup picks its icon by it. Raw values equal the case names.
enum class CompletionItemKind {
    property,
    value,
    keyword,
    snippet,
    pathItem,
    operation,
    parameter,
    requestBody,
    response,
    server,
    security,
    schema,
    tag,
    component,
    link,
    callback,
    webhook,
    unknown,
};

std::string_view rawValue(CompletionItemKind kind);

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::CompletionItemKind> fromRawValue<Carvex::CompletionItemKind>(std::string_view text);
} // namespace VoziZazIreCore
