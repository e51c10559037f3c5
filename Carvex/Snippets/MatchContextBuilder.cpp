#include "Carvex/Snippets/MatchContextBuilder.h"

#include "Carvex/CaretContext/CaretLine.h"
#include "Carvex/CaretContext/LineReading.h"
#include "Carvex/CaretContext/UnitSearch.h"
#include "Carvex/CaretContext/YAMLContextScanner.h"

#include <unicode/uchar.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#endif

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace Carvex::MatchContextBuilder {

namespace {

// White space as the regular expression class \s takes it (the Unicode White_Space property).
// Surrogates, paired or not, are never white space.
bool isWhiteSpace(char16_t unit) {
    if (unit < 0x80) return unit == u' ' || (unit >= u'\t' && unit <= u'\r');
    return u_isUWhiteSpace(UChar32(unit));
}

// The start of the line holding the character at `index` (0 ≤ index < length). A line feed right
// after a carriage return ends the same line as the return.
qsizetype startOfLineHolding(QStringView text, qsizetype index) {
    const char16_t* units = text.utf16();
    qsizetype searchEnd = index;
    if (units[index] == u'\n' && index > 0 && units[index - 1] == u'\r') --searchEnd;
    return UnitSearch::afterLastLineTerminator(units, 0, searchEnd);
}

// Columns of the leading spaces (1) and tabs (2) from `from`.
qsizetype leadingColumns(QStringView text, qsizetype from) {
    qsizetype columns = 0;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u' ') {
            columns += 1;
        } else if (text[i] == u'\t') {
            columns += 2;
        } else {
            break;
        }
    }
    return columns;
}

// The position of the last white-space unit in [0, to), or -1. Eight units at a time where the
// processor allows: a chunk of ASCII non-blanks is passed over whole.
qsizetype lastWhiteSpaceBefore(const char16_t* units, qsizetype to) {
    qsizetype i = to;
#if defined(__SSE2__)
    const __m128i blank = _mm_set1_epi16(u' ');
    const __m128i controlEnd = _mm_set1_epi16(u'\r');
    const __m128i controlStart = _mm_set1_epi16(u'\t' - 1);
    const __m128i asciiEnd = _mm_set1_epi16(0x7F);
    const __m128i zero = _mm_setzero_si128();
    while (i >= 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i - 8));
        // A blank, a control from tab to carriage return, or anything outside ASCII.
        const __m128i control = _mm_andnot_si128(_mm_cmpeq_epi16(_mm_subs_epu16(chunk, controlStart), zero),
                                                 _mm_cmpeq_epi16(_mm_subs_epu16(chunk, controlEnd), zero));
        const __m128i maybe = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(chunk, blank), control),
                                           _mm_xor_si128(_mm_cmpeq_epi16(_mm_subs_epu16(chunk, asciiEnd), zero),
                                                         _mm_set1_epi16(-1)));
        if (_mm_movemask_epi8(maybe) != 0) {
            for (qsizetype k = i - 1; k >= i - 8; --k) {
                if (isWhiteSpace(units[k])) return k;
            }
        }
        i -= 8;
    }
#endif
    for (qsizetype k = i - 1; k >= 0; --k) {
        if (isWhiteSpace(units[k])) return k;
    }
    return -1;
}

#if defined(__x86_64__) || defined(__i386__)
// For each set of quote lanes among eight 16-bit lanes: the byte shuffle that packs the other lanes
// to the front.
struct PackingShuffles {
    alignas(16) unsigned char bytes[256][16];
    unsigned char kept[256];
    constexpr PackingShuffles() : bytes{}, kept{} {
        for (int mask = 0; mask < 256; ++mask) {
            int out = 0;
            for (int lane = 0; lane < 8; ++lane) {
                if ((mask >> lane) & 1) continue;
                bytes[mask][out++] = static_cast<unsigned char>(2 * lane);
                bytes[mask][out++] = static_cast<unsigned char>(2 * lane + 1);
            }
            kept[mask] = static_cast<unsigned char>(out / 2);
            while (out < 16) bytes[mask][out++] = 0x80;
        }
    }
};
constexpr PackingShuffles kPackingShuffles;

