#pragma once

#include "Carvex/Indentation/AutoIndentStrategy.h"

namespace Carvex {

// Return in YAML: deeper after a key that opens a block, after an item that holds a mapping and
// after the start of a block scalar; on a blank line, the indentation of the line above.
class YAMLAutoIndentStrategy : public AutoIndentStrategy {
public:
    std::optional<AutoIndentEditPlan> computeIndent(const AutoIndentContext& context) const override;
};

} // namespace Carvex
