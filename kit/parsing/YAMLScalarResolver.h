#pragma once
#include <optional>
#include <string_view>

namespace VoziZazIreParsing {

// Decides what a plain (unquoted, untagged) YAML scalar stands for. The rules are the editor's, not a
// YAML schema's: "true"/"True"/"TRUE" and the false forms are booleans, "null"/"Null"/"NULL"/"~" and
// the empty text are null, whatever the POSIX decimal conversion reads as a whole as a decimal or 0x
// hexadecimal number is a number, and everything else - yes, no, on, off, 1_000, 0o17, .inf - is a
// string. The words for infinity and not-a-number (inf, Infinity, nan, NaN in any letter case, signed or
// not) are strings too: descriptions use them as enum values and token limits, other YAML readers read
// them as text, and a non-finite number has no JSON form.
class YAMLScalarResolver {
 public:
  enum class Kind { null, bool_, number, string };
  struct Resolved {
    Kind kind = Kind::string;
    bool boolean = false;
    double number = 0;
  };

  static Resolved resolve(std::string_view text) noexcept;
  // The number a text converts to as a whole, or nothing.
  static std::optional<double> number(std::string_view text) noexcept;
  // True for the boolean spellings; `value` receives the truth value.
  static bool boolean(std::string_view text, bool& value) noexcept;
  static bool null(std::string_view text) noexcept;
};

}  // namespace VoziZazIreParsing
