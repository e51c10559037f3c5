#pragma once

#include "Carvex/CaretContext/CompletionContext.h"
#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/Completion/OpenAPIVersion.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace Carvex {

// Proposes, on an item of a 3.1 schema's `type` list, the type names that the lists at that key path
// do not hold yet. The names present are read from the raw text by line scans.
class TypeArrayResolver {
public:
    std::vector<CompletionItem> suggestions(const CompletionContext& context, const QString& text,
                                            OpenAPIVersion version) const;

    // The names listed under the key path in YAML block lists (values as written after the dash).
    static QSet<QString> existingTypesYAML(QStringView text, const QStringList& pathKeys);
    // The quoted names of JSON lists opened on a line whose key path is the given one.
    static QSet<QString> existingTypesJSON(QStringView text, const QStringList& pathKeys);
};

} // namespace Carvex
