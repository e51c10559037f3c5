#include "kit/core/SourceLocation.h"

#include <functional>

#include "kit/core/HashCombine.h"

namespace VoziZazIreCore {

std::string SourceLocation::description() const {
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

std::size_t SourceLocation::hash() const {
  std::size_t seed = 0;
  hashCombine(seed, std::hash<int64_t>{}(line));
  hashCombine(seed, std::hash<int64_t>{}(column));
  hashCombine(seed, std::hash<int64_t>{}(offset));
  return seed;
}

}  // namespace VoziZazIreCore
