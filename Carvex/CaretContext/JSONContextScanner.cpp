#include "Carvex/CaretContext/JSONContextScanner.h"

#include "Carvex/CaretContext/CaretLine.h"
#include "Carvex/CaretContext/JSONStructureScan.h"
#include "Carvex/CaretContext/LineReading.h"

#include <QChar>

#include <climits>

namespace Carvex {

namespace {

bool outside(QStringView text, qsizetype caret)
{
    return caret < 0 || caret > text.size();
}

// A quote whose run of backslashes just before it has odd length is escaped.
bool isEscapedQuote(const char16_t* units, qsizetype at)
{
    qsizetype run = 0;
    while (at - run > 0 && units[at - run - 1] == u'\\')
        ++run;
    return (run & 1) != 0;
}

// A path component whose name is still a range of the text: the forward scan makes thousands of
// them on a large document and keeps only the few open at the caret.
struct PendingComponent {
    PathComponent::Case kind;
    qsizetype start;
    qsizetype length;
    int index;
};

enum class Separator { none, colon, comma };

struct Frame {
    JSONContextScanner::BracketType type;
    int index;           // commas seen directly in the container
    qsizetype start;     // offset of the opening bracket
    Separator separator; // the last colon or comma seen directly in the container
    std::size_t keyBase; // where the container's own keys begin in the list of open keys
};

bool isDynamicParent(QStringView text, const std::vector<PendingComponent>& path)
{
    if (path.empty() || path.back().kind != PathComponent::Case::key)
        return false;
    return PathComponent::isDynamicKeyParent(text.sliced(path.back().start, path.back().length));
}

// The offset of the quote just before `colon`, whitespace between; -1 when another unit stands
// there. Outside strings such a quote always closes one.
qsizetype closingQuoteBefore(const char16_t* units, qsizetype colon)
{
    qsizetype i = colon - 1;
    while (i >= 0 && (units[i] == u' ' || (units[i] >= 0x09 && units[i] <= 0x0D) ||
                      (units[i] > 0x7F && QChar::isSpace(char32_t(units[i])))))
        --i;
    return i >= 0 && units[i] == u'"' ? i : -1;
}

// Where the string that the caret stands in ends when its closing quote does not come before the
// caret's line does: at that line break. A JSON string holds no line break, so a key begun with its
// quote and typed up to the caret ends there, and the lines after it read as they are. None when
// the string closes on the caret's line or the text ends first.
std::optional<qsizetype> unclosedStringEnd(const char16_t* units, qsizetype size, qsizetype caret, bool escaped)
{
    for (qsizetype i = caret; i < size; ++i) {
        const char16_t unit = units[i];
        if (unit == u'\n' || unit == u'\r')
            return i;
        if (escaped) {
            escaped = false;
            continue;
        }
        if (unit == u'\\')
            escaped = true;
        else if (unit == u'"')
            return std::nullopt;
    }
    return std::nullopt;
}

bool isPrefixUnit(char16_t unit)
{
    return unit == u'_' || unit == u'-' || unit == u'$' || QChar::isLetterOrNumber(char32_t(unit));
}

} // namespace

bool JSONContextScanner::isInsideString(QStringView text, qsizetype caretLocation)
{
    if (caretLocation < 1)
        return false;
    JSONStructureScan scan(text.utf16(), 0, std::min(caretLocation, text.size()));
    scan.run([](qsizetype, char16_t, qsizetype) { return true; });
    return scan.inString();
}

std::optional<qsizetype> JSONContextScanner::firstNonWhitespaceCharacter(QStringView text, qsizetype from, qsizetype to)
{
    const char16_t* units = text.utf16();
    to = std::min(to, text.size());
    for (qsizetype i = std::max<qsizetype>(from, 0); i < to; ++i) {
        if (!QChar::isSpace(char32_t(units[i])))
            return i;
    }
    return std::nullopt;
}

JSONContextScanner::CaretScan JSONContextScanner::scanToCaret(QStringView text, qsizetype caretLocation) const
{
    CaretScan scan;
    if (caretLocation < 0 || caretLocation > text.size())
        return scan;
    const char16_t* units = text.utf16();
    const qsizetype end = caretLocation;

    std::vector<Frame> stack;
    std::vector<PendingComponent> path;
    std::vector<std::pair<qsizetype, qsizetype>> keyRanges; // keys of the open containers, outermost first
    Separator rootSeparator = Separator::none;
    bool hasPendingKey = false;
    qsizetype keyStart = 0;
    qsizetype keyLength = 0;

    JSONStructureScan structure(units, 0, end);
    structure.run([&](qsizetype at, char16_t unit, qsizetype lastOpeningQuote) {
        switch (unit) {
        case u'{':
        case u'[':
            if (hasPendingKey) {
                const bool dynamic = isDynamicParent(text, path);
                path.push_back({dynamic ? PathComponent::Case::dynamicKey : PathComponent::Case::key, keyStart,
                                keyLength, 0});
            } else if (!stack.empty() && stack.back().type == BracketType::array) {
                path.push_back({PathComponent::Case::index, 0, 0, stack.back().index});
            }
            stack.push_back(
                {unit == u'{' ? BracketType::object : BracketType::array, 0, at, Separator::none, keyRanges.size()});
            hasPendingKey = false;
            break;
        case u'}':
        case u']': {
            hasPendingKey = false;
            if (stack.empty()) {
                // Read backwards, everything before a closer that closes nothing lies deeper.
                rootSeparator = Separator::none;
                break;
            }
            const BracketType type = stack.back().type;
            keyRanges.resize(stack.back().keyBase);
            stack.pop_back();
            const BracketType closes = unit == u'}' ? BracketType::object : BracketType::array;
            if (type == closes && !path.empty())
                path.pop_back();
            break;
        }
        case u',':
            hasPendingKey = false;
            if (stack.empty()) {
                rootSeparator = Separator::comma;
                break;
            }
            stack.back().separator = Separator::comma;
            if (stack.back().type == BracketType::array && stack.back().index < INT_MAX)
                ++stack.back().index;
            break;
        case u':': {
            (stack.empty() ? rootSeparator : stack.back().separator) = Separator::colon;
            // A string followed by this colon (whitespace between) is the key of what comes next.
            const qsizetype closing = closingQuoteBefore(units, at);
            if (closing > lastOpeningQuote && lastOpeningQuote >= 0) {
                hasPendingKey = true;
                keyStart = lastOpeningQuote + 1;
                keyLength = closing - keyStart;
                if (!stack.empty())
                    keyRanges.push_back({keyStart, keyLength});
            }
            break;
        }
        default:
            break;
        }
        return true;
    });
    const bool inString = structure.inString();
    const bool backslashOutside = structure.sawBackslashOutsideStrings();
    scan.caretInString = inString;
    if (caretLocation >= 1) {
        scan.path.reserve(path.size());
        for (const PendingComponent& component : path) {
            switch (component.kind) {
            case PathComponent::Case::key:
                scan.path.push_back(PathComponent::key(text.sliced(component.start, component.length).toString()));
                break;
            case PathComponent::Case::dynamicKey:
                scan.path.push_back(
                    PathComponent::dynamicKey(text.sliced(component.start, component.length).toString()));
                break;
            case PathComponent::Case::index:
                scan.path.push_back(PathComponent::index(component.index));
                break;
            }
        }
    }
    // Read backwards from the caret, the nearest unclosed bracket is the innermost open frame, and
    // the nearest colon or comma at its level is the frame's last one.
    scan.knowsStructure = !backslashOutside;
    if (scan.knowsStructure) {
        const Separator separator = stack.empty() ? rootSeparator : stack.back().separator;
        if (!stack.empty() && stack.back().type == BracketType::array)
            scan.role = CursorRole::sequenceItem;
        else
            scan.role = separator == Separator::colon ? CursorRole::mappingValue : CursorRole::mappingKey;
        if (!stack.empty() && stack.back().type == BracketType::object && caretLocation >= 1) {
            scan.enclosingObjectStart = stack.back().start;
            scan.keysBeforeCaret.assign(keyRanges.begin() + qsizetype(stack.back().keyBase), keyRanges.end());
        }
    }
    scan.escapePending = structure.escapePending();
    scan.lastOpeningQuote = structure.lastOpeningQuote();
    return scan;
}

std::vector<PathComponent> JSONContextScanner::extractPath(QStringView text, qsizetype caretLocation) const
{
    return scanToCaret(text, caretLocation).path;
}

CursorRole JSONContextScanner::detectRole(QStringView text, qsizetype caretLocation) const
{
    if (outside(text, caretLocation))
        return CursorRole::unknown;
    return detectRole(text, caretLocation, isInsideString(text, caretLocation));
}

CursorRole JSONContextScanner::detectRole(QStringView text, qsizetype caretLocation, bool caretInString) const
{
    if (outside(text, caretLocation))
        return CursorRole::unknown;
    const char16_t* units = text.utf16();
    bool inString = caretInString;
    qsizetype depth = 0;
    bool commaSeen = false;
    bool value = false;
    for (qsizetype i = caretLocation - 1; i >= 0; --i) {
        const char16_t unit = units[i];
        if (unit == u'"') {
            if (!isEscapedQuote(units, i))
                inString = !inString;
            continue;
        }
        if (inString) {
            while (i > 0 && units[i - 1] != u'"')
                --i;
            continue;
        }
        switch (unit) {
        case u'}':
        case u']':
            ++depth;
            break;
        case u'{':
            if (depth == 0)
                return value ? CursorRole::mappingValue : CursorRole::mappingKey;
            --depth;
            break;
        case u'[':
            if (depth == 0)
                return CursorRole::sequenceItem;
            --depth;
            break;
        case u':':
            if (depth == 0 && !commaSeen)
                value = true;
            break;
        case u',':
            if (depth == 0 && !value)
                commaSeen = true;
            break;
        default:
            break;
        }
    }
    return value ? CursorRole::mappingValue : CursorRole::mappingKey;
}

QString JSONContextScanner::extractPrefix(QStringView text, qsizetype caretLocation) const
{
    if (caretLocation < 1 || caretLocation > text.size())
        return QString();
    return extractPrefix(text, caretLocation, isInsideString(text, caretLocation));
}

QString JSONContextScanner::extractPrefix(QStringView text, qsizetype caretLocation, bool caretInString) const
{
    if (caretLocation < 1 || caretLocation > text.size())
        return QString();
    const char16_t* units = text.utf16();
    qsizetype start = caretLocation;
    if (caretInString) {
        // From the string's opening quote, an escaped quote being text.
        if (const auto string = LineReading::quotedHolding(text, caretLocation, true)) {
            start = string->open + 1;
        } else {
            while (start > 0 && units[start - 1] != u'"')
                --start;
        }
    } else {
        while (start > 0 && isPrefixUnit(units[start - 1]))
            --start;
    }
    return text.sliced(start, caretLocation - start).toString();
}

CompletionHints JSONContextScanner::extractHints(QStringView text, qsizetype caretLocation) const
{
    if (outside(text, caretLocation))
        return CompletionHints::default_();
    return extractHints(text, caretLocation, isInsideString(text, caretLocation));
}

CompletionHints JSONContextScanner::extractHints(QStringView text, qsizetype caretLocation, bool caretInString) const
{
    if (outside(text, caretLocation))
        return CompletionHints::default_();
    const qsizetype start = CaretLine::lineStart(text, caretLocation);
    const qsizetype end = CaretLine::lineEnd(text, caretLocation);
    const QStringView indentation = CaretLine::leadingWhitespace(text.sliced(start, end - start));
    CompletionHints hints;
    hints.isInString = caretInString;
    hints.currentIndentation = indentation.toString();
    hints.indentationDepth = CaretLine::indentationDepth(indentation);
    return hints;
}

QString JSONContextScanner::getCurrentLine(QStringView text, qsizetype caretLocation) const
{
    return CaretLine::getCurrentLine(text, caretLocation);
}

std::optional<QString> JSONContextScanner::extractCurrentKey(QStringView text, qsizetype caretLocation) const
{
    if (caretLocation < 1 || caretLocation > text.size())
        return std::nullopt;
    return extractCurrentKey(text, caretLocation, isInsideString(text, caretLocation));
}

std::optional<QString> JSONContextScanner::extractCurrentKey(QStringView text, qsizetype caretLocation,
                                                             bool caretInString) const
{
    if (caretLocation < 1 || caretLocation > text.size())
        return std::nullopt;
    const char16_t* units = text.utf16();
    bool inString = caretInString;
    qsizetype depth = 0;
    bool colonSeen = false;
    std::optional<qsizetype> keyEnd;
    for (qsizetype i = caretLocation - 1; i >= 0; --i) {
        const char16_t unit = units[i];
        if (unit == u'"') {
            if (isEscapedQuote(units, i))
                continue;
            if (!inString) {
                if (colonSeen && !keyEnd && depth == 0)
                    keyEnd = i;
                inString = true;
            } else {
                if (colonSeen && keyEnd) {
                    if (*keyEnd - i - 1 <= 0)
                        return std::nullopt;
                    return text.sliced(i + 1, *keyEnd - i - 1).toString();
                }
                inString = false;
            }
            continue;
        }
        if (inString) {
            while (i > 0 && units[i - 1] != u'"')
                --i;
            continue;
        }
        switch (unit) {
        case u':':
            if (depth == 0)
                colonSeen = true;
            break;
        case u'{':
            if (depth == 0)
                return std::nullopt;
            break;
        case u',':
            if (depth == 0 && !colonSeen)
                return std::nullopt;
            break;
        case u']':
            ++depth;
            break;
        case u'[':
            if (depth > 0)
                --depth;
            break;
        default:
            break;
        }
    }
    return std::nullopt;
}

std::optional<qsizetype> JSONContextScanner::findEnclosingObjectStart(QStringView text, qsizetype caretLocation,
                                                                      bool caretInString)
{
    if (caretLocation < 1 || caretLocation > text.size())
        return std::nullopt;
    const char16_t* units = text.utf16();
    bool inString = caretInString;
    qsizetype depth = 0;
    for (qsizetype i = caretLocation - 1; i >= 0; --i) {
        const char16_t unit = units[i];
        if (unit == u'"') {
            if (!isEscapedQuote(units, i))
                inString = !inString;
            continue;
        }
        if (inString) {
            while (i > 0 && units[i - 1] != u'"')
                --i;
            continue;
        }
        switch (unit) {
        case u'}':
        case u']':
            ++depth;
            break;
        case u'{':
            if (depth == 0)
                return i;
            --depth;
            break;
        case u'[':
            if (depth == 0)
                return std::nullopt;
            --depth;
            break;
        default:
            break;
        }
    }
    return std::nullopt;
}

QSet<QString> JSONContextScanner::extractExistingKeys(QStringView text, qsizetype caretLocation) const
{
    if (caretLocation < 1 || caretLocation > text.size())
        return {};
    return extractExistingKeys(text, caretLocation, isInsideString(text, caretLocation));
}

QSet<QString> JSONContextScanner::extractExistingKeys(QStringView text, qsizetype caretLocation,
                                                      bool caretInString) const
{
    if (caretLocation < 1 || caretLocation > text.size())
        return {};
    const std::optional<qsizetype> open = findEnclosingObjectStart(text, caretLocation, caretInString);
    if (!open)
        return {};
    const char16_t* units = text.utf16();
    if (caretInString) {
        if (const std::optional<qsizetype> end =
                unclosedStringEnd(units, text.size(), caretLocation, isEscapedQuote(units, caretLocation))) {
            QSet<QString> keys;
            qsizetype depth = 0;
            if (readKeys(text, JSONStructureScan(units, *open + 1, caretLocation), keys, depth))
                readKeys(text, JSONStructureScan(units, *end, text.size()), keys, depth);
            return keys;
        }
    }
    return keysOfObject(text, *open);
}

QSet<QString> JSONContextScanner::keysOfObject(QStringView text, qsizetype objectStart)
{
    return keysOfObject(text, JSONStructureScan(text.utf16(), objectStart + 1, text.size()), {});
}

QSet<QString> JSONContextScanner::keysOfEnclosingObject(QStringView text, qsizetype caretLocation,
                                                        const CaretScan& scan)
{
    if (!scan.enclosingObjectStart)
        return {};
    if (scan.caretInString) {
        if (const std::optional<qsizetype> end =
                unclosedStringEnd(text.utf16(), text.size(), caretLocation, scan.escapePending))
            return keysOfObject(text, JSONStructureScan(text.utf16(), *end, text.size()), scan.keysBeforeCaret);
    }
    // The keys before the caret were met on the way to it; read on from the caret.
    return keysOfObject(text,
                        JSONStructureScan(text.utf16(), caretLocation, text.size(), scan.caretInString,
                                          scan.escapePending, scan.lastOpeningQuote),
                        scan.keysBeforeCaret);
}

QSet<QString> JSONContextScanner::keysOfObject(QStringView text, JSONStructureScan&& structure,
                                               const std::vector<std::pair<qsizetype, qsizetype>>& keysBefore)
{
    QSet<QString> keys;
    for (const auto& [start, length] : keysBefore)
        keys.insert(text.sliced(start, length).toString());
    qsizetype depth = 0;
    readKeys(text, std::move(structure), keys, depth);
    return keys;
}

bool JSONContextScanner::readKeys(QStringView text, JSONStructureScan&& structure, QSet<QString>& keys,
                                  qsizetype& depth)
{
    const char16_t* units = text.utf16();
    return structure.run([&](qsizetype at, char16_t unit, qsizetype lastOpeningQuote) {
        switch (unit) {
        case u'{':
        case u'[':
            ++depth;
            break;
        case u'}':
            if (depth == 0)
                return false; // the object is closed
            --depth;
            break;
        case u']':
            if (depth > 0)
                --depth;
            break;
        case u':':
            if (depth == 0) {
                const qsizetype closing = closingQuoteBefore(units, at);
                if (closing > lastOpeningQuote && lastOpeningQuote >= 0)
                    keys.insert(text.sliced(lastOpeningQuote + 1, closing - lastOpeningQuote - 1).toString());
            }
            break;
        default:
            break;
        }
        return true;
    });
}

} // namespace Carvex
