#pragma once
#include <cstdint>

namespace VoziZazIreExampleGeneration {

// The text form of a serialised example.
enum class OutputFormat : uint8_t { json, yaml };

}  // namespace VoziZazIreExampleGeneration
