#pragma once

#include "Carvex/Documents/NewDocumentConfiguration.h"

#include <QString>

namespace Carvex {

// Writes the starting text of a new document: an info block and an empty paths object, or one path
// whose operations each answer "200" with "OK". The text is laid out line by line, lines joined by
// a line feed and none after the last, never through a serialiser, so its layout is fixed.
class OpenAPIDocumentGenerator {
public:
    // The YAML skeleton for format yaml, the JSON one otherwise.
    QString generate(const NewDocumentConfiguration& configuration) const;
    QString generateJSON(const NewDocumentConfiguration& configuration) const;
    QString generateYAML(const NewDocumentConfiguration& configuration) const;

    // The path inside a JSON string: backslash, double quote, line feed, carriage return and tab
    // escaped; nothing else.
    static QString escapeJSONString(const QString& text);
};

}  // namespace Carvex
