#pragma once

#include <QtGlobal>

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Carvex {

// Reads JSON text forwards 64 UTF-16 units at a time and reports only the units that matter to
// structure outside strings: brackets, commas and colons (and 'Y', '_', 'y', DEL, which share the
// brackets' bit pattern; receivers pass over them). Strings are followed exactly: inside a string
// a backslash escapes the next unit; outside one it is ignored but noted.
//
// The receiver is called as `receive(offset, unit, lastOpeningQuote)`, where lastOpeningQuote is
// the offset of the last quote before `offset` that opened a string (-1 when none), and returns
// false to stop the scan.
class JSONStructureScan {
public:
    // A scan may start inside a string (with the unit at `from` escaped, when `escapePending`),
    // `lastOpeningQuote` being that string's opening quote.
    JSONStructureScan(const char16_t* units, qsizetype from, qsizetype to, bool inString = false,
                      bool escapePending = false, qsizetype lastOpeningQuote = -1)
        : units_(units), next_(from), to_(to), inString_(inString), escapeCarry_(inString && escapePending),
          lastOpeningQuote_(lastOpeningQuote)
    {
    }

    template<class Receiver>
    bool run(Receiver&& receive)
    {
        while (next_ < to_) {
            const qsizetype base = next_;
            const qsizetype count = std::min<qsizetype>(64, to_ - base);
            Masks masks = classify(base, count);
            const uint64_t valid = count == 64 ? ~uint64_t(0) : (uint64_t(1) << count) - 1;

            uint64_t toggles = masks.quote;
            if (masks.backslash != 0 || escapeCarry_)
                toggles = exactToggles(masks, count);
            const uint64_t inside = prefixXor(toggles) ^ (inString_ ? ~uint64_t(0) : 0);
            const uint64_t openers = toggles & inside & valid;
            inString_ = (inside >> (count - 1)) & 1;
            next_ = base + count;

            uint64_t events = masks.structural & ~inside & valid;
            while (events != 0) {
                const int bit = __builtin_ctzll(events);
                events &= events - 1;
                const uint64_t openersBefore = openers & ((uint64_t(1) << bit) - 1);
                const qsizetype lastOpening =
                    openersBefore != 0 ? base + 63 - __builtin_clzll(openersBefore) : lastOpeningQuote_;
                if (!receive(base + bit, units_[base + bit], lastOpening)) {
                    stoppedAt_ = base + bit;
                    return false;
                }
            }
            if (openers != 0)
                lastOpeningQuote_ = base + 63 - __builtin_clzll(openers);
        }
        return true;
    }

    bool inString() const { return inString_; }
    // Inside a string, the unit at the scan's end is escaped.
    bool escapePending() const { return escapeCarry_; }
    bool sawBackslashOutsideStrings() const { return backslashOutside_; }
    qsizetype lastOpeningQuote() const { return lastOpeningQuote_; }
    qsizetype stoppedAt() const { return stoppedAt_; }

private:
    struct Masks {
        uint64_t quote = 0;
        uint64_t backslash = 0;
        uint64_t structural = 0;
    };

    static uint64_t prefixXor(uint64_t bits)
    {
        bits ^= bits << 1;
        bits ^= bits << 2;
        bits ^= bits << 4;
        bits ^= bits << 8;
        bits ^= bits << 16;
        bits ^= bits << 32;
        return bits;
    }

    static bool isStructural(char16_t unit)
    {
        return (unit & 0xFFD9) == 0x59 || unit == u',' || unit == u':';
    }

    Masks classify(qsizetype base, qsizetype count) const
    {
        Masks masks;
        qsizetype i = 0;
#if defined(__SSE2__)
        if (count == 64) {
            const __m128i quote = _mm_set1_epi16(u'"');
            const __m128i backslash = _mm_set1_epi16(u'\\');
            const __m128i bracketBits = _mm_set1_epi16(short(0xFFD9));
            const __m128i bracket = _mm_set1_epi16(0x59);
            const __m128i comma = _mm_set1_epi16(u',');
            const __m128i colon = _mm_set1_epi16(u':');
            for (; i < 64; i += 16) {
                const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units_ + base + i));
                const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units_ + base + i + 8));
                const auto bits = [](__m128i low, __m128i high) {
                    return uint64_t(uint16_t(_mm_movemask_epi8(_mm_packs_epi16(low, high))));
                };
                masks.quote |= bits(_mm_cmpeq_epi16(a, quote), _mm_cmpeq_epi16(b, quote)) << i;
                masks.backslash |= bits(_mm_cmpeq_epi16(a, backslash), _mm_cmpeq_epi16(b, backslash)) << i;
                const __m128i sa = _mm_or_si128(_mm_cmpeq_epi16(_mm_and_si128(a, bracketBits), bracket),
                                                _mm_or_si128(_mm_cmpeq_epi16(a, comma), _mm_cmpeq_epi16(a, colon)));
                const __m128i sb = _mm_or_si128(_mm_cmpeq_epi16(_mm_and_si128(b, bracketBits), bracket),
                                                _mm_or_si128(_mm_cmpeq_epi16(b, comma), _mm_cmpeq_epi16(b, colon)));
                masks.structural |= bits(sa, sb) << i;
            }
            return masks;
        }
#endif
        for (; i < count; ++i) {
            const char16_t unit = units_[base + i];
            if (unit == u'"')
                masks.quote |= uint64_t(1) << i;
            else if (unit == u'\\')
                masks.backslash |= uint64_t(1) << i;
            else if (isStructural(unit))
                masks.structural |= uint64_t(1) << i;
        }
        return masks;
    }

    // The quotes that open or close a string in a block holding backslashes, found one by one.
    uint64_t exactToggles(const Masks& masks, qsizetype count)
    {
        uint64_t toggles = 0;
        uint64_t pending = (masks.quote | masks.backslash);
        bool inString = inString_;
        if (escapeCarry_) {
            pending &= ~uint64_t(1); // escaped by the block before's last unit
            escapeCarry_ = false;
        }
        while (pending != 0) {
            const int bit = __builtin_ctzll(pending);
            pending &= pending - 1;
            const uint64_t mask = uint64_t(1) << bit;
            if (masks.backslash & mask) {
                if (!inString) {
                    backslashOutside_ = true;
                } else if (bit + 1 < count) {
                    pending &= ~(mask << 1);
                } else {
                    escapeCarry_ = true;
                }
                continue;
            }
            toggles |= mask;
            inString = !inString;
        }
        return toggles;
    }

    const char16_t* units_;
    qsizetype next_;
    qsizetype to_;
    bool inString_ = false;
    bool escapeCarry_ = false;
    bool backslashOutside_ = false;
    qsizetype lastOpeningQuote_ = -1;
    qsizetype stoppedAt_ = -1;
};

} // namespace Carvex
