#include "Carvex/Properties/TabButtonBar.h"

#include "Carvex/Syntax/SyntaxThemePreferenceKey.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "platform/Appearance.h"

#include <QButtonGroup>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace Carvex {

TabButtonBar::TabButtonBar(const QStringList& titles, const QFont& font, QWidget* parent)
    : QWidget(parent), titles_(titles), font_(font), stackView_(new QHBoxLayout(this)), group_(new QButtonGroup(this)) {
    stackView_->setContentsMargins(0, 0, 0, 0);
    stackView_->setSpacing(spacing);
    group_->setExclusive(true);
    for (int i = 0; i < titles.size(); ++i) {
        QToolButton* button = makeButton(titles[i], font, i);
        buttons_.push_back(button);
        stackView_->addWidget(button);
    }
    // Wider than its buttons (a window of its own), the bar keeps them together at its start.
    stackView_->addStretch(1);
    // As wide as its buttons; narrower only when its place is (see `fitButtons`).
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    connect(&CarvexPlatform::Appearance::shared(), &CarvexPlatform::Appearance::changed, this,
            [this] { updateButtonStates(); });
    updateButtonStates();
}

QToolButton* TabButtonBar::makeButton(const QString& title, const QFont& font, int tag) {
    auto* button = new QToolButton(this);
    button->setText(title);
    button->setAccessibleName(title);  // also while the shown title is cut
    button->setFont(font);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const int titleWidth = static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(title)));
    titleWidths_.push_back(titleWidth);
    button->setFixedWidth(titleWidth + padding);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    group_->addButton(button, tag);
    connect(button, &QToolButton::clicked, this, [this, tag] { buttonClicked(tag); });
    return button;
}

int TabButtonBar::widthWithPadding(int eachPadding) const {
    int width = std::max(0, static_cast<int>(titleWidths_.size()) - 1) * spacing;
    for (int titleWidth : titleWidths_) {
        width += titleWidth + eachPadding;
    }
    return width;
}

QSize TabButtonBar::sizeHint() const {
    int height = 0;
    for (const QToolButton* button : buttons_) {
        height = std::max(height, button->sizeHint().height());
    }
    return {widthWithPadding(padding), height};
}

QSize TabButtonBar::minimumSizeHint() const {
    // An ellipsis per button: narrower places cut the titles rather than push the buttons over each other.
    const int ellipsis = static_cast<int>(std::ceil(QFontMetricsF(font_).horizontalAdvance(QChar(0x2026))));
    const int count = static_cast<int>(titleWidths_.size());
    int width = std::max(0, count - 1) * spacing;
    for (int titleWidth : titleWidths_) {
        width += std::min(titleWidth, ellipsis) + minimumPadding;
    }
    return {std::min(width, widthWithPadding(minimumPadding)), sizeHint().height()};
}

void TabButtonBar::fitButtons(int width) {
    const int count = static_cast<int>(buttons_.size());
    if (count == 0) {
        return;
    }
    // A narrow place takes the room around the titles first, the same from each button.
    const int eachPadding = std::clamp((width - widthWithPadding(0)) / count, minimumPadding, padding);
    // Then the longest titles are cut, all to the same width, until the buttons fit.
    const int room = width - std::max(0, count - 1) * spacing - count * minimumPadding;
    int cap = *std::max_element(titleWidths_.begin(), titleWidths_.end());
    const auto needed = [&](int limit) {
        int sum = 0;
        for (int titleWidth : titleWidths_) {
            sum += std::min(titleWidth, limit);
        }
        return sum;
    };
    while (cap > 0 && needed(cap) > room) {
        --cap;
    }
    const QFontMetrics metrics(font_);
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        QToolButton* button = buttons_[at];
        if (titleWidths_[at] <= cap) {
            button->setText(titles_[i]);
            button->setToolTip(QString());
            button->setFixedWidth(titleWidths_[at] + eachPadding);
        } else {
            const QString cut = metrics.elidedText(titles_[i], Qt::ElideRight, cap);
            button->setText(cut);
            button->setToolTip(cut == titles_[i] ? QString() : titles_[i]);
            button->setFixedWidth(cap + minimumPadding);
        }
    }
}

void TabButtonBar::resizeEvent(QResizeEvent* event) {
    fitButtons(width());
    QWidget::resizeEvent(event);
}

void TabButtonBar::setSelectedIndex(int index) {
    if (index < 0 || index >= static_cast<int>(buttons_.size())) {
        return;
    }
    selectedIndex_ = index;
    updateButtonStates();
}

void TabButtonBar::buttonClicked(int index) {
    if (index < 0 || index >= static_cast<int>(buttons_.size())) {
        return;
    }
    selectedIndex_ = index;
    updateButtonStates();
    if (onTabSelected) {
        onTabSelected(index);
    }
}

void TabButtonBar::updateButtonStates() {
    const bool isDark = CarvexPlatform::Appearance::shared().isDark();
    const auto& theme = SyntaxThemePreferencesStore::shared();
    const QColor activeBackground = theme.color(SyntaxThemePreferenceKey::tabButtonActiveBackground, isDark);
    const QColor activeText = theme.color(SyntaxThemePreferenceKey::tabButtonActiveText, isDark);
    const QColor inactiveText = theme.color(SyntaxThemePreferenceKey::tabButtonInactiveText, isDark);
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) {
        QToolButton* button = buttons_[static_cast<std::size_t>(i)];
        const bool selected = i == selectedIndex_;
        button->setChecked(selected);
        const QColor background = selected ? activeBackground : QColor(Qt::transparent);
        const QColor text = selected ? activeText : inactiveText;
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, background);
        palette.setColor(QPalette::ButtonText, text);
        button->setPalette(palette);
        // The style's own checked and hover looks would hide the theme's colours.
        button->setStyleSheet(QStringLiteral("QToolButton { border: none; border-radius: 0px; padding: 2px 0px;"
                                             " background-color: %1; color: %2; }")
                                  .arg(background.name(QColor::HexArgb), text.name(QColor::HexArgb)));
    }
}

}  // namespace Carvex
