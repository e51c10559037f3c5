#include "Carvex/CaretContext/JSONContextScanner.h"

#include "Carvex/CaretContext/CaretLine.h"

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

struct Frame {
    JSONContextScanner::BracketType type;
    int index;
};

bool isDynamicParent(QStringView text, const std::vector<PendingComponent>& path)
{
    if (path.empty() || path.back().kind != PathComponent::Case::key)
        return false;
    return PathComponent::isDynamicKeyParent(text.sliced(path.back().start, path.back().length));
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
    const char16_t* units = text.utf16();
    const qsizetype end = std::min(caretLocation, text.size());
    bool inString = false;
    qsizetype i = 0;
    while (i < end) {
        if (!inString) {
            while (i < end && units[i] != u'"')
                ++i;
            if (i == end)
                break;
            inString = true;
            ++i;
        } else {
            while (i < end && units[i] != u'"' && units[i] != u'\\')
                ++i;
            if (i == end)
                break;
            if (units[i] == u'\\') {
                i += 2; // the escaped unit is skipped
                continue;
            }
            inString = false;
            ++i;
        }
    }
    return inString;
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
    if (caretLocation < 1 || caretLocation > text.size())
        return scan;
    const char16_t* units = text.utf16();
    const qsizetype end = caretLocation;

    std::vector<Frame> stack;
    std::vector<PendingComponent> path;
    bool hasPendingKey = false;
    qsizetype keyStart = 0;
    qsizetype keyLength = 0;
    bool inString = false;
    qsizetype stringStart = 0;

    qsizetype i = 0;
    while (i < end) {
        if (inString) {
            while (i < end && units[i] != u'"' && units[i] != u'\\')
                ++i;
            if (i >= end)
                break;
            if (units[i] == u'\\') {
                i += 2;
                continue;
            }
            inString = false;
            const qsizetype closing = i++;
            // A string followed by a colon before the caret is the key of what comes next.
            const std::optional<qsizetype> next = firstNonWhitespaceCharacter(text, i, end);
            if (next && units[*next] == u':') {
                hasPendingKey = true;
                keyStart = stringStart;
                keyLength = closing - stringStart;
            }
            continue;
        }
        const char16_t unit = units[i++];
        switch (unit) {
        case u'"':
            inString = true;
            stringStart = i;
            break;
        case u'{':
        case u'[':
            if (hasPendingKey) {
                const bool dynamic = isDynamicParent(text, path);
                path.push_back({dynamic ? PathComponent::Case::dynamicKey : PathComponent::Case::key, keyStart,
                                keyLength, 0});
            } else if (!stack.empty() && stack.back().type == BracketType::array) {
                path.push_back({PathComponent::Case::index, 0, 0, stack.back().index});
            }
            stack.push_back({unit == u'{' ? BracketType::object : BracketType::array, 0});
            hasPendingKey = false;
            break;
        case u'}':
        case u']': {
            hasPendingKey = false;
            if (stack.empty())
                break;
            const BracketType type = stack.back().type;
            stack.pop_back();
            const BracketType closes = unit == u'}' ? BracketType::object : BracketType::array;
            if (type == closes && !path.empty())
                path.pop_back();
            break;
        }
        case u',':
            hasPendingKey = false;
            if (!stack.empty() && stack.back().type == BracketType::array && stack.back().index < INT_MAX)
                ++stack.back().index;
            break;
        default:
            break;
        }
    }
    scan.caretInString = inString;
    scan.path.reserve(path.size());
    for (const PendingComponent& component : path) {
        switch (component.kind) {
        case PathComponent::Case::key:
            scan.path.push_back(PathComponent::key(text.sliced(component.start, component.length).toString()));
            break;
        case PathComponent::Case::dynamicKey:
            scan.path.push_back(PathComponent::dynamicKey(text.sliced(component.start, component.length).toString()));
            break;
        case PathComponent::Case::index:
            scan.path.push_back(PathComponent::index(component.index));
            break;
        }
    }
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
        while (start > 0 && units[start - 1] != u'"')
            --start;
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
    QSet<QString> keys;
    if (caretLocation < 1 || caretLocation > text.size())
        return keys;
    const std::optional<qsizetype> open = findEnclosingObjectStart(text, caretLocation, caretInString);
    if (!open)
        return keys;
    const char16_t* units = text.utf16();
    const qsizetype length = text.size();
    bool inString = false;
    qsizetype depth = 0;
    qsizetype keyStart = -1; // -1: the open string is no key of this object
    qsizetype i = *open + 1;
    while (i < length) {
        if (inString) {
            while (i < length && units[i] != u'"' && units[i] != u'\\')
                ++i;
            if (i >= length)
                break;
            if (units[i] == u'\\') {
                i += 2;
                continue;
            }
            inString = false;
            const qsizetype closing = i++;
            if (depth == 0 && keyStart >= 0) {
                const std::optional<qsizetype> next = firstNonWhitespaceCharacter(text, i, length);
                if (next && units[*next] == u':')
                    keys.insert(text.sliced(keyStart, closing - keyStart).toString());
            }
            keyStart = -1;
            continue;
        }
        const char16_t unit = units[i++];
        switch (unit) {
        case u'"':
            inString = true;
            keyStart = depth == 0 ? i : -1;
            break;
        case u'{':
        case u'[':
            ++depth;
            break;
        case u'}':
            if (depth == 0)
                return keys;
            --depth;
            break;
        case u']':
            if (depth > 0)
                --depth;
            break;
        default:
            break;
        }
    }
    return keys;
}

} // namespace Carvex
