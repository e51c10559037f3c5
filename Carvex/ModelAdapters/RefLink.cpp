#include "Carvex/ModelAdapters/RefLink.h"

#include "kit/core/HashCombine.h"

#include <QHash>

namespace Carvex {

std::optional<QString> RefLink::jsonPointer() const
{
    if (!isLocal())
        return std::nullopt;
    return refPath.mid(1);
}

std::optional<QString> RefLink::targetName() const
{
    if (!isLocal())
        return std::nullopt;
    const QStringView pointer = QStringView(refPath).sliced(1);
    qsizetype end = pointer.size();
    while (end > 0) {
        const qsizetype slash = pointer.first(end).lastIndexOf(u'/');
        if (slash + 1 < end)
            return pointer.sliced(slash + 1, end - slash - 1).toString();
        end = slash;
    }
    return std::nullopt;
}

std::size_t RefLink::hash() const
{
    std::size_t seed = 0;
    for (const qsizetype number : {valueRange.location, valueRange.length, fullRange.location, fullRange.length})
        VoziZazIreCore::hashCombine(seed, std::hash<qsizetype>{}(number));
    VoziZazIreCore::hashCombine(seed, qHash(refPath));
    return seed;
}

} // namespace Carvex
