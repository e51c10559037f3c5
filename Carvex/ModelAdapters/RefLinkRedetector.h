#pragma once

#include "Carvex/Text/TextChange.h"
#include "Carvex/ModelAdapters/RefLink.h"
#include "Carvex/Syntax/DocumentLanguage.h"

#include <QStringView>

#include <cstddef>

#include <vector>

namespace Carvex {

// Brings the links of a text up to date after one change without scanning the whole text again.
//
// The scanners' only state is their search position, so a scan that restarts where the previous
// scan stood gives what the full scan gives from there. The re-scan starts at the end of the last
// link before the change (in YAML, where no examination crosses a line feed, at the edited line's
// start when that is later) and stops as soon as it falls back in step with the previous scan
// after the change: when it records a link ending where a previous link ended, moved by the change
// in length, or, in YAML, when it reaches the start of the line after the change. The previous links
// after that point are moved by the change in length; those in between are replaced. The result
// equals `RefLinkDetector::detectLinks` on the changed text.
class RefLinkRedetector {
public:
    // Which links an update replaced: `removed` links from index `first` on gave way to the
    // `inserted` links now there; the links after them are the previous ones, moved by the change
    // in length. A full detection replaces them all.
    struct Splice {
        std::size_t first = 0;
        std::size_t removed = 0;
        std::size_t inserted = 0;
        bool operator==(const Splice&) const = default;
    };

    // `links` must be the links of the text before `change` (in `language`); `text` is the text
    // after it. A change that does not fit the text makes a full detection.
    static Splice update(std::vector<RefLink>& links, QStringView text, const TextChange& change,
                         DocumentLanguage language);
};

} // namespace Carvex
