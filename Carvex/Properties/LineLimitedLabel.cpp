#include "Carvex/Properties/LineLimitedLabel.h"

#include <QStringList>
#include <QTextLayout>

#include <algorithm>

namespace Carvex {

LineLimitedLabel::LineLimitedLabel(int maximumLines, QWidget* parent)
    : QLabel(parent), maximumLines_(std::max(maximumLines, 1)) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

void LineLimitedLabel::setFullText(const QString& text) {
    fullText_ = text;
    refit();
}

QString LineLimitedLabel::shownText(int width) const {
    if (width <= 0 || fullText_.isEmpty()) {
        return fullText_;
    }
    QTextLayout layout(fullText_, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList kept;
    int lastStart = 0;
    int lines = 0;
    bool more = false;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        line.setLineWidth(width);
        if (lines == maximumLines_) {
            more = true;
            break;
        }
        if (lines > 0) {
            kept << fullText_.mid(lastStart, line.textStart() - lastStart).trimmed();
        }
        lastStart = line.textStart();
        ++lines;
    }
    layout.endLayout();
    if (!more) {
        return fullText_;
    }
    // The lines before the last stay as laid out, each ended by a line break so that the label
    // breaks them alike; the rest is cut to what one line holds.
    kept << fontMetrics().elidedText(fullText_.mid(lastStart).simplified(), Qt::ElideRight, width);
    return kept.join(QLatin1Char('\n'));
}

void LineLimitedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    refit();
}

void LineLimitedLabel::refit() {
    const QString shown = shownText(contentsRect().width());
    if (shown != text()) {
        setText(shown);
    }
    setToolTip(shown == fullText_ ? QString() : fullText_);
}

}  // namespace Carvex
