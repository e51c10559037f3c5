#pragma once

#include "Carvex/ModelAdapters/RefLink.h"

#include <QString>

#include <string_view>
#include <vector>

namespace RefLinkMarkup {

// A text with its expected links marked up: "⟦" and "⟧" enclose a link's full range, "‹" and "›" its
// value. `text` is the text without the marks, `links` the marked links in order.
struct Marked {
    QString text;
    std::vector<Carvex::RefLink> links;
};

inline Marked parse(std::u16string_view marked)
{
    Marked result;
    qsizetype fullStart = 0;
    qsizetype valueStart = 0;
    qsizetype valueEnd = 0;
    for (const char16_t unit : marked) {
        const qsizetype here = result.text.size();
        switch (unit) {
        case u'⟦':
            fullStart = here;
            break;
        case u'‹':
            valueStart = here;
            break;
        case u'›':
            valueEnd = here;
            break;
        case u'⟧':
            result.links.push_back(Carvex::RefLink{{valueStart, valueEnd - valueStart},
                                                   {fullStart, here - fullStart},
                                                   result.text.mid(valueStart, valueEnd - valueStart)});
            break;
        default:
            result.text.append(QChar(unit));
        }
    }
    return result;
}

} // namespace RefLinkMarkup
