#pragma once

#include "Carvex/ModelAdapters/SchemaTreeNode.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QStyledItemDelegate>

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QTextDocument;

namespace Carvex {

class DescriptionDocument;
class SchemaTreeModel;

// Draws the rows of the schema outline, one `SchemaTreeNode` each, without a widget per row: on one line
// the name, the type and format, the reference marker, the badges and a "Reveal in Editor" button, and the
// node's description below that line. Row heights are measured per node and outline width and kept until
// the width changes. Main thread only.
class SchemaTreeCellView : public QStyledItemDelegate {
    Q_OBJECT

public:
    // One badge as the row shows it.
    struct Badge {
        QString text;
        QColor color;
        friend bool operator==(const Badge&, const Badge&) = default;
    };

    // What a row shows, worked out from its node by `configure`.
    struct Content {
        QString name;
        QString typeText;               // empty: no type is shown
        QString refText;                // empty: no reference marker is shown
        QColor refColor;
        std::vector<Badge> badges;      // ordered by raw value
        std::optional<QString> description;
        std::optional<int64_t> sourceLine; // none: no button
    };

    // Where the pieces of a row go, in the row's coordinates.
    struct Layout {
        QRectF name;
        QRectF type;
        QRectF ref;
        std::vector<QRectF> badges;
        QRectF revealButton;            // empty without a source line
        QRectF description;             // empty without a description
    };

    static constexpr qreal indentationPerLevel = 16;
    static constexpr int plainRowHeight = 24;
    static constexpr qreal narrowestDescription = 100;

    explicit SchemaTreeCellView(QObject* parent = nullptr);

    // Works out what a row shows for `node`; replaces everything an earlier node left.
    void configure(const SchemaTreeNode& node);
    const Content& content() const noexcept { return content_; }
    static Content contentOf(const SchemaTreeNode& node);

    // Where the pieces of `content` go in a row of `rect`.
    Layout layout(const Content& content, const QRectF& rect) const;

    // What hovering a row of `rect` shows: its name, type and marker whole when the row cuts any of
    // them, else nothing.
    QString toolTipText(const Content& content, const QRectF& rect) const;

    // Called with the line of a row whose "Reveal in Editor" was pressed.
    std::function<void(int64_t)> onRevealInEditor;
    // The button's action for the configured row: calls `onRevealInEditor` when the row has a line.
    void revealInEditorClicked() const;

    // The outline's width; row heights measured for another width are measured again.
    void setOutlineWidth(qreal width);
    qreal outlineWidth() const noexcept { return outlineWidth_; }
    // The width the description of a row at `level` is laid out in.
    qreal descriptionWidth(int level) const;
    // A row's height: 24, or the description's height at its width plus the first line and a margin.
    int rowHeight(const SchemaTreeNode& node, int level) const;
    // How many descriptions were measured (each once per node and width).
    int measurements() const noexcept { return measurements_; }
    // The prepared text of a description that holds HTML, as the Description tab reads it; null for a
    // plain one (measured and drawn as it is) or a node without description. Kept for the rows last used.
    QTextDocument* richDescription(const SchemaTreeNode& node) const;
    static constexpr std::size_t preparedDescriptionLimit = 64;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    struct MeasuredHeight {
        std::weak_ptr<const SchemaTreeNode> node;
        qreal width = -1;
        int height = plainRowHeight;
    };

    struct PreparedDescription {
        const SchemaTreeNode* key = nullptr;
        std::weak_ptr<const SchemaTreeNode> node;
        std::shared_ptr<DescriptionDocument> document; // null: a plain description
    };

    const SchemaTreeNode* nodeOf(const QModelIndex& index) const;
    int levelOf(const QModelIndex& index) const;

    QFont nameFont_;
    QFont typeFont_;
    QFont badgeFont_;
    QFont buttonFont_;
    QFont descriptionFont_;
    Content content_;
    qreal outlineWidth_ = 0;
    mutable std::unordered_map<const SchemaTreeNode*, MeasuredHeight> heights_;
    mutable int measurements_ = 0;
    // The descriptions last prepared, the most recent first.
    mutable std::list<PreparedDescription> prepared_;
    mutable std::unordered_map<const SchemaTreeNode*, std::list<PreparedDescription>::iterator> preparedIndex_;
};

} // namespace Carvex