// Copies [read, end) to `write` without quotes, eight units at a time; answers the end written.
__attribute__((target("ssse3"))) char16_t* copyWithoutQuotesPacked(const char16_t* read, const char16_t* end,
                                                                   char16_t* write) {
    const __m128i quote = _mm_set1_epi16(u'"');
    for (; end - read >= 8; read += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(read));
        // One bit per lane: the even bytes of the comparison.
        const __m128i hits = _mm_packs_epi16(_mm_cmpeq_epi16(chunk, quote), _mm_setzero_si128());
        const unsigned mask = unsigned(_mm_movemask_epi8(hits)) & 0xFFu;
        const __m128i shuffle = _mm_load_si128(reinterpret_cast<const __m128i*>(kPackingShuffles.bytes[mask]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(write), _mm_shuffle_epi8(chunk, shuffle));
        write += kPackingShuffles.kept[mask];
    }
    for (; read < end; ++read) {
        *write = *read;
        write += *read != u'"';
    }
    return write;
}
#endif

QString withoutQuotes(QStringView text, FileFormat format) {
    if (format != FileFormat::json) return text.toString();
    QString out(text.size(), Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* write = begin;
    const char16_t* read = text.utf16();
    const char16_t* const end = read + text.size();
#if defined(__x86_64__) || defined(__i386__)
    static const bool packed = __builtin_cpu_supports("ssse3");
    if (packed) {
        write = copyWithoutQuotesPacked(read, end, write);
        read = end;
    }
#endif
    for (; read < end; ++read) {
        *write = *read;
        write += *read != u'"';
    }
    out.truncate(write - begin);
    return out;
}

int levelOfColumns(qsizetype columns) { return int(std::min<qsizetype>(columns / 2, std::numeric_limits<int>::max())); }

QString keywordOfLine(QStringView text, qsizetype lineStart, qsizetype cursor, FileFormat format) {
    return withoutQuotes(CaretLine::trimmed(trailingWord(text.sliced(lineStart, cursor - lineStart))), format);
}

// The first line feed in [from, to), or `to`; `colon` becomes the first colon before it, or -1.
qsizetype nextLineFeed(const char16_t* units, qsizetype from, qsizetype to, qsizetype& colon) {
    colon = -1;
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi16(u'\n');
    const __m128i colons = _mm_set1_epi16(u':');
    for (; i + 8 <= to; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
        const int feeds = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, lf));
        if (colon < 0) {
            // Colons before the first line feed of the chunk (or anywhere in it without one).
            const unsigned before = feeds != 0 ? (1u << __builtin_ctz(unsigned(feeds))) - 1 : 0xFFFFu;
            const unsigned found = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(chunk, colons))) & before;
            if (found != 0) colon = i + __builtin_ctz(found) / 2;
        }
        if (feeds != 0) return i + __builtin_ctz(unsigned(feeds)) / 2;
    }
#endif
    for (; i < to; ++i) {
        if (units[i] == u'\n') return i;
        if (colon < 0 && units[i] == u':') colon = i;
    }
    return to;
}

// Just after the last line feed before `limit`, or 0: where the lines that precede the caret's
// line (split at line feeds) end. No terminator lies in [searchFrom, limit - 1).
qsizetype endOfLastLineBefore(QStringView text, qsizetype limit, qsizetype searchFrom) {
    const char16_t* units = text.utf16();
    if (limit > 0 && units[limit - 1] == u'\n') return limit;
    qsizetype p = std::min(searchFrom, limit);
    while (p > 0) {
        p = UnitSearch::afterLastLineTerminator(units, 0, p);
        if (p > 0 && units[p - 1] == u'\n') return p;
        if (p > 0) --p;
    }
    return 0;
}

