#pragma once
#include <memory>
#include <utility>
#include <variant>

#include "kit/core/Reference.h"

namespace VoziZazIreCore {

// Either a "$ref" or an inline value. Inline model objects are shared immutable objects, so the value
// case holds a std::shared_ptr<const T> (never null); this also lets a type contain ReferenceOr of itself.
// The reference case is kept behind a pointer too, so that the many optional schema-valued fields of the
// models stay small.
template <class T>
class ReferenceOr {
 public:
  ReferenceOr(Reference reference) : storage_(std::make_shared<const Reference>(std::move(reference))) {}
  ReferenceOr(std::shared_ptr<const T> value) : storage_(std::move(value)) {}
  ReferenceOr(std::shared_ptr<T> value) : storage_(std::shared_ptr<const T>(std::move(value))) {}

  static ReferenceOr reference(Reference r) { return ReferenceOr(std::move(r)); }
  static ReferenceOr value(std::shared_ptr<const T> v) { return ReferenceOr(std::move(v)); }

  bool isReference() const noexcept { return storage_.index() == 0; }
  // The payload of the reference case, else nullptr.
  const Reference* referenceValue() const noexcept {
    auto* p = std::get_if<std::shared_ptr<const Reference>>(&storage_);
    return p ? p->get() : nullptr;
  }
  // The payload of the value case, else nullptr.
  const T* inlineValue() const noexcept {
    auto* p = std::get_if<std::shared_ptr<const T>>(&storage_);
    return p ? p->get() : nullptr;
  }
  const std::shared_ptr<const T>* sharedInlineValue() const noexcept {
    return std::get_if<std::shared_ptr<const T>>(&storage_);
  }

  // Same case and equal payloads; available when T itself is equatable.
  friend bool operator==(const ReferenceOr& a, const ReferenceOr& b)
    requires requires(const T& x) { x == x; }
  {
    if (a.storage_.index() != b.storage_.index()) return false;
    if (a.isReference()) return *a.referenceValue() == *b.referenceValue();
    return *a.inlineValue() == *b.inlineValue();
  }

 private:
  std::variant<std::shared_ptr<const Reference>, std::shared_ptr<const T>> storage_;
};

}  // namespace VoziZazIreCore
