#pragma once

#include "Carvex/Syntax/SyntaxTheme.h"
#include "Carvex/Syntax/SyntaxToken.h"
#include "Carvex/Syntax/SyntaxTokenType.h"
#include "Carvex/Text/TextRange.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace Carvex {

class EditorTextView;
class TextFormatLayer;

// The token colours of one editor text view, kept as a display layer: runs of token kinds over
// the view's text (UTF-16 units), turned into layout formats only for the blocks on screen, just
// before they are drawn. Nothing is written into the document, so colouring never touches the
// undo stack, the modified flag or the text-changed signals. Runs move with edits like character
// attributes do: inserted text takes the kind of the character before it. Main thread only.
class SyntaxColorLayer {
public:
    struct Run {
        int start = 0;
        int length = 0;
        SyntaxTokenType type = SyntaxTokenType::unknown;
        int end() const { return start + length; }
        bool operator==(const Run&) const = default;
    };

    explicit SyntaxColorLayer(EditorTextView& view);

    // Changes the colours of every kind; the runs stay.
    void setTheme(const SyntaxTheme& theme);
    const SyntaxTheme& theme() const { return theme_; }

    // Removes the colours over `range`, then colours each token over its range (clipped to the
    // text, not to `range`; later tokens win where ranges overlap).
    void apply(const std::vector<SyntaxToken>& tokens, TextRange range);
    // The same with the tokens already turned into runs (`runsFromTokens`, for a text as long as
    // the view's), which may be done off the main thread.
    void applyRuns(std::vector<Run> added, TextRange range);
    // The runs of `tokens` over a text of `textLength` units: sorted, clipped to the text, later
    // tokens winning where they overlap, touching runs of one kind merged. Any thread.
    static std::vector<Run> runsFromTokens(const std::vector<SyntaxToken>& tokens, int textLength);
    // Removes the colours over `range`.
    void clear(TextRange range);
    // Forgets every run (a new text was loaded).
    void reset();

    // Moves the runs for a change that replaced `removedLength` units at `location` by
    // `addedLength` units; marks the blocks concerned for new formats.
    void textDidChange(qsizetype location, qsizetype removedLength, qsizetype addedLength);

    // Gives the blocks on screen the formats of the current runs and theme (only those whose
    // formats are out of date). Called by the view before it draws.
    void materializeVisible();
    // Gives each long block from `first` on the formats around its start, as a block that comes in
    // is first shown from its start. Called for blocks just put in, before they are first laid out:
    // a long block laid out without them would be laid out again for them on its first paint.
    void formatNewLongBlocks(QTextBlock first);

    // A pass over the whole view's text at `revision` has started; its colours are on their way
    // until they are applied or the text changes. A load waits a little for them before it puts
    // in a line that takes long to lay out, so that the line is laid out once, with its colours.
    void awaitColours(quint64 revision) { awaitedRevision_ = revision; }
    void coloursArrived() { awaitedRevision_.reset(); }
    bool awaitsColours() const;
    // Colours are on their way, or have come and wait for the next paint to give the blocks on
    // screen their formats.
    bool coloursPending() const { return awaitsColours() || materializedGeneration_ != generation_; }
    // Marks every block's formats out of date (after a theme or font change).
    void invalidateAll();
    // Marks the formats of the blocks over `range` out of date and redraws.
    void invalidate(TextRange range);

    // Formats laid over the tokens' in the blocks on screen, in the order added (the owner
    // removes its layer before it goes away).
    void addFormatLayer(TextFormatLayer* layer);
    void removeFormatLayer(TextFormatLayer* layer);
    // The view's font changed: formats are made again.
    void viewFontChanged();

    const std::vector<Run>& runs() const {
        settleShift();
        return runs_;
    }
    // The kind coloured at `index`, or nothing for default text.
    std::optional<SyntaxTokenType> typeAt(qsizetype index) const;
    // The foreground the layer paints at `index`: the kind's colour or the default colour.
    QColor colorAt(qsizetype index) const;

private:
    // Blocks longer than this carry formats only around the part on screen, and this far beyond it
    // on either side.
    static constexpr int longBlockLength = 20000;
    static constexpr int longBlockMargin = 8192;

    void rebuildFormats();
    // The runs past a change move by its length lazily: a key in the middle of a long text would
    // otherwise rewrite half the runs. From `shiftFrom_` on, a run starts `shift_` units after its
    // stored start.
    int startOf(std::size_t index) const {
        return runs_[index].start + (shift_ != 0 && index >= shiftFrom_ ? shift_ : 0);
    }
    Run runAt(std::size_t index) const { return Run{startOf(index), runs_[index].length, runs_[index].type}; }
    // The first run that ends after `position` (at or after it when `orAt`), or the run count.
    std::size_t firstRunEndingAfter(int position, bool orAt) const;
    // Makes the runs before `index` hold their own starts, the shift applying from `index` on.
    void moveShiftStart(std::size_t index) const;
    // Applies the pending shift to every run.
    void settleShift() const;
    // Gives `block` the formats of the runs between `windowStart` and `windowEnd` (units from
    // its start) and marks them current; false when it had those formats already.
    bool setFormats(QTextBlock& block, int windowStart, int windowEnd);

    EditorTextView& view_;
    SyntaxTheme theme_;
    mutable std::vector<Run> runs_;
    mutable std::size_t shiftFrom_ = 0;
    mutable int shift_ = 0;
    std::vector<TextFormatLayer*> formatLayers_;
    std::array<QTextCharFormat, 10> formats_{};
    std::array<bool, 10> paintsDefault_{};
    int generation_ = 1;
    int materializedGeneration_ = 0;  // the generation the blocks on screen last got formats for
    std::optional<quint64> awaitedRevision_;
};

}  // namespace Carvex
