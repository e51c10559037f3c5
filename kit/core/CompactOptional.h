#pragma once
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace VoziZazIreCore {

// An optional that keeps its value on the heap: one pointer wide, for the many mostly-absent fields of
// large model objects (a schema has some fifty). It reads like std::optional: `if (x)`, `*x`, `x->`,
// `value()`, `value_or()`, comparison with values, optionals and std::nullopt.
template <class T>
class CompactOptional {
 public:
  using value_type = T;

  CompactOptional() noexcept = default;
  CompactOptional(std::nullopt_t) noexcept {}
  CompactOptional(const T& value) : value_(std::make_unique<T>(value)) {}
  CompactOptional(T&& value) : value_(std::make_unique<T>(std::move(value))) {}
  template <class U>
    requires(std::is_constructible_v<T, U &&> && !std::is_same_v<std::remove_cvref_t<U>, T> &&
             !std::is_same_v<std::remove_cvref_t<U>, CompactOptional> &&
             !std::is_same_v<std::remove_cvref_t<U>, std::nullopt_t> &&
             !std::is_same_v<std::remove_cvref_t<U>, std::optional<T>>)
  CompactOptional(U&& value) : value_(std::make_unique<T>(std::forward<U>(value))) {}
  CompactOptional(const std::optional<T>& other) {
    if (other) value_ = std::make_unique<T>(*other);
  }
  CompactOptional(std::optional<T>&& other) {
    if (other) value_ = std::make_unique<T>(std::move(*other));
  }
  CompactOptional(const CompactOptional& other) {
    if (other.value_) value_ = std::make_unique<T>(*other.value_);
  }
  CompactOptional(CompactOptional&&) noexcept = default;
  CompactOptional& operator=(const CompactOptional& other) {
    if (this != &other) value_ = other.value_ ? std::make_unique<T>(*other.value_) : nullptr;
    return *this;
  }
  CompactOptional& operator=(CompactOptional&&) noexcept = default;
  CompactOptional& operator=(std::nullopt_t) noexcept {
    value_.reset();
    return *this;
  }

  bool has_value() const noexcept { return value_ != nullptr; }
  explicit operator bool() const noexcept { return value_ != nullptr; }
  const T& operator*() const noexcept { return *value_; }
  T& operator*() noexcept { return *value_; }
  const T* operator->() const noexcept { return value_.get(); }
  T* operator->() noexcept { return value_.get(); }
  const T& value() const {
    if (!value_) throw std::bad_optional_access();
    return *value_;
  }
  template <class U>
  T value_or(U&& fallback) const {
    return value_ ? *value_ : static_cast<T>(std::forward<U>(fallback));
  }
  void reset() noexcept { value_.reset(); }
  template <class... Args>
  T& emplace(Args&&... args) {
    value_ = std::make_unique<T>(std::forward<Args>(args)...);
    return *value_;
  }
  // A std::optional copy, for code that wants one.
  std::optional<T> toOptional() const { return value_ ? std::optional<T>(*value_) : std::nullopt; }

  friend bool operator==(const CompactOptional& a, std::nullopt_t) noexcept { return !a.value_; }
  friend bool operator==(const CompactOptional& a, const CompactOptional& b)
    requires requires(const T& x) { x == x; }
  {
    if (!a.value_ || !b.value_) return !a.value_ && !b.value_;
    return *a.value_ == *b.value_;
  }
  friend bool operator==(const CompactOptional& a, const std::optional<T>& b)
    requires requires(const T& x) { x == x; }
  {
    if (!a.value_ || !b) return !a.value_ && !b;
    return *a.value_ == *b;
  }
  template <class U>
    requires(!std::is_same_v<std::remove_cvref_t<U>, CompactOptional> &&
             !std::is_same_v<std::remove_cvref_t<U>, std::optional<T>> &&
             !std::is_same_v<std::remove_cvref_t<U>, std::nullopt_t> &&
             requires(const T& x, const U& u) { x == u; })
  friend bool operator==(const CompactOptional& a, const U& b) {
    return a.value_ && *a.value_ == b;
  }

 private:
  std::unique_ptr<T> value_;
};

}  // namespace VoziZazIreCore
