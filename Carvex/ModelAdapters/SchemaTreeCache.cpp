#include "Carvex/ModelAdapters/SchemaTreeCache.h"

#include <QHash>

namespace Carvex {

namespace {

std::size_t combine(std::size_t seed, std::size_t value) noexcept
{
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

} // namespace

std::size_t SchemaTreeCache::SchemaSource::hash() const noexcept
{
    return combine(static_cast<std::size_t>(kind_), qHash(statusCode_));
}

std::size_t SchemaTreeCache::CacheKey::hash() const noexcept
{
    std::size_t seed = operationID.hash();
    seed = combine(seed, qHash(contentType));
    seed = combine(seed, static_cast<std::size_t>(mode));
    return combine(seed, source.hash());
}

void SchemaTreeCache::use(const ParsedOpenAPIModel& model)
{
    if (model_ && *model_ == model)
        return;
    cache_.clear();
    model_ = model;
}

SchemaTreeNode::Ptr SchemaTreeCache::find(const CacheKey& key, const ParsedOpenAPIModel& model)
{
    use(model);
    const auto found = cache_.find(key);
    return found == cache_.end() ? nullptr : found->second;
}

void SchemaTreeCache::store(const CacheKey& key, const ParsedOpenAPIModel& model, SchemaTreeNode::Ptr root)
{
    use(model);
    cache_.insert_or_assign(key, std::move(root));
}

SchemaTreeNode::Ptr SchemaTreeCache::tree(const CacheKey& key, const ParsedOpenAPIModel& model,
                                          const SchemaTreeBuilder& builder, const RefOrValue<SchemaAdapter>& slot)
{
    if (SchemaTreeNode::Ptr found = find(key, model))
        return found;
    SchemaTreeNode::Ptr root = builder.buildTree(slot);
    cache_.emplace(key, root);
    return root;
}

void SchemaTreeCache::removeAll()
{
    cache_.clear();
    model_.reset();
}

} // namespace Carvex
