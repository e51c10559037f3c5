#include "kit/transform/PathTemplateNames.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <climits>
#include <memory>

namespace VoziZazIreTransform {

namespace {

// The names in braces: "{", then at least one character that is not "}", then "}". Compiled once; an ICU
// pattern may hand out matchers to several threads at a time.
const icu::RegexPattern* templateNamePattern() {
  static const std::unique_ptr<icu::RegexPattern> pattern = [] {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(icu::UnicodeString(u"\\{([^}]+)\\}"), parseError, status));
    return U_SUCCESS(status) ? std::move(compiled) : nullptr;
  }();
  return pattern.get();
}

}  // namespace

PathTemplateNames pathTemplateNamesOf(std::string_view pathKey) {
  PathTemplateNames names;
  const icu::RegexPattern* pattern = templateNamePattern();
  if (!pattern || pathKey.find('{') == std::string_view::npos) return names;
  if (pathKey.size() > static_cast<std::size_t>(INT32_MAX)) return names;
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(icu::StringPiece(pathKey.data(), static_cast<int32_t>(pathKey.size())));
  std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(text, status));
  if (U_FAILURE(status)) return names;
  while (matcher->find(status) && U_SUCCESS(status)) {
    icu::UnicodeString group = matcher->group(1, status);
    if (U_FAILURE(status)) break;
    std::string name;
    group.toUTF8String(name);
    names.insert(std::move(name));
  }
  return names;
}

}  // namespace VoziZazIreTransform
