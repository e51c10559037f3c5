#include "kit/transform/DocumentTextChecks.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>
#include <uriparser/Uri.h>

#include <memory>
#include <unordered_set>

#include "kit/core/TextServices.h"

namespace VoziZazIreTransform::DocumentTextChecks {

namespace {

using Pattern = std::unique_ptr<const icu::RegexPattern>;

// Compiles one of the fixed patterns below; they are known to compile.
Pattern compile(const char* pattern) {
  UErrorCode status = U_ZERO_ERROR;
  Pattern compiled(icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(pattern), 0, status));
  if (U_FAILURE(status)) return nullptr;
  return compiled;
}

// ICU counts in 32 bits; longer texts are not member values any description holds.
constexpr std::size_t kMaxRegexInput = 0x7fffffff;

icu::UnicodeString toUnicode(std::string_view text) {
  return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

// The whole text matches the pattern.
bool wholeMatch(const Pattern& pattern, std::string_view text) {
  if (!pattern || text.size() > kMaxRegexInput) return false;
  const icu::UnicodeString input = toUnicode(text);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
  if (U_FAILURE(status)) return false;
  const bool matched = matcher->matches(status);
  return U_SUCCESS(status) && matched;
}

}  // namespace

bool matchesVersionPattern(std::string_view text, bool is31) {
  static const Pattern v30 = compile("^3\\.0\\.\\d+$");
  static const Pattern v31 = compile("^3\\.1\\.\\d+$");
  return wholeMatch(is31 ? v31 : v30, text);
}

bool isBlank(std::string_view text) noexcept {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char32_t cp = VoziZazIreCore::TextServices::decodeUtf8(text, pos);
    if (cp != U'\t' && !VoziZazIreCore::TextServices::isSpaceSeparator(cp)) return false;
  }
  return true;
}

bool isUriReference(std::string_view text) {
  if (text.empty()) return false;
  UriUriA uri;
  const char* errorPos = nullptr;
  const int status = uriParseSingleUriExA(&uri, text.data(), text.data() + text.size(), &errorPos);
  if (status == URI_SUCCESS) uriFreeUriMembersA(&uri);
  return status == URI_SUCCESS;
}

bool isEmailAddress(std::string_view text) {
  static const Pattern email = compile("^[A-Za-z0-9._%+-]+@[A-Za-z0-9.-]+\\.[A-Za-z]{2,}$");
  return wholeMatch(email, text);
}

// The matches of "\{([^}]+)\}" found left to right, scanned directly: a regular-expression search
// retries from every "{" of an unclosed run and takes quadratic time on a long run of braces.
std::vector<std::string> templateNames(std::string_view url) {
  std::vector<std::string> names;
  std::unordered_set<std::string_view> seen;  // views into `url`
  std::size_t pos = 0;
  while ((pos = url.find('{', pos)) != std::string_view::npos) {
    const std::size_t close = url.find('}', pos + 1);
    if (close == std::string_view::npos) break;  // no later "{" can be closed either
    if (close == pos + 1) {                       // "{}" names nothing; the "}" may still close nothing
      pos = close + 1;
      continue;
    }
    // The name runs to the first "}" and may hold "{" itself, as the pattern's [^}] allows.
    const std::string_view name = url.substr(pos + 1, close - pos - 1);
    if (seen.insert(name).second) names.emplace_back(name);
    pos = close + 1;
  }
  return names;
}

}  // namespace VoziZazIreTransform::DocumentTextChecks