// Whether a YAML line may open a block scalar, told from the first colon at `colon` (-1 for none) in a
// line ending at `lineEnd`: a value after it that starts with an indicator, tag or anchor, or a colon
// that ends no key. Items and quoted keys are always read in full.
bool opensBlockScalarMaybe(const char16_t* units, qsizetype colon, qsizetype lineEnd, bool readInFull) {
    if (readInFull) return true;
    if (colon < 0) return false;
    qsizetype value = colon + 1;
    if (value == lineEnd) return false;
    if (units[value] != u' ' && units[value] != u'\t') return true;
    while (value < lineEnd && (units[value] == u' ' || units[value] == u'\t')) ++value;
    return value < lineEnd &&
           (units[value] == u'|' || units[value] == u'>' || units[value] == u'!' || units[value] == u'&');
}

// The key of a line's trimmed text whose first colon stands at `colon`, as the line reading finds it:
// the dashes before it and its name. None for a line that holds no key. YAML: the key after the line's
// dashes ("- name"); a colon in a plain scalar ("a:b", "- http://x"), a quoted one or a comment ends
// none. JSON: a string at the line's start that a colon follows; otherwise the text before the first
// colon, read plain.
struct LineKey {
    QStringView dashes;
    LineReading::Scalar name;
};

std::optional<LineKey> keyOfLine(QStringView trimmed, qsizetype colon, FileFormat format) {
    if (format == FileFormat::yaml) {
        const qsizetype dashes = LineReading::afterDashes(trimmed);
        const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(trimmed.sliced(dashes));
        if (!key) return std::nullopt;
        return LineKey{trimmed.first(dashes), key->name};
    }
    if (trimmed.startsWith(u'"')) {
        const std::optional<LineReading::Scalar> string = LineReading::jsonKey(trimmed);
        if (string && string->raw.utf16() == trimmed.utf16() + 1) return LineKey{{}, *string};
    }
    return LineKey{{}, {trimmed.first(colon), LineReading::Quoting::plain}};
}

// A key's text in a parent path: a quoted name decoded, a plain JSON one without its quotes.
QString keyText(const LineKey& key, FileFormat format) {
    const QString name = key.name.quoting == LineReading::Quoting::plain ? withoutQuotes(key.name.raw, format)
                                                                         : LineReading::decoded(key.name);
    return key.dashes.isEmpty() ? name : key.dashes.toString() + name;
}

// The keys enclosing what follows [0, end), which ends just after a line feed (or is empty). In
// YAML an item's dash line stands a column deeper than its dash, so a list written at its key's
// column stays under that key; the text of a block scalar is passed over, and `openBlock` (when
// given) tells the column that text lies beyond when one is still open at `end`.
QStringList keysOfLines(QStringView text, qsizetype end, FileFormat format,
                        std::optional<qsizetype>* openBlock = nullptr) {
    const char16_t* units = text.utf16();
    const bool yaml = format == FileFormat::yaml;
    std::vector<std::pair<qsizetype, LineKey>> stack;
    std::optional<qsizetype> block;
    const auto popFrom = [&stack](qsizetype indent) {
        while (!stack.empty() && stack.back().first >= indent) stack.pop_back();
    };
    for (qsizetype lineStart = 0; lineStart < end;) {
        qsizetype colon = -1;
        const qsizetype lineEnd = nextLineFeed(units, lineStart, end, colon);
        const QStringView line(units + lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        // The leading run of spaces and tabs gives the indentation and, unless other space
        // separators follow it, the start of the trimmed line.
        qsizetype indent = 0;
        qsizetype lead = 0;
        for (; lead < line.size() && (line[lead] == u' ' || line[lead] == u'\t'); ++lead) {
            indent += line[lead] == u'\t' ? 2 : 1;
        }
        QStringView trimmed;
        if (lead < line.size() && line[lead].unicode() >= 0x80) {
            trimmed = CaretLine::trimmed(line);
        } else {
            qsizetype tail = line.size();
            while (tail > lead && CaretLine::isHorizontalSpace(line[tail - 1].unicode())) --tail;
            trimmed = line.sliced(lead, tail - lead);
        }
        if (trimmed.isEmpty()) continue;
        if (block) {
            if (indent > *block || trimmed.front() == u'#') continue;
            block.reset();
        }
        if (format == FileFormat::json && trimmed.size() <= 2 &&
            (trimmed == u"}" || trimmed == u"}," || trimmed == u"]" || trimmed == u"],")) {
            popFrom(indent);
            continue;
        }
        const bool item = yaml && trimmed.front() == u'-' && (trimmed.size() == 1 || trimmed[1] == u' ' || trimmed[1] == u'\t');
        if (yaml && opensBlockScalarMaybe(units, colon, lineEnd, item || trimmed.front() == u'"' || trimmed.front() == u'\'')) {
            block = YAMLContextScanner::blockScalarColumn(line);
        }
        if (colon < 0) continue;
        const std::optional<LineKey> key = keyOfLine(trimmed, units + colon - trimmed.utf16(), format);
        if (!key) continue;
        const qsizetype level = item ? indent + 1 : indent;
        popFrom(level);
        stack.emplace_back(level, *key);
    }
    if (openBlock) *openBlock = block;
    QStringList path;
    path.reserve(qsizetype(stack.size()));
    for (const auto& [indent, key] : stack) path.push_back(keyText(key, format));
    return path;
}

}  // namespace

