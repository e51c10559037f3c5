#include "Carvex/Snippets/SnippetPlaceholders.h"

#include "Carvex/Snippets/SnippetPlaceholderScanner.h"
#include "Carvex/Snippets/SnippetTemplateCoding.h"

#include <algorithm>

namespace Carvex {

SnippetPlaceholders parseSnippetPlaceholders(QStringView text, qsizetype offset) {
    SnippetPlaceholders result;
    result.displayText.reserve(text.size());
    SnippetPlaceholderScanner scanner(text);
    qsizetype copied = 0;
    while (const auto match = scanner.next()) {
        result.displayText.append(text.mid(copied, match->range.location - copied));
        const QStringView defaultText = text.mid(match->defaultText.location, match->defaultText.length);
        const qsizetype location = result.displayText.size();
        result.displayText.append(defaultText);
        copied = match->range.end();
        result.placeholders.push_back(Placeholder{
            SnippetTemplateCoding::placeholderIndex(text.mid(match->digits.location, match->digits.length)),
            defaultText.toString(), TextRange{offset + location, defaultText.size()}, nullptr});
    }
    result.displayText.append(text.mid(copied));
    std::stable_sort(result.placeholders.begin(), result.placeholders.end(),
                     [](const Placeholder& a, const Placeholder& b) { return a.index < b.index; });
    return result;
}

}  // namespace Carvex
