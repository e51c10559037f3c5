#include "Carvex/Completion/ReferenceIndexer.h"

#include "Carvex/CaretContext/LineReading.h"

#include <QStringView>

#include <unicode/ubrk.h>

#include <cstdint>
#include <memory>
#include <optional>

namespace Carvex {

namespace {

using Targets = std::map<ReferenceKind, std::vector<ReferenceTarget>>;

bool isLineBreak(char16_t c)
{
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// Space, tab and the other space separators; not line breaks.
bool isHorizontalSpace(char16_t c)
{
    if (c == u' ' || c == u'\t')
        return true;
    if (c < 0x80)
        return false;
    return QChar(c).category() == QChar::Separator_Space;
}

QStringView trimmedHorizontal(QStringView line)
{
    qsizetype start = 0;
    qsizetype end = line.size();
    while (start < end && isHorizontalSpace(line[start].unicode()))
        ++start;
    while (end > start && isHorizontalSpace(line[end - 1].unicode()))
        --end;
    return line.sliced(start, end - start);
}

// The mapping key a trimmed YAML line begins with, as the line reading finds it, or none: a quoted
// key up to its closing quote when a colon follows, its escapes read; otherwise the text before the
// first colon followed by a blank or the line's end ("a:b:" holds a:b, "a b:" holds a b), when it is
// not empty. An item ("- a:"), and a plain key that begins with a quote or a flow collection, name
// no component.
std::optional<QString> readKey(QStringView trimmedLine)
{
    if (LineReading::afterDashes(trimmedLine) > 0)
        return std::nullopt;
    const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(trimmedLine);
    if (!key)
        return std::nullopt;
    const LineReading::Scalar name = key->name;
    if (name.quoting == LineReading::Quoting::plain) {
        if (name.raw.isEmpty())
            return std::nullopt;
        const QChar first = name.raw.front();
        if (first == u'"' || first == u'\'' || first == u'{' || first == u'[')
            return std::nullopt;
    }
    return LineReading::decoded(name);
}

// The name a JSON string's text means, its escapes read.
QString jsonName(QStringView raw)
{
    if (!raw.contains(u'\\'))
        return raw.toString();
    return LineReading::decoded(LineReading::Scalar{raw, LineReading::Quoting::json});
}

void addTarget(Targets& targets, ReferenceKind kind, QString name)
{
    targets[kind].emplace_back(kind, std::move(name));
}

// Grapheme cluster boundaries of a text. Between two ASCII units there is always a boundary, except
// inside CR LF; only a boundary next to a non-ASCII unit asks ICU.
class ClusterReader {
public:
    explicit ClusterReader(const QString& text) : data_(reinterpret_cast<const char16_t*>(text.utf16())), size_(text.size()) {}
    ~ClusterReader()
    {
        if (iterator_)
            ubrk_close(iterator_);
    }
    ClusterReader(const ClusterReader&) = delete;
    ClusterReader& operator=(const ClusterReader&) = delete;

    // True when a cluster begins at `position` (0 < position < size).
    bool isBoundary(qsizetype position)
    {
        const char16_t before = data_[position - 1];
        const char16_t after = data_[position];
        if (before < 0x80 && after < 0x80)
            return !(before == u'\r' && after == u'\n');
        if (!iterator())
            return true;
        return ubrk_isBoundary(iterator_, static_cast<int32_t>(position)) != 0;
    }

    // True when the unit at `position` is a whole cluster by itself.
    bool isSingle(qsizetype position)
    {
        return (position == 0 || isBoundary(position)) && (position + 1 >= size_ || isBoundary(position + 1));
    }

    // The end of the cluster that begins at `position`.
    qsizetype clusterEnd(qsizetype position)
    {
        if (position + 1 >= size_)
            return size_;
        const char16_t c = data_[position];
        const char16_t next = data_[position + 1];
        if (c < 0x80 && next < 0x80)
            return c == u'\r' && next == u'\n' ? position + 2 : position + 1;
        if (!iterator())
            return position + 1;
        const int32_t end = ubrk_following(iterator_, static_cast<int32_t>(position));
        return end == UBRK_DONE || end <= position ? size_ : end;
    }

private:
    UBreakIterator* iterator()
    {
        if (!iterator_ && !failed_) {
            UErrorCode status = U_ZERO_ERROR;
            iterator_ = ubrk_open(UBRK_CHARACTER, "", reinterpret_cast<const UChar*>(data_),
                                  static_cast<int32_t>(size_), &status);
            if (U_FAILURE(status)) {
                iterator_ = nullptr;
                failed_ = true;
            }
        }
        return iterator_;
    }

    const char16_t* data_;
    qsizetype size_;
    UBreakIterator* iterator_ = nullptr;
    bool failed_ = false;
};

} // namespace

ReferenceIndex ReferenceIndexer::buildIndex(const QString& text, DocumentFormat format) const
{
    switch (format) {
    case DocumentFormat::yaml: return scanYAML(text);
    case DocumentFormat::json: return scanJSON(text);
    case DocumentFormat::unknown: break;
    }
    for (QChar c : text) {
        if (c.isSpace())
            continue;
        return c == u'{' ? scanJSON(text) : scanYAML(text);
    }
    return scanYAML(text);
}

ReferenceIndex ReferenceIndexer::scanYAML(const QString& text)
{
    Targets targets;
    bool inComponents = false;
    // unknown stands for no current kind: it is never made current.
    ReferenceKind currentKind = ReferenceKind::unknown;
    // The block's steps, read from the text (0 until known): sections stand at the indentation of the
    // first line under "components:", names at that of the first line under a known section deeper
    // than the sections and a multiple of their indentation. Other lines inside the block (above the
    // sections' level, between the steps, deeper) add nothing and end nothing.
    qsizetype sectionIndentation = 0;
    qsizetype nameIndentation = 0;

    const QStringView all(text);
    const qsizetype size = all.size();
    qsizetype lineStart = 0;
    while (lineStart <= size) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < size && !isLineBreak(all[lineEnd].unicode()))
            ++lineEnd;
        const QStringView line = all.sliced(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;

        // Outside the components block only a line at indentation 0 can matter.
        if (!inComponents && !line.isEmpty() && line[0] == u' ')
            continue;
        const QStringView trimmed = trimmedHorizontal(line);
        if (trimmed.isEmpty() || trimmed[0] == u'#')
            continue;
        qsizetype indentation = 0;
        while (indentation < line.size() && line[indentation] == u' ')
            ++indentation;

        if (indentation == 0 && trimmed.startsWith(u"components:")) {
            inComponents = true;
            currentKind = ReferenceKind::unknown;
            sectionIndentation = 0;
            nameIndentation = 0;
            continue;
        }
        if (!inComponents)
            continue;
        if (indentation == 0) {
            inComponents = false;
            currentKind = ReferenceKind::unknown;
            continue;
        }
        if (sectionIndentation == 0)
            sectionIndentation = indentation;
        if (indentation == sectionIndentation) {
            const std::optional<QString> key = readKey(trimmed);
            if (!key)
                continue;
            const ReferenceKind kind = referenceKindFromComponentsSection(*key);
            if (kind == ReferenceKind::unknown) {
                currentKind = ReferenceKind::unknown;
            } else {
                currentKind = kind;
                targets[kind];
            }
        } else if (currentKind != ReferenceKind::unknown && indentation > sectionIndentation
                   && indentation % sectionIndentation == 0
                   && (nameIndentation == 0 || indentation == nameIndentation)) {
            nameIndentation = indentation;
            if (std::optional<QString> key = readKey(trimmed))
                addTarget(targets, currentKind, std::move(*key));
        }
    }
    return ReferenceIndex{std::move(targets)};
}

ReferenceIndex ReferenceIndexer::scanJSON(const QString& text)
{
    Targets targets;
    bool inString = false;
    qsizetype bufferStart = 0;
    std::optional<QStringView> pendingKey;
    bool expectingKey = false;
    std::int64_t depth = 0;
    std::int64_t componentsDepth = 0;
    std::int64_t sectionDepth = 0;
    // unknown stands for no current kind: it is never made current.
    ReferenceKind currentKind = ReferenceKind::unknown;
    bool inComponents = false;

    const QStringView all(text);
    const auto* data = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype size = all.size();
    ClusterReader clusters(text);
    qsizetype position = 0;
    while (position < size) {
        // Skip to the next unit that can matter: the scan reads only quotes, backslashes, line breaks
        // inside strings and the four structural characters outside them. Whatever the skipped units
        // form, none of them is one of those characters standing alone.
        if (inString) {
            while (position < size) {
                const char16_t c = data[position];
                if (c == u'"' || c == u'\\' || c == u'\n' || c == u'\r')
                    break;
                ++position;
            }
        } else {
            while (position < size) {
                const char16_t c = data[position];
                if (c == u'"' || c == u'\\' || c == u'{' || c == u'}' || c == u':' || c == u',')
                    break;
                ++position;
            }
        }
        if (position >= size)
            break;
        const char16_t c = data[position];
        const qsizetype start = position;
        // A character that is part of a larger cluster (a quote with a combining mark, the LF of
        // CR LF) is an ordinary character.
        if (!clusters.isSingle(position)) {
            position = clusters.clusterEnd(position);
            continue;
        }
        ++position;

        if (c == u'\\') {
            // The escaped cluster stays in the string as typed, or is ignored outside one.
            if (position < size)
                position = clusters.clusterEnd(position);
            continue;
        }
        if (c == u'"') {
            if (inString) {
                if (expectingKey)
                    pendingKey = all.sliced(bufferStart, start - bufferStart);
            } else {
                bufferStart = position;
            }
            inString = !inString;
            continue;
        }
        if (inString) {
            // A lone line feed or carriage return abandons the string.
            inString = false;
            pendingKey.reset();
            expectingKey = true;
            continue;
        }
        switch (c) {
        case u'{':
            ++depth;
            if (pendingKey && !inComponents
                && LineReading::readsAs({*pendingKey, LineReading::Quoting::json}, u"components")) {
                inComponents = true;
                componentsDepth = depth;
                pendingKey.reset();
            } else if (inComponents && depth == componentsDepth + 1) {
                if (pendingKey) {
                    const ReferenceKind kind = referenceKindFromComponentsSection(jsonName(*pendingKey));
                    if (kind != ReferenceKind::unknown) {
                        currentKind = kind;
                        sectionDepth = depth;
                        targets[kind];
                    }
                }
                pendingKey.reset();
            } else if (currentKind != ReferenceKind::unknown && depth == sectionDepth + 1 && pendingKey) {
                addTarget(targets, currentKind, jsonName(*pendingKey));
                pendingKey.reset();
            }
            expectingKey = true;
            break;
        case u'}':
            if (inComponents && depth == componentsDepth) {
                inComponents = false;
                currentKind = ReferenceKind::unknown;
            } else if (depth == sectionDepth) {
                currentKind = ReferenceKind::unknown;
            }
            --depth;
            expectingKey = true;
            break;
        case u':': expectingKey = false; break;
        default: // ','
            pendingKey.reset();
            expectingKey = true;
            break;
        }
    }
    return ReferenceIndex{std::move(targets)};
}

} // namespace Carvex
