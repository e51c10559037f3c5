#include "Carvex/Completion/CompletionItemKind.h"

#include <array>

namespace Carvex {

namespace {

constexpr std::array<std::string_view, 18> kNames{
    "property", "value", "keyword", "snippet", "pathItem", "operation", "parameter", "requestBody", "response",
    "server", "security", "schema", "tag", "component", "link", "callback", "webhook", "unknown"};

} // namespace

std::string_view rawValue(CompletionItemKind kind)
{
    const auto index = static_cast<std::size_t>(kind);
    return index < kNames.size() ? kNames[index] : kNames.back();
}

} // namespace Carvex

template<>
std::optional<Carvex::CompletionItemKind> VoziZazIreCore::fromRawValue<Carvex::CompletionItemKind>(std::string_view text)
{
    for (std::size_t index = 0; index < Carvex::kNames.size(); ++index) {
        if (Carvex::kNames[index] == text)
            return static_cast<Carvex::CompletionItemKind>(index);
    }
    return std::nullopt;
}
