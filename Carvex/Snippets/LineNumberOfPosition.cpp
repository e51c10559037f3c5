#include "Carvex/Snippets/LineNumberOfPosition.h"

#include <algorithm>

namespace Carvex {

qsizetype lineNumberOfPosition(QStringView text, qsizetype position) {
    const qsizetype end = std::clamp<qsizetype>(position, 0, text.size());
    qsizetype lines = 0;
    bool lineOpen = false;
    for (qsizetype i = 0; i < end; ++i) {
        switch (text[i].unicode()) {
        case u'\r':
            if (i + 1 < end && text[i + 1] == u'\n') ++i;
            [[fallthrough]];
        case u'\n':
        case 0x0085:
        case 0x2028:
        case 0x2029:
            ++lines;
            lineOpen = false;
            break;
        default:
            lineOpen = true;
        }
    }
    return lines + (lineOpen ? 1 : 0);
}

}  // namespace Carvex
