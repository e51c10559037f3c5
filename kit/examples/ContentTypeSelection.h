#pragma once
#include <cstdint>

namespace VoziZazIreExampleGeneration {

// Which media type of a content map is used.
enum class ContentTypeSelection : uint8_t { preferJSON, firstDefined, all };

}  // namespace VoziZazIreExampleGeneration
