#include "Carvex/TextView/LineNumberRulerView.h"

#include "Carvex/TextView/EditorTextView.h"
#include "platform/SystemColor.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <cmath>

namespace Carvex {

using namespace std::chrono_literals;

LineNumberRulerView* LineNumberRulerView::installLineNumberRuler(EditorTextView& textView) {
    if (textView.lineNumberRuler() != nullptr) {
        return textView.lineNumberRuler();
    }
    auto* ruler = new LineNumberRulerView(textView);
    textView.setLineNumberRuler(ruler);
    ruler->updateThickness();
    ruler->updateGeometryFromView();
    ruler->show();
    return ruler;
}

LineNumberRulerView::LineNumberRulerView(EditorTextView& textView)
    : QWidget(&textView),
      rulerFont(textView.font()),
      textView_(textView),
      scrollRefresh_(16ms, textView.scheduler()) {
    connect(textView.verticalScrollBar(), &QScrollBar::valueChanged, this,
            &LineNumberRulerView::scrolled);
    // Scrolling that follows the caret (Page Down, Ctrl+End, arrows past the edge) moves the
    // scroll bar with its signals blocked; the view reports it only as a vertical update.
    connect(&textView, &QPlainTextEdit::updateRequest, this, [this](const QRect&, int dy) {
        if (dy != 0) {
            scrolled();
        }
    });
    connect(&textView, &EditorTextView::textDidChange, this, &LineNumberRulerView::refreshDisplay);
    connect(&textView, &QPlainTextEdit::blockCountChanged, this,
            &LineNumberRulerView::refreshDisplay);
    connect(&textView, &EditorTextView::loadFinished, this, &LineNumberRulerView::refreshDisplay);
}

void LineNumberRulerView::refreshDisplay() {
    ++refreshCount_;
    updateThickness();
    update();
}

void LineNumberRulerView::updateThickness() {
    // The widest label is the number of the last line (the view's text may be longer than its
    // document while a large text loads).
    const int lines = textView_.lineCount();
    const QFontMetricsF metrics(textView_.font());
    const int needed = static_cast<int>(std::ceil(metrics.horizontalAdvance(QString::number(lines)))) +
                       (ruleThickness - labelRightEdge) + 2;
    const int thickness = std::max(ruleThickness, needed);
    if (thickness != thickness_ || textView_.leftViewportMargin() != thickness) {
        thickness_ = thickness;
        textView_.setLeftViewportMargin(thickness_);
        updateGeometryFromView();
    }
}

void LineNumberRulerView::scrolled() {
    scrollRefresh_.schedule([this] { refreshDisplay(); });
}

void LineNumberRulerView::updateGeometryFromView() {
    const QRect contents = textView_.contentsRect();
    setGeometry(QRect(contents.left(), contents.top(), thickness_, contents.height()));
    update();
}

std::vector<LineNumberRulerView::Label> LineNumberRulerView::visibleLabels() const {
    std::vector<Label> labels;
    const auto blocks = textView_.visibleBlocks();
    if (blocks.empty()) {
        return labels;
    }
    // The viewport starts at the ruler's top, so fragment tops need no conversion.
    const qreal height = textView_.viewport()->height();
    int number = textView_.lineNumber(blocks.front().block.position()) + 1;
    for (const EditorTextView::VisibleBlock& visible : blocks) {
        const QTextLayout* layout = visible.block.layout();
        const int fragments = layout != nullptr && !visible.layingOut ? layout->lineCount() : 0;
        if (fragments == 0) {
            labels.push_back(Label{QString::number(number++), visible.geometry.top()});
            continue;
        }
        // The line's number, even above the top when the line begins there, then only the
        // fragments on screen: a long line has tens of thousands, each label a text to shape and
        // draw. The first of them is the first that ends below the top.
        labels.push_back(Label{QString::number(number++), visible.geometry.top()});
        int low = 1;
        int high = fragments;
        while (low < high) {
            const int middle = (low + high) / 2;
            const QTextLine line = layout->lineAt(middle);
            if (visible.geometry.top() + line.y() + line.height() <= 0) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        for (int i = low; i < fragments; ++i) {
            const qreal top = visible.geometry.top() + layout->lineAt(i).y();
            if (top >= height) {
                break;
            }
            labels.push_back(Label{QStringLiteral("-"), top});
        }
    }
    return labels;
}

void LineNumberRulerView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), textView_.palette().color(QPalette::Base));
    const QFont labelFont = textView_.font();
    painter.setFont(labelFont);
    painter.setPen(CarvexPlatform::systemColor(CarvexPlatform::SystemColor::systemGray));
    drawnLabels_ = visibleLabels();
    // A few screens of numbers (a jump through the text shows new ones).
    constexpr qsizetype keptLabelTexts = 2048;
    if (labelFont != labelFont_ || labelTexts_.size() > keptLabelTexts) {
        labelTexts_.clear();
        labelFont_ = labelFont;
    }
    for (const Label& label : drawnLabels_) {
        auto text = labelTexts_.find(label.text);
        if (text == labelTexts_.end()) {
            QStaticText shaped(label.text);
            shaped.setTextFormat(Qt::PlainText);
            shaped.prepare(QTransform(), labelFont);
            text = labelTexts_.insert(label.text, shaped);
        }
        painter.drawStaticText(QPointF(labelEnd() - text->size().width(), label.y), *text);
    }
}

}  // namespace Carvex
