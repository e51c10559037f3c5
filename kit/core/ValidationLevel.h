#pragma once

namespace VoziZazIreCore {

// How much checking the parse pipeline performs.
enum class ValidationLevel { none, low, high };

}  // namespace VoziZazIreCore
