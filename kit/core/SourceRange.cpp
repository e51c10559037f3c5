#include "kit/core/SourceRange.h"

#include "kit/core/HashCombine.h"

namespace VoziZazIreCore {

std::string SourceRange::description() const { return start.description() + " - " + end.description(); }

std::size_t SourceRange::hash() const {
  std::size_t seed = start.hash();
  hashCombine(seed, end.hash());
  return seed;
}

}  // namespace VoziZazIreCore
