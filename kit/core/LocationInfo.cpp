#include "kit/core/LocationInfo.h"

#include <functional>

#include "kit/core/HashCombine.h"

namespace VoziZazIreCore {

std::string LocationInfo::description() const { return jsonPointer + " at " + locationRange.description(); }

std::size_t LocationInfo::hash() const {
  std::size_t seed = std::hash<PointerText>{}(jsonPointer);
  hashCombine(seed, locationRange.hash());
  return seed;
}

}  // namespace VoziZazIreCore
