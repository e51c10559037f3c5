#pragma once

#include <QPlainTextDocumentLayout>
#include <QRectF>
#include <vector>

class QTextLayout;

namespace Carvex {

// The editor's plain-text layout. The toolkit finds a block's rectangle by walking all of its
// lines, and asks for it several times on every paint (a caret blink included): a long wrapped
// block (a minified file, a long string: a hundred thousand lines and more) would cost tens of
// milliseconds a time. This layout remembers the rectangle of a block of many lines until the
// block is laid out again or the document changes.
class EditorDocumentLayout : public QPlainTextDocumentLayout {
    Q_OBJECT
public:
    explicit EditorDocumentLayout(QTextDocument* document);

    QRectF blockBoundingRect(const QTextBlock& block) const override;

    // How often blocks were laid out or a block of many lines walked for its rectangle (for tests
    // of idle work).
    int workCount() const { return work_; }

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    // What the remembered rectangle of a block was found from.
    struct Kept {
        const QTextLayout* layout = nullptr;
        int lineCount = 0;
        qreal lineWidth = 0;
        QRectF lastLine;
        bool last = false;
        qreal margin = 0;
        QRectF rect;
    };
    void forget() { kept_.clear(); }

    mutable std::vector<Kept> kept_;
    mutable int work_ = 0;
};

}  // namespace Carvex
