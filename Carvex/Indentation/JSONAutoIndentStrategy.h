#pragma once

#include "Carvex/Indentation/AutoIndentStrategy.h"

namespace Carvex {

// Return in JSON: deeper after "{" or "[", an empty pair split over three lines, shallower before
// a closing bracket, a bare line break inside a string.
class JSONAutoIndentStrategy : public AutoIndentStrategy {
public:
    std::optional<AutoIndentEditPlan> computeIndent(const AutoIndentContext& context) const override;
};

} // namespace Carvex
