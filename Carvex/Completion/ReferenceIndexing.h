#pragma once

#include "Carvex/CaretContext/DocumentFormat.h"
#include "Carvex/Completion/ReferenceIndex.h"

#include <QString>

namespace Carvex {

// Builds the index of a document's component names from its raw text; never fails.
class ReferenceIndexing {
public:
    virtual ~ReferenceIndexing() = default;
    virtual ReferenceIndex buildIndex(const QString& text, DocumentFormat format) const = 0;
};

} // namespace Carvex
