#pragma once

#include "Carvex/Snippets/Placeholder.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace Carvex {

// A rendered snippet ready for insertion: the text with every placeholder replaced by its default
// text, and the placeholders in tab-stop order (ascending index, equal indices in text order), each
// addressing its default text in the document once `displayText` stands at the insertion offset.
struct SnippetPlaceholders {
    QString displayText;
    std::vector<Placeholder> placeholders;
};

// Replaces the `${n:default}` fields of `text` (`SnippetTemplateCoding::placeholderPattern()`) by
// their default texts; `offset` is where the text will be inserted (UTF-16 units). An index that
// does not read as an in-range number of the digits 0 to 9 is 0. Linear in the text.
SnippetPlaceholders parseSnippetPlaceholders(QStringView text, qsizetype offset);

}  // namespace Carvex
