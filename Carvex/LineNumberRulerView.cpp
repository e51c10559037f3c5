#include "Carvex/LineNumberRulerView.h"

#include "Carvex/EditorTextView.h"
#include "platform/SystemColor.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace Carvex {

using namespace std::chrono_literals;

LineNumberRulerView* LineNumberRulerView::installLineNumberRuler(EditorTextView& textView) {
    if (textView.lineNumberRuler() != nullptr) {
        return textView.lineNumberRuler();
    }
    auto* ruler = new LineNumberRulerView(textView);
    textView.setLineNumberRuler(ruler);
    textView.setLeftViewportMargin(ruleThickness);
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
    connect(&textView, &EditorTextView::textDidChange, this, &LineNumberRulerView::refreshDisplay);
    connect(&textView, &QPlainTextEdit::blockCountChanged, this,
            &LineNumberRulerView::refreshDisplay);
    connect(&textView, &EditorTextView::loadFinished, this, &LineNumberRulerView::refreshDisplay);
}

void LineNumberRulerView::refreshDisplay() {
    ++refreshCount_;
    update();
}

void LineNumberRulerView::scrolled() {
    scrollRefresh_.schedule([this] { refreshDisplay(); });
}

void LineNumberRulerView::updateGeometryFromView() {
    const QRect contents = textView_.contentsRect();
    setGeometry(QRect(contents.left(), contents.top(), ruleThickness, contents.height()));
    refreshDisplay();
}

std::vector<LineNumberRulerView::Label> LineNumberRulerView::visibleLabels() const {
    std::vector<Label> labels;
    QTextBlock block = textView_.firstVisibleTextBlock();
    if (!block.isValid()) {
        return labels;
    }
    // The viewport starts at the ruler's top, so fragment tops need no conversion.
    const int height = textView_.viewport()->height();
    int number = textView_.lineNumber(block.position()) + 1;
    for (; block.isValid(); block = block.next()) {
        if (!block.isVisible()) {
            continue;
        }
        const QRectF geometry = textView_.blockGeometry(block);
        if (geometry.top() > height) {
            break;
        }
        const QTextLayout* layout = block.layout();
        const int fragments = layout != nullptr ? std::max(1, layout->lineCount()) : 1;
        for (int i = 0; i < fragments; ++i) {
            const qreal top = layout != nullptr && layout->lineCount() > 0
                                  ? geometry.top() + layout->lineAt(i).y()
                                  : geometry.top();
            labels.push_back(Label{i == 0 ? QString::number(number) : QStringLiteral("-"), top});
        }
        ++number;
    }
    return labels;
}

void LineNumberRulerView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), textView_.palette().color(QPalette::Base));
    const QFont labelFont = textView_.font();
    painter.setFont(labelFont);
    painter.setPen(CarvexPlatform::systemColor(CarvexPlatform::SystemColor::systemGray));
    const QFontMetricsF metrics(labelFont);
    for (const Label& label : visibleLabels()) {
        const qreal width = metrics.horizontalAdvance(label.text);
        painter.drawText(QRectF(labelRightEdge - width, label.y, width + 1, metrics.height()),
                         Qt::AlignLeft | Qt::AlignTop, label.text);
    }
}

}  // namespace Carvex
