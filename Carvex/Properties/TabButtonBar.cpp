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
    : QWidget(parent), stackView_(new QHBoxLayout(this)), group_(new QButtonGroup(this)) {
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

QSize TabButtonBar::minimumSizeHint() const { return {widthWithPadding(minimumPadding), sizeHint().height()}; }

void TabButtonBar::fitButtons(int width) {
    const int count = static_cast<int>(buttons_.size());
    if (count == 0) {
        return;
    }
    // A narrow place takes the room around the titles first, the same from each button.
    const int eachPadding = std::clamp((width - widthWithPadding(0)) / count, minimumPadding, padding);
    for (int i = 0; i < count; ++i) {
        buttons_[static_cast<std::size_t>(i)]->setFixedWidth(titleWidths_[static_cast<std::size_t>(i)] + eachPadding);
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
