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
// points wider than its title; neighbours are 2 points apart. A click selects its button and then
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

private:
    QToolButton* makeButton(const QString& title, const QFont& font, int tag);

    int selectedIndex_ = 0;
    std::vector<QToolButton*> buttons_;
    QHBoxLayout* stackView_ = nullptr;
    QButtonGroup* group_ = nullptr;
};

}  // namespace Carvex
