#include "Carvex/ModelAdapters/SchemaRefResolver.h"

#include "Carvex/ModelAdapters/ReferenceText.h"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace Carvex {

namespace {

using Ptr = SchemaTreeNode::Ptr;

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<QString> optionalText(const std::optional<std::string>& utf8)
{
    if (!utf8)
        return std::nullopt;
    return text(*utf8);
}

QString lastComponent(std::string_view ref)
{
    return text(ReferenceText::lastPiece(ref).value_or(ref));
}

bool isLocal(std::string_view ref)
{
    return ref.size() >= 2 && ref[0] == '#' && ref[1] == '/';
}

const QString& ellipsis()
{
    static const QString value = QStringLiteral("...");
    return value;
}

} // namespace

// What the nodes of one tree share: the resolver that makes them and the count of nodes made so far.
struct SchemaRefResolver::Tree {
    SchemaRefResolver resolver;
    int made = 0;
};

class SchemaRefResolver::DeferredChildren final : public SchemaTreeNode::ChildSource {
public:
    DeferredChildren(std::shared_ptr<Tree> tree, std::shared_ptr<const SchemaAdapter> schema, VisitedPath visited,
                     int depth)
        : tree_(std::move(tree)), schema_(std::move(schema)), visited_(std::move(visited)), depth_(depth)
    {
    }

    std::vector<Ptr> makeChildren() override { return tree_->resolver.childrenIn(tree_, *schema_, visited_, depth_); }

private:
    std::shared_ptr<Tree> tree_;
    std::shared_ptr<const SchemaAdapter> schema_;
    VisitedPath visited_;
    int depth_;
};

bool SchemaRefResolver::VisitedPath::contains(std::string_view ref) const
{
    for (const Link* link = last_.get(); link; link = link->previous.get()) {
        if (link->ref == ref)
            return true;
    }
    return false;
}

SchemaRefResolver::VisitedPath::Link::~Link()
{
    std::shared_ptr<const Link> next = std::move(previous);
    while (next && next.use_count() == 1)
        next = std::move(next->previous);
}

SchemaRefResolver::VisitedPath SchemaRefResolver::VisitedPath::adding(std::string ref) const
{
    VisitedPath path;
    path.last_ = std::make_shared<const Link>(Link{std::move(ref), last_});
    return path;
}

QString SchemaRefResolver::lastRefComponent(const QString& ref)
{
    qsizetype end = ref.size();
    while (end > 0 && ref[end - 1] == QLatin1Char('/'))
        --end;
    if (end == 0)
        return ref;
    const qsizetype slash = ref.lastIndexOf(QLatin1Char('/'), end - 1);
    return ref.mid(slash + 1, end - slash - 1);
}

SchemaRefResolver::ResolvedSchema SchemaRefResolver::resolve(const RefOrValue<SchemaAdapter>& slot,
                                                             const VisitedPath& visited, int depth) const
{
    ResolvedSchema result;
    if (depth >= maxDepth)
        return result;
    const VoziZazIreCore::Reference* reference = slot.referenceValue();
    if (!reference) {
        result.schema = slot.sharedInlineValue();
        return result;
    }
    result.refString = reference->ref;
    if (!isLocal(reference->ref))
        result.isExternal = true;
    else if (visited.contains(reference->ref))
        result.isCircular = true;
    else if (documentAdapter)
        result.schema = documentAdapter->resolveSchema(*reference);
    return result;
}

SchemaTreeNode::Ptr SchemaRefResolver::buildNode(const RefOrValue<SchemaAdapter>& slot, const QString& name,
                                                 bool required, const VisitedPath& visited, int depth) const
{
    auto tree = std::make_shared<Tree>(Tree{*this, 0});
    return nodeIn(tree, slot, name, required, visited, depth);
}

std::vector<SchemaTreeNode::Ptr> SchemaRefResolver::buildChildren(const SchemaAdapter& schema,
                                                                  const VisitedPath& visited, int depth) const
{
    auto tree = std::make_shared<Tree>(Tree{*this, 0});
    return childrenIn(tree, schema, visited, depth);
}

std::vector<SchemaTreeNode::Ptr> SchemaRefResolver::buildCompositionChildren(
    const std::vector<RefOrValue<SchemaAdapter>>& members, CompositionType kind, const SchemaAdapter& parent,
    const VisitedPath& visited, int depth) const
{
    auto tree = std::make_shared<Tree>(Tree{*this, 0});
    return nodesOf(tree, compositionPlans(members, kind, parent, visited), visited, depth);
}