QStringView trailingWord(QStringView part) {
    qsizetype end = part.size();
    while (end > 0 && isWhiteSpace(part[end - 1].unicode())) --end;
    if (end == 0) return {};
    return part.sliced(lastWhiteSpaceBefore(part.utf16(), end) + 1);
}

QString lastKeyword(QStringView text, qsizetype cursor, FileFormat format) {
    if (cursor < 1 || cursor > text.size()) return {};
    return keywordOfLine(text, startOfLineHolding(text, cursor - 1), cursor, format);
}

int indentLevel(QStringView text, qsizetype cursor) {
    if (cursor < 1 || cursor > text.size()) return 0;
    return levelOfColumns(leadingColumns(text, startOfLineHolding(text, cursor - 1)));
}

QString baseIndent(QStringView text, qsizetype position) {
    if (position < 1 || position > text.size()) return QStringLiteral("  ");
    const qsizetype start = startOfLineHolding(text, position - 1);
    qsizetype end = start;
    while (end < text.size() && (text[end] == u' ' || text[end] == u'\t')) ++end;
    return text.sliced(start, end - start).toString();
}

QStringList parentPath(QStringView text, qsizetype cursor, FileFormat format) {
    if (cursor < 1) return {};
    const qsizetype limit = std::min(cursor, text.size());
    return keysOfLines(text, endOfLastLineBefore(text, limit, limit), format);
}

std::optional<MatchContext> build(const QString& text, qsizetype cursor, FileFormat format) {
    if (cursor < 1 || cursor > text.size()) return std::nullopt;
    const qsizetype lineStart = startOfLineHolding(text, cursor - 1);
    QString keyword = keywordOfLine(text, lineStart, cursor, format);
    if (keyword.isEmpty()) return std::nullopt;
    std::optional<qsizetype> openBlock;
    QStringList parentPath = keysOfLines(text, endOfLastLineBefore(text, cursor, lineStart), format, &openBlock);
    const qsizetype columns = leadingColumns(text, lineStart);
    // The text of a block scalar is prose: no template is offered in it.
    if (openBlock && columns > *openBlock) return std::nullopt;
    return MatchContext{.text = text,
                        .cursorPosition = cursor,
                        .lastKeyword = std::move(keyword),
                        .indentLevel = levelOfColumns(columns),
                        .parentPath = std::move(parentPath),
                        .fileFormat = format};
}

}  // namespace Carvex::MatchContextBuilder
