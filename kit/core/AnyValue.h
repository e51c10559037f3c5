#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "kit/core/OrderedMap.h"

namespace VoziZazIreCore {

// A free-form JSON-like value: examples, defaults, enumeration members and extensions.
// Integers and floating-point numbers are distinct cases. Objects keep document order, but equality and
// hashing ignore it. Destruction, equality and hashing use explicit stacks, so arbitrarily deep values
// are safe.
class AnyValue {
 public:
  enum class Kind { bool_, int_, double_, string, array, object, null };
  using Array = std::vector<AnyValue>;
  using Object = OrderedMap<AnyValue>;

  AnyValue() noexcept : storage_(std::monostate{}) {}
  AnyValue(std::nullptr_t) noexcept : storage_(std::monostate{}) {}
  AnyValue(bool value) noexcept : storage_(value) {}
  AnyValue(int value) noexcept : storage_(static_cast<int64_t>(value)) {}
  AnyValue(long value) noexcept : storage_(static_cast<int64_t>(value)) {}
  AnyValue(long long value) noexcept : storage_(static_cast<int64_t>(value)) {}
  AnyValue(double value) noexcept : storage_(value) {}
  AnyValue(const char* value) : storage_(std::string(value)) {}
  AnyValue(std::string value) noexcept : storage_(std::move(value)) {}
  AnyValue(std::string_view value) : storage_(std::string(value)) {}
  AnyValue(Array value) noexcept : storage_(std::move(value)) {}
  AnyValue(Object value) noexcept : storage_(std::move(value)) {}

  AnyValue(const AnyValue&) = default;
  AnyValue(AnyValue&&) noexcept = default;
  AnyValue& operator=(const AnyValue&) = default;
  AnyValue& operator=(AnyValue&&) noexcept = default;
  ~AnyValue();

  Kind kind() const noexcept;
  bool isNull() const noexcept { return kind() == Kind::null; }
  std::optional<bool> boolValue() const noexcept;
  std::optional<int64_t> intValue() const noexcept;
  // The double payload, or an integer converted to floating point.
  std::optional<double> doubleValue() const noexcept;
  const std::string* stringValue() const noexcept { return std::get_if<std::string>(&storage_); }
  const Array* arrayValue() const noexcept { return std::get_if<Array>(&storage_); }
  const Object* objectValue() const noexcept { return std::get_if<Object>(&storage_); }

  // Same case and equal payloads: doubles by IEEE comparison, strings by canonical equivalence,
  // objects by key set and values whatever the order.
  friend bool operator==(const AnyValue& a, const AnyValue& b);
  std::size_t hash() const;

 private:
  using Storage = std::variant<bool, int64_t, double, std::string, Array, Object, std::monostate>;
  bool hasNestedContainers() const noexcept;
  void destroyDeep() noexcept;

  Storage storage_;
};

}  // namespace VoziZazIreCore

template <>
struct std::hash<VoziZazIreCore::AnyValue> {
  std::size_t operator()(const VoziZazIreCore::AnyValue& v) const { return v.hash(); }
};
