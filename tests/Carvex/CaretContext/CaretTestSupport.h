#pragma once

#include "Carvex/CaretContext/PathComponent.h"
#include "Carvex/CaretContext/CursorRole.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <string>
#include <vector>

namespace CaretTest {

// An example text with "|" marking the caret.
struct Caret {
    QString text;
    qsizetype caret = 0;
};

inline Caret caretIn(const char* marked)
{
    QString text = QString::fromUtf8(marked);
    const qsizetype caret = text.indexOf(u'|');
    text.remove(caret, 1);
    return {text, caret};
}

// "key(paths) dyn(/pets) idx(1)"
inline std::string describe(const std::vector<Carvex::PathComponent>& path)
{
    QStringList parts;
    for (const Carvex::PathComponent& component : path) {
        switch (component.kind()) {
        case Carvex::PathComponent::Case::key: parts << "key(" + component.name() + ")"; break;
        case Carvex::PathComponent::Case::dynamicKey: parts << "dyn(" + component.name() + ")"; break;
        case Carvex::PathComponent::Case::index: parts << "idx(" + component.text() + ")"; break;
        }
    }
    return parts.join(u' ').toStdString();
}

inline std::string describe(const QSet<QString>& keys)
{
    QStringList sorted(keys.begin(), keys.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted.join(u',').toStdString();
}

inline const char* describe(Carvex::CursorRole role)
{
    switch (role) {
    case Carvex::CursorRole::mappingKey: return "mappingKey";
    case Carvex::CursorRole::mappingValue: return "mappingValue";
    case Carvex::CursorRole::sequenceItem: return "sequenceItem";
    case Carvex::CursorRole::unknown: return "unknown";
    }
    return "?";
}

inline std::string describe(const std::optional<QString>& key)
{
    return key ? (u'"' + *key + u'"').toStdString() : std::string("none");
}

} // namespace CaretTest

#include "Carvex/CaretContext/CompletionContext.h"

#include <ostream>

namespace Carvex {

// Readable failures for whole records.
inline void PrintTo(const CompletionContext& context, std::ostream* out)
{
    *out << "{format " << rawValue(context.format) << ", caret " << context.caretLocation << ", role "
         << CaretTest::describe(context.role) << ", prefix \"" << context.prefix.toStdString() << "\", path ["
         << CaretTest::describe(context.path) << "], inString " << context.hints.isInString << ", inComment "
         << context.hints.isInComment << ", indentation \"" << context.hints.currentIndentation.toStdString()
         << "\", line \"" << context.currentLine.toStdString() << "\", key " << CaretTest::describe(context.currentKey)
         << ", keys {" << CaretTest::describe(context.existingKeys) << "}}";
}

} // namespace Carvex
