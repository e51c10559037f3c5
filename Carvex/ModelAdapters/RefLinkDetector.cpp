#include "Carvex/ModelAdapters/RefLinkDetector.h"

#include "Carvex/CaretContext/LineReading.h"
#include "Carvex/CaretContext/UnitSearch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Carvex {

namespace {

// The first of the units `a`, `b`, `c` in [from, to); `to` when there is none.
qsizetype firstOf(const char16_t* units, qsizetype from, qsizetype to, char16_t a, char16_t b, char16_t c)
{
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
    const __m128i vc = _mm_set1_epi16(static_cast<short>(c));
    for (; i + 8 <= to; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(chunk, va), _mm_cmpeq_epi16(chunk, vb)),
                                         _mm_cmpeq_epi16(chunk, vc));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0)
            return i + __builtin_ctz(static_cast<unsigned>(mask)) / 2;
    }
#endif
    for (; i < to; ++i) {
        const char16_t unit = units[i];
        if (unit == a || unit == b || unit == c)
            return i;
    }
    return to;
}

bool isJSONBlank(char16_t unit)
{
    return unit == u' ' || unit == u'\t' || unit == u'\n' || unit == u'\r';
}

bool isSpaceOrTab(char16_t unit)
{
    return unit == u' ' || unit == u'\t';
}

// "ref" at `at` (the units after a "$").
bool refAt(const char16_t* units, qsizetype at, qsizetype n)
{
    return at + 3 <= n && units[at] == u'r' && units[at + 1] == u'e' && units[at + 2] == u'f';
}

// What may stand before a YAML key marker.
bool opensYAMLKey(char16_t unit)
{
    switch (unit) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\r':
    case u'"':
    case u'\'':
    case u'-':
        return true;
    default:
        return false;
    }
}

RefLink makeLink(QStringView text, qsizetype valueStart, qsizetype valueEnd, qsizetype fullStart, qsizetype fullEnd,
                 RefLinkDetector::PathCache& paths)
{
    return RefLink{TextRange{valueStart, valueEnd - valueStart}, TextRange{fullStart, fullEnd - fullStart},
                   paths.path(text.sliced(valueStart, valueEnd - valueStart))};
}

using StepFunction = std::optional<RefLinkDetector::Step> (*)(QStringView, qsizetype, RefLinkDetector::PathCache&);

std::vector<RefLink> scan(QStringView text, StepFunction step)
{
    std::vector<RefLink> links;
    // Room for one link per 64 units, more than a description holds, so the list rarely moves while
    // it grows; untouched room costs address space only.
    links.reserve(std::size_t(text.size() / 64));
    RefLinkDetector::PathCache paths;
    qsizetype p = 0;
    while (std::optional<RefLinkDetector::Step> next = step(text, p, paths)) {
        if (next->link)
            links.push_back(std::move(*next->link));
        p = next->next;
    }
    return links;
}

} // namespace

QString RefLinkDetector::PathCache::path(QStringView value)
{
    // Long values are rare and costly to compare: they get their own text.
    if (value.size() > 200)
        return value.toString();
    // Paths to the same section share their start: mix the length and the last units.
    std::size_t hash = std::size_t(value.size());
    for (qsizetype i = std::max<qsizetype>(value.size() - 6, 0); i < value.size(); ++i)
        hash = hash * 31 + value[i].unicode();
    QString& slot = slots_[hash % slots_.size()];
    if (slot != value)
        slot = value.toString();
    return slot;
}

std::vector<RefLink> RefLinkDetector::detectLinks(QStringView text, DocumentLanguage language) const
{
    switch (language) {
    case DocumentLanguage::json:
        return detectJSONLinks(text);
    case DocumentLanguage::yaml:
        return detectYAMLLinks(text);
    case DocumentLanguage::unknown:
        break;
    }
    return {};
}

std::vector<RefLink> RefLinkDetector::detectJSONLinks(QStringView text) const
{
    return scan(text, &RefLinkDetector::nextJSONStep);
}

std::vector<RefLink> RefLinkDetector::detectYAMLLinks(QStringView text) const
{
    return scan(text, &RefLinkDetector::nextYAMLStep);
}

