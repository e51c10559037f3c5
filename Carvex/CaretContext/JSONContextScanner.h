#pragma once

#include "Carvex/CaretContext/JSONStructureScan.h"
#include "Carvex/CaretContext/PathComponent.h"
#include "Carvex/CaretContext/CompletionHints.h"
#include "Carvex/CaretContext/CursorRole.h"

#include <QSet>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace Carvex {

// Where the caret stands in JSON text that is usually incomplete: each question is one linear
// scan over UTF-16 units with a few counters, never a parse. Strings are taken raw, escapes
// undecoded. A caret outside 0...length answers as one beyond the end.
class JSONContextScanner {
public:
    enum class BracketType { object, array };

    // What one forward pass up to the caret learns: the path, whether the caret is in a string,
    // and, when no backslash stands outside a string before the caret (so that reading quotes
    // backwards agrees with reading them forwards), the role and the enclosing object too.
    struct CaretScan {
        std::vector<PathComponent> path;
        bool caretInString = false;
        bool knowsStructure = false;
        CursorRole role = CursorRole::unknown;
        std::optional<qsizetype> enclosingObjectStart;
        // The keys of the enclosing object met before the caret (start and length of each).
        std::vector<std::pair<qsizetype, qsizetype>> keysBeforeCaret;
        // Where a string reading on from the caret stands: an escape not yet used, the last
        // opening quote.
        bool escapePending = false;
        qsizetype lastOpeningQuote = -1;
    };

    std::vector<PathComponent> extractPath(QStringView text, qsizetype caretLocation) const;
    CursorRole detectRole(QStringView text, qsizetype caretLocation) const;
    QString extractPrefix(QStringView text, qsizetype caretLocation) const;
    CompletionHints extractHints(QStringView text, qsizetype caretLocation) const;
    QString getCurrentLine(QStringView text, qsizetype caretLocation) const;
    std::optional<QString> extractCurrentKey(QStringView text, qsizetype caretLocation) const;
    QSet<QString> extractExistingKeys(QStringView text, qsizetype caretLocation) const;

    // The same questions for a caller that scanned once already (`scanToCaret`), so the string
    // state before the caret is not found again.
    CaretScan scanToCaret(QStringView text, qsizetype caretLocation) const;
    CursorRole detectRole(QStringView text, qsizetype caretLocation, bool caretInString) const;
    QString extractPrefix(QStringView text, qsizetype caretLocation, bool caretInString) const;
    CompletionHints extractHints(QStringView text, qsizetype caretLocation, bool caretInString) const;
    std::optional<QString> extractCurrentKey(QStringView text, qsizetype caretLocation, bool caretInString) const;
    QSet<QString> extractExistingKeys(QStringView text, qsizetype caretLocation, bool caretInString) const;
    // The keys of the object whose "{" stands at `objectStart`.
    static QSet<QString> keysOfObject(QStringView text, qsizetype objectStart);
    // The same for the object that a forward scan found open at the caret, reading only on from it.
    static QSet<QString> keysOfEnclosingObject(QStringView text, qsizetype caretLocation, const CaretScan& scan);

    // Whether the units before the caret leave a string open.
    static bool isInsideString(QStringView text, qsizetype caretLocation);
    // The offset of the first non-whitespace unit in from ..< to, or none.
    static std::optional<qsizetype> firstNonWhitespaceCharacter(QStringView text, qsizetype from, qsizetype to);
    // The offset of the "{" of the object directly holding the caret; none when the caret stands
    // directly in an array or in no container.
    static std::optional<qsizetype> findEnclosingObjectStart(QStringView text, qsizetype caretLocation,
                                                             bool caretInString);

private:
    static QSet<QString> keysOfObject(QStringView text, JSONStructureScan&& structure,
                                      const std::vector<std::pair<qsizetype, qsizetype>>& keysBefore);
    // Adds the keys that `structure` meets at `depth` (kept across calls) to `keys`; false once the
    // object closes.
    static bool readKeys(QStringView text, JSONStructureScan&& structure, QSet<QString>& keys, qsizetype& depth);
};

} // namespace Carvex
