#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "kit/core/AnyValue.h"

namespace VoziZazIreExampleGeneration {

// Sample values for schemas that give none of their own: pure functions of their arguments, with no
// randomness and no clock. Absurd bounds and lengths still give bounded samples: integers stay in the
// 64-bit range, numbers stay finite, strings stay short.
namespace SchemaValueGenerator {

// The longest sample string that a `minLength` can ask for.
inline constexpr int64_t kMaxSampleLength = 10000;

// A fixed sample for a known `format` (matched lower-cased; lengths do not apply to it), otherwise
// "string", or "x" repeated `minLength` times when that is longer, cut to `maxLength` characters.
// `pattern` is not consulted.
std::string generateString(const std::optional<std::string>& format, std::optional<int64_t> minLength,
                           std::optional<int64_t> maxLength, const std::optional<std::string>& pattern);

// The midpoint of the bounds, or one step inside a single bound, or 0; rounded to `multipleOf`.
// Exclusive bounds are numbers and win over the inclusive one on their side.
double generateNumber(std::optional<double> minimum, std::optional<double> maximum,
                      std::optional<double> exclusiveMinimum, std::optional<double> exclusiveMaximum,
                      std::optional<double> multipleOf);

// The same in 64-bit integers: bounds truncated toward zero, the midpoint or the single bound, then a
// multiple of the truncated `multipleOf`. `format` is not consulted.
int64_t generateInteger(const std::optional<std::string>& format, std::optional<double> minimum,
                        std::optional<double> maximum, std::optional<double> exclusiveMinimum,
                        std::optional<double> exclusiveMaximum, std::optional<double> multipleOf);

// `minItems` when given and not 0; otherwise 1, or 0 when `maxItems` is below 1.
int64_t arrayItemCount(std::optional<int64_t> minItems, std::optional<int64_t> maxItems);

std::optional<VoziZazIreCore::AnyValue> selectEnumValue(std::span<const VoziZazIreCore::AnyValue> values);

bool generateBoolean();

}  // namespace SchemaValueGenerator
}  // namespace VoziZazIreExampleGeneration
