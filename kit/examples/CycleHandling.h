#pragma once
#include <cstdint>

namespace VoziZazIreExampleGeneration {

// What a `$ref` met again while it is being expanded yields: a null node, an object without members,
// or the `cycleDetected` error.
enum class CycleHandling : uint8_t { useNeutralValue, truncate, error };

}  // namespace VoziZazIreExampleGeneration
