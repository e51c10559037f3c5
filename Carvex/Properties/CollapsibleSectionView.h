#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QToolButton;
class QVBoxLayout;

namespace Carvex {

// A titled section whose content folds under a disclosure triangle. The fold state, the content's
// visibility and the triangle change together, at once. Content may be given as a builder that
// runs when the section is first unfolded, so a folded section costs only its header. Main thread
// only.
class CollapsibleSectionView : public QWidget {
    Q_OBJECT

public:
    CollapsibleSectionView(const QString& title, bool collapsed, QWidget* parent = nullptr);

    // The layout the owner adds rows to (indented 16 under the title, 12 apart).
    QVBoxLayout* contentStack() const { return contentStack_; }
    QWidget* contentView() const { return contentView_; }
    QToolButton* disclosureButton() const { return disclosureButton_; }
    QLabel* titleLabel() const { return titleLabel_; }

    bool isCollapsed() const { return isCollapsed_; }
    // Folds or unfolds; the triangle follows.
    void setCollapsed(bool collapsed, bool animated = false);
    // The triangle's action.
    void toggleCollapse();

    // Runs `builder` on the content stack when the section is next shown unfolded (at once when it
    // is unfolded now).
    void setContentBuilder(std::function<void(QVBoxLayout&)> builder);

private:
    void buildContentIfNeeded();

    QToolButton* disclosureButton_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QWidget* contentView_ = nullptr;
    QVBoxLayout* contentStack_ = nullptr;
    bool isCollapsed_ = false;
    std::function<void(QVBoxLayout&)> contentBuilder_;
};

}  // namespace Carvex
