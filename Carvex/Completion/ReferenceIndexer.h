#pragma once

#include "Carvex/Completion/ReferenceIndexing.h"

namespace Carvex {

// Reads component names from raw text in one pass, without a parse tree, so half-typed documents
// index too. YAML: under a "components:" line at the start of its line, sections at the indentation
// of the first line below it and names one step deeper, at the indentation of the first name. JSON:
// a name is taken at the opening brace of its object value, reading the text by grapheme clusters.
// Quoted names are read with their escapes decoded, as the document means them.
class ReferenceIndexer final : public ReferenceIndexing {
public:
    ReferenceIndex buildIndex(const QString& text, DocumentFormat format) const override;

    static ReferenceIndex scanYAML(const QString& text);
    static ReferenceIndex scanJSON(const QString& text);
};

} // namespace Carvex
