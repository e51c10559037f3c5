#pragma once
#include <string_view>

namespace VoziZazIreCore::RegexSyntax {

// True when ICU's regular-expression engine compiles `pattern` (UTF-8) with no options. Descriptions
// repeat their patterns, and both the transform and the validator ask: answers are remembered per
// thread, for patterns up to a modest length and up to a bounded number of them.
bool compiles(std::string_view pattern);

}  // namespace VoziZazIreCore::RegexSyntax
