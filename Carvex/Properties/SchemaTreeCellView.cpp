#include "Carvex/Properties/SchemaTreeCellView.h"

#include "Carvex/ModelAdapters/SchemaRefResolver.h"
#include "Carvex/Properties/DescriptionDocument.h"
#include "Carvex/Properties/SchemaTreeModel.h"
#include "Carvex/Properties/SelfSizingTextView.h"
#include "platform/SystemColor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace Carvex {

namespace {

using CarvexPlatform::SystemColor;

constexpr qreal leadingInset = 4;
constexpr qreal lineTop = 2;
constexpr qreal lineHeight = 18;
constexpr qreal itemSpacing = 6;
constexpr qreal badgeSpacing = 4;
constexpr qreal buttonPadding = 6;
constexpr qreal descriptionTop = 20;
const char* const revealTitle = "Reveal in Editor";

QFont sized(QFont font, qreal points, QFont::Weight weight)
{
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

QColor badgeColor(SchemaNodeBadge badge)
{
    switch (badge) {
    case SchemaNodeBadge::required: return CarvexPlatform::systemColor(SystemColor::systemRed);
    case SchemaNodeBadge::deprecated: return CarvexPlatform::systemColor(SystemColor::systemOrange);
    case SchemaNodeBadge::nullable: return CarvexPlatform::systemColor(SystemColor::systemPurple);
    case SchemaNodeBadge::readOnly:
    case SchemaNodeBadge::writeOnly: return CarvexPlatform::systemColor(SystemColor::systemGray);
    }
    return CarvexPlatform::systemColor(SystemColor::systemGray);
}

qreal textWidth(const QFont& font, const QString& text)
{
    return text.isEmpty() ? 0 : std::ceil(QFontMetricsF(font).horizontalAdvance(text));
}

} // namespace

SchemaTreeCellView::SchemaTreeCellView(QObject* parent)
    : QStyledItemDelegate(parent)
{
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFont system = QApplication::font();
    nameFont_ = sized(fixed, 12, QFont::DemiBold);
    typeFont_ = sized(fixed, 11, QFont::Normal);
    badgeFont_ = sized(system, 9, QFont::Medium);
    buttonFont_ = sized(system, 11, QFont::Normal);
    descriptionFont_ = sized(system, 10, QFont::Normal);
}

SchemaTreeCellView::Content SchemaTreeCellView::contentOf(const SchemaTreeNode& node)
{
    Content content;
    content.name = node.name();
    content.typeText = node.typeDescription();
    if (const auto format = node.format())
        content.typeText += QStringLiteral(" · ") + *format;

    if (node.isCircularRef()) {
        content.refText = QStringLiteral("↻ circular");
        content.refColor = CarvexPlatform::systemColor(SystemColor::systemOrange);
    } else if (node.isExternalRef()) {
        content.refText = QStringLiteral("↗ external");
        content.refColor = CarvexPlatform::systemColor(SystemColor::systemGray);
    } else if (const auto ref = node.refString()) {
        content.refText = QStringLiteral("→ ") + SchemaRefResolver::lastRefComponent(*ref);
        content.refColor = CarvexPlatform::systemColor(SystemColor::systemPurple);
    }

    std::vector<SchemaNodeBadge> badges = node.badges().values();
    std::sort(badges.begin(), badges.end(),
              [](SchemaNodeBadge a, SchemaNodeBadge b) { return rawValue(a) < rawValue(b); });
    for (SchemaNodeBadge badge : badges)
        content.badges.push_back({QString::fromUtf8(rawValue(badge).data(), qsizetype(rawValue(badge).size())),
                                  badgeColor(badge)});

    if (auto description = node.schemaDescription(); description && !description->isEmpty())
        content.description = std::move(description);
    content.sourceLine = node.sourceLine();
    return content;
}

void SchemaTreeCellView::configure(const SchemaTreeNode& node)
{
    content_ = contentOf(node);
}

void SchemaTreeCellView::revealInEditorClicked() const
{
    if (content_.sourceLine && onRevealInEditor)
        onRevealInEditor(*content_.sourceLine);
}

SchemaTreeCellView::Layout SchemaTreeCellView::layout(const Content& content, const QRectF& rect) const
{
    Layout result;
    const qreal available = std::max<qreal>(0, rect.width() - 2 * leadingInset);

    qreal nameWidth = textWidth(nameFont_, content.name);
    qreal typeWidth = textWidth(typeFont_, content.typeText);
    qreal refWidth = textWidth(typeFont_, content.refText);
    std::vector<qreal> badgeWidths;
    for (const Badge& badge : content.badges)
        badgeWidths.push_back(textWidth(badgeFont_, badge.text));
    const qreal buttonWidth = content.sourceLine ? textWidth(buttonFont_, QString::fromUtf8(revealTitle)) + 2 * buttonPadding : 0;

    // Everything shown, with the spacing between the pieces; the type, then the marker, then the name
    // give way when the row is too narrow.
    std::vector<qreal> pieces = {nameWidth, typeWidth, refWidth};
    qreal badgesWidth = 0;
    for (std::size_t i = 0; i < badgeWidths.size(); ++i)
        badgesWidth += badgeWidths[i] + (i ? badgeSpacing : 0);
    pieces.push_back(badgesWidth);
    pieces.push_back(buttonWidth);
    qreal total = 0;
    int shown = 0;
    for (qreal width : pieces) {
        if (width > 0) {
            total += width;
            ++shown;
        }
    }
    total += std::max(0, shown - 1) * itemSpacing;
    qreal excess = total - available;
    for (qreal* width : {&typeWidth, &refWidth, &nameWidth}) {
        if (excess <= 0)
            break;
        const qreal cut = std::min(excess, *width);
        *width -= cut;
        excess -= cut;
    }

    const qreal top = rect.top() + lineTop;
    qreal x = rect.left() + leadingInset;
    auto place = [&](qreal width) {
        if (width <= 0)
            return QRectF(x, top, 0, lineHeight);
        const QRectF placed(x, top, width, lineHeight);
        x += width + itemSpacing;
        return placed;
    };
    result.name = place(nameWidth);
    result.type = place(typeWidth);
    result.ref = place(refWidth);
    for (qreal width : badgeWidths) {
        result.badges.emplace_back(x, top, width, lineHeight);
        x += width + badgeSpacing;
    }
    if (!badgeWidths.empty())
        x += itemSpacing - badgeSpacing;
    if (content.sourceLine)
        result.revealButton = QRectF(x, top, buttonWidth, lineHeight);
    if (content.description)
        result.description = QRectF(rect.left() + leadingInset, rect.top() + descriptionTop,
                                    std::max<qreal>(0, rect.width() - 2 * leadingInset),
                                    std::max<qreal>(0, rect.height() - 22));
    return result;
}

QString SchemaTreeCellView::toolTipText(const Content& content, const QRectF& rect) const
{
    const Layout placed = layout(content, rect);
    const bool cut = placed.name.width() < textWidth(nameFont_, content.name) ||
                     placed.type.width() < textWidth(typeFont_, content.typeText) ||
                     placed.ref.width() < textWidth(typeFont_, content.refText);
    if (!cut)
        return {};
    QStringList pieces;
    for (const QString& piece : {content.name, content.typeText, content.refText}) {
        if (!piece.isEmpty())
            pieces.append(piece);
    }
    return pieces.join(QLatin1Char(' '));
}

void SchemaTreeCellView::setOutlineWidth(qreal width)
{
    outlineWidth_ = width;
}

qreal SchemaTreeCellView::descriptionWidth(int level) const
{
    return std::max(narrowestDescription, outlineWidth_ - indentationPerLevel * (level + 1) - 8);
}

int SchemaTreeCellView::rowHeight(const SchemaTreeNode& node, int level) const
{
    const auto description = node.schemaDescription();
    if (!description || description->isEmpty())
        return plainRowHeight;
    const qreal width = descriptionWidth(level);
    MeasuredHeight& measured = heights_[&node];
    if (measured.width == width && measured.node.lock().get() == &node)
        return measured.height;
    ++measurements_;
    qreal height = 0;
    if (QTextDocument* document = richDescription(node)) {
        document->setTextWidth(width);
        height = document->size().height();
    } else {
        height = QFontMetricsF(descriptionFont_)
                     .boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, *description)
                     .height();
    }
    measured.node = node.weak_from_this();
    measured.width = width;
    measured.height = int(std::ceil(height + 19 + 4));
    return measured.height;
}

