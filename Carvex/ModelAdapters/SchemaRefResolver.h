#pragma once

#include "Carvex/ModelAdapters/CompositionType.h"
#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"
#include "Carvex/ModelAdapters/RefOrValue.h"
#include "Carvex/ModelAdapters/SchemaAdapter.h"
#include "Carvex/ModelAdapters/SchemaTreeNode.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Carvex {

// Turns a schema slot into a tree of SchemaTreeNodes. Local "#/components/schemas/<name>" references
// are followed through the document adapter; references into other files end in an "external" leaf,
// a reference back into the current path in a circular leaf, and the walk stops at `maxDepth` with
// "..." placeholders. In `referenced` mode a schema reached through a reference is a leaf named after
// its component; in `resolved` mode it is expanded in place and an allOf shows its merged properties.
//
// Children are made when first read (SchemaTreeNode::children), and one tree makes at most
// `nodeBudget` nodes: a list of children that would pass it reads as one "..." placeholder instead, so
// schemas that share components many levels deep cannot make a tree of millions of nodes. A tree
// within the budget is the full tree.
struct SchemaRefResolver {
    enum class Mode { referenced, resolved };

    struct ResolvedSchema {
        std::shared_ptr<const SchemaAdapter> schema;
        std::optional<std::string> refString;
        bool isCircular = false;
        bool isExternal = false;
    };

    // The references expanded on the way from the root to a node. Extending it shares the path above,
    // so every node of a path holds the same few links instead of a set of its own.
    class VisitedPath {
    public:
        VisitedPath() = default;
        bool contains(std::string_view ref) const;
        VisitedPath adding(std::string ref) const;
        bool empty() const noexcept { return !last_; }

    private:
        struct Link {
            std::string ref;
            mutable std::shared_ptr<const Link> previous;
            // Releases a long chain link by link rather than by nested destructor calls.
            ~Link();
        };
        std::shared_ptr<const Link> last_;
    };

    struct MergedAllOf {
        std::vector<SchemaAdapter::Property> properties;
        // Ascending in plain string order, each once.
        std::vector<std::string> required;
    };

    static constexpr int defaultNodeBudget = 50'000;

    std::shared_ptr<const OpenAPIDocumentAdapter> documentAdapter;
    Mode mode = Mode::referenced;
    int maxDepth = 20;
    int nodeBudget = defaultNodeBudget;

    ResolvedSchema resolve(const RefOrValue<SchemaAdapter>& slot, const VisitedPath& visited, int depth) const;
    // The node of one slot, the root of a tree of its own (with its own node budget).
    SchemaTreeNode::Ptr buildNode(const RefOrValue<SchemaAdapter>& slot, const QString& name, bool required,
                                  const VisitedPath& visited, int depth) const;
    std::vector<SchemaTreeNode::Ptr> buildChildren(const SchemaAdapter& schema, const VisitedPath& visited,
                                                   int depth) const;
    std::vector<SchemaTreeNode::Ptr> buildCompositionChildren(const std::vector<RefOrValue<SchemaAdapter>>& members,
                                                              CompositionType kind, const SchemaAdapter& parent,
                                                              const VisitedPath& visited, int depth) const;
    MergedAllOf mergeAllOf(const std::vector<RefOrValue<SchemaAdapter>>& members, const VisitedPath& visited) const;

    // The last non-empty piece between slashes ("#/components/schemas/Pet" gives "Pet"); the text
    // itself when it has none.
    static QString lastRefComponent(const QString& ref);

private:
    struct Tree;
    class DeferredChildren;
    struct ChildPlan {
        QString name;
        RefOrValue<SchemaAdapter> slot;
        bool required = false;
    };

    SchemaTreeNode::Ptr nodeIn(const std::shared_ptr<Tree>& tree, const RefOrValue<SchemaAdapter>& slot,
                               QString name, bool required, const VisitedPath& visited, int depth) const;
    std::vector<SchemaTreeNode::Ptr> childrenIn(const std::shared_ptr<Tree>& tree, const SchemaAdapter& schema,
                                                const VisitedPath& visited, int depth) const;
    std::vector<ChildPlan> childPlans(const SchemaAdapter& schema, const VisitedPath& visited) const;
    std::vector<ChildPlan> compositionPlans(const std::vector<RefOrValue<SchemaAdapter>>& members,
                                            CompositionType kind, const SchemaAdapter& parent,
                                            const VisitedPath& visited) const;
    std::vector<SchemaTreeNode::Ptr> nodesOf(const std::shared_ptr<Tree>& tree, std::vector<ChildPlan> plans,
                                             const VisitedPath& visited, int depth) const;
};

} // namespace Carvex
