#include "kit/examples/SchemaValueGenerator.h"

#include <cmath>
#include <limits>
#include <string_view>

namespace VoziZazIreExampleGeneration::SchemaValueGenerator {

namespace {

using Wide = __int128;
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
// 2^63 as a double: the first magnitude outside the 64-bit range on the positive side.
constexpr double kTwo63 = 9223372036854775808.0;

struct FormatSample {
  std::string_view format;
  std::string_view sample;
};

constexpr FormatSample kFormatSamples[] = {
    {"date", "2024-01-15"},
    {"date-time", "2024-01-15T09:30:00Z"},
    {"time", "09:30:00"},
    {"email", "user@example.com"},
    {"uri", "https://example.com/resource"},
    {"url", "https://example.com/resource"},
    {"uri-reference", "/path/to/resource"},
    {"uuid", "550e8400-e29b-41d4-a716-446655440000"},
    {"hostname", "api.example.com"},
    {"ipv4", "192.168.1.1"},
    {"ipv6", "2001:0db8:85a3:0000:0000:8a2e:0370:7334"},
    {"byte", "SGVsbG8gV29ybGQ="},
    {"binary", "<binary>"},
    {"password", "********"},
    {"duration", "P1D"},
};

// A finite double, or nothing.
std::optional<double> finite(std::optional<double> value) {
  if (value && std::isfinite(*value)) return value;
  return std::nullopt;
}

int64_t saturate(Wide value) {
  if (value > kMax) return kMax;
  if (value < kMin) return kMin;
  return static_cast<int64_t>(value);
}

// A bound truncated toward zero and held in the 64-bit range; NaN counts as absent.
std::optional<int64_t> integerBound(std::optional<double> value) {
  if (!value || std::isnan(*value)) return std::nullopt;
  double truncated = std::trunc(*value);
  if (truncated >= kTwo63) return kMax;
  if (truncated < -kTwo63) return kMin;
  return static_cast<int64_t>(truncated);
}

}  // namespace

std::string generateString(const std::optional<std::string>& format, std::optional<int64_t> minLength,
                           std::optional<int64_t> maxLength, const std::optional<std::string>&) {
  if (format) {
    std::string lowered = *format;
    for (char& c : lowered)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const auto& entry : kFormatSamples)
      if (entry.format == lowered) return std::string(entry.sample);
  }
  std::string result = "string";
  if (minLength && *minLength > static_cast<int64_t>(result.size()))
    result.assign(static_cast<std::size_t>(std::min(*minLength, kMaxSampleLength)), 'x');
  // The sample is ASCII, so characters are bytes.
  if (maxLength && *maxLength >= 0 && static_cast<uint64_t>(*maxLength) < result.size())
    result.resize(static_cast<std::size_t>(*maxLength));
  return result;
}

double generateNumber(std::optional<double> minimum, std::optional<double> maximum,
                      std::optional<double> exclusiveMinimum, std::optional<double> exclusiveMaximum,
                      std::optional<double> multipleOf) {
  minimum = finite(minimum);
  maximum = finite(maximum);
  exclusiveMinimum = finite(exclusiveMinimum);
  exclusiveMaximum = finite(exclusiveMaximum);
  std::optional<double> lower = exclusiveMinimum ? std::optional<double>(*exclusiveMinimum + 0.1) : minimum;
  std::optional<double> upper = exclusiveMaximum ? std::optional<double>(*exclusiveMaximum - 0.1) : maximum;

  double value = 0.0;
  if (lower && upper) {
    double sum = *lower + *upper;
    value = std::isfinite(sum) ? sum * 0.5 : *lower * 0.5 + *upper * 0.5;
  } else if (lower) {
    value = *lower + 1.0;
  } else if (upper) {
    value = *upper - 1.0;
  }

  if (multipleOf && std::isfinite(*multipleOf) && *multipleOf > 0) {
    const double step = *multipleOf;
    double rounded = std::round(value / step) * step;
    if (std::isfinite(rounded)) value = rounded;
    if (lower && value < *lower) {
      double raised = std::ceil(*lower / step) * step;
      if (std::isfinite(raised)) value = raised;
    }
  }
  return value;
}

int64_t generateInteger(const std::optional<std::string>&, std::optional<double> minimum,
                        std::optional<double> maximum, std::optional<double> exclusiveMinimum,
                        std::optional<double> exclusiveMaximum, std::optional<double> multipleOf) {
  std::optional<int64_t> lower, upper;
  if (auto bound = integerBound(exclusiveMinimum)) {
    lower = saturate(Wide(*bound) + 1);
  } else {
    lower = integerBound(minimum);
  }
  if (auto bound = integerBound(exclusiveMaximum)) {
    upper = saturate(Wide(*bound) - 1);
  } else {
    upper = integerBound(maximum);
  }

  int64_t value = 0;
  if (lower && upper) {
    value = static_cast<int64_t>((Wide(*lower) + Wide(*upper)) / 2);
  } else if (lower) {
    value = *lower;
  } else if (upper) {
    value = *upper;
  }

  // A step beyond the 64-bit range has no multiple in it but 0: such a `multipleOf` is ignored.
  if (multipleOf && *multipleOf > 0 && *multipleOf < kTwo63) {
    const int64_t k = static_cast<int64_t>(std::trunc(*multipleOf));
    if (k >= 1) {
      value = (value / k) * k;
      if (lower && value < *lower) {
        Wide raised = ((Wide(*lower) + k - 1) / k) * k;
        // Past the range, the largest multiple that fits.
        value = raised > kMax ? (kMax / k) * k : static_cast<int64_t>(raised);
      }
    }
  }
  return value;
}

int64_t arrayItemCount(std::optional<int64_t> minItems, std::optional<int64_t> maxItems) {
  if (minItems && *minItems != 0) return *minItems;
  if (maxItems && *maxItems < 1) return 0;
  return 1;
}

std::optional<VoziZazIreCore::AnyValue> selectEnumValue(std::span<const VoziZazIreCore::AnyValue> values) {
  if (values.empty()) return std::nullopt;
  return values.front();
}

bool generateBoolean() { return true; }

}  // namespace VoziZazIreExampleGeneration::SchemaValueGenerator
