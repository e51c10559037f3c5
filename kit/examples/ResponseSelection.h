#pragma once
#include <cstdint>

namespace VoziZazIreExampleGeneration {

// Which responses of an operation get examples.
enum class ResponseSelection : uint8_t { prefer200, prefer201, firstDefined, preferDefault, all };

}  // namespace VoziZazIreExampleGeneration
