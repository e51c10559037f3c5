#pragma once

#include "Carvex/Text/TextRange.h"

#include <QString>

#include <memory>

namespace Carvex {

// The chip that shows an unfilled placeholder. The document holds the placeholder's default text
// as plain text; the chip is drawn over it by a display layer, so making a chip active or
// inactive is a repaint, never an edit. The placeholder manager makes chips and gives them their
// look; everything else only keeps or drops them and tells them apart by identity.
class PlaceholderChip {
public:
    PlaceholderChip() = default;
    explicit PlaceholderChip(bool isActive) : isActive_(isActive) {}
    virtual ~PlaceholderChip() = default;

    // Drawn in the active colours (the placeholder being edited).
    bool isActive() const { return isActive_; }
    void setActive(bool active) { isActive_ = active; }

private:
    bool isActive_ = false;
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
