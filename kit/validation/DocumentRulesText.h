#pragma once
#include <string>
#include <string_view>
#include <vector>

// Text tests shared by the document, server and path rules: URL acceptance, whitespace trimming, the
// e-mail pattern and the names written in braces in a URL or path template.
namespace VoziZazIreValidation::RuleText {

// True when the text is a URI reference (RFC 3986) the URL parser accepts; empty text is refused.
bool urlParserAccepts(std::string_view text);

// The URL test of the info rules: the parser accepts the text and it either has a scheme or begins
// with "/".
bool passesURLTest(std::string_view text);

// True when nothing but space separators (Unicode Zs) and tabs is left after trimming; line breaks are
// kept, so a text of one line break is not blank.
bool isBlankAfterTrimming(std::string_view text);

// True when "^[A-Za-z0-9._%+-]+@[A-Za-z0-9.-]+\.[A-Za-z]{2,}$" finds a match in the text.
bool looksLikeEmail(std::string_view text);

// Every "{name}" of the text replaced by "placeholder".
std::string withTemplatesSubstituted(std::string_view text);

// A server URL as the URL parser is to judge it: every "{name}" replaced by "placeholder", except a
// "{name}" standing as the port (right after the ":" that follows the host of "scheme://host:" or
// "//host:"), which is replaced by "1", since a port is digits.
std::string withServerTemplatesSubstituted(std::string_view url);

// The names written between "{" and the next "}" (at least one character), each once, in order of
// first appearance.
std::vector<std::string> templateNames(std::string_view text);

}  // namespace VoziZazIreValidation::RuleText
