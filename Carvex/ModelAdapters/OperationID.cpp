#include "Carvex/ModelAdapters/OperationID.h"

#include "kit/core/HashCombine.h"

#include <QHash>

namespace Carvex {

QString OperationID::description() const
{
    return QString::fromLatin1(rawValue(method).data(), static_cast<qsizetype>(rawValue(method).size()))
           + QLatin1Char(' ') + path;
}

std::size_t OperationID::hash() const noexcept
{
    std::size_t seed = qHash(path);
    VoziZazIreCore::hashCombine(seed, std::hash<HTTPMethod>{}(method));
    return seed;
}

} // namespace Carvex
