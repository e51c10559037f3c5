#include "Carvex/Indentation/IndentationDetector.h"

#include <array>
#include <cstdlib>

namespace Carvex {

namespace {

bool isLineBreak(QChar c) {
    switch (c.unicode()) {
        case u'\n':
        case u'\r':
        case 0x000B:
        case 0x000C:
        case 0x0085:
        case 0x2028:
        case 0x2029:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::optional<IndentationStyle> IndentationDetector::detect(QStringView text) const {
    int tabLines = 0;
    std::array<int, 9> steps{};  // steps[k]: how often the indent changed by k columns
    long long previous = 0;

    const qsizetype n = text.size();
    qsizetype pos = 0;
    int lines = 0;
    while (lines < maxLinesToScan && pos <= n) {
        // The leading run of spaces and tabs of this line.
        const qsizetype start = pos;
        while (pos < n && (text[pos] == u' ' || text[pos] == u'\t')) {
            ++pos;
        }
        const qsizetype run = pos - start;
        if (run == 0) {
            previous = 0;
        } else if (text[start] == u'\t') {
            ++tabLines;
            previous = 0;
        } else {
            const long long step = std::llabs(static_cast<long long>(run) - previous);
            previous = run;
            if (step >= 1 && step <= 8) {
                ++steps[static_cast<std::size_t>(step)];
            }
        }
        ++lines;
        // Skip to the start of the next line. CR LF is one line break: treating it as two would
        // put a blank line after every line and reset the previous indent each time.
        while (pos < n && !isLineBreak(text[pos])) {
            ++pos;
        }
        if (pos >= n) {
            break;
        }
        if (text[pos] == u'\r' && pos + 1 < n && text[pos + 1] == u'\n') {
            ++pos;
        }
        ++pos;
    }

    int votes = 0;
    for (int count : steps) {
        votes += count;
    }
    if (tabLines > 2 && votes < tabLines) {
        return IndentationStyle::tabs();
    }
    if (votes > tabLines && votes > 2) {
        int bestWidth = 0;
        int bestCount = 0;
        for (int width : {2, 4, 3, 8}) {
            if (steps[static_cast<std::size_t>(width)] > bestCount) {
                bestCount = steps[static_cast<std::size_t>(width)];
                bestWidth = width;
            }
        }
        if (bestCount >= 1) {
            return IndentationStyle::spaces(bestWidth);
        }
    }
    return std::nullopt;
}

}  // namespace Carvex
