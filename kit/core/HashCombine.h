#pragma once
#include <cstddef>
#include <cstdint>

namespace VoziZazIreCore {

// Mixes `value` into `seed` (boost-style combine with a 64-bit golden-ratio constant).
inline void hashCombine(std::size_t& seed, std::size_t value) {
  seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

}  // namespace VoziZazIreCore
