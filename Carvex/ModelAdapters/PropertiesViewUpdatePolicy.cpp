#include "Carvex/ModelAdapters/PropertiesViewUpdatePolicy.h"

#include <cmath>
#include <limits>

namespace Carvex {

namespace {
const QString kDebounce = QStringLiteral("debounceMilliseconds");
const QString kKeep = QStringLiteral("keepLastValidStateOnError");
} // namespace

QJsonObject PropertiesViewUpdatePolicy::encoded() const
{
    return QJsonObject{{kDebounce, debounceMilliseconds}, {kKeep, keepLastValidStateOnError}};
}

std::optional<PropertiesViewUpdatePolicy> PropertiesViewUpdatePolicy::decoded(const QJsonObject& object)
{
    const QJsonValue debounce = object.value(kDebounce);
    const QJsonValue keep = object.value(kKeep);
    if (!debounce.isDouble() || !keep.isBool())
        return std::nullopt;
    const double milliseconds = debounce.toDouble();
    if (milliseconds != std::trunc(milliseconds) || milliseconds < std::numeric_limits<int>::min()
        || milliseconds > std::numeric_limits<int>::max())
        return std::nullopt;
    return PropertiesViewUpdatePolicy{static_cast<int>(milliseconds), keep.toBool()};
}

} // namespace Carvex
