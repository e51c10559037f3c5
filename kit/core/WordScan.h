#pragma once
#include <cstdint>

// Eight bytes at a time: the scanners step over runs of plain text a machine word at once.
namespace VoziZazIreCore::WordScan {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
// The top bit of every byte: set in a word holding any byte of 0x80 or above (non-ASCII).
inline constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

// True when some byte of `word` equals `c`.
inline bool hasByte(std::uint64_t word, unsigned char c) noexcept {
  const std::uint64_t x = word ^ (kOnes * c);
  return ((x - kOnes) & ~x & kHighs) != 0;
}

}  // namespace VoziZazIreCore::WordScan
