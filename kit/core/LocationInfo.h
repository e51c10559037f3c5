#pragma once
#include <string>

#include "kit/core/PointerText.h"
#include "kit/core/SourceRange.h"

namespace VoziZazIreCore {

// Where a thing stands: its JSON pointer and its range in the text.
struct LocationInfo {
  PointerText jsonPointer;
  SourceRange locationRange;

  LocationInfo() = default;
  LocationInfo(PointerText jsonPointer, SourceRange locationRange)
      : jsonPointer(std::move(jsonPointer)), locationRange(locationRange) {}

  // "<jsonPointer> at <range>"
  std::string description() const;
  std::size_t hash() const;

  friend bool operator==(const LocationInfo&, const LocationInfo&) = default;
};

}  // namespace VoziZazIreCore
