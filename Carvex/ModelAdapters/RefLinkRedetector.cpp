#include "Carvex/ModelAdapters/RefLinkRedetector.h"

#include "Carvex/ModelAdapters/RefLinkDetector.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace Carvex {

RefLinkRedetector::Splice RefLinkRedetector::update(std::vector<RefLink>& links, QStringView text, const TextChange& change,
                               DocumentLanguage language)
{
    if (language == DocumentLanguage::unknown) {
        const Splice all{0, links.size(), 0};
        links.clear();
        return all;
    }
    const qsizetype size = text.size();
    const qsizetype changeStart = change.editedRange.location;
    const qsizetype newLength = change.editedRange.length;
    const qsizetype delta = change.changeInLength;
    const bool fits = changeStart >= 0 && newLength >= 0 && newLength <= size && changeStart <= size - newLength
                      && delta <= newLength && delta > -(std::numeric_limits<qsizetype>::max() / 4)
                      && (links.empty() || links.back().fullRange.end() <= size - delta);
    if (!fits) {
        const std::size_t before = links.size();
        links = RefLinkDetector().detectLinks(text, language);
        return Splice{0, before, links.size()};
    }
    const bool yaml = language == DocumentLanguage::yaml;
    const auto step = yaml ? &RefLinkDetector::nextYAMLStep : &RefLinkDetector::nextJSONStep;
    const qsizetype changeEnd = changeStart + newLength;
    const auto linkAt = [&links](qsizetype index) { return links.begin() + index; };

    // Links whose examination read nothing of the change stay; the scan restarts where the last of
    // them ended. A JSON examination reads up to the closing quote; a YAML one also reads what ended
    // the value (a "#", a line break with its CR, or the end of the text).
    const qsizetype margin = yaml ? 2 : 0;
    qsizetype kept = std::partition_point(links.begin(), links.end(),
                                          [&](const RefLink& link) {
                                              return link.fullRange.end() + margin <= changeStart;
                                          })
                     - links.begin();
    qsizetype start = kept > 0 ? std::clamp<qsizetype>(links[kept - 1].fullRange.end(), 0, changeStart) : 0;
    if (yaml && start < changeStart) {
        // No YAML examination reads past its line feed.
        const qsizetype lineFeed = text.sliced(start, changeStart - start).lastIndexOf(u'\n');
        if (lineFeed >= 0) {
            start += lineFeed + 1;
            kept = std::partition_point(linkAt(kept), links.end(),
                                        [&](const RefLink& link) { return link.fullRange.location < start; })
                   - links.begin();
        }
    }

    std::vector<RefLink> fresh;
    RefLinkDetector::PathCache paths;
    qsizetype tail = static_cast<qsizetype>(links.size());
    qsizetype searchedForLineFeed = changeEnd;
    qsizetype position = start;
    while (std::optional<RefLinkDetector::Step> next = step(text, position, paths)) {
        if (yaml && next->marker > searchedForLineFeed) {
            const qsizetype lineFeed = text.sliced(searchedForLineFeed, next->marker - searchedForLineFeed).indexOf(u'\n');
            if (lineFeed >= 0) {
                // A whole line after the change: the previous scan stood here too.
                const qsizetype oldLineStart = searchedForLineFeed + lineFeed + 1 - delta;
                tail = std::partition_point(linkAt(kept), links.end(),
                                            [&](const RefLink& link) { return link.fullRange.location < oldLineStart; })
                       - links.begin();
                break;
            }
            searchedForLineFeed = next->marker;
        }
        position = next->next;
        if (!next->link)
            continue;
        fresh.push_back(std::move(*next->link));
        if (position <= changeEnd)
            continue;
        const qsizetype oldEnd = position - delta;
        const auto same = std::partition_point(linkAt(kept), links.end(),
                                               [&](const RefLink& link) { return link.fullRange.end() < oldEnd; });
        if (same != links.end() && same->fullRange.end() == oldEnd) {
            tail = same + 1 - links.begin();
            break;
        }
    }

    for (auto link = linkAt(tail); link != links.end(); ++link) {
        link->valueRange.location += delta;
        link->fullRange.location += delta;
    }
    if (static_cast<qsizetype>(fresh.size()) == tail - kept) {
        std::move(fresh.begin(), fresh.end(), linkAt(kept));
    } else {
        links.erase(linkAt(kept), linkAt(tail));
        links.insert(linkAt(kept), std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    }
    return Splice{static_cast<std::size_t>(kept), static_cast<std::size_t>(tail - kept), fresh.size()};
}

} // namespace Carvex
