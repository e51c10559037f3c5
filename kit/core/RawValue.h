#pragma once
#include <optional>
#include <string_view>

namespace VoziZazIreCore {

// fromRawValue<E>(text) is the inverse of rawValue(E): the case whose raw text equals `text`
// exactly (case-sensitive, no trimming), or nothing. Each enumeration specialises it beside its
// own rawValue overload.
template <class E>
std::optional<E> fromRawValue(std::string_view text);

}  // namespace VoziZazIreCore
