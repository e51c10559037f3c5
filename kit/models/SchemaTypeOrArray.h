#pragma once
#include <cstddef>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "kit/models/SchemaType.h"

namespace VoziZazIreModels {

// The "type" of an OpenAPI 3.1 schema: one type, or a list of types as written (order and repeats kept).
// A single type never equals a list, even a list of that one type.
class SchemaTypeOrArray {
 public:
  static SchemaTypeOrArray single(SchemaType type) { return SchemaTypeOrArray(std::in_place_index<0>, type); }
  static SchemaTypeOrArray multiple(std::vector<SchemaType> types) {
    return SchemaTypeOrArray(std::in_place_index<1>, std::move(types));
  }

  bool isSingle() const noexcept { return storage_.index() == 0; }
  // The payload of the single case, else nothing.
  std::optional<SchemaType> singleValue() const noexcept;
  // The payload of the multiple case, else nullptr.
  const std::vector<SchemaType>* multipleValue() const noexcept { return std::get_if<1>(&storage_); }

  // The single type as a list of one, or the list unchanged.
  std::vector<SchemaType> types() const;

  friend bool operator==(const SchemaTypeOrArray&, const SchemaTypeOrArray&) = default;

 private:
  using Storage = std::variant<SchemaType, std::vector<SchemaType>>;
  // Built in place: moving a temporary variant trips g++ 12's maybe-uninitialized warning at -O1.
  template <std::size_t I, class Arg>
  SchemaTypeOrArray(std::in_place_index_t<I> index, Arg&& arg) : storage_(index, std::forward<Arg>(arg)) {}

  Storage storage_;
};

}  // namespace VoziZazIreModels
