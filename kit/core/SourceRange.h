#pragma once
#include "kit/core/SourceLocation.h"

namespace VoziZazIreCore {

struct SourceRange {
  SourceLocation start;
  SourceLocation end;

  // "<start> - <end>"
  std::string description() const;
  std::size_t hash() const;

  friend bool operator==(const SourceRange&, const SourceRange&) = default;
};

}  // namespace VoziZazIreCore
