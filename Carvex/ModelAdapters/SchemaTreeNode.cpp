#include "Carvex/ModelAdapters/SchemaTreeNode.h"

namespace Carvex {

SchemaTreeNode::SchemaTreeNode(Token, Fields&& fields)
    : name_(std::move(fields.name)), typeDescription_(std::move(fields.typeDescription)),
      format_(std::move(fields.format)), schemaDescription_(std::move(fields.schemaDescription)),
      refString_(std::move(fields.refString)), enumValues_(std::move(fields.enumValues)),
      defaultValue_(std::move(fields.defaultValue)), sourceLine_(fields.sourceLine), badges_(fields.badges),
      compositionType_(fields.compositionType), isCircularRef_(fields.isCircularRef),
      isExternalRef_(fields.isExternalRef)
{
}

SchemaTreeNode::Ptr SchemaTreeNode::make(Fields fields, std::vector<Ptr> children)
{
    auto node = std::make_shared<SchemaTreeNode>(Token{}, std::move(fields));
    node->adopt(children);
    node->children_ = std::move(children);
    return node;
}

SchemaTreeNode::Ptr SchemaTreeNode::makeDeferred(Fields fields, std::unique_ptr<ChildSource> source)
{
    auto node = std::make_shared<SchemaTreeNode>(Token{}, std::move(fields));
    node->pending_ = std::move(source);
    return node;
}

SchemaTreeNode::~SchemaTreeNode()
{
    std::vector<Ptr> stack = std::move(children_);
    while (!stack.empty()) {
        Ptr node = std::move(stack.back());
        stack.pop_back();
        if (node.use_count() == 1) {
            for (Ptr& child : node->children_)
                stack.push_back(std::move(child));
            node->children_.clear();
        }
    }
}

const std::vector<SchemaTreeNode::Ptr>& SchemaTreeNode::children() const
{
    if (pending_) {
        // Taken out first, so that a source that reads this node again finds nothing pending.
        const std::unique_ptr<ChildSource> source = std::move(pending_);
        std::vector<Ptr> made = source->makeChildren();
        adopt(made);
        children_ = std::move(made);
    }
    return children_;
}

void SchemaTreeNode::adopt(const std::vector<Ptr>& children) const
{
    const std::weak_ptr<const SchemaTreeNode> self = weak_from_this();
    for (const Ptr& child : children)
        child->parent_ = self;
}

} // namespace Carvex
