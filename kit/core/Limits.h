#pragma once
#include <cstddef>

namespace VoziZazIreCore {

// The deepest nesting of objects and arrays that the parsers accept. Deeper input is refused with a
// ParseError at the offending bracket or indentation, so that nothing later recurses without bound.
inline constexpr std::size_t kMaxNestingDepth = 1000;

// The most bytes of JSON pointer text the nodes of a parsed tree may take for a text of `textSize`
// bytes (the tree makes them on demand; model locations and findings hold them). Real descriptions stay
// far below; a text nested deep under long keys, with many nodes below, is refused with a ParseError
// instead of exhausting memory later (its pointers grow with depth times key length).
inline constexpr std::size_t maxPointerBytes(std::size_t textSize) {
  return (std::size_t{64} << 20) + 64 * textSize;
}

}  // namespace VoziZazIreCore