SchemaTreeNode::Ptr SchemaRefResolver::nodeIn(const std::shared_ptr<Tree>& tree,
                                              const RefOrValue<SchemaAdapter>& slot, QString name, bool required,
                                              const VisitedPath& visited, int depth) const
{
    ++tree->made;
    SchemaTreeNode::Fields fields;
    fields.name = std::move(name);
    if (depth >= maxDepth) {
        fields.typeDescription = ellipsis();
        return SchemaTreeNode::make(std::move(fields));
    }
    ResolvedSchema resolved = resolve(slot, visited, depth);
    if (required)
        fields.badges.insert(SchemaNodeBadge::required);
    if (resolved.refString)
        fields.refString = text(*resolved.refString);

    if (resolved.isCircular || resolved.isExternal || !resolved.schema) {
        // A leaf: a cycle, another file, or a component that is not there.
        fields.typeDescription = resolved.isExternal ? QStringLiteral("external") : lastComponent(*resolved.refString);
        fields.isCircularRef = resolved.isCircular;
        fields.isExternalRef = resolved.isExternal;
        return SchemaTreeNode::make(std::move(fields));
    }

    const SchemaAdapter& schema = *resolved.schema;
    if (schema.isNullable())
        fields.badges.insert(SchemaNodeBadge::nullable);
    if (schema.isReadOnly())
        fields.badges.insert(SchemaNodeBadge::readOnly);
    if (schema.isWriteOnly())
        fields.badges.insert(SchemaNodeBadge::writeOnly);
    if (schema.isDeprecated())
        fields.badges.insert(SchemaNodeBadge::deprecated);
    fields.format = optionalText(schema.format());
    fields.schemaDescription = optionalText(schema.schemaDescription());
    fields.sourceLine = schema.sourceLine();
    if (auto values = schema.enumDisplayValues()) {
        QStringList texts;
        texts.reserve(static_cast<qsizetype>(values->size()));
        for (const std::string& value : *values)
            texts.push_back(text(value));
        fields.enumValues = std::move(texts);
    }
    fields.defaultValue = optionalText(schema.defaultValue());

    if (resolved.refString && mode == Mode::referenced) {
        fields.typeDescription = lastComponent(*resolved.refString);
        return SchemaTreeNode::make(std::move(fields));
    }
    fields.typeDescription = text(schema.typeDescription());
    if (const auto composition = schema.compositionType())
        fields.compositionType = VoziZazIreCore::fromRawValue<CompositionType>(*composition);
    VisitedPath path = resolved.refString ? visited.adding(std::move(*resolved.refString)) : visited;
    return SchemaTreeNode::makeDeferred(
        std::move(fields), std::make_unique<DeferredChildren>(tree, std::move(resolved.schema), std::move(path), depth + 1));
}

std::vector<SchemaTreeNode::Ptr> SchemaRefResolver::childrenIn(const std::shared_ptr<Tree>& tree,
                                                               const SchemaAdapter& schema, const VisitedPath& visited,
                                                               int depth) const
{
    return nodesOf(tree, childPlans(schema, visited), visited, depth);
}

std::vector<SchemaRefResolver::ChildPlan> SchemaRefResolver::childPlans(const SchemaAdapter& schema,
                                                                        const VisitedPath& visited) const
{
    if (auto members = schema.allOf())
        return compositionPlans(*members, CompositionType::allOf, schema, visited);
    if (auto members = schema.anyOf())
        return compositionPlans(*members, CompositionType::anyOf, schema, visited);
    if (auto members = schema.oneOf())
        return compositionPlans(*members, CompositionType::oneOf, schema, visited);

    std::vector<ChildPlan> plans;
    auto properties = schema.properties();
    if (!properties) {
        if (auto items = schema.items())
            plans.push_back({QStringLiteral("items"), std::move(*items), false});
        return plans;
    }
    const std::vector<std::string> required = schema.requiredProperties().value_or(std::vector<std::string>());
    const std::set<std::string_view> requiredSet(required.begin(), required.end());
    plans.reserve(properties->size() + 1);
    for (SchemaAdapter::Property& property : *properties) {
        const bool isRequired = requiredSet.count(property.name) > 0;
        plans.push_back({text(property.name), std::move(property.schema), isRequired});
    }
    if (auto additional = schema.additionalPropertiesSchema())
        plans.push_back({QStringLiteral("[additional]"), std::move(*additional), false});
    return plans;
}

