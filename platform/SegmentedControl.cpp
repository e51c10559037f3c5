#include "platform/SegmentedControl.h"

#include <QHBoxLayout>
#include <QPixmap>
#include <QToolButton>

namespace CarvexPlatform {

SegmentedControl::SegmentedControl(int segmentCount, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (int segment = 0; segment < segmentCount; ++segment) {
        auto* button = new QToolButton(this);
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(QSize(18, 18));
        button->setMinimumWidth(34);
        connect(button, &QToolButton::clicked, this, [this, segment] {
            selectedSegment_ = segment;
            emit activated(segment);
        });
        layout->addWidget(button);
        buttons_.push_back(button);
    }
}

QToolButton* SegmentedControl::button(int segment) const {
    return segment >= 0 && segment < segmentCount() ? buttons_[static_cast<std::size_t>(segment)] : nullptr;
}

void SegmentedControl::setImage(int segment, const QImage& image) {
    if (QToolButton* target = button(segment)) {
        target->setIcon(QIcon(QPixmap::fromImage(image)));
        target->setAccessibleName(image.text(QStringLiteral("Description")));
    }
}

void SegmentedControl::setToolTip(int segment, const QString& toolTip) {
    if (QToolButton* target = button(segment)) {
        target->setToolTip(toolTip);
    }
}

QString SegmentedControl::toolTip(int segment) const {
    const QToolButton* target = button(segment);
    return target ? target->toolTip() : QString();
}

void SegmentedControl::setEnabled(int segment, bool enabled) {
    if (QToolButton* target = button(segment)) {
        target->setEnabled(enabled);
    }
}

bool SegmentedControl::isEnabled(int segment) const {
    const QToolButton* target = button(segment);
    return target && target->isEnabled();
}

void SegmentedControl::performClick(int segment) {
    QToolButton* target = button(segment);
    if (target && target->isEnabled()) {
        target->click();
    }
}

}  // namespace CarvexPlatform
