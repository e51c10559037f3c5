#include "kit/core/RegexSyntax.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <memory>
#include <string>
#include <unordered_map>

namespace VoziZazIreCore::RegexSyntax {

namespace {

constexpr std::size_t kLongestRemembered = 256;
constexpr std::size_t kMostRemembered = 1024;

bool compileOnce(std::string_view pattern) {
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError;
  const icu::UnicodeString text =
      icu::UnicodeString::fromUTF8(icu::StringPiece(pattern.data(), static_cast<int32_t>(pattern.size())));
  std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(text, 0, parseError, status));
  return U_SUCCESS(status) && compiled != nullptr;
}

struct StringHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const noexcept { return std::hash<std::string_view>{}(text); }
};

}  // namespace

bool compiles(std::string_view pattern) {
  if (pattern.size() > kLongestRemembered) return compileOnce(pattern);
  thread_local std::unordered_map<std::string, bool, StringHash, std::equal_to<>> answers;
  if (auto it = answers.find(pattern); it != answers.end()) return it->second;
  const bool answer = compileOnce(pattern);
  if (answers.size() >= kMostRemembered) answers.clear();
  answers.emplace(pattern, answer);
  return answer;
}

}  // namespace VoziZazIreCore::RegexSyntax