std::optional<RefLinkDetector::Step> RefLinkDetector::nextJSONStep(QStringView text, qsizetype from, PathCache& paths)
{
    const char16_t* units = text.utf16();
    const qsizetype n = text.size();
    // The marker "\"$ref\"" starts one unit before its "$".
    qsizetype dollar = std::max<qsizetype>(from, 0) + 1;
    for (;; ++dollar) {
        if (dollar >= n)
            return std::nullopt;
        dollar = firstOf(units, dollar, n, u'$', u'$', u'$');
        if (dollar == n)
            return std::nullopt;
        if (units[dollar - 1] == u'"' && refAt(units, dollar + 1, n) && dollar + 4 < n && units[dollar + 4] == u'"')
            break;
    }
    const qsizetype marker = dollar - 1;
    const Step noLink{marker, marker + 6, std::nullopt};

    qsizetype k = marker + 6;
    while (k < n && isJSONBlank(units[k]))
        ++k;
    if (k == n || units[k] != u':')
        return noLink;
    ++k;
    while (k < n && isJSONBlank(units[k]))
        ++k;
    if (k == n || units[k] != u'"')
        return noLink;
    const qsizetype quote = k;
    // A backslash makes the unit after it ordinary, whatever it is.
    qsizetype close = quote + 1;
    for (;;) {
        close = UnitSearch::quoteOrBackslash(units, close, n);
        if (close >= n)
            return noLink;
        if (units[close] == u'"')
            break;
        close += 2;
    }
    return Step{marker, close + 1, makeLink(text, quote + 1, close, quote, close + 1, paths)};
}

std::optional<RefLinkDetector::Step> RefLinkDetector::nextYAMLStep(QStringView text, qsizetype from, PathCache& paths)
{
    const char16_t* units = text.utf16();
    const qsizetype n = text.size();
    qsizetype marker = std::max<qsizetype>(from, 0);
    for (;; ++marker) {
        if (marker >= n)
            return std::nullopt;
        marker = firstOf(units, marker, n, u'$', u'$', u'$');
        if (marker == n)
            return std::nullopt;
        if (refAt(units, marker + 1, n) && (marker == 0 || opensYAMLKey(units[marker - 1])))
            break;
    }
    const Step noLink{marker, marker + 4, std::nullopt};

    // The marker counts only where the line reading finds it as its line's key: not in a comment, a
    // quoted scalar or a longer key. Only indentation, dashes and the key's quote may stand before it,
    // so a line holding many markers is read once.
    qsizetype lineStart = marker;
    if (lineStart > 0 && (units[lineStart - 1] == u'"' || units[lineStart - 1] == u'\''))
        --lineStart;
    while (lineStart > 0 && (isSpaceOrTab(units[lineStart - 1]) || units[lineStart - 1] == u'-'))
        --lineStart;
    if (lineStart > 0 && units[lineStart - 1] != u'\n' && units[lineStart - 1] != u'\r')
        return noLink;
    // The marker's line, its line break (a CR before a LF too) left out.
    qsizetype lineEnd = firstOf(units, marker, n, u'\n', u'\n', u'\n');
    if (lineEnd > marker && units[lineEnd - 1] == u'\r')
        --lineEnd;
    const QStringView line = text.sliced(lineStart, lineEnd - lineStart);
    qsizetype body = 0;
    while (body < line.size() && isSpaceOrTab(line[body].unicode()))
        ++body;
    body += LineReading::afterDashes(line.sliced(body));
    const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(line.sliced(body));
    if (!key || key->name.raw.utf16() != units + marker || !LineReading::readsAs(key->name, u"$ref"))
        return noLink;

    qsizetype k = lineStart + body + key->colon + 1;
    while (k < lineEnd && isSpaceOrTab(units[k]))
        ++k;
    if (k == lineEnd)
        return noLink;
    const qsizetype start = k;
    const char16_t first = units[start];

    if (first == u'"' || first == u'\'') {
        // In double quotes a backslash makes the unit after it ordinary; in single quotes a doubled
        // quote stands for one. Left open, the value runs to the line's end.
        const LineReading::Quoted value = LineReading::quoted(
            line, start - lineStart, first == u'"' ? LineReading::Quoting::yamlDouble : LineReading::Quoting::yamlSingle);
        const qsizetype end = lineStart + value.end;
        if (value.scalar.raw.isEmpty())
            return Step{marker, end, std::nullopt};
        return Step{marker, end, makeLink(text, start + 1, value.closed ? end - 1 : end, start, end, paths)};
    }

    const qsizetype end = firstOf(units, start, lineEnd, u'\r', u'#', u'#');
    qsizetype valueEnd = end;
    while (valueEnd > start && isSpaceOrTab(units[valueEnd - 1]))
        --valueEnd;
    if (valueEnd == start)
        return Step{marker, end, std::nullopt};
    return Step{marker, end, makeLink(text, start, valueEnd, start, end, paths)};
}

} // namespace Carvex
