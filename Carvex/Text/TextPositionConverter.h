#pragma once

#include <QStringView>

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

struct UBreakIterator;

namespace Carvex {

// Places a position given as line and column, the way the library's parsers count them, into a
// text in UTF-16 units. Lines and columns count from 1; a line ends after its line feed (a CR
// just before the line feed belongs to the line break, a lone CR does not break the line); a
// column counts extended grapheme clusters by ICU's rules from the line's start, so an emoji, a
// letter with its combining marks or a CR LF pair is one column. The parsers' offsets are not
// UTF-16 units (JSON counts clusters from the text's start, YAML the line's UTF-8 byte start plus
// clusters): place their findings by line and column with this type, never by offset.
//
// The line starts are found once, when the text is given; each `position` then counts clusters
// only in its own line (ASCII without looking at ICU). On a long line (a minified description is one
// line) the converter remembers every 1024th column as it walks, so many positions on that line
// cost one walk of the line in all, in any order. The text is borrowed: it must stay alive and
// unchanged while the converter uses it. No widgets; usable on any one thread at a time.
class TextPositionConverter {
public:
    TextPositionConverter();
    explicit TextPositionConverter(QStringView text);
    ~TextPositionConverter();
    TextPositionConverter(TextPositionConverter&&) noexcept;
    TextPositionConverter& operator=(TextPositionConverter&&) noexcept;
    TextPositionConverter(const TextPositionConverter&) = delete;
    TextPositionConverter& operator=(const TextPositionConverter&) = delete;

    // Finds the line starts of `text` (forgetting the previous text).
    void reset(QStringView text);
    // Forgets the text; afterwards there are no lines.
    void clear();
    bool hasText() const { return !lineStarts_.empty(); }

    QStringView text() const { return text_; }
    // The number of lines: line feeds + 1 (an empty text has one empty line); 0 after `clear`.
    std::int64_t lineCount() const { return static_cast<std::int64_t>(lineStarts_.size()); }
    // Where line `line` (from 1) starts; nothing for a line that does not exist.
    std::optional<qsizetype> lineStart(std::int64_t line) const;
    // Where the line's text ends: at its line break (before a CR LF pair), or at the text's end.
    std::optional<qsizetype> lineContentEnd(std::int64_t line) const;
    // Where the next line starts (after the line break), or the text's end for the last line.
    std::optional<qsizetype> lineEnd(std::int64_t line) const;

    // The UTF-16 position of `column` (from 1; below 1 counts as 1) on `line` (from 1): the line's
    // start, then column − 1 grapheme clusters, stopping at the line's content end when the line is
    // shorter. Nothing when the line does not exist.
    std::optional<qsizetype> position(std::int64_t line, std::int64_t column) const;

    // From `from` (a cluster boundary), the position after `count` clusters of `text`, never past
    // `end`.
    static qsizetype advanceClusters(QStringView text, qsizetype from, qsizetype end,
                                     std::int64_t count);

private:
    qsizetype advance(qsizetype from, qsizetype end, std::int64_t count) const;

    struct BreakIteratorCloser {
        void operator()(UBreakIterator* iterator) const;
    };

    QStringView text_;
    std::vector<qsizetype> lineStarts_;
    // For long lines: the position of every `checkpointColumns`-th cluster from the line's start,
    // found so far (the first is the line's start).
    mutable std::unordered_map<std::int64_t, std::vector<qsizetype>> checkpoints_;
    // Opened on the first line that needs ICU, and kept for the next ones.
    mutable std::unique_ptr<UBreakIterator, BreakIteratorCloser> breaker_;
};

}  // namespace Carvex
