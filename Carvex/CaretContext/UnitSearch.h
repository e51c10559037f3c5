#pragma once

#include <QtGlobal>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Carvex {

// Searches over UTF-16 units for the few units the caret scanners stop at, eight units at a time
// where the processor allows. Each returns the offset of the first (or, backwards, the last) unit
// found, or the far end of the range when there is none.
struct UnitSearch {
    // The first '"' or '\\' in [from, to).
    static qsizetype quoteOrBackslash(const char16_t* units, qsizetype from, qsizetype to)
    {
        qsizetype i = from;
#if defined(__SSE2__)
        const __m128i quote = _mm_set1_epi16(u'"');
        const __m128i backslash = _mm_set1_epi16(u'\\');
        for (; i + 8 <= to; i += 8) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
            const int mask = _mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi16(chunk, quote), _mm_cmpeq_epi16(chunk, backslash)));
            if (mask != 0)
                return i + __builtin_ctz(unsigned(mask)) / 2;
        }
#endif
        for (; i < to; ++i) {
            if (units[i] == u'"' || units[i] == u'\\')
                return i;
        }
        return to;
    }

    // The first unit in [from, to) that may be JSON structure outside strings: a quote, a
    // backslash, a comma, a colon or a bracket. Also stops at 'Y', '_', 'y' and DEL, which share
    // the brackets' bit pattern; callers pass over them.
    static qsizetype structuralCandidate(const char16_t* units, qsizetype from, qsizetype to)
    {
        qsizetype i = from;
#if defined(__SSE2__)
        const __m128i bracketBits = _mm_set1_epi16(short(0xFFD9));
        const __m128i bracket = _mm_set1_epi16(0x59);
        const __m128i quote = _mm_set1_epi16(u'"');
        const __m128i backslash = _mm_set1_epi16(u'\\');
        const __m128i comma = _mm_set1_epi16(u',');
        const __m128i colon = _mm_set1_epi16(u':');
        for (; i + 8 <= to; i += 8) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
            __m128i hit = _mm_cmpeq_epi16(_mm_and_si128(chunk, bracketBits), bracket);
            hit = _mm_or_si128(hit, _mm_cmpeq_epi16(chunk, quote));
            hit = _mm_or_si128(hit, _mm_cmpeq_epi16(chunk, backslash));
            hit = _mm_or_si128(hit, _mm_cmpeq_epi16(chunk, comma));
            hit = _mm_or_si128(hit, _mm_cmpeq_epi16(chunk, colon));
            const int mask = _mm_movemask_epi8(hit);
            if (mask != 0)
                return i + __builtin_ctz(unsigned(mask)) / 2;
        }
#endif
        for (; i < to; ++i) {
            const char16_t unit = units[i];
            if ((unit & 0xFFD9) == 0x59 || unit == u'"' || unit == u'\\' || unit == u',' || unit == u':')
                return i;
        }
        return to;
    }

    // The last unit in [from, to) that is a quote or a bracket (or 'Y', '_', 'y', DEL, which share
    // the brackets' bit pattern); from - 1 when there is none.
    static qsizetype lastQuoteOrBracketCandidate(const char16_t* units, qsizetype from, qsizetype to)
    {
        qsizetype i = to;
#if defined(__SSE2__)
        const __m128i bracketBits = _mm_set1_epi16(short(0xFFD9));
        const __m128i bracket = _mm_set1_epi16(0x59);
        const __m128i quote = _mm_set1_epi16(u'"');
        for (; i - 8 >= from; i -= 8) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i - 8));
            const __m128i hit = _mm_or_si128(_mm_cmpeq_epi16(_mm_and_si128(chunk, bracketBits), bracket),
                                             _mm_cmpeq_epi16(chunk, quote));
            const int mask = _mm_movemask_epi8(hit);
            if (mask != 0)
                return i - 8 + (31 - __builtin_clz(unsigned(mask))) / 2;
        }
#endif
        for (; i > from; --i) {
            const char16_t unit = units[i - 1];
            if ((unit & 0xFFD9) == 0x59 || unit == u'"')
                return i - 1;
        }
        return from - 1;
    }

    static bool isLineTerminator(char16_t unit)
    {
        return unit == u'\n' || unit == u'\r' || unit == 0x0085 || unit == 0x2028 || unit == 0x2029;
    }

#if defined(__SSE2__)
    // Two bits per unit of the eight at `at` that end a line (LF, CR, NEL, LS, PS).
    static unsigned lineTerminatorMask(const char16_t* at)
    {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        __m128i hit = _mm_or_si128(_mm_cmpeq_epi16(chunk, _mm_set1_epi16(u'\n')),
                                   _mm_cmpeq_epi16(chunk, _mm_set1_epi16(u'\r')));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(chunk, _mm_set1_epi16(0x0085)));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(_mm_and_si128(chunk, _mm_set1_epi16(short(0xFFFE))),
                                                _mm_set1_epi16(0x2028)));
        return unsigned(_mm_movemask_epi8(hit));
    }
#endif

    // The first line terminator in [from, to).
    static qsizetype lineTerminator(const char16_t* units, qsizetype from, qsizetype to)
    {
        qsizetype i = from;
#if defined(__SSE2__)
        for (; i + 8 <= to; i += 8) {
            const unsigned mask = lineTerminatorMask(units + i);
            if (mask != 0)
                return i + __builtin_ctz(mask) / 2;
        }
#endif
        for (; i < to; ++i) {
            if (isLineTerminator(units[i]))
                return i;
        }
        return to;
    }

    // The last line terminator j in [from, to) for which `accept(j)` holds, visiting the
    // terminators from the last one back; from - 1 when none is accepted.
    template<class Accept>
    static qsizetype lastLineTerminatorWhere(const char16_t* units, qsizetype from, qsizetype to, Accept accept)
    {
        qsizetype i = to;
#if defined(__SSE2__)
        for (; i - 16 >= from; i -= 16) {
            // Two bits per unit, the later units in the higher bits.
            unsigned mask = lineTerminatorMask(units + i - 16) | lineTerminatorMask(units + i - 8) << 16;
            while (mask != 0) {
                const int high = 31 - __builtin_clz(mask);
                const qsizetype at = i - 16 + high / 2;
                if (accept(at))
                    return at;
                mask &= (1u << (high - 1)) - 1;
            }
        }
#endif
        for (; i > from; --i) {
            if (isLineTerminator(units[i - 1]) && accept(i - 1))
                return i - 1;
        }
        return from - 1;
    }

    // The offset just after the last line terminator in [from, to), or `from` when there is none.
    static qsizetype afterLastLineTerminator(const char16_t* units, qsizetype from, qsizetype to)
    {
        qsizetype i = to;
#if defined(__SSE2__)
        for (; i - 8 >= from; i -= 8) {
            const unsigned mask = lineTerminatorMask(units + i - 8);
            if (mask != 0)
                return i - 8 + (31 - __builtin_clz(mask)) / 2 + 1;
        }
#endif
        for (; i > from; --i) {
            if (isLineTerminator(units[i - 1]))
                return i;
        }
        return from;
    }
};

} // namespace Carvex
