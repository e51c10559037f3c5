#pragma once

#include <QString>

namespace Carvex {

// Converts a document's text between YAML and JSON. Stateless; may run on any thread. Both conversions
// throw ConversionError.
class DocumentConversionService {
public:
    // YAML in, pretty-printed JSON out, members in the order of the YAML mappings.
    QString convertToJSON(const QString& text) const;
    // JSON in, block YAML out (see YAMLTextEmitter).
    QString convertToYAML(const QString& text) const;
};

}  // namespace Carvex
