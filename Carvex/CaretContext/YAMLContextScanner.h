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
// Flow collections, multi-line scalars and anchors are read by the same line rules. Every line
// terminator counts one unit. Walks visit only the lines they need, so a question near the caret
// costs little in a large text. A caret outside 0...length answers as one beyond the end.
class YAMLContextScanner {
public:
    struct LineInfo {
        QString content;       // the line without its terminator
        qsizetype startOffset; // UTF-16 offset of its first unit

        bool operator==(const LineInfo&) const = default;
    };

    std::vector<PathComponent> extractPath(QStringView text, qsizetype caretLocation) const;
    CursorRole detectRole(QStringView text, qsizetype caretLocation) const;
    QString extractPrefix(QStringView text, qsizetype caretLocation) const;
    CompletionHints extractHints(QStringView text, qsizetype caretLocation) const;
    QString getCurrentLine(QStringView text, qsizetype caretLocation) const;
    std::optional<QString> extractCurrentKey(QStringView text, qsizetype caretLocation) const;
    QSet<QString> extractExistingKeys(QStringView text, qsizetype caretLocation) const;

    // Every line of the text; a terminator at the very end makes no extra empty line.
    static std::vector<LineInfo> splitLines(QStringView text);
    // The first line with startOffset ≤ caret ≤ its end; the last line when none qualifies.
    static std::optional<std::size_t> lineIndex(const std::vector<LineInfo>& lines, qsizetype caretLocation);

    // A space counts 1, a tab 2, up to the first other unit.
    static qsizetype countLeadingIndentation(QStringView line);
    // The key a line holds: before its first ":", trimmed, after a leading "-"; enclosing matching
    // quotes are removed (an empty quoted key stays a key), and a doubled quote inside single quotes
    // reads as one ('it''s' is the key it's).
    static std::optional<QString> extractKeyFromLine(QStringView line);
    // The key of a "- key: value" line; mismatched quotes stay as written.
    static std::optional<QString> extractKeyFromDashLine(QStringView trimmedLine);
    // A trimmed line without its trailing comment, trimmed again ("key: # note" reads as "key:"). A "#"
    // starts a comment at the start or after a space or tab, outside a quoted scalar; a quote opens one
    // only where a scalar can start (at the start or after a space or tab).
    static QStringView withoutTrailingComment(QStringView trimmedLine);
};

} // namespace Carvex
