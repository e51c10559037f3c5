#pragma once
#include <cstdint>
#include <string>

namespace VoziZazIreCore {

// A position in the source text. The unit and origin of each number are the producing parser's.
struct SourceLocation {
  int64_t line = 0;
  int64_t column = 0;
  int64_t offset = 0;

  // "line <line>, column <column>"
  std::string description() const;
  std::size_t hash() const;

  friend bool operator==(const SourceLocation&, const SourceLocation&) = default;
};

// Ordering looks at the offset only.
inline bool operator<(const SourceLocation& a, const SourceLocation& b) { return a.offset < b.offset; }
inline bool operator>(const SourceLocation& a, const SourceLocation& b) { return a.offset > b.offset; }
inline bool operator<=(const SourceLocation& a, const SourceLocation& b) { return a.offset <= b.offset; }
inline bool operator>=(const SourceLocation& a, const SourceLocation& b) { return a.offset >= b.offset; }

}  // namespace VoziZazIreCore
