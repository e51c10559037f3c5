#pragma once

#include "Carvex/Completion/ReferenceIndexing.h"

namespace Carvex {

// Reads component names from raw text in one pass, without a parse tree, so half-typed documents
// index too. YAML: sections at exactly two spaces under a "components:" line at the start of its
// line, names at exactly four. JSON: a name is taken at the opening brace of its object value,
// reading the text by grapheme clusters.
class ReferenceIndexer final : public ReferenceIndexing {
public:
    ReferenceIndex buildIndex(const QString& text, DocumentFormat format) const override;

    static ReferenceIndex scanYAML(const QString& text);
    static ReferenceIndex scanJSON(const QString& text);
};

} // namespace Carvex
