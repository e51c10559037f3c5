#pragma once

#include <QStringView>

#include <optional>
#include <vector>

namespace Carvex {

// The three quoted-text patterns of the raw JSON scans, read in one linear pass each. They answer
// exactly as these ICU regular expressions (no options) do on the same UTF-16 text, "\s" being the
// Unicode White_Space property; the captured group 1 is returned:
//   firstKey      "([^"]+)"\s*:
//   leadingKey    ^\s*"([^"]+)"\s*:
//   quotedTexts   "([^"]+)"          (every match, left to right)
// A hand-written scan instead of a regex engine: no backtracking, so no line is too long.
namespace QuotedTextScanner {

std::optional<QStringView> firstKey(QStringView text);
std::optional<QStringView> leadingKey(QStringView text);
std::vector<QStringView> quotedTexts(QStringView text);

// The Unicode White_Space property, as ICU's "\s".
bool isPatternSpace(char16_t c);

} // namespace QuotedTextScanner

} // namespace Carvex
