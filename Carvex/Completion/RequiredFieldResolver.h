#pragma once

#include "Carvex/CaretContext/PathComponent.h"
#include "Carvex/CaretContext/CompletionContext.h"
#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/CaretContext/DocumentFormat.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <utility>
#include <vector>

namespace Carvex {

// Proposes, on an item of a schema's `required` list, the property names that the schema declares
// under `properties` and the list does not name yet, both read by line scans of the raw text along
// the caret's key path. Names are compared and offered as they read (quoted ones whole, escapes
// decoded: ScalarNameText) and written so that they read back the same.
class RequiredFieldResolver {
public:
    std::vector<CompletionItem> suggestions(const CompletionContext& context, const QString& text) const;

    // The names declared under `properties` beside the required list at `requiredPath` (whose last
    // component is "required"), in document order.
    static QStringList findPropertyNames(QStringView text, const std::vector<PathComponent>& requiredPath,
                                         DocumentFormat format);
    // The direct member names of the mapping at the key path.
    static QStringList findPropertyNamesYAML(QStringView text, const QStringList& path);
    static QStringList findPropertyNamesJSON(QStringView text, const QStringList& path);
    // The names listed in the sequence at the key path.
    static QSet<QString> findExistingRequiredYAML(QStringView text, const QStringList& path);
    static QSet<QString> findExistingRequiredJSON(QStringView text, const QStringList& path);
    // Opening and closing brackets of one JSON line outside strings; when the line ends inside a
    // string, the brackets after that string's opening quote count too.
    static std::pair<int, int> jsonBracketCounts(QStringView line);
};

} // namespace Carvex
