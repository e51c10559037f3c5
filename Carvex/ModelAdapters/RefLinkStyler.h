#pragma once

#include "Carvex/ModelAdapters/RefLink.h"

#include <vector>

namespace Carvex {

// Shows `$ref` values as links in one editor's text.
class RefLinkStyler {
public:
    virtual ~RefLinkStyler() = default;
    // Re-applies the link colour, underline and path to `links` (after a highlighting pass).
    virtual void applyLinkStyling(const std::vector<RefLink>& links) = 0;
};

}  // namespace Carvex
