#pragma once

#include "Carvex/ModelAdapters/OperationID.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "Carvex/ModelAdapters/SchemaRefResolver.h"
#include "Carvex/ModelAdapters/SchemaTreeBuilder.h"

#include <QString>

#include <functional>
#include <optional>
#include <unordered_map>

namespace Carvex {

// The schema trees a Schema tab has built, by operation, media type, mode and source. The trees of one
// parsed model only: the cache remembers the model its trees came from and forgets them all when it is
// used with another, so an edited document never shows a tree of its earlier text. Main thread only.
class SchemaTreeCache {
public:
    // The request body, or a response by its status-code text ("200", "default").
    class SchemaSource {
    public:
        enum class Kind { response, requestBody };

        static SchemaSource response(QString statusCode) { return SchemaSource(Kind::response, std::move(statusCode)); }
        static SchemaSource requestBody() { return SchemaSource(Kind::requestBody, QString()); }

        Kind kind() const noexcept { return kind_; }
        // The status code of a response; empty for the request body.
        const QString& statusCode() const noexcept { return statusCode_; }
        std::size_t hash() const noexcept;

        friend bool operator==(const SchemaSource&, const SchemaSource&) = default;

    private:
        SchemaSource(Kind kind, QString statusCode) : kind_(kind), statusCode_(std::move(statusCode)) {}
        Kind kind_;
        QString statusCode_;
    };

    struct CacheKey {
        OperationID operationID;
        QString contentType;
        SchemaRefResolver::Mode mode = SchemaRefResolver::Mode::referenced;
        SchemaSource source = SchemaSource::requestBody();

        // Path, method, media type, mode and source.
        std::size_t hash() const noexcept;
        friend bool operator==(const CacheKey&, const CacheKey&) = default;
    };

    struct CacheKeyHash {
        std::size_t operator()(const CacheKey& key) const noexcept { return key.hash(); }
    };
    using Map = std::unordered_map<CacheKey, SchemaTreeNode::Ptr, CacheKeyHash>;

    // The root stored under `key` for trees of `model`, or null.
    SchemaTreeNode::Ptr find(const CacheKey& key, const ParsedOpenAPIModel& model);
    // Stores a root built from `model` under `key`.
    void store(const CacheKey& key, const ParsedOpenAPIModel& model, SchemaTreeNode::Ptr root);
    // The stored root, or the tree `builder` builds from `slot`, stored under `key` first.
    SchemaTreeNode::Ptr tree(const CacheKey& key, const ParsedOpenAPIModel& model, const SchemaTreeBuilder& builder,
                             const RefOrValue<SchemaAdapter>& slot);

    const Map& cache() const noexcept { return cache_; }
    void removeAll();

private:
    void use(const ParsedOpenAPIModel& model);

    Map cache_;
    std::optional<ParsedOpenAPIModel> model_;
};

} // namespace Carvex

template<>
struct std::hash<Carvex::SchemaTreeCache::CacheKey> {
    std::size_t operator()(const Carvex::SchemaTreeCache::CacheKey& key) const noexcept { return key.hash(); }
};
