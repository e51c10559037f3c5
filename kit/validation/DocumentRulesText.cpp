#include "kit/validation/DocumentRulesText.h"

#include "kit/transform/DocumentTextChecks.h"

#include <unicode/regex.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>
#include <uriparser/Uri.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <unordered_set>

namespace VoziZazIreValidation::RuleText {

namespace DocumentTextChecks = VoziZazIreTransform::DocumentTextChecks;

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

// Calls visit(start, end, name) for every match of "\{([^}]+)\}" from left to right: a "{", at least one
// character that is not "}", and the next "}". Scanned by hand rather than by the regular-expression
// engine, whose search restarts at every "{" and runs to the end of the text when no "}" follows, which
// takes quadratic time on a long run of braces (seconds for a 20 KB URL).
template <class Visit>
void forEachTemplate(std::string_view text, Visit&& visit) {
  std::size_t from = 0;
  for (;;) {
    const std::size_t open = text.find('{', from);
    if (open == std::string_view::npos) return;
    const std::size_t close = text.find('}', open + 1);
    if (close == std::string_view::npos) return;  // no "}" ahead, so no later match either
    if (close == open + 1) {                      // "{}" names nothing; try the next "{"
      from = open + 1;
      continue;
    }
    visit(open, close + 1, text.substr(open + 1, close - open - 1));
    from = close + 1;
  }
}

icu::UnicodeString unicode(std::string_view text) {
  return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
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
  std::string out;
  out.reserve(text.size());
  std::size_t copied = 0;
  forEachTemplate(text, [&](std::size_t start, std::size_t end, std::string_view) {
    out.append(text.substr(copied, start - copied));
    out += "placeholder";
    copied = end;
  });
  out.append(text.substr(copied));
  return out;
}

namespace {

struct TemplateSpan {
  std::size_t start;
  std::size_t end;
};

// The template standing as the port of the URL's authority, or nullptr. Templates are opaque: their
// names never count as a ":", "/" or "@" of the URL. One pass; `spans` are in order.
const TemplateSpan* portTemplate(std::string_view url, const std::vector<TemplateSpan>& spans) {
  std::size_t k = 0;  // the first template not yet passed
  // Moves p past the templates that start at it.
  auto skipTemplates = [&](std::size_t& p) {
    while (k < spans.size() && spans[k].start < p) ++k;
    while (k < spans.size() && spans[k].start == p) p = spans[k++].end;
  };
  auto templateAfter = [&](std::size_t p) { return k < spans.size() && spans[k].start == p + 1 ? &spans[k] : nullptr; };

  // The authority follows the first "/" when that is "//" and only a scheme (ending in ":") or nothing
  // stands before it.
  std::size_t colons = 0;
  std::size_t lastColon = 0;
  std::size_t p = 0;
  for (skipTemplates(p); p < url.size() && url[p] != '/'; skipTemplates(++p)) {
    if (url[p] == '?' || url[p] == '#') return nullptr;
    if (url[p] == ':') {
      ++colons;
      lastColon = p;
    }
  }
  if (p + 1 >= url.size() || url[p + 1] != '/') return nullptr;
  if (p > 0 && !(colons == 1 && lastColon + 1 == p)) return nullptr;
  // The port's ":" is the last one of the authority after any userinfo ("@") and IPv6 literal ("]").
  const TemplateSpan* port = nullptr;
  for (std::size_t q = p + 2;; ++q) {
    skipTemplates(q);
    if (q >= url.size()) break;
    const char c = url[q];
    if (c == '/' || c == '?' || c == '#') break;
    if (c == '@' || c == ']') port = nullptr;
    if (c == ':') port = templateAfter(q);
  }
  return port;
}

}  // namespace

std::string withServerTemplatesSubstituted(std::string_view url) {
  std::vector<TemplateSpan> spans;
  forEachTemplate(url, [&](std::size_t start, std::size_t end, std::string_view) { spans.push_back({start, end}); });
  const TemplateSpan* port = portTemplate(url, spans);
  std::string out;
  out.reserve(url.size());
  std::size_t copied = 0;
  for (const TemplateSpan& span : spans) {
    out.append(url.substr(copied, span.start - copied));
    out += &span == port ? "1" : "placeholder";
    copied = span.end;
  }
  out.append(url.substr(copied));
  return out;
}

std::vector<std::string> templateNames(std::string_view text) { return DocumentTextChecks::templateNames(text); }

}  // namespace VoziZazIreValidation::RuleText
