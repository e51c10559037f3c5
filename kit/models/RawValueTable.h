#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace VoziZazIreModels::detail {

// The raw texts of an enumeration whose cases are numbered 0..N-1 in declaration order.
template <class E, std::size_t N>
struct RawValueTable {
  std::array<std::string_view, N> texts;

  constexpr std::string_view rawValue(E value) const { return texts[static_cast<std::size_t>(value)]; }

  // The case whose text equals `text` exactly (case-sensitive, no trimming), or nothing.
  constexpr std::optional<E> fromRawValue(std::string_view text) const {
    for (std::size_t i = 0; i < N; ++i)
      if (texts[i] == text) return static_cast<E>(i);
    return std::nullopt;
  }
};

}  // namespace VoziZazIreModels::detail
