#include "Carvex/Text/TextPositionConverter.h"

#include <unicode/ubrk.h>

#include <algorithm>

namespace Carvex {

namespace {

bool isAscii(char16_t c) { return c < 0x80; }

// Lines longer than this keep checkpoints, one every `checkpointColumns` clusters.
constexpr qsizetype longLineUnits = 4096;
constexpr std::int64_t checkpointColumns = 1024;

// Clusters from `from` (a boundary) on by ICU's character break rules, never past `end`: until
// `count` (which it lowers) runs out, or until a boundary between two ASCII characters, where the
// caller's quick count may take over again. `iterator` is opened on first use.
qsizetype advanceByIcu(QStringView text, qsizetype from, qsizetype end, std::int64_t& count,
                       UBreakIterator*& iterator, bool& owned) {
    UErrorCode status = U_ZERO_ERROR;
    const auto* units = reinterpret_cast<const UChar*>(text.utf16()) + from;
    const auto length = static_cast<std::int32_t>(std::min<qsizetype>(end - from, INT32_MAX));
    if (iterator == nullptr) {
        iterator = ubrk_open(UBRK_CHARACTER, "", units, length, &status);
        owned = true;
    } else {
        ubrk_setText(iterator, units, length, &status);
    }
    if (U_FAILURE(status) || iterator == nullptr) {
        // Without ICU, count code points: never worse than one column per code point.
        qsizetype i = from;
        for (; count > 0 && i < end; --count) {
            i += (text[i].isHighSurrogate() && i + 1 < end && text[i + 1].isLowSurrogate()) ? 2 : 1;
        }
        return i;
    }
    while (count > 0) {
        const std::int32_t next = ubrk_next(iterator);
        if (next == UBRK_DONE) {
            return end;
        }
        --count;
        const qsizetype at = from + next;
        if (at >= end) {
            return end;
        }
        if (isAscii(text[at].unicode()) && isAscii(text[at - 1].unicode())) {
            return at;
        }
    }
    return from + ubrk_current(iterator);
}

}  // namespace

void TextPositionConverter::BreakIteratorCloser::operator()(UBreakIterator* iterator) const {
    ubrk_close(iterator);
}

TextPositionConverter::TextPositionConverter() = default;
TextPositionConverter::TextPositionConverter(QStringView text) { reset(text); }
TextPositionConverter::~TextPositionConverter() = default;
TextPositionConverter::TextPositionConverter(TextPositionConverter&&) noexcept = default;
TextPositionConverter& TextPositionConverter::operator=(TextPositionConverter&&) noexcept = default;

void TextPositionConverter::reset(QStringView text) {
    text_ = text;
    checkpoints_.clear();
    lineStarts_.clear();
    lineStarts_.push_back(0);
    for (qsizetype at = text.indexOf(u'\n'); at >= 0; at = text.indexOf(u'\n', at + 1)) {
        lineStarts_.push_back(at + 1);
    }
}

void TextPositionConverter::clear() {
    text_ = {};
    checkpoints_.clear();
    lineStarts_.clear();
    lineStarts_.shrink_to_fit();
}

std::optional<qsizetype> TextPositionConverter::lineStart(std::int64_t line) const {
    if (line < 1 || line > lineCount()) {
        return std::nullopt;
    }
    return lineStarts_[static_cast<std::size_t>(line - 1)];
}

std::optional<qsizetype> TextPositionConverter::lineEnd(std::int64_t line) const {
    if (line < 1 || line > lineCount()) {
        return std::nullopt;
    }
    return line == lineCount() ? text_.size() : lineStarts_[static_cast<std::size_t>(line)];
}

std::optional<qsizetype> TextPositionConverter::lineContentEnd(std::int64_t line) const {
    const auto start = lineStart(line);
    if (!start) {
        return std::nullopt;
    }
    qsizetype end = *lineEnd(line);
    if (end > *start && text_[end - 1] == u'\n') {
        --end;
        if (end > *start && text_[end - 1] == u'\r') {
            --end;
        }
    }
    return end;
}

std::optional<qsizetype> TextPositionConverter::position(std::int64_t line,
                                                         std::int64_t column) const {
    const auto lineBegin = lineStart(line);
    if (!lineBegin) {
        return std::nullopt;
    }
    const qsizetype end = *lineContentEnd(line);
    // The parsers skip a byte order mark before the text: the first line's columns start after it.
    const qsizetype start = line == 1 && *lineBegin < end && text_[*lineBegin] == QChar::ByteOrderMark
                                ? *lineBegin + 1
                                : *lineBegin;
    const std::int64_t count = std::max<std::int64_t>(column - 1, 0);
    if (end - start <= longLineUnits || count < checkpointColumns) {
        return advance(start, end, count);
    }
    std::vector<qsizetype>& marks = checkpoints_[line];
    if (marks.empty()) {
        marks.push_back(start);
    }
    const auto wanted = static_cast<std::size_t>(count / checkpointColumns);
    while (marks.size() <= wanted && marks.back() < end) {
        marks.push_back(advance(marks.back(), end, checkpointColumns));
    }
    if (marks.size() <= wanted) {
        return end;  // the line has fewer columns
    }
    return advance(marks[wanted], end, count - static_cast<std::int64_t>(wanted) * checkpointColumns);
}

qsizetype TextPositionConverter::advance(qsizetype from, qsizetype end, std::int64_t count) const {
    qsizetype i = from;
    // Two ASCII characters always have a cluster boundary between them (but CR LF): count them
    // without ICU. `i` stays on a boundary, so ICU takes over there for the characters that are
    // not ASCII, and hands back at the next boundary between two ASCII characters.
    while (count > 0 && i < end) {
        const char16_t c = text_[i].unicode();
        if (c == u'\r' && i + 1 < end && text_[i + 1] == u'\n') {
            i += 2;
            --count;
            continue;
        }
        if (isAscii(c) && (i + 1 >= end || isAscii(text_[i + 1].unicode()))) {
            ++i;
            --count;
            continue;
        }
        UBreakIterator* iterator = breaker_.get();
        bool owned = false;
        i = advanceByIcu(text_, i, end, count, iterator, owned);
        if (owned) {
            breaker_.reset(iterator);
        }
    }
    return i;
}

qsizetype TextPositionConverter::advanceClusters(QStringView text, qsizetype from, qsizetype end,
                                                 std::int64_t count) {
    TextPositionConverter converter;
    converter.text_ = text;
    end = std::clamp<qsizetype>(end, 0, text.size());
    return converter.advance(std::clamp<qsizetype>(from, 0, end), end, count);
}

}  // namespace Carvex
