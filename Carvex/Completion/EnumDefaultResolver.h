#pragma once

#include "Carvex/CaretContext/CompletionContext.h"
#include "Carvex/Completion/CompletionItem.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace Carvex {

// Proposes, on the value of a `default` key, the values of the sibling `enum` list, found by line
// scans of the raw text around the caret.
class EnumDefaultResolver {
public:
    std::vector<CompletionItem> suggestions(const CompletionContext& context, const QString& text) const;

    // One value of a YAML enum list: its text with the escapes of its quoting read, the quote it was
    // written in (none: 0), and the text between its quotes as written.
    struct YAMLValue {
        QString text;
        char16_t quote = 0;
        QString raw;
    };

    static QStringList findEnumValuesYAML(QStringView text, qsizetype caretLocation);
    static std::vector<YAMLValue> findQuotedEnumValuesYAML(QStringView text, qsizetype caretLocation);
    static QStringList findEnumValuesJSON(QStringView text, qsizetype caretLocation);
    // The bracket balance of one JSON line: "{" and "[" add one, "}" and "]" subtract one, outside strings.
    static int jsonBracketDelta(QStringView line);
    // The values whose lower-cased form begins with the prefix, lower-cased and without quote
    // characters at either end; all values when nothing is left of the prefix. Order and duplicates kept.
    static QStringList filterByPrefix(const QStringList& values, const QString& prefix);
};

} // namespace Carvex
