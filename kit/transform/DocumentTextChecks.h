#pragma once
// The text tests of the document readers: version patterns, blank texts, URL references, e-mail
// addresses and the names in braces of a server URL template.

#include <string>
#include <string_view>
#include <vector>

namespace VoziZazIreTransform::DocumentTextChecks {

// "3.0.<digits>" (is31 false) or "3.1.<digits>" (is31 true), the whole text.
bool matchesVersionPattern(std::string_view text, bool is31);

// Nothing left after removing leading and trailing Unicode space separators and tabs (line breaks stay).
bool isBlank(std::string_view text) noexcept;

// An RFC 3986 URI reference, absolute or relative; the empty text fails.
bool isUriReference(std::string_view text);

// name@domain.tld with a top-level part of two or more letters.
bool isEmailAddress(std::string_view text);

// The distinct texts between "{" and the next "}" (at least one character), in order of first use.
std::vector<std::string> templateNames(std::string_view url);

}  // namespace VoziZazIreTransform::DocumentTextChecks
