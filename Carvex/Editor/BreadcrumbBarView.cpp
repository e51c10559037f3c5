#include "Carvex/Editor/BreadcrumbBarView.h"

#include "platform/Appearance.h"
#include "platform/SystemColor.h"

#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace Carvex {

namespace {

using CarvexPlatform::SystemColor;

QFont systemFont13()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(13);
    return font;
}

void setTextColor(QWidget* widget, SystemColor color)
{
    QPalette palette = widget->palette();
    const QColor value = CarvexPlatform::systemColor(color);
    palette.setColor(QPalette::WindowText, value);
    palette.setColor(QPalette::ButtonText, value);
    widget->setPalette(palette);
}

} // namespace

BreadcrumbBarView::BreadcrumbBarView(QWidget* parent)
    : QWidget(parent), stackView_(new QWidget(this)), stackLayout_(new QHBoxLayout(stackView_)),
      separator_(new QFrame(this))
{
    setObjectName(QStringLiteral("BreadcrumbBar"));
    setFixedHeight(barHeight);
    stackLayout_->setSpacing(2);
    stackLayout_->setContentsMargins(12, 0, 12, 0);
    stackLayout_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    separator_->setFrameShape(QFrame::HLine);
    separator_->setFrameShadow(QFrame::Plain);
    separator_->setFixedHeight(1);

    // The row is placed by hand (`layoutRow`): a deep path must neither widen the editor's pane
    // nor hide its own last segments, the ones nearest the caret.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addStretch(1);
    column->addWidget(separator_);

    // Colours are fixed per appearance: rebuild them when it switches.
    connect(&CarvexPlatform::Appearance::shared(), &CarvexPlatform::Appearance::changed, this, [this] {
        setTextColor(separator_, SystemColor::separator);
        update(std::vector<PathComponent>(shownPath_));
        QWidget::update();
    });
    setTextColor(separator_, SystemColor::separator);
    showRootPlaceholder();
    layoutRow();
}

std::vector<QWidget*> BreadcrumbBarView::arrangedSubviews() const
{
    std::vector<QWidget*> views;
    for (int i = 0; i < stackLayout_->count(); ++i) {
        if (QWidget* widget = stackLayout_->itemAt(i)->widget())
            views.push_back(widget);
    }
    return views;
}

void BreadcrumbBarView::clearSegments()
{
    while (QLayoutItem* item = stackLayout_->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
}

void BreadcrumbBarView::showRootPlaceholder()
{
    auto* root = new QLabel(QStringLiteral("/"), stackView_);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(13);
    root->setFont(font);
    setTextColor(root, SystemColor::tertiaryLabel);
    stackLayout_->addWidget(root);
}

void BreadcrumbBarView::update(const std::vector<PathComponent>& path)
{
    clearSegments();
    shownPath_ = path;
    if (path.empty()) {
        showRootPlaceholder();
        layoutRow();
        return;
    }
    // Only the end of a very deep path is shown, after an ellipsis: the start would lie far left of
    // the bar anyway, and thousands of buttons cost every caret move.
    const std::size_t first = path.size() > maxShownSegments ? path.size() - maxShownSegments : 0;
    if (first > 0) {
        auto* ellipsis = new QLabel(QString(QChar(0x2026)), stackView_);
        ellipsis->setFont(systemFont13());
        setTextColor(ellipsis, SystemColor::secondaryLabel);
        stackLayout_->addWidget(ellipsis);
    }
    for (std::size_t i = first; i < path.size(); ++i) {
        if (i > 0) {
            auto* chevron = new QLabel(QString(QChar(0x203A)), stackView_);
            chevron->setFont(systemFont13());
            setTextColor(chevron, SystemColor::systemBlue);
            stackLayout_->addWidget(chevron);
        }
        auto* button = new QToolButton(stackView_);
        button->setText(path[i].text());
        button->setAutoRaise(true);
        button->setFont(systemFont13());
        button->setFocusPolicy(Qt::NoFocus);
        button->setAttribute(Qt::WA_Hover);
        button->setProperty("tag", int(i));
        setTextColor(button, SystemColor::secondaryLabel);
        connect(button, &QToolButton::clicked, this, [this, tag = int(i)] { segmentClicked(tag); });
        stackLayout_->addWidget(button);
    }
    layoutRow();
}

void BreadcrumbBarView::layoutRow()
{
    // As wide as the bar, or as the row needs; a row too wide ends at the bar's right edge.
    const int rowHeight = std::max(0, height() - separator_->height());
    // Summed from the views' own hints: the layout's hint leaves out views not shown yet, and
    // views added to a shown bar are shown only on the next turn of the event loop.
    const QMargins margins = stackLayout_->contentsMargins();
    int needed = margins.left() + margins.right();
    const std::vector<QWidget*> views = arrangedSubviews();
    for (QWidget* view : views)
        needed += view->sizeHint().width();
    if (!views.empty())
        needed += stackLayout_->spacing() * int(views.size() - 1);
    const int width = std::max(this->width(), needed);
    stackView_->setGeometry(this->width() - width, 0, width, rowHeight);
}

void BreadcrumbBarView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutRow();
}

void BreadcrumbBarView::segmentClicked(int tag)
{
    if (onSegmentClicked)
        onSegmentClicked(tag);
}

void BreadcrumbBarView::paintEvent(QPaintEvent* event)
{
    (void)event;
    QPainter painter(this);
    painter.fillRect(rect(), CarvexPlatform::systemColor(SystemColor::windowBackground));
}

} // namespace Carvex
