#include "Carvex/Properties/CollapsibleSectionView.h"

#include "Carvex/Properties/DetailFonts.h"
#include "Carvex/Properties/ElidingLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace Carvex {

CollapsibleSectionView::CollapsibleSectionView(const QString& title, bool collapsed, QWidget* parent) : QWidget(parent) {
    disclosureButton_ = new QToolButton(this);
    disclosureButton_->setObjectName(QStringLiteral("disclosureButton"));
    disclosureButton_->setCheckable(true);
    disclosureButton_->setChecked(true);
    disclosureButton_->setAutoRaise(true);
    disclosureButton_->setArrowType(Qt::DownArrow);
    disclosureButton_->setFixedSize(16, 16);
    disclosureButton_->setFocusPolicy(Qt::NoFocus);
    connect(disclosureButton_, &QToolButton::clicked, this, [this] { toggleCollapse(); });

    // A long title (a response's description) is cut, so that the section fits a narrow pane.
    auto* titleLabel = new ElidingLabel(title);
    titleLabel->setFont(DetailFonts::system(12, QFont::DemiBold));
    DetailFonts::setTextColor(titleLabel, CarvexPlatform::SystemColor::label);
    titleLabel_ = titleLabel;

    auto* header = new QHBoxLayout();
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(4);
    header->addWidget(disclosureButton_, 0, Qt::AlignVCenter);
    header->addWidget(titleLabel_, 1, Qt::AlignVCenter);

    contentView_ = new QWidget(this);
    contentStack_ = new QVBoxLayout(contentView_);
    contentStack_->setContentsMargins(16, 0, 0, 0);
    contentStack_->setSpacing(12);
    // No alignment: the rows take the section's width (descriptions wrap at it), and the section is
    // exactly as tall as they need at that width.

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(4);
    outer->addLayout(header);
    outer->addWidget(contentView_);

    if (collapsed) {
        setCollapsed(true, false);
    }
}

void CollapsibleSectionView::setCollapsed(bool collapsed, bool) {
    // The fold shows at once; there is nothing to wait for.
    isCollapsed_ = collapsed;
    {
        const QSignalBlocker blocker(disclosureButton_);
        disclosureButton_->setChecked(!collapsed);
    }
    disclosureButton_->setArrowType(collapsed ? Qt::RightArrow : Qt::DownArrow);
    if (!collapsed) {
        buildContentIfNeeded();
    }
    contentView_->setHidden(collapsed);
}

void CollapsibleSectionView::toggleCollapse() { setCollapsed(!disclosureButton_->isChecked(), true); }

void CollapsibleSectionView::setContentBuilder(std::function<void(QVBoxLayout&)> builder) {
    contentBuilder_ = std::move(builder);
    if (!isCollapsed_) {
        buildContentIfNeeded();
    }
}

void CollapsibleSectionView::buildContentIfNeeded() {
    if (contentBuilder_) {
        auto builder = std::move(contentBuilder_);
        contentBuilder_ = nullptr;
        builder(*contentStack_);
    }
}

}  // namespace Carvex
