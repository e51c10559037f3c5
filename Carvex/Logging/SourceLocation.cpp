#include "Carvex/Logging/SourceLocation.h"

#include <QHash>

namespace Carvex {

QString SourceLocation::formatted() const {
    const QString position = QString::number(line) + QLatin1Char(':') + QString::number(column);
    if (fileName.isEmpty()) {
        return position;
    }
    return fileName + QLatin1Char(':') + position;
}

namespace {
void combine(std::size_t& seed, std::size_t value) {
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}
}  // namespace

std::size_t SourceLocation::hash() const {
    std::size_t seed = 0;
    combine(seed, qHash(fileName));
    combine(seed, std::hash<std::int64_t>{}(line));
    combine(seed, std::hash<std::int64_t>{}(column));
    combine(seed, offset ? 1u : 0u);
    if (offset) {
        combine(seed, std::hash<std::int64_t>{}(*offset));
    }
    return seed;
}

}  // namespace Carvex
