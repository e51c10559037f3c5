#pragma once

#include "Carvex/CaretContext/PathComponent.h"
#include "Carvex/CaretContext/CompletionHints.h"
#include "Carvex/CaretContext/CursorRole.h"

#include <QSet>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace Carvex {

// Where the caret stands in YAML text, read from indentation alone: a line's indentation, and
// whether its trimmed text is blank, a comment ("#"), a sequence item ("-") or holds a key (":").
// A line's key and its colon are read by `LineReading`: a colon inside quotes or a flow collection
// ends no key. Anchors are read by the same line rules. The lines of a block scalar
// ("key: |", "- >-" and the like) are its key's value, never structure. An item list may stand at
// its key's own column ("tags:" over "- a"): it belongs to that key. Every line terminator counts
// one unit. Walks visit only the lines they need, so a question near the caret costs little in a
// large text. A caret outside 0...length answers as one beyond the end.
class YAMLContextScanner {
public:
    struct LineInfo {
        QString content;       // the line without its terminator
        qsizetype startOffset; // UTF-16 offset of its first unit

        bool operator==(const LineInfo&) const = default;
    };

    // The block scalar whose text holds the caret's line.
    struct BlockScalar {
        qsizetype headerStart = 0;  // offset of the line that opens it ("key: |")
        std::optional<QString> key; // the key it is the value of; none for an item that is the scalar

        bool operator==(const BlockScalar&) const = default;
    };

    // What one walk up from the caret's line learns: the path, and the block scalar the line is
    // text of.
    struct CaretScan {
        std::vector<PathComponent> path;
        std::optional<BlockScalar> blockScalar;
    };

    std::vector<PathComponent> extractPath(QStringView text, qsizetype caretLocation) const;
    CursorRole detectRole(QStringView text, qsizetype caretLocation) const;
    QString extractPrefix(QStringView text, qsizetype caretLocation) const;
    CompletionHints extractHints(QStringView text, qsizetype caretLocation) const;
    QString getCurrentLine(QStringView text, qsizetype caretLocation) const;
    std::optional<QString> extractCurrentKey(QStringView text, qsizetype caretLocation) const;
    QSet<QString> extractExistingKeys(QStringView text, qsizetype caretLocation) const;

    // The same questions for a caller that walked once already (`scanToCaret`). Inside a block
    // scalar the caret is in its key's value (an item's, for "- |"), in a string, never in a
    // comment, and no keys are present.
    CaretScan scanToCaret(QStringView text, qsizetype caretLocation) const;
    std::optional<BlockScalar> enclosingBlockScalar(QStringView text, qsizetype caretLocation) const;
    CursorRole detectRole(QStringView text, qsizetype caretLocation, const std::optional<BlockScalar>& block) const;
    CompletionHints extractHints(QStringView text, qsizetype caretLocation,
                                 const std::optional<BlockScalar>& block) const;
    std::optional<QString> extractCurrentKey(QStringView text, qsizetype caretLocation,
                                             const std::optional<BlockScalar>& block) const;
    QSet<QString> extractExistingKeys(QStringView text, qsizetype caretLocation,
                                      const std::optional<BlockScalar>& block) const;

    // Every line of the text; a terminator at the very end makes no extra empty line.
    static std::vector<LineInfo> splitLines(QStringView text);
    // The first line with startOffset ≤ caret ≤ its end; the last line when none qualifies.
    static std::optional<std::size_t> lineIndex(const std::vector<LineInfo>& lines, qsizetype caretLocation);

    // A space counts 1, a tab 2, up to the first other unit.
    static qsizetype countLeadingIndentation(QStringView line);
    // The offset of the colon that ends the key of `text` (a line's text after its indentation and
    // dashes), as `LineReading::yamlKey` finds it: the first one followed by a space, a tab or the end,
    // past a quoted key's closing quote (a backslash escapes in double quotes, '' stands for ' in
    // single ones) or a flow collection, before a comment. -1 when none does, as in a quoted scalar
    // ("a:b" or 'a: b'), a flow collection ({a: b}, [a, b: c]) or a plain scalar ("a:b",
    // "curl https://x").
    static qsizetype keyColon(QStringView text);
    // The key a line holds: before that colon, trimmed, after a leading "-"; a quoted key means its
    // text with the escapes read (an empty quoted key stays a key; 'it''s' is the key it's).
    static std::optional<QString> extractKeyFromLine(QStringView line);
    // The key of a "- key: value" line; mismatched quotes stay as written.
    static std::optional<QString> extractKeyFromDashLine(QStringView trimmedLine);
    // A trimmed line without its trailing comment, trimmed again ("key: # note" reads as "key:"). A "#"
    // starts a comment at the start or after a space or tab, outside a quoted scalar; a quote opens one
    // only where a scalar can start (at the start or after a space or tab).
    static QStringView withoutTrailingComment(QStringView trimmedLine);
    // When a line opens a block scalar ("key: |", "- >-", "- key: |2", with a tag or anchor before
    // the indicator, a comment after it): the column its text lies beyond, which is the key's, or
    // the dash's for an item that is the scalar itself. Columns count a tab as 2. None for any
    // other line, and for an indicator with neither key nor dash.
    static std::optional<qsizetype> blockScalarColumn(QStringView line);
};

} // namespace Carvex