QTextDocument* SchemaTreeCellView::richDescription(const SchemaTreeNode& node) const
{
    const auto found = preparedIndex_.find(&node);
    if (found != preparedIndex_.end()) {
        if (found->second->node.lock().get() == &node) {
            prepared_.splice(prepared_.begin(), prepared_, found->second);
            return prepared_.front().document.get();
        }
        // A new node at the address of a freed one.
        prepared_.erase(found->second);
        preparedIndex_.erase(found);
    }
    const auto description = node.schemaDescription();
    if (!description || description->isEmpty())
        return nullptr;
    PreparedDescription entry;
    entry.key = &node;
    entry.node = node.weak_from_this();
    if (SelfSizingTextView::containsTag(*description)) {
        entry.document = SelfSizingTextView::attributedDescription(*description, descriptionFont_.pointSizeF());
        entry.document->setDocumentMargin(0);
    }
    prepared_.push_front(std::move(entry));
    preparedIndex_[&node] = prepared_.begin();
    if (prepared_.size() > preparedDescriptionLimit) {
        preparedIndex_.erase(prepared_.back().key);
        prepared_.pop_back();
    }
    return prepared_.front().document.get();
}

const SchemaTreeNode* SchemaTreeCellView::nodeOf(const QModelIndex& index) const
{
    if (const auto* model = qobject_cast<const SchemaTreeModel*>(index.model()))
        return model->node(index);
    return nullptr;
}

