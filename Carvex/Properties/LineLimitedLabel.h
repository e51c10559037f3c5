#pragma once

#include <QLabel>

namespace Carvex {

// A wrapping plain-text label of at most `maximumLines` lines at its width: a text that needs more
// ends its last line with an ellipsis. `fullText()` stays the whole text, which is also the tooltip
// while it is cut. Main thread only.
class LineLimitedLabel : public QLabel {
    Q_OBJECT

public:
    explicit LineLimitedLabel(int maximumLines, QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return fullText_; }
    int maximumLines() const { return maximumLines_; }

    // The text as shown at `width` (the contents' width): the whole text when it fits in the lines.
    QString shownText(int width) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refit();

    int maximumLines_;
    QString fullText_;
};

}  // namespace Carvex
