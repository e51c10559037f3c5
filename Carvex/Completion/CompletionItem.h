#pragma once

#include "Carvex/Completion/CompletionItemKind.h"
#include "Carvex/Completion/SnippetMetadata.h"

#include <QString>
#include <QUuid>

#include <cstddef>
#include <functional>
#include <optional>

namespace Carvex {

// One completion proposal. Each item gets a new random id when it is built; table rows are built
// once per table, resolver and snippet proposals anew on each request.
struct CompletionItem {
    QUuid id;
    // What the list shows, what proposals are matched and sorted by.
    QString label;
    // What is inserted; the label when none is given.
    QString insertText;
    CompletionItemKind kind = CompletionItemKind::unknown;
    // A one-line note beside the label.
    std::optional<QString> shortDescription;
    // The longer text of the details pane.
    std::optional<QString> description;
    // Further detail, such as "REQUIRED. String (3.0.x)".
    std::optional<QString> detail;
    // Rank; higher comes first.
    int priority = 0;
    // A mapping key, written with its colon on insertion.
    bool requiresColon = false;
    // The key takes its value on the same line.
    bool requiresValue = false;
    std::optional<SnippetMetadata> snippetMetadata;

    CompletionItem(QString label, std::optional<QString> insertText, CompletionItemKind kind,
                   std::optional<QString> shortDescription = std::nullopt,
                   std::optional<QString> description = std::nullopt, std::optional<QString> detail = std::nullopt,
                   int priority = 0, bool requiresColon = false, bool requiresValue = false,
                   std::optional<SnippetMetadata> snippetMetadata = std::nullopt);

    // Equal when all eleven fields are equal, the id included.
    bool operator==(const CompletionItem& other) const = default;
    // The hash of the id alone.
    std::size_t hash() const;
};

// The proposal order: higher priority first; within one priority, labels in Unicode scalar order
// after canonical normalisation. Equal priorities and canonically equal labels are not less either way.
bool operator<(const CompletionItem& a, const CompletionItem& b);
inline bool operator>(const CompletionItem& a, const CompletionItem& b) { return b < a; }
inline bool operator<=(const CompletionItem& a, const CompletionItem& b) { return !(b < a); }
inline bool operator>=(const CompletionItem& a, const CompletionItem& b) { return !(a < b); }

} // namespace Carvex

template<>
struct std::hash<Carvex::CompletionItem> {
    std::size_t operator()(const Carvex::CompletionItem& item) const { return item.hash(); }
};
