#pragma once

#include <vector>

namespace Carvex {

// One row of the built-in template table: what both formats share, and the two bodies. Absent
// context fields are null.
struct BuiltInTemplateRow {
    const char* id;
    const char* name;
    std::vector<const char*> yamlTriggerKeywords;
    std::vector<const char*> jsonTriggerKeywords;
    const char* requiredParent;
    const char* immediateParent;
    int minIndentLevel;
    int depthScore;
    const char* yamlBody;
    const char* jsonBody;
    // The key the enclosing keys must start with; null sets no condition.
    const char* rootParent = nullptr;
};

// The 38 templates that a catalog holds when no template folder yields one, in catalog order.
// Bodies are laid out for rendering: the first line continues the caret's line, the later lines
// are re-indented under it, so every leading blank and line break counts.
namespace BuiltInTemplateTable {
const std::vector<BuiltInTemplateRow>& rows();
}

}  // namespace Carvex
