#include "Carvex/Properties/TabButtonBar.h"

#include "Carvex/Syntax/SyntaxThemePreferenceKey.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "platform/Appearance.h"

#include <QButtonGroup>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QToolButton>

#include <cmath>

namespace Carvex {

TabButtonBar::TabButtonBar(const QStringList& titles, const QFont& font, QWidget* parent)
    : QWidget(parent), stackView_(new QHBoxLayout(this)), group_(new QButtonGroup(this)) {
    stackView_->setContentsMargins(0, 0, 0, 0);
    stackView_->setSpacing(2);
    // The bar is exactly as wide as its buttons.
    stackView_->setSizeConstraint(QLayout::SetFixedSize);
    group_->setExclusive(true);
    for (int i = 0; i < titles.size(); ++i) {
        QToolButton* button = makeButton(titles[i], font, i);
        buttons_.push_back(button);
        stackView_->addWidget(button);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
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
    button->setFixedWidth(static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(title))) + 16);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    group_->addButton(button, tag);
    connect(button, &QToolButton::clicked, this, [this, tag] { buttonClicked(tag); });
    return button;
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
