#include "kit/validation/DocumentRulesText.h"

#include <unicode/regex.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>
#include <uriparser/Uri.h>

#include <algorithm>
#include <memory>

namespace VoziZazIreValidation::RuleText {

namespace {

// Patterns are compiled once; each search makes its own matcher, so concurrent runs share nothing
// mutable.
std::unique_ptr<icu::RegexPattern> compile(const char* pattern) {
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError;
  std::unique_ptr<icu::RegexPattern> compiled(
      icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(pattern), 0, parseError, status));
  if (U_FAILURE(status)) return nullptr;
  return compiled;
}

const icu::RegexPattern* emailPattern() {
  static const std::unique_ptr<icu::RegexPattern> pattern =
      compile(R"(^[A-Za-z0-9._%+-]+@[A-Za-z0-9.-]+\.[A-Za-z]{2,}$)");
  return pattern.get();
}

const icu::RegexPattern* templatePattern() {
  static const std::unique_ptr<icu::RegexPattern> pattern = compile(R"(\{([^}]+)\})");
  return pattern.get();
}

icu::UnicodeString unicode(std::string_view text) {
  return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string utf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

}  // namespace

bool urlParserAccepts(std::string_view text) {
  if (text.empty()) return false;
  UriUriA uri;
  const char* errorPos = nullptr;
  const int result = uriParseSingleUriExA(&uri, text.data(), text.data() + text.size(), &errorPos);
  if (result != URI_SUCCESS) return false;
  uriFreeUriMembersA(&uri);
  return true;
}

bool passesURLTest(std::string_view text) {
  if (text.empty()) return false;
  UriUriA uri;
  const char* errorPos = nullptr;
  if (uriParseSingleUriExA(&uri, text.data(), text.data() + text.size(), &errorPos) != URI_SUCCESS) return false;
  const bool hasScheme = uri.scheme.first != nullptr && uri.scheme.afterLast != uri.scheme.first;
  uriFreeUriMembersA(&uri);
  return hasScheme || text.front() == '/';
}

bool isBlankAfterTrimming(std::string_view text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const int32_t length = static_cast<int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
  int32_t i = 0;
  while (i < length) {
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c == 0x09) continue;
    if (c < 0 || u_charType(c) != U_SPACE_SEPARATOR) return false;
  }
  return true;
}

bool looksLikeEmail(std::string_view text) {
  const icu::RegexPattern* pattern = emailPattern();
  if (pattern == nullptr) return true;
  const icu::UnicodeString input = unicode(text);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
  if (U_FAILURE(status)) return true;
  const bool found = matcher->find(status);
  return U_SUCCESS(status) && found;
}

std::string withTemplatesSubstituted(std::string_view text) {
  const icu::RegexPattern* pattern = templatePattern();
  if (pattern == nullptr) return std::string(text);
  const icu::UnicodeString input = unicode(text);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
  if (U_FAILURE(status)) return std::string(text);
  const icu::UnicodeString replaced = matcher->replaceAll(icu::UnicodeString(u"placeholder"), status);
  if (U_FAILURE(status)) return std::string(text);
  return utf8(replaced);
}

std::vector<std::string> templateNames(std::string_view text) {
  std::vector<std::string> names;
  const icu::RegexPattern* pattern = templatePattern();
  if (pattern == nullptr) return names;
  const icu::UnicodeString input = unicode(text);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
  if (U_FAILURE(status)) return names;
  while (matcher->find(status) && U_SUCCESS(status)) {
    std::string name = utf8(matcher->group(1, status));
    if (U_FAILURE(status)) break;
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
  }
  return names;
}

}  // namespace VoziZazIreValidation::RuleText