int SchemaTreeCellView::levelOf(const QModelIndex& index) const
{
    int level = 0;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        ++level;
    return level;
}

QSize SchemaTreeCellView::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const SchemaTreeNode* node = nodeOf(index);
    if (!node)
        return QStyledItemDelegate::sizeHint(option, index);
    return QSize(std::max(0, option.rect.width()), rowHeight(*node, levelOf(index)));
}

void SchemaTreeCellView::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const SchemaTreeNode* node = nodeOf(index);
    QStyleOptionViewItem background(option);
    initStyleOption(&background, index);
    background.text.clear();
    background.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    const QStyle* style = background.widget ? background.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, background.widget);
    if (!node)
        return;

    const Content content = contentOf(*node);
    const Layout placed = layout(content, QRectF(option.rect));
    painter->save();
    // The pieces of the line stand on the name's baseline, whatever their sizes.
    const QFontMetricsF nameMetrics(nameFont_);
    const qreal baseline = placed.name.top() + (placed.name.height() + nameMetrics.ascent() - nameMetrics.descent()) / 2;
    auto draw = [&](const QRectF& rect, const QFont& font, const QColor& color, const QString& text) {
        if (rect.width() <= 0 || text.isEmpty())
            return;
        painter->setFont(font);
        painter->setPen(color);
        const QString shown = QFontMetricsF(font).elidedText(text, Qt::ElideRight, rect.width() + 0.5);
        painter->drawText(QPointF(rect.left(), baseline), shown);
    };
    draw(placed.name, nameFont_, CarvexPlatform::systemColor(SystemColor::label), content.name);
    draw(placed.type, typeFont_, CarvexPlatform::systemColor(SystemColor::systemBlue), content.typeText);
    draw(placed.ref, typeFont_, content.refColor, content.refText);
    for (std::size_t i = 0; i < content.badges.size() && i < placed.badges.size(); ++i)
        draw(placed.badges[i], badgeFont_, content.badges[i].color, content.badges[i].text);
    if (!placed.revealButton.isEmpty()) {
        const QColor secondary = CarvexPlatform::systemColor(SystemColor::secondaryLabel);
        QColor frame = secondary;
        frame.setAlphaF(0.35f);
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(frame);
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(placed.revealButton.adjusted(0.5, 1.5, -0.5, -1.5), 4, 4);
        painter->setFont(buttonFont_);
        painter->setPen(secondary);
        painter->drawText(placed.revealButton, Qt::AlignCenter | Qt::TextSingleLine, QString::fromUtf8(revealTitle));
    }
    if (content.description && !placed.description.isEmpty()) {
        painter->setClipRect(placed.description);
        if (QTextDocument* document = richDescription(*node)) {
            document->setTextWidth(placed.description.width());
            painter->translate(placed.description.topLeft());
            document->drawContents(painter, QRectF(QPointF(0, 0), placed.description.size()));
        } else {
            painter->setFont(descriptionFont_);
            painter->setPen(CarvexPlatform::systemColor(SystemColor::label));
            painter->drawText(placed.description, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, *content.description);
        }
    }
    painter->restore();
}

bool SchemaTreeCellView::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                     const QModelIndex& index)
{
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const SchemaTreeNode* node = nodeOf(index);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (!node || mouse->button() != Qt::LeftButton || !node->sourceLine())
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const Layout placed = layout(contentOf(*node), QRectF(option.rect));
    if (!placed.revealButton.contains(mouse->position()))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    if (type == QEvent::MouseButtonRelease) {
        configure(*node);
        revealInEditorClicked();
    }
    return true;
}

bool SchemaTreeCellView::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                   const QModelIndex& index)
{
    const SchemaTreeNode* node = nodeOf(index);
    if (!event || !view || event->type() != QEvent::ToolTip || !node)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = toolTipText(contentOf(*node), QRectF(option.rect));
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
    return true;
}

} // namespace Carvex
