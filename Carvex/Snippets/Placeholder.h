#pragma once

#include "Carvex/Text/TextRange.h"

#include <QString>

#include <memory>

namespace Carvex {

// The chip that shows an unfilled placeholder in the text. The placeholder manager makes chips and
// gives them their look; everything else only keeps or drops them and tells them apart by identity.
class PlaceholderChip {
public:
    virtual ~PlaceholderChip() = default;
};

// One tab stop of an inserted snippet: the number written in it, the default text written after
// the colon, and where its text stands in the document (UTF-16 units).
struct Placeholder {
    int index = 0;
    QString defaultText;
    TextRange range;
    // The chip while the placeholder is unfilled; none when parsed and once it has been typed over.
    std::shared_ptr<PlaceholderChip> attachment;
};

}  // namespace Carvex
