#pragma once

#include "platform/Debouncer.h"

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QWidget>
#include <optional>
#include <vector>

namespace Carvex {

class EditorTextView;

// The line-number gutter beside an editor text view: each logical line's number at its first
// line fragment and "-" at each further (wrapped) fragment, labels ending 35 points from the
// left of a 40-point strip. When the largest line number is wider than that leaves room for, the
// strip widens so that no number is cut off (labels then end 5 points from its right edge). Text
// and size changes redraw it at once; scrolling redraws it once per burst (16 ms after the last
// scroll). Main thread only.
class LineNumberRulerView : public QWidget {
    Q_OBJECT
public:
    static constexpr int ruleThickness = 40;
    static constexpr int labelRightEdge = 35;

    // Installs a ruler on `textView` (once; a second call returns the ruler already there).
    static LineNumberRulerView* installLineNumberRuler(EditorTextView& textView);

    // The labels as drawn, from the top: each line's number, and a dash for each further fragment
    // of a wrapped line that is on screen.
    struct Label {
        QString text;
        qreal y = 0;  // top of the fragment, in the ruler's coordinates
        bool operator==(const Label&) const = default;
    };
    std::vector<Label> visibleLabels() const;
    // The labels of the last time the ruler was painted: what is on screen.
    const std::vector<Label>& drawnLabels() const { return drawnLabels_; }

    // Redraws now.
    void refreshDisplay();
    // The strip's width for the current line count and font.
    int thickness() const { return thickness_; }
    // Where labels end, from the strip's left edge.
    int labelEnd() const { return thickness_ - (ruleThickness - labelRightEdge); }
    // Follows the text view's size and margins.
    void updateGeometryFromView();
    // How many times the ruler has been asked to redraw.
    int refreshCount() const { return refreshCount_; }

    // The font the ruler was made with (drawing uses the text view's font).
    std::optional<QFont> rulerFont;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    explicit LineNumberRulerView(EditorTextView& textView);
    void scrolled();

    void updateThickness();

    EditorTextView& textView_;
    CarvexPlatform::Debouncer scrollRefresh_;
    int thickness_ = ruleThickness;
    int refreshCount_ = 0;
    std::vector<Label> drawnLabels_;
    // Each label's text shaped once for `labelFont_`: every key repaints the ruler, and shaping
    // the numbers on screen again was a fifth of that repaint.
    QHash<QString, QStaticText> labelTexts_;
    QFont labelFont_;
};

}  // namespace Carvex
