#pragma once

#include "Carvex/ModelAdapters/CompositionType.h"
#include "Carvex/ModelAdapters/SchemaNodeBadge.h"
#include "kit/core/CompactOptional.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace Carvex {

// One node of a schema tree as the Schema tab shows it. A node's fields are fixed when it is made; it
// owns its children and refers to its parent weakly, so a tree is owned from the root down.
//
// Children may be made on first reading (`children()`): a node made with a child source keeps it until
// then, so showing the top of a large tree makes only the nodes read. Main thread only.
class SchemaTreeNode : public std::enable_shared_from_this<SchemaTreeNode> {
public:
    using Ptr = std::shared_ptr<const SchemaTreeNode>;

    // Everything of a node but its children and parent.
    struct Fields {
        QString name;
        QString typeDescription;
        std::optional<QString> format;
        std::optional<QString> schemaDescription;
        SchemaNodeBadges badges;
        std::optional<CompositionType> compositionType;
        std::optional<QString> refString;
        std::optional<int64_t> sourceLine;
        bool isCircularRef = false;
        bool isExternalRef = false;
        std::optional<QStringList> enumValues;
        std::optional<QString> defaultValue;
    };

    // Makes the children of a node when they are first read; asked at most once.
    class ChildSource {
    public:
        virtual ~ChildSource() = default;
        virtual std::vector<Ptr> makeChildren() = 0;
    };

    // A node with the given children, each of which gets the new node as parent.
    static Ptr make(Fields fields, std::vector<Ptr> children = {});
    // A node whose children `source` makes when they are first read.
    static Ptr makeDeferred(Fields fields, std::unique_ptr<ChildSource> source);

    SchemaTreeNode(const SchemaTreeNode&) = delete;
    SchemaTreeNode& operator=(const SchemaTreeNode&) = delete;
    // Releases the subtree with a stack of its own, whatever its depth.
    ~SchemaTreeNode();

    const QString& name() const noexcept { return name_; }
    const QString& typeDescription() const noexcept { return typeDescription_; }
    std::optional<QString> format() const { return format_.toOptional(); }
    std::optional<QString> schemaDescription() const { return schemaDescription_.toOptional(); }
    SchemaNodeBadges badges() const noexcept { return badges_; }
    std::optional<CompositionType> compositionType() const noexcept { return compositionType_; }
    std::optional<QString> refString() const { return refString_.toOptional(); }
    std::optional<int64_t> sourceLine() const noexcept { return sourceLine_; }
    bool isCircularRef() const noexcept { return isCircularRef_; }
    bool isExternalRef() const noexcept { return isExternalRef_; }
    std::optional<QStringList> enumValues() const { return enumValues_.toOptional(); }
    std::optional<QString> defaultValue() const { return defaultValue_.toOptional(); }

    // In display order; made on the first call when the node was made with a child source.
    const std::vector<Ptr>& children() const;
    // Whether the children exist already (reading them would make nothing).
    bool hasMadeChildren() const noexcept { return !pending_; }
    // Null for a root, or once the parent is gone.
    Ptr parent() const { return parent_.lock(); }

private:
    struct Token {};

public:
    SchemaTreeNode(Token, Fields&& fields);

private:
    void adopt(const std::vector<Ptr>& children) const;

    QString name_;
    QString typeDescription_;
    VoziZazIreCore::CompactOptional<QString> format_;
    VoziZazIreCore::CompactOptional<QString> schemaDescription_;
    VoziZazIreCore::CompactOptional<QString> refString_;
    VoziZazIreCore::CompactOptional<QStringList> enumValues_;
    VoziZazIreCore::CompactOptional<QString> defaultValue_;
    std::optional<int64_t> sourceLine_;
    SchemaNodeBadges badges_;
    std::optional<CompositionType> compositionType_;
    bool isCircularRef_ = false;
    bool isExternalRef_ = false;
    mutable std::vector<Ptr> children_;
    mutable std::unique_ptr<ChildSource> pending_;
    mutable std::weak_ptr<const SchemaTreeNode> parent_;
};

} // namespace Carvex
