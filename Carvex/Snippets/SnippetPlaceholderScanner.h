#pragma once

#include "Carvex/Text/TextRange.h"

#include <QStringView>

#include <optional>

namespace Carvex {

// Finds the matches of `SnippetTemplateCoding::placeholderPattern()` in one pass over the text, as
// the ICU engine finds them: in text order, not overlapping, a digit being any decimal digit of
// Unicode (paired surrogates read as one character) and a default text any units up to the first
// "}", unpaired surrogates included. Qt's own engine refuses a text with an unpaired surrogate as a
// whole, and retries every "${" up to the end of the text when no "}" follows; this scanner looks
// for the closing brace once per stretch of text, so the whole walk stays linear.
class SnippetPlaceholderScanner {
public:
    struct Match {
        TextRange range;        // "${", the digits, ":", the default text and "}"
        TextRange digits;       // capture 1
        TextRange defaultText;  // capture 2
    };

    explicit SnippetPlaceholderScanner(QStringView text) : text_(text) {}

    // The next match after the previous one, or none when there are no more.
    std::optional<Match> next();

private:
    // The position of the first "}" at or after `from`, or none.
    std::optional<qsizetype> closingBrace(qsizetype from);

    QStringView text_;
    qsizetype position_ = 0;
    qsizetype knownBrace_ = -1;  // a "}" found earlier; no "}" lies between its search start and it
    bool noBraceLeft_ = false;
};

}  // namespace Carvex
