#pragma once

#include "Carvex/ModelAdapters/SchemaRefResolver.h"

namespace Carvex {

// Builds the tree of one schema slot with its resolver: the root is named "root", is not required and
// starts with no visited references at depth 0.
struct SchemaTreeBuilder {
    SchemaRefResolver resolver;

    SchemaTreeNode::Ptr buildTree(const RefOrValue<SchemaAdapter>& slot) const;
};

} // namespace Carvex
