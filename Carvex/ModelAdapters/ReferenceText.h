#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Carvex::ReferenceText {

// The name of the component under "#/components/<section>/<name>" that `ref` points at: empty pieces
// dropped, the name's pointer escapes read ("a~1b" names "a/b", "a~0b" names "a~b"), pieces after it
// ignored. Nothing for any other text.
std::optional<std::string> componentName(std::string_view ref, std::string_view section);

// The last non-empty piece ("#/components/schemas/Pet/" gives "Pet"); nothing when there is none.
std::optional<std::string_view> lastPiece(std::string_view ref);

} // namespace Carvex::ReferenceText