std::vector<SchemaRefResolver::ChildPlan>
SchemaRefResolver::compositionPlans(const std::vector<RefOrValue<SchemaAdapter>>& members, CompositionType kind,
                                    const SchemaAdapter& parent, const VisitedPath& visited) const
{
    std::vector<ChildPlan> plans;
    if (mode == Mode::resolved && kind == CompositionType::allOf) {
        MergedAllOf merged = mergeAllOf(members, visited);
        std::set<std::string_view> names;
        plans.reserve(merged.properties.size());
        for (SchemaAdapter::Property& property : merged.properties) {
            names.insert(property.name);
            const bool isRequired = std::binary_search(merged.required.begin(), merged.required.end(), property.name);
            plans.push_back({text(property.name), std::move(property.schema), isRequired});
        }
        if (auto own = parent.properties()) {
            const std::vector<std::string> ownRequired = parent.requiredProperties().value_or(std::vector<std::string>());
            for (SchemaAdapter::Property& property : *own) {
                if (names.count(property.name))
                    continue;
                const bool isRequired =
                    std::find(ownRequired.begin(), ownRequired.end(), property.name) != ownRequired.end();
                plans.push_back({text(property.name), std::move(property.schema), isRequired});
            }
        }
        return plans;
    }
    const QString prefix = text(rawValue(kind)) + QLatin1Char('[');
    plans.reserve(members.size());
    for (std::size_t index = 0; index < members.size(); ++index)
        plans.push_back({prefix + QString::number(index) + QLatin1Char(']'), members[index], false});
    return plans;
}

SchemaRefResolver::MergedAllOf SchemaRefResolver::mergeAllOf(const std::vector<RefOrValue<SchemaAdapter>>& members,
                                                             const VisitedPath& visited) const
{
    // Later members' properties replace earlier ones of the same name and move to the end: entries are
    // emptied in place and the list is closed up once at the end.
    std::vector<std::optional<SchemaAdapter::Property>> entries;
    std::unordered_map<std::string, std::size_t> position;
    std::set<std::string> required;
    std::vector<std::string_view> mergedRefs;

    for (const RefOrValue<SchemaAdapter>& member : members) {
        std::shared_ptr<const SchemaAdapter> schema = member.sharedInlineValue();
        if (const VoziZazIreCore::Reference* reference = member.referenceValue()) {
            const std::string& ref = reference->ref;
            if (!isLocal(ref) || visited.contains(ref)
                || std::find(mergedRefs.begin(), mergedRefs.end(), ref) != mergedRefs.end())
                continue;
            mergedRefs.push_back(ref);
            if (documentAdapter)
                schema = documentAdapter->resolveSchema(*reference);
        }
        if (!schema)
            continue;
        if (auto properties = schema->properties()) {
            for (SchemaAdapter::Property& property : *properties) {
                auto [place, fresh] = position.try_emplace(property.name, entries.size());
                if (!fresh) {
                    entries[place->second].reset();
                    place->second = entries.size();
                }
                entries.emplace_back(std::move(property));
            }
        }
        if (auto names = schema->requiredProperties())
            required.insert(names->begin(), names->end());
    }

    MergedAllOf merged;
    merged.properties.reserve(position.size());
    for (auto& entry : entries) {
        if (entry)
            merged.properties.push_back(std::move(*entry));
    }
    merged.required.assign(required.begin(), required.end());
    return merged;
}

std::vector<SchemaTreeNode::Ptr> SchemaRefResolver::nodesOf(const std::shared_ptr<Tree>& tree,
                                                            std::vector<ChildPlan> plans, const VisitedPath& visited,
                                                            int depth) const
{
    std::vector<Ptr> nodes;
    if (plans.empty())
        return nodes;
    if (static_cast<long long>(tree->made) + static_cast<long long>(plans.size()) > nodeBudget) {
        ++tree->made;
        SchemaTreeNode::Fields fields;
        fields.name = ellipsis();
        fields.typeDescription = ellipsis();
        nodes.push_back(SchemaTreeNode::make(std::move(fields)));
        return nodes;
    }
    nodes.reserve(plans.size());
    for (ChildPlan& plan : plans)
        nodes.push_back(nodeIn(tree, plan.slot, std::move(plan.name), plan.required, visited, depth));
    return nodes;
}

} // namespace Carvex
