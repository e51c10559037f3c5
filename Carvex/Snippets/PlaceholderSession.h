#pragma once

#include "Carvex/Editor/TextRange.h"

#include <vector>

namespace Carvex {

// One placeholder of an inserted snippet: its chip in the text.
struct Placeholder {
    TextRange range;
};

// The placeholders of one inserted snippet while the user fills them in.
class PlaceholderSession {
public:
    virtual ~PlaceholderSession() = default;
    virtual const std::vector<Placeholder>& placeholders() const = 0;
    // Index into `placeholders`; may be out of range.
    virtual int activeIndex() const = 0;
    virtual bool isActive() const = 0;
};

}  // namespace Carvex
