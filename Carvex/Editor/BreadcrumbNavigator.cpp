#include "Carvex/Editor/BreadcrumbNavigator.h"

#include "Carvex/CaretContext/CaretLine.h"
#include "Carvex/CaretContext/UnitSearch.h"
#include "Carvex/CaretContext/YAMLContextScanner.h"

namespace Carvex {

namespace {

// The string whose opening quote is at `quote`: where its text ends (its closing quote, or the
// text's end when it is not closed); inside it a backslash skips itself and the next unit.
qsizetype stringTextEnd(const char16_t* units, qsizetype quote, qsizetype length)
{
    qsizetype i = quote + 1;
    while (true) {
        i = UnitSearch::quoteOrBackslash(units, i, length);
        if (i >= length)
            return length;
        if (units[i] == u'"')
            return i;
        i += 2;
    }
}

qsizetype skipString(const char16_t* units, qsizetype quote, qsizetype length)
{
    return std::min(stringTextEnd(units, quote, length) + 1, length);
}

// From just after an opening bracket, the offset just after the n-th comma of that container;
// nothing when the container ends first (or the text does).
std::optional<qsizetype> skipElements(const char16_t* units, qsizetype from, qsizetype length, int count)
{
    if (count < 1)
        return from;
    qsizetype nesting = 0;
    int commas = 0;
    qsizetype i = from;
    while (i < length) {
        i = UnitSearch::structuralCandidate(units, i, length);
        if (i >= length)
            break;
        switch (units[i]) {
        case u'"':
            i = skipString(units, i, length);
            continue;
        case u'{':
        case u'[':
            ++nesting;
            break;
        case u'}':
        case u']':
            if (--nesting < 0)
                return std::nullopt;
            break;
        case u',':
            if (nesting == 0 && ++commas == count)
                return i + 1;
            break;
        default:
            break;
        }
        ++i;
    }
    return std::nullopt;
}

bool isKeyComponent(const PathComponent& component)
{
    return component.kind() != PathComponent::Case::index;
}

} // namespace

std::optional<qsizetype> BreadcrumbNavigator::findJSONPosition(const std::vector<PathComponent>& path, QStringView text)
{
    if (path.empty())
        return std::nullopt;
    const char16_t* units = text.utf16();
    const qsizetype length = text.size();
    const std::size_t last = path.size() - 1;
    std::size_t k = 0;
    qsizetype depth = 0;
    qsizetype i = 0;
    while (i < length) {
        i = UnitSearch::structuralCandidate(units, i, length);
        if (i >= length)
            break;
        const char16_t unit = units[i];
        if (unit == u'"') {
            // The key as written between its quotes, escapes and all, as the caret scanners read it.
            const qsizetype textEnd = stringTextEnd(units, i, length);
            const qsizetype end = std::min(textEnd + 1, length);
            if (depth == qsizetype(k) + 1 && isKeyComponent(path[k]) &&
                text.sliced(i + 1, textEnd - i - 1) == path[k].name()) {
                if (k == last)
                    return i;
                ++k;
            }
            i = end;
            continue;
        }
        if (unit == u'{' || unit == u'[') {
            ++depth;
            ++i;
            if (depth == qsizetype(k) + 1 && path[k].isIndex()) {
                const std::optional<qsizetype> element = skipElements(units, i, length, path[k].position());
                if (!element)
                    return std::nullopt;
                if (k == last)
                    return *element;
                ++k;
                i = *element;
            }
            continue;
        }
        if (unit == u'}' || unit == u']') {
            if (--depth < qsizetype(k))
                return std::nullopt; // the previous component's container has closed
        }
        ++i;
    }
    return std::nullopt;
}

namespace {

qsizetype leadingSpaces(QStringView line)
{
    qsizetype count = 0;
    while (count < line.size() && line[count] == u' ')
        ++count;
    return count;
}

// Whether `candidate` (a line's trimmed text, or what follows an item's dash) starts with the key
// `name`, plain or quoted.
bool holdsKey(QStringView candidate, const QString& name)
{
    if (candidate.isEmpty())
        return false;
    const QChar first = candidate.front();
    const bool quoted = first == u'"' || first == u'\'';
    if (!quoted && (name.isEmpty() || first != name.front()))
        return false;
    // A plain key ends at a colon followed by a blank or the line's end.
    const qsizetype after = name.size() + 1;
    if (!quoted && candidate.size() > name.size() && candidate[name.size()] == u':' && candidate.startsWith(name)
        && (candidate.size() == after || CaretLine::isHorizontalSpace(candidate[after].unicode())))
        return true;
    // Quoted, or with blanks before its colon: the key as the caret scanners read it.
    const std::optional<QString> key = YAMLContextScanner::extractKeyFromLine(candidate);
    return key && *key == name;
}

bool isDashItem(QStringView trimmed)
{
    return trimmed.size() >= 2 && trimmed[0] == u'-' && trimmed[1] == u' ';
}

} // namespace

std::optional<qsizetype> BreadcrumbNavigator::findYAMLPosition(const std::vector<PathComponent>& path, QStringView text)
{
    if (path.empty() || text.isEmpty())
        return std::nullopt;
    const std::size_t last = path.size() - 1;
    std::size_t k = 0;
    qsizetype minimalIndentation = 0;
    bool afterItem = false;
    qsizetype itemIndentation = -1;
    int itemsSeen = 0;
    // The block of the component found last: lines indented deeper belong to it, and so do dash
    // lines at its key's own indentation (a sequence written flush under its key).
    qsizetype containerIndentation = -1;
    bool dashesAtContainer = false;
    // While a block scalar is open, the column its text lies beyond: that text holds no keys.
    std::optional<qsizetype> scalarColumn;

    qsizetype start = 0;
    while (start <= text.size()) {
        const qsizetype end = text.indexOf(u'\n', start);
        const qsizetype lineEnd = end < 0 ? text.size() : end;
        const QStringView line = text.sliced(start, lineEnd - start);
        const qsizetype lineStart = start;
        start = lineEnd + 1;
        const qsizetype indentation = leadingSpaces(line);
        qsizetype lead = indentation;
        while (lead < line.size() && CaretLine::isHorizontalSpace(line[lead].unicode()))
            ++lead;
        if (lead == line.size() || line[lead] == u'#') {
            if (end < 0)
                break;
            continue;
        }
        if (scalarColumn && indentation > *scalarColumn) {
            if (end < 0)
                break;
            continue;
        }
        scalarColumn = YAMLContextScanner::blockScalarColumn(line);
        // Trailing blanks never matter below: only the start of the text is compared.
        const QStringView trimmed = line.sliced(lead);
        const bool dashItem = isDashItem(trimmed);
        if (indentation < containerIndentation ||
            (indentation == containerIndentation && !(dashesAtContainer && dashItem)))
            return std::nullopt; // left the block of the component found before

        const PathComponent& component = path[k];
        if (isKeyComponent(component)) {
            QStringView candidate = trimmed;
            if (afterItem && dashItem) {
                candidate = candidate.sliced(2);
                afterItem = false;
            }
            if (indentation >= minimalIndentation && holdsKey(candidate, component.name())) {
                if (k == last)
                    return lineStart + indentation + (trimmed.size() - candidate.size());
                minimalIndentation = indentation + 2;
                containerIndentation = indentation;
                dashesAtContainer = true;
                ++k;
            }
        } else if (dashItem) {
            bool isItem = false;
            // The first item stands deeper than its key, or at the key's own column.
            if (itemIndentation < 0
                && (indentation >= minimalIndentation || (dashesAtContainer && indentation == containerIndentation))) {
                itemIndentation = indentation;
                itemsSeen = 0;
                isItem = true;
            } else if (itemIndentation >= 0 && indentation == itemIndentation) {
                ++itemsSeen;
                isItem = true;
            }
            if (isItem && itemsSeen == component.position()) {
                minimalIndentation = indentation + 2;
                containerIndentation = indentation;
                dashesAtContainer = false;
                itemIndentation = -1;
                if (k == last)
                    return lineStart + indentation;
                ++k;
                // A key that follows the index may stand on the item's own dash line.
                qsizetype keyStart = 1;
                while (keyStart < trimmed.size() && CaretLine::isHorizontalSpace(trimmed[keyStart].unicode()))
                    ++keyStart;
                const QStringView afterDash = trimmed.sliced(keyStart);
                if (isKeyComponent(path[k]) && holdsKey(afterDash, path[k].name())) {
                    const qsizetype column = lead + keyStart;
                    if (k == last)
                        return lineStart + column;
                    minimalIndentation = column + 2;
                    containerIndentation = column;
                    dashesAtContainer = true;
                    ++k;
                } else {
                    afterItem = true;
                }
            }
        }
        if (end < 0)
            break;
    }
    return std::nullopt;
}

} // namespace Carvex
