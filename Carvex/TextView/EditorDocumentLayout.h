#pragma once

#include <QPlainTextDocumentLayout>
#include <QRectF>
#include <QSet>
#include <QElapsedTimer>
#include <QTextBlock>
#include <functional>
#include <optional>
#include <vector>

class QTextLayout;

namespace Carvex {

// The editor's plain-text layout. The toolkit finds a block's rectangle by walking all of its
// lines, and asks for it several times on every paint (a caret blink included): a long wrapped
// block (a minified file, a long string: a hundred thousand lines and more) would cost tens of
// milliseconds a time. This layout remembers the rectangle of a block of many lines until the
// block is laid out again or the document changes.
//
// With `setLaysOutLongBlocksInSlices`, a block longer than `longestBlockLaidOutAtOnce` that has no
// lines is not laid out when asked for: it is laid out a slice of lines per turn of the event loop,
// and until it is, it stands as one line of the default font with no width (an invalid rectangle:
// the toolkit then does not scroll to places in it). A change to the block, a new width or new
// formats start it again.
class EditorDocumentLayout : public QPlainTextDocumentLayout {
    Q_OBJECT
public:
    static constexpr int longestBlockLaidOutAtOnce = 512 * 1024;

    explicit EditorDocumentLayout(QTextDocument* document);

    QRectF blockBoundingRect(const QTextBlock& block) const override;

    // How often blocks were laid out or a block of many lines walked for its rectangle (for tests
    // of idle work).
    int workCount() const { return work_; }

    void setLaysOutLongBlocksInSlices(bool slices) { slices_ = slices; }
    // While `held` answers true (the block's colours are on their way), a slice job waits before it
    // starts, for at most `longestHoldMilliseconds`: new formats would make it start over, and
    // the start (the toolkit's analysis of the whole block) is the part that cannot be sliced.
    static constexpr qint64 longestHoldMilliseconds = 10'000;
    void setHoldsLayoutWhile(std::function<bool()> held) { held_ = std::move(held); }
    // The width lines are laid out to (the toolkit keeps its own private): the viewport's.
    void setSliceWidth(qreal width) { sliceWidth_ = width; }
    // Whether `block` is being laid out in slices, or waits for another that is (it has no lines to
    // show yet).
    bool isLayingOut(const QTextBlock& block) const;
    bool isLayingOutAnyBlock() const { return job_.has_value(); }
    // Turns a slice job has taken so far (for tests).
    int sliceTurns() const { return turns_; }
    int pendingLines() const;

signals:
    // A block laid out in slices has all of its lines.
    void blockLaidOut(const QTextBlock& block);

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
    struct Job {
        QTextBlock block;
        int start = 0;  // the block's position and length, followed through changes before it
        int length = 0;
        bool begun = false;
        int lines = 0;
        qreal height = 0;
        quint64 serial = 0;
        QElapsedTimer since;  // started with the job
    };
    void forget() { kept_.clear(); }
    QRectF standIn(const QTextBlock& block) const;
    void startJob(const QTextBlock& block) const;
    bool waitsForSlices(const QTextBlock& block) const;
    void postStep(int delayMilliseconds = 0) const;
    void step();

    mutable std::vector<Kept> kept_;
    mutable int work_ = 0;
    bool slices_ = false;
    std::function<bool()> held_;
    qreal sliceWidth_ = 0;
    mutable std::optional<Job> job_;
    mutable quint64 serial_ = 0;
    mutable int turns_ = 0;
    int blockCount_ = 1;
    // The layouts of long blocks a slice job has laid out (a deleted block's may stay: a new block
    // at its address is then laid out at once).
    mutable QSet<const QTextLayout*> laidOutOnce_;
};

}  // namespace Carvex
