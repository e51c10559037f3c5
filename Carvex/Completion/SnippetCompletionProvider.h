#pragma once

#include "Carvex/CaretContext/CompletionContext.h"
#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/Snippets/SnippetTemplate.h"

#include <QStringList>

#include <vector>

namespace Carvex {

// Turns snippet templates into completion items where a mapping key is written: body-only items
// for the key of an empty mapping when nothing has been typed, full items otherwise.
class SnippetCompletionProvider {
public:
    // Items in template order.
    std::vector<CompletionItem> suggestions(const CompletionContext& context,
                                            const std::vector<SnippetTemplate>& templates) const;

    static std::vector<CompletionItem> bodyOnlySuggestions(const QString& key, const QStringList& path,
                                                           const std::vector<SnippetTemplate>& templates);
    static std::vector<CompletionItem> fullSuggestions(const QStringList& path,
                                                       const std::vector<SnippetTemplate>& templates);
    static QString displayLabel(const SnippetTemplate& snippet);
    static bool contextMatches(const SnippetTemplate& snippet, const QStringList& path, int indentLevel);
};

}  // namespace Carvex
