#pragma once
#include <cstddef>

namespace VoziZazIreCore {

// The deepest nesting of objects and arrays that the parsers accept. Deeper input is refused with a
// ParseError at the offending bracket or indentation, so that nothing later recurses without bound.
inline constexpr std::size_t kMaxNestingDepth = 1000;

}  // namespace VoziZazIreCore
