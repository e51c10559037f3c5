#pragma once

#include "Carvex/CaretContext/PathComponent.h"

#include <QWidget>

#include <functional>
#include <vector>

class QFrame;
class QHBoxLayout;

namespace Carvex {

// The thin bar above the editor's text that shows where the caret stands in the document's
// structure: "/" at the root, else one flat button per path component with "›" between them.
// A click on a button reports the button's index (its component's place in the whole path).
// Follows the light or dark appearance.
class BreadcrumbBarView : public QWidget {
    Q_OBJECT
public:
    static constexpr int barHeight = 22;
    // The most segments shown; a deeper path shows its last ones after "…".
    static constexpr std::size_t maxShownSegments = 100;

    explicit BreadcrumbBarView(QWidget* parent = nullptr);

    // Called with the clicked segment's index.
    std::function<void(int)> onSegmentClicked;

    // Rebuilds the segments for `path`.
    void update(const std::vector<PathComponent>& path);
    using QWidget::update;

    // The row of segments and separators, in order.
    QWidget* stackView() const { return stackView_; }
    std::vector<QWidget*> arrangedSubviews() const;
    QFrame* separator() const { return separator_; }

public slots:
    void segmentClicked(int tag);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showRootPlaceholder();
    void clearSegments();
    void layoutRow();

    QWidget* stackView_;
    QHBoxLayout* stackLayout_;
    QFrame* separator_;
    std::vector<PathComponent> shownPath_;
};

} // namespace Carvex
