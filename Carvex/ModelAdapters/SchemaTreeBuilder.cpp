#include "Carvex/ModelAdapters/SchemaTreeBuilder.h"

namespace Carvex {

SchemaTreeNode::Ptr SchemaTreeBuilder::buildTree(const RefOrValue<SchemaAdapter>& slot) const
{
    return resolver.buildNode(slot, QStringLiteral("root"), false, SchemaRefResolver::VisitedPath(), 0);
}

} // namespace Carvex
