#include "kit/core/Reference.h"

#include <functional>

#include "kit/core/HashCombine.h"

namespace VoziZazIreCore {

std::size_t Reference::hash() const {
  std::size_t seed = std::hash<std::string>{}(ref);
  auto feed = [&seed](const std::optional<std::string>& s) {
    hashCombine(seed, s.has_value());
    if (s) hashCombine(seed, std::hash<std::string>{}(*s));
  };
  feed(summary);
  feed(description);
  hashCombine(seed, location.has_value());
  if (location) hashCombine(seed, location->hash());
  return seed;
}

}  // namespace VoziZazIreCore
