#pragma once

#include <QFont>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

class QButtonGroup;
class QHBoxLayout;
class QToolButton;

namespace Carvex {

// A row of flat text buttons of which exactly one is selected, coloured with the colour theme's
// tab keys for the current appearance (again whenever the appearance changes). Each button is 16
// points wider than its title; neighbours are 2 points apart. Given less room, the buttons give up
// the room around their titles, the same from each; with still less, the longest titles are cut
// with an ellipsis (and show whole as the button's tooltip) so that the buttons never overlap. A click selects its button and then
// tells `onTabSelected`; setting `selectedIndex` from code tells nobody. Main thread only.
class TabButtonBar : public QWidget {
    Q_OBJECT

public:
    TabButtonBar(const QStringList& titles, const QFont& font, QWidget* parent = nullptr);

    std::function<void(int)> onTabSelected;

    int selectedIndex() const { return selectedIndex_; }
    // Taken only for a valid index; other values leave the selection (and the colours) as they are.
    void setSelectedIndex(int index);

    const std::vector<QToolButton*>& buttons() const { return buttons_; }

    // The buttons' action: selects the button at `index` and tells `onTabSelected`.
    void buttonClicked(int index);
    // Recolours every button from the theme for the current appearance.
    void updateButtonStates();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    static constexpr int padding = 16;
    static constexpr int minimumPadding = 4;
    static constexpr int spacing = 2;

    QToolButton* makeButton(const QString& title, const QFont& font, int tag);
    // The bar's width with `eachPadding` beside each title.
    int widthWithPadding(int eachPadding) const;
    // Sets each button's width (and title) for a bar `width` wide.
    void fitButtons(int width);

    QStringList titles_;
    QFont font_;

    int selectedIndex_ = 0;
    std::vector<QToolButton*> buttons_;
    std::vector<int> titleWidths_;
    QHBoxLayout* stackView_ = nullptr;
    QButtonGroup* group_ = nullptr;
};

}  // namespace Carvex
